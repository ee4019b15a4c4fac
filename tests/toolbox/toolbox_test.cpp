// The console among the Linux tools: probe choice, probe listing and hints on standard error.
// Standard output keeps its specified bytes; hints go to standard error only.
#include "run_process.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstdlib>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using korvex_test::builtProgram;
using korvex_test::runProcess;

namespace {

// The console (or another program) against `probes` virtual probes with serials KV0, KV1, ...
korvex_test::ProcessResult RunOnProbes(int probes, const std::vector<std::string>& command,
                                       const std::string& chosenProbe = "")
{
    std::vector<std::string> argv = {builtProgram("korvex-sim"), "--probes", std::to_string(probes)};
    for (int i = 0; i < probes; ++i)
        argv.insert(argv.end(), {"--probe", std::to_string(i) + ":serial=KV" + std::to_string(i)});
    argv.push_back("--");
    argv.insert(argv.end(), command.begin(), command.end());
    korvex_test::ProcessOptions options;
    if (chosenProbe.empty())
        options.unsetEnv.push_back("KORVEX_PROBE");
    else
        options.env["KORVEX_PROBE"] = chosenProbe;
    return runProcess(argv, options);
}

// A directory of this test's own: test processes run side by side.
std::string OwnTempDir()
{
    std::string pattern = ::testing::TempDir() + "korvex-toolbox-XXXXXX";
    return mkdtemp(pattern.data()) != nullptr ? pattern : ::testing::TempDir();
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct ChoiceCase {
    const char* name;
    int probes;
    const char* chosen;
    std::string outEnd;  // the end of standard output
    std::string err;
    int exitCode;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

const std::string kConnected = "    Serials: KV2      (WinUSB)\n";
const ChoiceCase kChoiceCases[] = {
    {"FourProbesOneChosen", 4, "KV2", "", "", 0},
    {"TwoProbesNoneChosen", 2, "",
     "Connect......\nError. Multiple Korvex devices detected, please select one of them to connect.\n",
     "Korvex_Console: connected probes: KV0, KV1; choose one with KORVEX_PROBE=<serial> in the environment "
     "(korvex-probes lists them)\n",
     2},
    {"ChosenProbeAbsent", 2, "KV7", "Connect......\nError. No Korvex device.\n",
     "Korvex_Console: no probe has the serial number KV7 that KORVEX_PROBE asks for; connected: KV0, KV1\n", 2},
};

class ProbeChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ProbeChoice, ConnectsToTheNamedProbeOnly)
{
    const ChoiceCase& c = GetParam();
    const auto run = RunOnProbes(c.probes, {builtProgram("Korvex_Console"), "-connect"}, c.chosen);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.err, c.err);
    if (c.exitCode == 0)
        EXPECT_NE(run.out.find(kConnected), std::string::npos) << run.out;
    else
        EXPECT_TRUE(EndsWith(run.out, c.outEnd)) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Toolbox, ProbeChoice, ::testing::ValuesIn(kChoiceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProbeListing, OneLinePerProbeWithItsSerial)
{
    const auto run = RunOnProbes(4, {builtProgram("korvex-probes")});
    EXPECT_EQ(run.exitCode, 0);
    std::string expected;
    for (int i = 0; i < 4; ++i)
        expected += "KV" + std::to_string(i) + "\tKorvex-EZ\thw 0\tfw 2.1.7\tbulk\tready\n";
    EXPECT_EQ(run.out, expected);
}

// Where the specified lines do not say what to do, one line on standard error does.
struct HintCase {
    const char* name;
    std::vector<std::string> sim;      // korvex-sim arguments; none: the console runs alone
    std::vector<std::string> console;
    std::string outEnd;                // the end of standard output, as specified
    std::string err;
    int exitCode;
};

void PrintTo(const HintCase& c, std::ostream* os) { *os << c.name; }

const HintCase kHintCases[] = {
    {"UnknownPartName", {}, {"-device", "zr32s04rct6"}, "\nbad parameter \"zr32s04rct6\"\n",
     "Korvex_Console: \"zr32s04rct6\" is not a part -device knows; closest: ZR32S04RCT6 ZR32S02RCT6 ZR32S04RDT6 "
     "(docs/parts.md lists every part; names are case-sensitive)\n",
     1},
    {"HelpAskedTheUsualWay", {}, {"--help"}, "\nError. bad parameter --help\n",
     "Korvex_Console: the help is -?, as in: Korvex_Console -?\n", 1},
    {"MissingImage", {"--set", "series=4"}, {"-connect", "-d", "--fn", "/nonexistent/app.hex"},
     "Download file opening......\nFile path is empty!\nError. Open file failed!\n",
     "Korvex_Console: cannot read /nonexistent/app.hex: No such file or directory\n", 3},
    {"ProtectedTargetNotNamed", {"--set", "protection=1"}, {"-connect"},
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
    std::vector<std::string> argv;
    if (!c.sim.empty()) {
        argv = {builtProgram("korvex-sim")};
        argv.insert(argv.end(), c.sim.begin(), c.sim.end());
        argv.push_back("--");
    }
    argv.push_back(builtProgram("Korvex_Console"));
    argv.insert(argv.end(), c.console.begin(), c.console.end());
    const auto run = runProcess(argv);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_TRUE(EndsWith(run.out, c.outEnd)) << run.out;
    EXPECT_EQ(run.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(Toolbox, Hints, ::testing::ValuesIn(kHintCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

TEST(GangProgramming, ProgramsEveryProbeWithALogPerBoard)
{
    const std::string logs = OwnTempDir() + "/gang-logs";
    korvex_test::ProcessOptions options;
    options.env = {{"KORVEX_CONSOLE", builtProgram("Korvex_Console")}, {"KORVEX_PROBES", builtProgram("korvex-probes")}};
    options.unsetEnv = {"KORVEX_PROBE"};
    const auto run = runProcess({builtProgram("korvex-sim"), "--probes", "2", "--probe", "0:serial=KV0", "--probe",
                                 "1:serial=KV1", "--", std::string(KORVEX_SOURCE_DIR) + "/examples/gang-program.sh",
                                 std::string(KORVEX_SOURCE_DIR) + "/examples/sample_app.hex", logs},
                                options);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "KV0: programmed and verified\nKV1: programmed and verified\n");
    for (const char* serial : {"KV0", "KV1"}) {
        std::ifstream log(logs + "/" + serial + ".log");
        std::stringstream text;
        text << log.rdbuf();
        EXPECT_NE(text.str().find("\r\nDone!\n"), std::string::npos) << serial;
    }
}

}  // namespace

namespace {

const std::string kSampleImage = std::string(KORVEX_SOURCE_DIR) + "/examples/sample_app.hex";

korvex_test::ProcessResult RunJob(const std::vector<std::string>& simArguments, const std::vector<std::string>& console,
                                  korvex_test::ProcessOptions options = {})
{
    std::vector<std::string> argv = {builtProgram("korvex-sim")};
    argv.insert(argv.end(), simArguments.begin(), simArguments.end());
    argv.push_back("--");
    argv.push_back(builtProgram("Korvex_Console"));
    argv.insert(argv.end(), console.begin(), console.end());
    options.unsetEnv.insert(options.unsetEnv.end(), {"KORVEX_PROBE", "KORVEX_PROGRESS", "KORVEX_LOG"});
    return runProcess(argv, options);
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
    korvex_test::ProcessOptions options;
    options.stderrIsTerminal = c.terminal;
    if (c.setting != nullptr)
        options.env["KORVEX_PROGRESS"] = c.setting;
    const auto run = RunJob({}, job, options);
    const auto plain = RunJob({}, job);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, plain.out);
    for (const char* step : {"erase    [", "download [", "verify   ["}) {
        const bool found = run.err.find(step) != std::string::npos;
        EXPECT_EQ(found, c.shown) << step << run.err;
    }
    if (c.shown)
        EXPECT_NE(run.err.find("100%  4352/4352 bytes"), std::string::npos) << run.err;
    else
        EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(Toolbox, Progress, ::testing::ValuesIn(kProgressCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Interrupt, StopsAtTheNextExchangeAndSaysWhatWasCutShort)
{
    const std::string image = OwnTempDir() + "/interrupted.bin";
    std::ofstream(image, std::ios::binary) << std::string(48 * 1024, '\x5A');
    korvex_test::ProcessOptions options;
    options.interruptWhenOutContains = "File downloading......\n";
    const auto run = RunJob({"--set", "reply_delay_ms=40"}, {"-connect", "-d", "--fn", image, "--v", "-r"}, options);
    EXPECT_EQ(run.exitCode, 130);
    // The signal reaches the console through korvex-sim while it downloads: nothing follows on
    // standard output, neither a failure line nor the verify or reset lines.
    const std::string downloading = "File downloading......\n";
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
    const std::string log = OwnTempDir() + "/production.jsonl";
    korvex_test::ProcessOptions options;
    options.env["KORVEX_LOG"] = log;
    ASSERT_EQ(RunJob({}, {"-connect", "-e", "--all", "-d", "--fn", kSampleImage, "--v", "-r"}, options).exitCode, 0);
    const QJsonObject good = LastLogLine(log);
    EXPECT_EQ(good["exit_code"].toInt(), 0);
    EXPECT_EQ(good["probe_serial"].toString(), "KV0000000001");
    EXPECT_EQ(good["target_part"].toString(), "ZR32S04RCT6");
    const QJsonArray options_ = good["options"].toArray();
    ASSERT_EQ(options_.size(), 4);
    EXPECT_EQ(options_[2].toObject()["option"].toString(), "-d");
    EXPECT_EQ(options_[2].toObject()["arguments"].toArray().size(), 3);
    EXPECT_EQ(good["image"].toObject()["size"].toInt(), 4352);
    EXPECT_EQ(good["image"].toObject()["checksum"].toString(), "0008644D");
    EXPECT_TRUE(QDateTime::fromString(good["time"].toString(), Qt::ISODateWithMs).isValid());

    ASSERT_EQ(RunJob({"--set", "target=0"}, {"-connect", "-r"}, options).exitCode, 2);
    const QJsonObject failed = LastLogLine(log);
    EXPECT_EQ(failed["exit_code"].toInt(), 2);
    EXPECT_EQ(failed["options"].toArray().size(), 1);
    EXPECT_TRUE(failed["image"].isNull());
}

}  // namespace
