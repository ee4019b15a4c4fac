// The console among the Linux tools: probe choice, probe listing, hints, progress, interruption,
// gang programming and the production log. Standard output keeps its specified bytes; hints and
// progress go to standard error only.
#include "run_process.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using korvex_test::builtProgram;
using korvex_test::ProcessOptions;
using korvex_test::ProcessResult;
using korvex_test::runProcess;

namespace {

const std::string kSampleImage = std::string(KORVEX_SOURCE_DIR) + "/examples/sample_app.hex";

// korvex-sim options for `count` probes with serials KV0, KV1, ...
std::vector<std::string> Probes(int count)
{
    std::vector<std::string> options = {"--probes", std::to_string(count)};
    for (int i = 0; i < count; ++i)
        options.insert(options.end(), {"--probe", std::to_string(i) + ":serial=KV" + std::to_string(i)});
    return options;
}

// `command` (the console's arguments unless it names a program) under korvex-sim with `sim` options.
ProcessResult Sim(const std::vector<std::string>& sim, const std::vector<std::string>& command, ProcessOptions options = {})
{
    std::vector<std::string> argv = {builtProgram("korvex-sim")};
    argv.insert(argv.end(), sim.begin(), sim.end());
    argv.push_back("--");
    if (command.empty() || command[0].front() != '/')
        argv.push_back(builtProgram("Korvex_Console"));
    argv.insert(argv.end(), command.begin(), command.end());
    for (const char* name : {"KORVEX_PROBE", "KORVEX_PROGRESS", "KORVEX_LOG"})
        if (!options.env.count(name))
            options.unsetEnv.push_back(name);
    return runProcess(argv, options);
}

// A directory of this test's own: test processes run side by side.
std::string OwnTempDir()
{
    std::string pattern = ::testing::TempDir() + "korvex-toolbox-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : ::testing::TempDir();
}

// Where the specified lines do not say what to do, one line on standard error does.
struct HintCase {
    const char* name;
    std::vector<std::string> sim;  // korvex-sim options
    const char* chosenProbe;       // KORVEX_PROBE, or null
    std::vector<std::string> console;
    std::string outEnd;            // the end of standard output, as specified
    std::string err;
    int exitCode;
};

void PrintTo(const HintCase& c, std::ostream* os) { *os << c.name; }

const HintCase kHintCases[] = {
    {"FourProbesOneChosen", Probes(4), "KV2", {"-connect"},
     "    Serials: KV2      (WinUSB)\nKorvex connected\nMCU Part Number:   ZR32S04RCT6        Flash size: 256KB\nMCU connected\n\n\r\nDone!\n",
     "", 0},
    {"TwoProbesNoneChosen", Probes(2), nullptr, {"-connect"},
     "Connect......\nError. Multiple Korvex devices detected, please select one of them to connect.\n",
     "Korvex_Console: connected probes: KV0, KV1; choose one with KORVEX_PROBE=<serial> in the environment "
     "(korvex-probes lists them)\n",
     2},
    {"ChosenProbeAbsent", Probes(2), "KV7", {"-connect"}, "Connect......\nError. No Korvex device.\n",
     "Korvex_Console: no probe has the serial number KV7 that KORVEX_PROBE asks for; connected: KV0, KV1\n", 2},
    {"UnknownPartName", {}, nullptr, {"-device", "zr32s04rct6"}, "\nbad parameter \"zr32s04rct6\"\n",
     "Korvex_Console: \"zr32s04rct6\" is not a part -device knows; closest: ZR32S04RCT6 ZR32S02RCT6 ZR32S04RDT6 "
     "(docs/parts.md lists every part; names are case-sensitive)\n",
     1},
    {"HelpAskedTheUsualWay", {}, nullptr, {"--help"}, "\nError. bad parameter --help\n",
     "Korvex_Console: the help is -?, as in: Korvex_Console -?\n", 1},
    {"MissingImage", {"--set", "series=4"}, nullptr, {"-connect", "-d", "--fn", "/nonexistent/app.hex"},
     "Download file opening......\nFile path is empty!\nError. Open file failed!\n",
     "Korvex_Console: cannot read /nonexistent/app.hex: No such file or directory\n", 3},
    {"ProtectedTargetNotNamed", {"--set", "protection=1"}, nullptr, {"-connect"},
     "This version of VKP Programmer does not support the connected MCU.\n"
     "Error. Korvex connected, but target device connect failed.\n",
     "Korvex_Console: the target is access-protected and does not report its part: name it with -device PART "
     "before -connect (docs/parts.md lists the parts)\n",
     2},
};

class Hints : public ::testing::TestWithParam<HintCase> {};

TEST_P(Hints, GoToStandardErrorAfterTheSpecifiedLines)
{
    const HintCase& c = GetParam();
    ProcessOptions options;
    if (c.chosenProbe != nullptr)
        options.env["KORVEX_PROBE"] = c.chosenProbe;
    const auto run = Sim(c.sim, c.console, options);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_TRUE(run.out.size() >= c.outEnd.size() && run.out.compare(run.out.size() - c.outEnd.size(), c.outEnd.size(), c.outEnd) == 0)
        << run.out;
    EXPECT_EQ(run.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(Toolbox, Hints, ::testing::ValuesIn(kHintCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProbeListing, OneLinePerProbeWithItsSerial)
{
    const auto run = Sim(Probes(4), {builtProgram("korvex-probes")});
    EXPECT_EQ(run.exitCode, 0);
    std::string expected;
    for (int i = 0; i < 4; ++i)
        expected += "KV" + std::to_string(i) + "\tKorvex-EZ\thw 0\tfw 2.1.7\tbulk\tready\n";
    EXPECT_EQ(run.out, expected);
}

TEST(GangProgramming, ProgramsEveryProbeWithALogPerBoard)
{
    const std::string logs = OwnTempDir() + "/gang-logs";
    ProcessOptions options;
    options.env = {{"KORVEX_CONSOLE", builtProgram("Korvex_Console")}, {"KORVEX_PROBES", builtProgram("korvex-probes")}};
    const auto run = Sim(Probes(2), {std::string(KORVEX_SOURCE_DIR) + "/examples/gang-program.sh", kSampleImage, logs}, options);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "KV0: programmed and verified\nKV1: programmed and verified\n");
    for (const char* serial : {"KV0", "KV1"}) {
        std::stringstream text;
        text << std::ifstream(logs + "/" + serial + ".log").rdbuf();
        EXPECT_NE(text.str().find("\r\nDone!\n"), std::string::npos) << serial;
    }
}

struct ProgressCase {
    const char* name;
    bool terminal;
    const char* setting;  // KORVEX_PROGRESS, or null
    bool shown;
};

void PrintTo(const ProgressCase& c, std::ostream* os) { *os << c.name; }

const ProgressCase kProgressCases[] = {
    {"OnATerminal", true, nullptr, true},
    {"TurnedOff", true, "0", false},
    {"NotATerminal", false, nullptr, false},
};

class Progress : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(Progress, ShowsOnATerminalOnlyAndLeavesStandardOutputAlone)
{
    const ProgressCase& c = GetParam();
    const std::vector<std::string> job = {"-connect", "-e", "--sec", "0-3", "-d", "--fn", kSampleImage, "--v"};
    ProcessOptions options;
    options.stderrIsTerminal = c.terminal;
    if (c.setting != nullptr)
        options.env["KORVEX_PROGRESS"] = c.setting;
    const auto run = Sim({}, job, options);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, Sim({}, job).out);
    for (const char* step : {"erase    [", "download [", "verify   ["})
        EXPECT_EQ(run.err.find(step) != std::string::npos, c.shown) << step << run.err;
    if (c.shown)
        EXPECT_NE(run.err.find("100%  4352/4352 bytes"), std::string::npos) << run.err;
    else
        EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(Toolbox, Progress, ::testing::ValuesIn(kProgressCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The signal reaches the console through korvex-sim while it downloads: nothing follows on standard
// output, neither a failure line nor the verify or reset lines.
TEST(Interrupt, StopsAtTheNextExchangeAndSaysWhatWasCutShort)
{
    const std::string image = OwnTempDir() + "/interrupted.bin";
    std::ofstream(image, std::ios::binary) << std::string(48 * 1024, '\x5A');
    ProcessOptions options;
    const std::string downloading = "File downloading......\n";
    options.interruptWhenOutContains = downloading;
    const auto run = Sim({"--set", "reply_delay_ms=40"}, {"-connect", "-d", "--fn", image, "--v", "-r"}, options);
    EXPECT_EQ(run.exitCode, 130);
    ASSERT_GE(run.out.size(), downloading.size());
    EXPECT_EQ(run.out.substr(run.out.size() - downloading.size()), downloading);
    EXPECT_EQ(run.err, "Korvex_Console: interrupted during -d (download): the target memory may be partly written; "
                       "the probe is closed\n");
}

QJsonObject LastLogLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line, last;
    while (std::getline(in, line))
        last = line;
    return QJsonDocument::fromJson(QByteArray::fromStdString(last)).object();
}

TEST(ProductionLog, OneJsonObjectPerRun)
{
    ProcessOptions options;
    options.env["KORVEX_LOG"] = OwnTempDir() + "/production.jsonl";
    ASSERT_EQ(Sim({}, {"-connect", "-e", "--all", "-d", "--fn", kSampleImage, "--v", "-r"}, options).exitCode, 0);
    const QJsonObject good = LastLogLine(options.env["KORVEX_LOG"]);
    EXPECT_EQ(good["exit_code"].toInt(), 0);
    EXPECT_EQ(good["probe_serial"].toString(), "KV0000000001");
    EXPECT_EQ(good["target_part"].toString(), "ZR32S04RCT6");
    const QJsonArray given = good["options"].toArray();
    ASSERT_EQ(given.size(), 4);
    EXPECT_EQ(given[2].toObject()["option"].toString(), "-d");
    EXPECT_EQ(given[2].toObject()["arguments"].toArray().size(), 3);
    EXPECT_EQ(good["image"].toObject()["size"].toInt(), 4352);
    EXPECT_EQ(good["image"].toObject()["checksum"].toString(), "0008644D");
    EXPECT_TRUE(QDateTime::fromString(good["time"].toString(), Qt::ISODateWithMs).isValid());

    ASSERT_EQ(Sim({"--set", "target=0"}, {"-connect", "-r"}, options).exitCode, 2);
    const QJsonObject failed = LastLogLine(options.env["KORVEX_LOG"]);
    EXPECT_EQ(failed["exit_code"].toInt(), 2);
    EXPECT_EQ(failed["options"].toArray().size(), 1);
    EXPECT_TRUE(failed["image"].isNull());
}

}  // namespace
