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

// One row per option: --help prints the rows.
struct OptionRow {
    const char *name;
    const char *argument;  // null: the option takes no value
    const char *meaning;
};

const OptionRow kOptions[] = {
    {"--probes", "N", "number of probes (default 1); their default serials are numbered KV0000000001, "
                      "KV0000000002, ..."},
    {"--set", "KEY=VALUE", "probe setting for every probe (repeatable)"},
    {"--probe", "I:KEY=VALUE", "probe setting for probe I, counted from 0 (repeatable); with dump: "
                               "the probe to show"},
    {"--config", "FILE", "INI file: [General] probes=N and KEY=VALUE settings for every probe, [probe0], "
                         "[probe1]... settings for one probe; the command line overrides it"},
    {"--state", "DIR", "load each probe's state from DIR/probeI before the run and save it there "
                       "afterwards, with the exchange log of the run (a missing DIR/probeI is a "
                       "factory-new probe; DIR must be a directory if it exists)"},
    {"--log", "FILE", "write the exchange log of the run to FILE afterwards (every probe, each after a "
                      "[probeI] line when there are several)"},
    {"--replay", "FILE", "instead of emulated probes, one probe that answers every request as FILE "
                         "recorded it (a KORVEXLIB_TRACE file or an exchange log); the first request "
                         "that differs from the recording ends the run with exit 125"},
    {"--help", nullptr, "this text"},
    {"--version", nullptr, "the version of korvex-sim"},
};

const OptionRow *findOption(const std::string &name)
{
    for (const OptionRow &row : kOptions)
        if (name == row.name) return &row;
    return nullptr;
}

bool parseOption(const std::vector<std::string> &args, size_t &i, ParseState &state, std::string &error)
{
    const std::string &option = args[i] == "-h" ? std::string("--help") : args[i];
    const OptionRow *row = findOption(option);
    if (!row) {
        error = "unknown option '" + args[i] + "'";
        return false;
    }
    std::string value;
    if (row->argument && !takeValue(args, i, value, error)) return false;
    if (option == "--help") {
        state.options.mode = SimOptions::Mode::Help;
    } else if (option == "--version") {
        state.options.mode = SimOptions::Mode::Version;
    } else if (option == "--probes") {
        if (!parseCount(value, state.options.probes) || state.options.probes > kMaxProbes) {
            error = "--probes takes a number from 0 to " + std::to_string(kMaxProbes) + ", got '" + value + "'";
            return false;
        }
        state.probesGiven = true;
    } else if (option == "--set") {
        std::pair<std::string, std::string> setting;
        if (!parseKeyValue(value, setting, error)) return false;
        state.allProbes.push_back(setting);
    } else if (option == "--probe" && state.options.mode == SimOptions::Mode::Dump) {
        size_t index = 0;
        if (!parseCount(value, index)) {
            error = "--probe takes a probe number here, got '" + value + "'";
            return false;
        }
        state.options.dumpProbe = static_cast<long>(index);
    } else if (option == "--probe") {
        PendingProbeSetting pending;
        if (!parseProbeSetting(value, pending, error)) return false;
        state.probeSettings.push_back(pending);
    } else if (option == "--config") {
        state.configGiven = true;
        return state.config.read(value, error);
    } else if (option == "--log") {
        state.options.logFile = value;
    } else if (option == "--replay") {
        state.options.mode = SimOptions::Mode::Replay;
        state.options.replayFile = value;
    } else {
        state.options.stateDir = value;
    }
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
        if (state.options.mode == SimOptions::Mode::Help || state.options.mode == SimOptions::Mode::Version) {
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
    if (state.options.mode == SimOptions::Mode::Replay &&
        (!state.options.stateDir.empty() || state.probesGiven || state.configGiven || !state.allProbes.empty() ||
         !state.probeSettings.empty())) {
        error = "--replay takes its probe from the recording: no --probes, --set, --probe, --config or --state";
        return false;
    }
    if (!assemble(state, error)) return false;
    options = state.options;
    return true;
}

namespace {

// Words of text on lines of at most 78 characters; the first line continues after `first`.
std::string wrapped(const std::string &first, const std::string &text, size_t indent)
{
    std::string out = first;
    size_t column = first.size();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        start = end + 1;
        if (column > indent && column + 1 + word.size() > 78) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (column > indent) {
            out += ' ';
            ++column;
        } else {
            out += std::string(indent - column, ' ');
            column = indent;
        }
        out += word;
        column += word.size();
    }
    return out + "\n";
}

}  // namespace

std::string numberedSerial(size_t index)
{
    std::string digits = std::to_string(index + 1);
    return "KV" + std::string(digits.size() < 10 ? 10 - digits.size() : 0, '0') + digits;
}

std::string usageText(const std::string &settingsHelp)
{
    std::string options;
    for (const OptionRow &row : kOptions) {
        const std::string head = "  " + std::string(row.name) + (row.argument ? " " + std::string(row.argument) : "");
        options += wrapped(head.size() < 23 ? head : head + "\n", row.meaning, 23);
    }
    return "Usage: korvex-sim [options] -- COMMAND [ARGS...]\n"
           "       korvex-sim --replay FILE -- COMMAND [ARGS...]\n"
           "       korvex-sim dump --state DIR [--probe I]\n"
           "\n"
           "Runs COMMAND with emulated Korvex probes on its USB bus (umockdev), and exits with\n"
           "COMMAND's exit code (128+N when a signal N killed it). COMMAND's standard input,\n"
           "output and error are its own.\n"
           "\n"
           "Options:\n" +
           options +
           "\n"
           "dump prints the saved state of every probe in DIR, each after a [probeI] line when\n"
           "there are several, or of probe I only; it ends with the exchange log of the last run.\n"
           "\n"
           "Recording: a program that uses the probe library with KORVEXLIB_TRACE=FILE in its\n"
           "environment appends every exchange with the probe to FILE, after a header with the\n"
           "probe's USB identity, in the layout of the exchange log; --replay answers from it.\n"
           "\n"
           "Exit codes: COMMAND's, or 125 for a bad command line, setting or state, a failure of\n"
           "the emulation or a replay that differs, 127 when COMMAND cannot be started.\n"
           "\n"
           "Probe settings (KEY of --set, --probe and the configuration file):\n" +
           settingsHelp;
}

}  // namespace ksim_tool
