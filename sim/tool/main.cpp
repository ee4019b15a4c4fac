// korvex-sim: runs a command against emulated Korvex probes. See usageText() in sim_options.cpp.
#include "child_process.h"
#include "probe_state.h"
#include "replay.h"
#include "sim_options.h"

#include "usb/preload.h"
#include "usb/testbed.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>

namespace {

using ksim_tool::kUsageError;
using ksim_tool::SimOptions;

int fail(const std::string &message)
{
    std::fprintf(stderr, "korvex-sim: %s\n", message.c_str());
    return kUsageError;
}

// Each probe's exchange log, after a [probeI] line when there are several.
bool writeLog(ksim::Testbed &bench, const SimOptions &options, std::string &error)
{
    std::ofstream out(options.logFile, std::ios::trunc);
    for (size_t i = 0; i < options.probes && out; ++i) {
        if (options.probes > 1) out << "[probe" << i << "]\n";
        bench.withProbe(i, [&](ksim::VirtualProbe &probe) { probe.dumpExchangeLog(out); });
    }
    out.flush();
    if (out) return true;
    error = "cannot write the exchange log to " + options.logFile;
    return false;
}

int run(const SimOptions &options)
{
    std::string error;
    if (!ksim_tool::usableStateDir(options.stateDir, error)) return fail(error);
    ksim::Testbed bench;
    for (size_t i = 0; i < options.probes; ++i) {
        auto probe = ksim_tool::prepareProbe(options.stateDir, i, options.perProbe[i], error);
        if (!probe) return fail(error);
        bench.plugInProbe(std::move(probe));
    }
    const int code = ksim_tool::runChild(options.command, ksim::preloadEnvironment(bench.rootDir()));
    // A state or log that cannot be kept must not pass unnoticed behind the command's own success.
    bool saved = true;
    if (!options.logFile.empty() && !writeLog(bench, options, error)) {
        std::fprintf(stderr, "korvex-sim: %s\n", error.c_str());
        saved = false;
    }
    for (size_t i = 0; i < options.probes && !options.stateDir.empty(); ++i) {
        const bool ok = bench.withProbe(i, [&](ksim::VirtualProbe &probe) {
            return ksim_tool::saveProbe(probe, options.stateDir, i, error);
        });
        if (!ok) std::fprintf(stderr, "korvex-sim: %s\n", error.c_str());
        saved = saved && ok;
    }
    if (saved) return code;
    std::fprintf(stderr, "korvex-sim: the command itself exited with %d\n", code);
    return kUsageError;
}

int dump(const SimOptions &options)
{
    std::vector<size_t> indices = ksim_tool::savedProbes(options.stateDir);
    if (options.dumpProbe >= 0) indices = {static_cast<size_t>(options.dumpProbe)};
    if (indices.empty()) return fail("no probe state saved in " + options.stateDir);
    std::string error;
    for (size_t index : indices) {
        auto probe = std::make_unique<ksim::VirtualProbe>();
        const std::string dir = ksim_tool::probeStateDir(options.stateDir, index);
        if (!probe->loadState(dir, error)) return fail("cannot load " + dir + ": " + error);
        if (indices.size() > 1) std::cout << "[probe" << index << "]\n";
        probe->dump(std::cout);
    }
    std::cout.flush();
    return std::cout ? 0 : kUsageError;
}

}  // namespace

int main(int argc, char **argv)
{
    SimOptions options;
    std::string error;
    if (!ksim_tool::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "korvex-sim: %s\nTry 'korvex-sim --help'.\n", error.c_str());
        return kUsageError;
    }
    try {
        switch (options.mode) {
        case SimOptions::Mode::Help:
            std::fputs(ksim_tool::usageText(ksim::VirtualProbe::configurationHelp()).c_str(), stdout);
            return 0;
        case SimOptions::Mode::Version:
            std::printf("korvex-sim %s\n", KORVEX_SIM_VERSION);
            return 0;
        case SimOptions::Mode::Dump: return dump(options);
        case SimOptions::Mode::Replay: return ksim_tool::replay(options.replayFile, options.command);
        case SimOptions::Mode::Run: return run(options);
        }
    } catch (const std::exception &e) {
        return fail(e.what());
    }
    return kUsageError;
}
