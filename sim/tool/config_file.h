// The --config INI file of korvex-sim.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ksim_tool {

struct ConfigFile {
    std::optional<size_t> probes;                                                // [General] probes=N
    std::vector<std::pair<std::string, std::string>> allProbes;                 // other [General] keys
    std::map<size_t, std::vector<std::pair<std::string, std::string>>> perProbe;  // [probeI] keys

    // Reads path (QSettings INI format). Returns false with a message for a missing or malformed
    // file, a bad probe count or a group that is not probeI.
    bool read(const std::string &path, std::string &error);
};

}  // namespace ksim_tool
