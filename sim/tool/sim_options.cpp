#include "sim_options.h"

#include "config_file.h"

#include <cerrno>
#include <cstdlib>

namespace ksim_tool {
namespace {

// Probe-specific settings are collected by index first: the probe count may come later.
struct PendingProbeSetting {
    size_t index;
    std::pair<std::string, std::string> setting;
};

struct ParseState {
    SimOptions options;
    KeyValues allProbes;
    bool probesGiven = false;
    std::vector<PendingProbeSetting> probeSettings;
    ConfigFile config;
    bool configGiven = false;
};

bool parseCount(const std::string &text, size_t &value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE) return false;
    value = static_cast<size_t>(parsed);
    return true;
}

bool parseKeyValue(const std::string &text, std::pair<std::string, std::string> &setting, std::string &error)
{
    const size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        error = "expected KEY=VALUE, got '" + text + "'";
        return false;
    }
    setting = {text.substr(0, eq), text.substr(eq + 1)};
    return true;
}

bool parseProbeSetting(const std::string &text, PendingProbeSetting &pending, std::string &error)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos || !parseCount(text.substr(0, colon), pending.index)) {
        error = "expected I:KEY=VALUE, got '" + text + "'";
        return false;
    }
    return parseKeyValue(text.substr(colon + 1), pending.setting, error);
}

