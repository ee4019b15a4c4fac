// The console among the Linux tools: probe choice, probe listing and hints on standard error.
// Standard output keeps its specified bytes; hints go to standard error only.
#include "run_process.h"

#include <gtest/gtest.h>

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

TEST(DeviceNameHint, NamesTheClosestPartsOnStandardErrorOnly)
{
    const auto run = runProcess({builtProgram("Korvex_Console"), "-device", "zr32s04rct6"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(EndsWith(run.out, std::string(60, '-') + "\n\nbad parameter \"zr32s04rct6\"\n")) << run.out;
    EXPECT_EQ(run.err, "Korvex_Console: \"zr32s04rct6\" is not a part -device knows; closest: ZR32S04RCT6 "
                       "ZR32S02RCT6 ZR32S04RDT6 (docs/parts.md lists every part; names are case-sensitive)\n");
}

}  // namespace

namespace {

TEST(GangProgramming, ProgramsEveryProbeWithALogPerBoard)
{
    const std::string logs = ::testing::TempDir() + "gang-logs";
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
