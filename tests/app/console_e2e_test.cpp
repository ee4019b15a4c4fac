// Runs the real Korvex_Console and compares its stdout and exit code byte for byte.
#include "run_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using korvex_test::builtProgram;
using korvex_test::runProcess;

namespace {
std::string Golden(const std::string& name)
{
    std::ifstream file(std::string(KORVEX_SOURCE_DIR) + "/tests/app/golden/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

const std::string kBanner = Golden("banner.txt");
const std::string kHelp = Golden("help.txt");
const std::string kDone = "\r\nDone!\n";
const std::string kNoProbe = "Connect......\nError. No Korvex device.\n";
const std::string kNoMcu = "Error. Don't connect MCU!\n";
const std::string kNoDevice = "Error. Don't connect device!\n";
const std::string kNoBle = "Error. Don't connect BLE module!\n";

struct RunCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string out; // after the banner
    int exitCode;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class ConsoleRun : public testing::TestWithParam<RunCase> {};

TEST_P(ConsoleRun, PrintsExactlyAndExitsWithItsCode)
{
    const RunCase& c = GetParam();
    std::vector<std::string> argv = {builtProgram("Korvex_Console")};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const auto run = runProcess(argv);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.out, kBanner + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
}

std::string CaseName(const testing::TestParamInfo<RunCase>& info) { return info.param.name; }

const RunCase kHelpRuns[] = {
    {"NoArguments", {}, kHelp + kDone, 0},
    {"HelpOption", {"-?"}, kHelp + kDone, 0},
    {"HelpTwice", {"-?", "-?"}, kHelp + kHelp + kDone, 0},
};
INSTANTIATE_TEST_SUITE_P(Help, ConsoleRun, testing::ValuesIn(kHelpRuns), CaseName);

const RunCase kBadArguments[] = {
    {"StrayWordBeforeAnOption", {"foo", "-connect"}, "Error. bad parameter foo\n", 1},
    {"UpperCaseOption", {"-CONNECT", "-e", "--all"}, "Error. bad parameter -CONNECT\n", 1},
    {"MixedCaseOption", {"-Connect"}, "Error. bad parameter -Connect\n", 1},
    {"MisspeltOption", {"-conect"}, "Error. bad parameter -conect\n", 1},
    {"SubOptionBeforeAnyOption", {"--fn", "x.hex"}, "Error. bad parameter --fn\n", 1},
    {"SubOptionLeftAfterHelp", {"-?", "--fn", "x"}, kHelp + "Error. bad parameter --fn\n", 1},
    {"StrayLastArgument", {"-?", "x"}, kHelp + "Error. bad parameter x\n", 1},
    {"EmptyArgument", {""}, "Error. bad parameter \n", 1},
    {"LeftoverAfterFailingConnect", {"-connect", "-r", "--fn", "x"}, kNoProbe, 2},
};
INSTANTIATE_TEST_SUITE_P(BadArguments, ConsoleRun, testing::ValuesIn(kBadArguments), CaseName);

// Without a probe nothing is ever connected; every command checks before reading its sub-options.
const RunCase kWithoutConnection[] = {
    {"Connect", {"-connect"}, kNoProbe, 2},
    {"ConnectStopsTheRun", {"-connect", "-?"}, kNoProbe, 2},
    {"Erase", {"-e", "--all"}, kNoMcu, 2},
    {"EraseAlone", {"-e"}, kNoMcu, 2},
    {"EraseWithStrayArgument", {"-e", "foo"}, kNoMcu, 2},
    {"EraseBle", {"-eble", "--all", "--main"}, kNoBle, 2},
    {"Download", {"-d", "--fn", "app.hex", "--v"}, kNoDevice, 2},
    {"DownloadWithStrayArgument", {"-d", "foo"}, kNoDevice, 2},
    {"Upload", {"-u", "--sec", "0-1", "--fn", "out.bin"}, kNoDevice, 2},
    {"UploadBle", {"-uble", "--sec", "0-319", "--fn", "out.hex"}, kNoBle, 2},
    {"UserSystemData", {"-usd", "--get", "--fn", "usd.bin"}, kNoMcu, 2},
    {"Protection", {"-p", "--efap1"}, kNoDevice, 2},
    {"ProtectionOfBle", {"-p", "--ebfap"}, kNoDevice, 2},
    {"EnableSpim", {"-enspim", "--fs", "8"}, kNoMcu, 2},
    {"BootMemoryApMode", {"-bmapm", "--key", "5C3E91B7"}, kNoMcu, 2},
    {"WriteSerialNumber", {"-wsn", "--ne"}, kNoMcu, 2},
    {"Otp", {"-otp", "--fn", "./otp.zrtp"}, kNoMcu, 2},
    {"Read32", {"-mem32", "20000000"}, kNoMcu, 2},
    {"Read16", {"-mem16", "08000000"}, kNoMcu, 2},
    {"Write32", {"-w4", "20000000", "00112233"}, kNoMcu, 2},
    {"Write16", {"-w2", "20000000", "AABB"}, kNoMcu, 2},
    {"ResetAndRun", {"-r"}, kNoMcu, 2},
    {"ResetAndRunWithLeftover", {"-r", "--fn", "x"}, kNoMcu, 2},
    {"HelpThenCommand", {"-?", "-r"}, kHelp + kNoMcu, 2},
};
INSTANTIATE_TEST_SUITE_P(WithoutConnection, ConsoleRun, testing::ValuesIn(kWithoutConnection), CaseName);

const RunCase kDeviceRuns[] = {
    {"Universal", {"-device", "Universal"}, kDone, 0},
    {"ExampleName", {"-device", "ZR32S07RGT7"}, kDone, 0},
    {"SeveralNames", {"-device", "ZR32S07RGT7", "Universal"}, kDone, 0},
    {"LastArgument", {"-device"}, kDone, 0},
    {"FollowedByAnOption", {"-device", "-?"}, kHelp + kDone, 0},
    {"NameThenCommand", {"-device", "Universal", "-r"}, kNoMcu, 2},
    {"CaseDifferentName", {"-device", "zr32s07rgt7"}, "bad parameter \"zr32s07rgt7\"\n", 1},
    {"CaseDifferentUniversal", {"-device", "UNIVERSAL"}, "bad parameter \"UNIVERSAL\"\n", 1},
    {"SubOption", {"-device", "--all"}, "bad parameter \"--all\"\n", 1},
    {"UnknownAfterKnown", {"-device", "Universal", "ZR32S99RGT7"}, "bad parameter \"ZR32S99RGT7\"\n", 1},
};
INSTANTIATE_TEST_SUITE_P(Device, ConsoleRun, testing::ValuesIn(kDeviceRuns), CaseName);

TEST(ConsoleOutput, NothingGoesToStandardError)
{
    const auto run = runProcess({builtProgram("Korvex_Console"), "-device", "Universal", "-r"});
    EXPECT_EQ(run.err, "");
}
} // namespace
