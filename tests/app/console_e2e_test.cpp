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
const std::string kSampleImage = KORVEX_SOURCE_DIR "/examples/sample_app.hex";
const std::string kEmptyOtpFile = KORVEX_SOURCE_DIR "/tests/app/golden/empty.zrtp";

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
    {"MixedCaseOption", {"-Connect"}, "Error. bad parameter -Connect\n", 1},
    {"MisspeltOption", {"-conect"}, "Error. bad parameter -conect\n", 1},
    {"SubOptionBeforeAnyOption", {"--fn", "x.hex"}, "Error. bad parameter --fn\n", 1},
    {"EmptyArgument", {""}, "Error. bad parameter \n", 1},
};
INSTANTIATE_TEST_SUITE_P(BadArguments, ConsoleRun, testing::ValuesIn(kBadArguments), CaseName);

// Without a probe nothing is ever connected; every command checks before reading its sub-options.
const RunCase kWithoutConnection[] = {
    {"Connect", {"-connect"}, kNoProbe, 2},
    {"ConnectStopsTheRun", {"-connect", "-?"}, kNoProbe, 2},
    {"Erase", {"-e", "--all"}, kNoMcu, 2},
    {"EraseAlone", {"-e"}, kNoMcu, 2},
    {"EraseBle", {"-eble", "--all", "--main"}, kNoBle, 2},
    {"Download", {"-d", "--fn", kSampleImage, "--v"}, kNoDevice, 2},
    {"Upload", {"-u", "--sec", "0-1", "--fn", "out.bin"}, kNoDevice, 2},
    {"UploadBle", {"-uble", "--sec", "0-319", "--fn", "out.hex"}, kNoBle, 2},
    {"UserSystemData", {"-usd", "--get", "--fn", "usd.bin"}, kNoMcu, 2},
    {"Protection", {"-p", "--efap1"}, kNoDevice, 2},
    {"ProtectionOfBle", {"-p", "--ebfap"}, kNoDevice, 2},
    {"EnableSpim", {"-enspim", "--fs", "8"}, kNoMcu, 2},
    {"BootMemoryApMode", {"-bmapm", "--key", "5C3E91B7"}, kNoMcu, 2},
    {"WriteSerialNumber", {"-wsn", "--ne"}, kNoMcu, 2},
    {"Otp", {"-otp", "--fn", kEmptyOtpFile}, kNoMcu, 2},
    {"Read32", {"-mem32", "20000000"}, kNoMcu, 2},
    {"Read16", {"-mem16", "08000000"}, kNoMcu, 2},
    {"Write32", {"-w4", "20000000", "00112233"}, kNoMcu, 2},
    {"Write16", {"-w2", "20000000", "AABB"}, kNoMcu, 2},
    {"ResetAndRun", {"-r"}, kNoMcu, 2},
    {"HelpThenCommand", {"-?", "-r"}, kHelp + kNoMcu, 2},
};
INSTANTIATE_TEST_SUITE_P(WithoutConnection, ConsoleRun, testing::ValuesIn(kWithoutConnection), CaseName);

