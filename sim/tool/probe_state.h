// Saved probe states of korvex-sim: DIR/probe0, DIR/probe1, ... (VirtualProbe's own format inside).
#pragma once

#include "probe/virtual_probe.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ksim_tool {

// False with a message when stateDir names something that is not a directory (checked before the
// command runs, so that its work is not lost afterwards).
bool usableStateDir(const std::string &stateDir, std::string &error);

std::string probeStateDir(const std::string &stateDir, size_t index);

// A probe with its numbered default serial, the state saved for it (factory-new when nothing was
// saved or stateDir is empty), then the settings applied in order. Null with a message when the
// state or a setting is refused, or the settings leave an image unplaced.
std::unique_ptr<ksim::VirtualProbe> prepareProbe(const std::string &stateDir, size_t index,
                                                 const std::vector<std::pair<std::string, std::string>> &settings,
                                                 std::string &error);

// Saves the probe's state as DIR/probeI, creating DIR when needed.
bool saveProbe(const ksim::VirtualProbe &probe, const std::string &stateDir, size_t index, std::string &error);

// Indices of the probes saved in stateDir: probe0, probe1, ... up to the first one missing.
std::vector<size_t> savedProbes(const std::string &stateDir);

}  // namespace ksim_tool