bool takeValue(const std::vector<std::string> &args, size_t &i, std::string &value, std::string &error)
{
    if (i + 1 >= args.size()) {
        error = "option " + args[i] + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool parseOption(const std::vector<std::string> &args, size_t &i, ParseState &state, std::string &error)
{
    const std::string &option = args[i];
    std::string value;
    if (option == "--help" || option == "-h") {
        state.options.mode = SimOptions::Mode::Help;
        return true;
    }
    if (option != "--probes" && option != "--set" && option != "--probe" && option != "--config" &&
        option != "--state") {
        error = "unknown option '" + option + "'";
        return false;
    }
    if (!takeValue(args, i, value, error)) return false;
    if (option == "--probes") {
        if (!parseCount(value, state.options.probes) || state.options.probes > kMaxProbes) {
            error = "--probes takes a number from 0 to " + std::to_string(kMaxProbes) + ", got '" + value + "'";
            return false;
        }
        state.probesGiven = true;
        return true;
    }
    if (option == "--set") {
        std::pair<std::string, std::string> setting;
        if (!parseKeyValue(value, setting, error)) return false;
        state.allProbes.push_back(setting);
        return true;
    }
    if (option == "--probe") {
        if (state.options.mode == SimOptions::Mode::Dump) {
            size_t index = 0;
            if (!parseCount(value, index)) {
                error = "--probe takes a probe number here, got '" + value + "'";
                return false;
            }
            state.options.dumpProbe = static_cast<long>(index);
            return true;
        }
        PendingProbeSetting pending;
        if (!parseProbeSetting(value, pending, error)) return false;
        state.probeSettings.push_back(pending);
        return true;
    }
    if (option == "--config") {
        state.configGiven = true;
        return state.config.read(value, error);
    }
    state.options.stateDir = value;
    return true;
}

// Settings from the file come first, so that the command line overrides them.
bool assemble(ParseState &state, std::string &error)
{
    SimOptions &options = state.options;
    if (!state.probesGiven && state.config.probes) options.probes = *state.config.probes;
    if (options.probes > kMaxProbes) {
        error = "probes in the configuration file must be at most " + std::to_string(kMaxProbes);
        return false;
    }
    for (const auto &group : state.config.perProbe) {
        if (group.first >= options.probes) {
            error = "the configuration file sets probe " + std::to_string(group.first) + " but there are only " +
                    std::to_string(options.probes) + " probes";
            return false;
        }
    }
    for (const PendingProbeSetting &pending : state.probeSettings) {
        if (pending.index >= options.probes) {
            error = "--probe " + std::to_string(pending.index) + ":... names no probe (there are " +
                    std::to_string(options.probes) + ")";
            return false;
        }
    }
    options.perProbe.assign(options.probes, {});
    for (size_t i = 0; i < options.probes; ++i) {
        KeyValues &settings = options.perProbe[i];
        settings = state.config.allProbes;
        auto group = state.config.perProbe.find(i);
        if (group != state.config.perProbe.end()) settings.insert(settings.end(), group->second.begin(), group->second.end());
        settings.insert(settings.end(), state.allProbes.begin(), state.allProbes.end());
        for (const PendingProbeSetting &pending : state.probeSettings)
            if (pending.index == i) settings.push_back(pending.setting);
    }
    return true;
}

}  // namespace

bool parseSimOptions(const std::vector<std::string> &args, SimOptions &options, std::string &error)
{
    ParseState state;
    size_t i = 0;
    if (!args.empty() && args[0] == "dump") {
        state.options.mode = SimOptions::Mode::Dump;
        i = 1;
    }
    for (; i < args.size(); ++i) {
        if (args[i] == "--") {
            state.options.command.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        }
        if (!parseOption(args, i, state, error)) return false;
        if (state.options.mode == SimOptions::Mode::Help) {
            options = state.options;
            return true;
        }
    }
    if (state.options.mode == SimOptions::Mode::Dump) {
        if (state.options.stateDir.empty()) {
            error = "dump needs --state DIR";
            return false;
        }
        if (!state.options.command.empty()) {
            error = "dump runs no command";
            return false;
        }
    } else if (state.options.command.empty()) {
        error = "no command given (korvex-sim [options] -- COMMAND [ARGS...])";
        return false;
    }
    if (!assemble(state, error)) return false;
    options = state.options;
    return true;
}

namespace {

std::string wrappedList(const std::string &linesOfWords)
{
    std::string text = "  ";
    size_t lineLength = 2;
    size_t start = 0;
    while (start < linesOfWords.size()) {
        size_t end = linesOfWords.find('\n', start);
        if (end == std::string::npos) end = linesOfWords.size();
        const std::string word = linesOfWords.substr(start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        if (lineLength > 2 && lineLength + word.size() + 1 > 78) {
            text += "\n  ";
            lineLength = 2;
        } else if (lineLength > 2) {
            text += ' ';
            ++lineLength;
        }
        text += word;
        lineLength += word.size();
    }
    return text + "\n";
}

}  // namespace

std::string usageText(const std::string &settingKeys)
{
    return "Usage: korvex-sim [options] -- COMMAND [ARGS...]\n"
           "       korvex-sim dump --state DIR [--probe I]\n"
           "\n"
           "Runs COMMAND with emulated Korvex probes on its USB bus (umockdev), and exits with\n"
           "COMMAND's exit code (128+N when a signal N killed it). COMMAND's standard input,\n"
           "output and error are its own.\n"
           "\n"
           "Options:\n"
           "  --probes N           number of probes (default 1)\n"
           "  --set KEY=VALUE      probe setting for every probe (repeatable)\n"
           "  --probe I:KEY=VALUE  probe setting for probe I, counted from 0 (repeatable)\n"
           "  --config FILE        INI file: [General] probes=N and KEY=VALUE settings for every\n"
           "                       probe, [probe0], [probe1]... settings for one probe; the command\n"
           "                       line overrides it\n"
           "  --state DIR          load each probe's state from DIR/probeI before the run and save\n"
           "                       it there afterwards (a missing DIR/probeI is a factory-new probe)\n"
           "  --help               this text\n"
           "\n"
           "dump prints the saved state of every probe in DIR, each after a [probeI] line when\n"
           "there are several, or of probe I only.\n"
           "\n"
           "Exit codes: COMMAND's, or 125 for a bad command line, an unusable state or a failure\n"
           "of the emulation, 127 when COMMAND cannot be started.\n"
           "\n"
           "Probe settings (KEY of --set, --probe and the configuration file):\n" +
           wrappedList(settingKeys);
}

}  // namespace ksim_tool
