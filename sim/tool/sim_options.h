// The command line of korvex-sim.
#pragma once

#include <string>
#include <vector>

namespace ksim_tool {

constexpr int kUsageError = 125;  // distinct from what the command itself may return
constexpr size_t kMaxProbes = 127;  // device numbers on one bus

using KeyValues = std::vector<std::pair<std::string, std::string>>;

struct SimOptions {
    enum class Mode { Run, Dump, Help, Version, Replay };
    Mode mode = Mode::Run;
    size_t probes = 1;
    // The settings of each probe in the order they apply: the configuration file's [General]
    // keys, its [probeI] keys, every --set, then every --probe I:... (each in the order given).
    std::vector<KeyValues> perProbe;
    std::string stateDir;                // empty: factory state, nothing saved
    std::string logFile;                 // empty: the exchange log is not written out
    std::string replayFile;              // Replay: the recording the probe answers from
    long dumpProbe = -1;                 // dump: only this probe (-1: every saved probe)
    std::vector<std::string> command;    // what runs against the probes
};

// Parses the arguments after the program name (reading a --config file as it goes).
// Returns false with a one-line message on a bad command line.
bool parseSimOptions(const std::vector<std::string> &args, SimOptions &options, std::string &error);

// The --help text: usage, the options, then the probe settings (settingsHelp).
std::string usageText(const std::string &settingsHelp);

// The default serial of the index-th probe (from 0): KV0000000001, KV0000000002, ...
std::string numberedSerial(size_t index);

}  // namespace ksim_tool