// Faults found in the whole line before the first option runs: the banner, then only the line the
// run would print on reaching the fault, and its exit code. Nothing runs, not even -? or -connect.
// (Which range and number texts are refused is checked on the readers themselves.)
const std::string kMissing = "/nonexistent-folder/missing";
const RunCase kCommandLineFaults[] = {
    {"HelpBeforeASubOption", {"-?", "--fn", "x"}, "Error. bad parameter --fn\n", 1},
    {"HelpBeforeAStrayWord", {"-?", "x"}, "Error. bad parameter x\n", 1},
    {"HelpBeforeABadRange", {"-?", "-e", "--sec", "a-b"}, "Error. bad parameter a-b\n", 1},
    {"SubOptionLeftAfterReset", {"-connect", "-r", "--fn", "x"}, "Error. bad parameter --fn\n", 1},
    {"EraseStrayWord", {"-connect", "-e", "foo"}, "bad parameter \"foo\"\n", 1},
    {"EraseAllStrayWord", {"-e", "--all", "foo"}, "Error. bad parameter foo\n", 1},
    {"EraseAllForeignSelector", {"-e", "--all", "--sec", "1"}, "Error. bad parameter --sec\n", 1},
    {"EraseForeignSubOptionLeavesItsValue", {"-e", "--fn", "x.hex"}, "bad parameter \"x.hex\"\n", 1},
    {"EraseRangeMissing", {"-e", "--sec"}, "Error. bad parameter \n", 1},
    {"EraseRangeIsAnOption", {"-e", "--sec", "-r"}, "Error. bad parameter -r\n", 1},
    {"EraseRangeNegative", {"-e", "--sec", "-3"}, "Error. bad parameter -3\n", 1},
    {"EraseRangeDescending", {"-e", "--sec", "5-3"}, "Error. bad parameter 5-3\n", 1},
    {"EraseBleRangeLetters", {"-eble", "--sec", "a-b"}, "Error. bad parameter a-b\n", 1},
    {"EraseBleRangeDescending", {"-eble", "--sec", "5-3"},
     "Error, erase sectors cannot exceed BLE module main space range.\n", 0x38},
    {"EraseBleAllForeignSelector", {"-eble", "--all", "--flash"}, "Error. bad parameter --flash\n", 1},
    {"UploadRangeHex", {"-u", "--sec", "0x10", "--fn", "x.bin"}, "bad parameter \"0x10\"\n", 1},
    {"UploadRangeDescending", {"-u", "--sec", "5-3"}, "bad parameter \"5-3\"\n", 1},
    {"UploadBleRangeExponent", {"-uble", "--sec", "1e2"}, "bad parameter \"1e2\"\n", 1},
    {"UploadBleRangeDescending", {"-uble", "--sec", "9-2"},
     "Error. Upload sectors cannot exceed BLE module main space range.\n", 5},
    {"UploadNameRule", {"-u", "--sec", "0", "--fn", "out.s19"}, "bad parameter \"out.s19\"\n", 1},
    {"ProtectRangeComma", {"-p", "--eepp", "3,5"}, "bad parameter \"3,5\"\n", 1},
    {"ProtectRangeMissing", {"-p", "--eepp"}, "bad parameter \"\"\n", 1},
    {"ProtectStrayWord", {"-p", "--dfap", "foo"}, "bad parameter \"foo\"\n", 1},
    {"ProtectConfirmationIsLeftToTheTarget", {"-p", "--efap2", "--y"}, kNoDevice, 2},
    {"DownloadStrayWord", {"-d", "foo"}, "bad parameter \"foo\"\n", 1},
    {"DownloadForeignSubOption", {"-d", "--sec", "1"}, "bad parameter \"--sec\"\n", 1},
    {"DownloadAddressMissing", {"-d", "--fn", kSampleImage, "--a"}, "bad parameter \"\"\n", 1},
    {"DownloadAddressIsASubOption", {"-d", "--a", "--fn", kSampleImage}, "bad parameter \"--fn\"\n", 1},
    {"DownloadAddressNotHex", {"-d", "--a", "800400g"}, "bad parameter \"800400g\"\n", 1},
    {"DownloadNameMissing", {"-d", "--fn"}, "bad parameter \"\"\n", 1},
    {"DownloadNameRule", {"-d", "--fn", "image.s19"}, "bad parameter \"image.s19\"\n", 1},
    {"DownloadWithoutAnyName", {"-d", "--v"}, "Download file opening......\nError. Open file failed!\n", 3},
    {"DownloadOfAnUploadedFile", {"-u", "--sec", "0", "--fn", kMissing + ".hex", "-d"}, kNoDevice, 2},
    {"UserSystemDataStrayWord", {"-usd", "foo"}, "foo\n", 1},
    {"UserSystemDataSetLast", {"-usd", "--set"}, "bad parameter \"\"\n", 1},
    {"UserSystemDataGetBeforeAnOption", {"-usd", "--get", "-r"}, "bad parameter \"-r\"\n", 1},
    {"UserSystemDataWithoutFn", {"-usd", "--set", "--fx", "u.bin"}, "bad parameter \"--fx\"\n", 1},
    {"UserSystemDataMissingFile", {"-usd", "--set", "--fn", kMissing + ".bin"},
     "User system data file opening......\nFile path is empty!\nError. Open file failed!\n", 6},
    {"UserSystemDataConfirmationTaken", {"-usd", "--set", "--fn", kSampleImage, "--y"}, kNoMcu, 2},
    {"UserSystemDataReadBack", {"-usd", "--get", "--fn", kMissing + ".bin", "--set", "--fn", kMissing + ".bin"},
     kNoMcu, 2},
    {"SpimSizeTooLarge", {"-enspim", "--fs", "4096"}, "bad parameter \"4096\"\n", 1},
    {"SpimTypeMissing", {"-enspim", "--ft"}, "bad parameter \"\"\n", 1},
    {"SpimForeignSubOption", {"-enspim", "--key", "1"}, "bad parameter \"--key\"\n", 1},
    {"SpimFlashDaNegative", {"-enspim", "--fda", "-1"}, "bad parameter \"-1\"\n", 1},
    {"ApModeKeyJunk", {"-bmapm", "--key", "5C3E91B7Z"}, "bad parameter \"5C3E91B7Z\"\n", 1},
    {"SerialNumberForeignSubOption", {"-wsn", "--v"}, "bad parameter \"--v\"\n", 1},
    {"OtpStrayWord", {"-otp", "foo"}, "foo\n", 1},
    {"OtpNameWithoutFolder", {"-otp", "--fn", "otp.zrtp"}, "bad parameter \"otp.zrtp\"\n", 1},
    {"OtpMissingFile", {"-otp", "--fn", "./missing.zrtp"}, "Get OTP data from the configuration file failed!\n", 0x40},
    {"ReadWithoutAddress", {"-mem32"}, "bad parameter \"\"\n", 1},
    {"ReadAddressIsAnOption", {"-mem16", "-r"}, "bad parameter \"-r\"\n", 1},
    {"ReadOneAddressOnly", {"-mem32", "20000000", "08000000"}, "Error. bad parameter 08000000\n", 1},
    {"WriteWithoutValue", {"-w4", "20000000"}, "bad parameter \"\"\n", 1},
    {"WriteWithoutArguments", {"-w2"}, "bad parameter \"\"\n", 1},
    {"WriteValueNotHex", {"-w4", "20000000", "xyz"}, "bad parameter \"xyz\"\n", 1},
    {"WriteAddressOnlyPrefix", {"-w2", "0x", "1"}, "bad parameter \"0x\"\n", 1},
};
INSTANTIATE_TEST_SUITE_P(CommandLineFaults, ConsoleRun, testing::ValuesIn(kCommandLineFaults), CaseName);

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
    {"PrefixOfAName", {"-device", "ZR32S07"}, "bad parameter \"ZR32S07\"\n", 1},
    {"EmptyName", {"-device", ""}, "bad parameter \"\"\n", 1},
    {"UnknownAfterKnown", {"-device", "Universal", "ZR32S99RGT7"}, "bad parameter \"ZR32S99RGT7\"\n", 1},
};
INSTANTIATE_TEST_SUITE_P(Device, ConsoleRun, testing::ValuesIn(kDeviceRuns), CaseName);

TEST(ConsoleOutput, NothingGoesToStandardError)
{
    const auto run = runProcess({builtProgram("Korvex_Console"), "-device", "Universal", "-r"});
    EXPECT_EQ(run.err, "");
}
} // namespace
