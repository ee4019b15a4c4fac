// -enspim, -bmapm and the debug words against the virtual probe: exact lines, exit codes, and the
// target's SPIM setup, AP mode and memories afterwards.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace slice_test {
namespace {

constexpr uint32_t kMb = 1048576;
const std::string kBeginSpim = "Begin Enable SPIM........\n";
const std::string kSpimOn = kBeginSpim + "Enable SPIM succeed!\n";
const std::string kSpimRefused = kBeginSpim + "Error. Enable SPIM failed!\n";

struct SpimSetup {
    bool enabled;
    uint8_t config; // remap + 4 x type
    uint32_t flashDa;
    uint32_t size;
    bool operator==(const SpimSetup& o) const
    {
        return enabled == o.enabled && config == o.config && flashDa == o.flashDa && size == o.size;
    }
};
void PrintTo(const SpimSetup& s, std::ostream* os)
{
    *os << "enabled=" << s.enabled << " config=" << unsigned{s.config} << " da=" << s.flashDa << " size=" << s.size;
}

SpimSetup TargetSpim(VirtualBench& bench)
{
    return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
        const ksim::TargetMcu& t = p.target();
        return SpimSetup{t.spimEnabled(), t.spimConfig(), t.spimLimit(), t.spimSize()};
    });
}

bool SentCommand(VirtualBench& bench, const std::string& code)
{
    const auto log = bench.exchanges();
    return std::any_of(log.begin(), log.end(), [&](const ksim::Exchange& e) { return e.command.rfind(code, 0) == 0; });
}

struct SpimCase {
    const char* name;
    std::vector<std::string> arguments; // after -connect
    std::string out;                    // after the connection lines
    int exitCode;
    SpimSetup setup;                    // the target's afterwards
    bool beforeRun = false;             // refused by the check of the whole line: nothing ran
};
void PrintTo(const SpimCase& c, std::ostream* os) { *os << c.name; }

class EnableSpim : public testing::TestWithParam<SpimCase> {};

TEST_P(EnableSpim, sends_the_setup_it_was_given_or_nothing)
{
    const SpimCase& c = GetParam();
    VirtualBench bench;
    std::vector<std::string> arguments = {"-connect"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const ConsoleRun run = bench.console(arguments);
    EXPECT_EQ(run.out, (c.beforeRun ? "" : kConnectDefault) + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(TargetSpim(bench), c.setup);
    EXPECT_EQ(SentCommand(bench, "B6.02"), c.setup.enabled);
}

const SpimSetup kOff{false, 0, 0, 0};
const SpimCase kSpimCases[] = {
    {"BareEnablesType1", {"-enspim"}, kSpimOn + kDone, 0, {true, 0x04, 0, 0}},
    {"SizeTypeRemap", {"-enspim", "--fs", "16", "--ft", "2", "--remap", "1"}, kSpimOn + kDone, 0, {true, 0x09, 0, 16 * kMb}},
    {"UpperCaseSubOption", {"-enspim", "--FS", "8"}, kSpimOn + kDone, 0, {true, 0x04, 0, 8 * kMb}},
    {"RepeatedSubOptionsOverwrite", {"-enspim", "--fs", "1", "--ft", "2", "--fs", "2", "--ft", "1"}, kSpimOn + kDone, 0,
     {true, 0x04, 0, 2 * kMb}},
    {"FlashDaWithoutUsdGroup", {"-enspim", "--fda", "0x1A"}, kSpimOn + kDone, 0, {true, 0x04, 0x1A, 0}},
    {"LargestFlashDa", {"-enspim", "--fda", "1000000", "--remap", "0"}, kSpimOn + kDone, 0, {true, 0x04, 0x1000000, 0}},
    {"KeyIsNotItsSubOption", {"-enspim", "--key", "1"}, "bad parameter \"--key\"\n", 1, kOff, true},
    {"StrayArgument", {"-enspim", "8"}, "bad parameter \"8\"\n", 1, kOff, true},
    {"MissingValue", {"-enspim", "--fs"}, "bad parameter \"\"\n", 1, kOff, true},
    {"OptionForValue", {"-enspim", "--ft", "-r"}, "bad parameter \"-r\"\n", 1, kOff, true},
    {"SizeWouldWrap", {"-enspim", "--fs", "4096"}, "bad parameter \"4096\"\n", 1, kOff, true},
    {"HexSize", {"-enspim", "--fs", "0x10"}, "bad parameter \"0x10\"\n", 1, kOff, true},
    {"Type0", {"-enspim", "--ft", "0"}, kSpimRefused, 8, kOff},
    {"Type3", {"-enspim", "--ft", "3"}, kSpimRefused, 8, kOff},
    {"Type257", {"-enspim", "--ft", "257"}, kSpimRefused, 8, kOff},
    {"FlashDaTooLarge", {"-enspim", "--fda", "2000000"}, kSpimRefused, 8, kOff},
};
INSTANTIATE_TEST_SUITE_P(Forms, EnableSpim, testing::ValuesIn(kSpimCases),
                         [](const testing::TestParamInfo<SpimCase>& info) { return info.param.name; });

TEST(EnableSpimProbe, a_size_past_the_window_goes_to_the_probe_which_refuses_it)
{
    VirtualBench bench;
    const ConsoleRun run = bench.console({"-connect", "-enspim", "--fs", "17", "-r"});
    EXPECT_EQ(run.out, kConnectDefault + kSpimRefused);
    EXPECT_EQ(run.exitCode, 8);
    EXPECT_TRUE(SentCommand(bench, "B6.02"));
}

TEST(EnableSpimProbe, a_series_without_spim_is_refused_before_its_sub_options)
{
    VirtualBench bench(kApModeTarget);
    const ConsoleRun run = bench.console({"-connect", "-enspim", "--fs", "1"});
    EXPECT_EQ(run.out, kApConnect + kBeginSpim + "Error. The MCU does not support SPIM.\n");
    EXPECT_EQ(run.exitCode, 8);
    EXPECT_FALSE(SentCommand(bench, "B6.02"));
}

TEST(EnableSpimProbe, erase_download_and_upload_then_use_the_spim_in_the_same_run)
{
    VirtualBench bench;
    bench.fillEverything(0x00);
    TempDir files;
    const std::vector<uint8_t> bytes = Pattern(6000, 7);
    const std::string image = files.write("spim.hex", IntelHex({{0x08400000 + 0x1000, bytes}}));
    const ConsoleRun run = bench.console({"-connect", "-enspim", "--fs", "1", "-e", "--all", "-d", "--fn", image, "--v"});
    EXPECT_EQ(run.out, kConnectDefault + kSpimOn +
                           "Erase all start ......\nflash full erase succeed!\nSPIM full erase succeed!\n"
                           "Erase all finished!\nDownload file opening......\nOpen file succeed!\n"
                           "File downloading......\nFile download finished!\n"
                           "Read memory and Verification.......\nVerification finished!\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(bench.spim(0x08401000, 6000), bytes);
    EXPECT_EQ(bench.spim(0x08400000, 0x1000), std::vector<uint8_t>(0x1000, 0xFF));
    EXPECT_EQ(bench.spim(0x08500000, 16), std::vector<uint8_t>(16, 0x00)); // past the enabled megabyte
}

struct ApCase {
    const char* name;
    ksim::Settings target;
    std::string connect;
    std::vector<std::string> arguments; // after -connect
    std::string out;                    // after the connection lines
    int exitCode;
    bool apMode;
    bool keySent;
    bool beforeRun = false; // refused by the check of the whole line: nothing ran
};
void PrintTo(const ApCase& c, std::ostream* os) { *os << c.name; }

class BootMemoryApMode : public testing::TestWithParam<ApCase> {};

TEST_P(BootMemoryApMode, sends_the_key_only_when_it_is_the_one)
{
    const ApCase& c = GetParam();
    VirtualBench bench(c.target);
    std::vector<std::string> arguments = {"-connect"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const ConsoleRun run = bench.console(arguments);
    EXPECT_EQ(run.out, (c.beforeRun ? "" : c.connect) + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().apMode(); }), c.apMode);
    EXPECT_EQ(SentCommand(bench, "B5.0A"), c.keySent);
}

// Spelt out: another file's settings are not yet built when this file's are.
const ksim::Settings kApOff = {{"transport", "hid"}, {"series", "9"}, {"pid", "09001081"}, {"ap_mode", "0"}};
const std::string kBeginAp = "Set boot memory AP mode.......\n";
const std::string kApOn = kBeginAp + "Set boot memory AP mode finished!\n";
const std::string kKeyError = kBeginAp + "Error. Boot memory AP mode key error, must be 0x5C3E91B7!\n";
const ApCase kApCases[] = {
    {"PrefixedKey", kApOff, kApConnect, {"-bmapm", "--key", "0x5C3E91B7"}, kApOn + kDone, 0, true, true},
    {"LowerCaseKey", kApOff, kApConnect, {"-bmapm", "--KEY", "5c3e91b7"}, kApOn + kDone, 0, true, true},
    {"NoKey", kApOff, kApConnect, {"-bmapm"}, kKeyError, 9, false, false},
    {"KeyZero", kApOff, kApConnect, {"-bmapm", "--key", "0"}, kKeyError, 9, false, false},
    {"LastKeyCounts", kApOff, kApConnect, {"-bmapm", "--key", "5C3E91B7", "--key", "5C3E91B6"}, kKeyError, 9, false, false},
    {"MissingKey", kApOff, kApConnect, {"-bmapm", "--key"}, "bad parameter \"\"\n", 1, false, false, true},
    {"KeyWithJunk", kApOff, kApConnect, {"-bmapm", "--key", "5C3E91B7x"}, "bad parameter \"5C3E91B7x\"\n", 1, false, false, true},
    {"ForeignSubOption", kApOff, kApConnect, {"-bmapm", "--fs", "1"}, "bad parameter \"--fs\"\n", 1, false, false, true},
    {"SeriesWithoutApMode", {{"transport", "hid"}}, kConnectDefault, {"-bmapm", "--key", "5C3E91B7"},
     kBeginAp + "Error. The MCU does not support boot memory AP mode. \n", 9, false, false},
    {"ApModeRefused", kApOff + ksim::Settings{{"fault_status", "B5.0A,0x22"}}, kApConnect, {"-bmapm", "--key", "5C3E91B7"},
     kBeginAp + "Error. Set boot memory AP mode failed!\n", 9, true, true}, // the reply was spoilt, not the work
    {"ApModeReplyLost", kApOff + ksim::Settings{{"fault_no_reply", "B5.0A"}}, kApConnect, {"-bmapm", "--key", "5C3E91B7"},
     kBeginAp + "Error. Set boot memory AP mode failed!\n", 9, true, true},
};
INSTANTIATE_TEST_SUITE_P(Keys, BootMemoryApMode, testing::ValuesIn(kApCases),
                         [](const testing::TestParamInfo<ApCase>& info) { return info.param.name; });

TEST(BootMemoryApModeRun, a_boot_memory_download_follows_in_the_same_run)
{
    VirtualBench bench(kApOff);
    TempDir files;
    const std::vector<uint8_t> bytes = Pattern(300, 3);
    const std::string image = files.write("boot.hex", IntelHex({{0x1FFFE400, bytes}}));
    const ConsoleRun run = bench.console({"-connect", "-bmapm", "--key", "5C3E91B7", "-d", "--fn", image});
    EXPECT_EQ(run.out, kApConnect + kApOn +
                           "Download file opening......\nOpen file succeed!\nErase MCU sectors of file size......\n"
                           "Erase sectors finished\nFile downloading......\nFile download finished!\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(bench.bootMemory(0, 300), bytes);
}

struct DebugCase {
    const char* name;
    std::vector<std::string> arguments; // after -connect
    std::string out;                    // after the connection lines
    int exitCode;
    std::vector<uint8_t> sram;          // 0x20000000 to 0x20000007 afterwards
    bool beforeRun = false;             // refused by the check of the whole line: nothing ran
};
void PrintTo(const DebugCase& c, std::ostream* os) { *os << c.name; }

class DebugWords : public testing::TestWithParam<DebugCase> {};

TEST_P(DebugWords, write_and_read_in_address_order)
{
    const DebugCase& c = GetParam();
    VirtualBench bench;
    bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().loadImage(0x08000000, {0x00, 0x10}); });
    std::vector<std::string> arguments = {"-connect"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const ConsoleRun run = bench.console(arguments);
    EXPECT_EQ(run.out, (c.beforeRun ? "" : kConnectDefault) + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().sram().read(0, 8); }), c.sram);
}

const std::string kWriteBegin = "\r\nDebug write data begin......\n";
const std::string kReadBegin = "\r\nDebug read data begin......\n";
const std::vector<uint8_t> kBlankSram(8, 0x00);
const DebugCase kDebugCases[] = {
    {"Word32ThenRead", {"-w4", "20000000", "00112233", "-mem32", "20000000"},
     kWriteBegin + "Debug write finished! addr:20000000 value:00112233\n" + kReadBegin +
         "Debug read finished! value:00112233\n" + kDone,
     0, {0x00, 0x11, 0x22, 0x33, 0, 0, 0, 0}},
    {"Word16TakesTheLow16Bits", {"-w2", "20000004", "12345", "-mem16", "0x20000004"},
     kWriteBegin + "Debug write finished! addr:20000004 value:00012345\n" + kReadBegin +
         "Debug read finished! value:2345\n" + kDone,
     0, {0, 0, 0, 0, 0x23, 0x45, 0, 0}},
    {"Read16OnFlash", {"-mem16", "08000000"}, kReadBegin + "Debug read finished! value:0010\n" + kDone, 0, kBlankSram},
    {"WriteThenReset", {"-w4", "0x20000000", "1", "-r"},
     kWriteBegin + "Debug write finished! addr:20000000 value:00000001\nReset and run......\nReset and run finished!\n\n" +
         kDone,
     0, {0, 0, 0, 1, 0, 0, 0, 0}},
    {"StrayAfterTheValue", {"-w4", "20000000", "1", "2"}, "Error. bad parameter 2\n", 1, kBlankSram, true},
    {"FlashTakesNoBusWrite", {"-w4", "08000000", "1"}, kWriteBegin + "Debug write failed!\n", 10, kBlankSram},
    {"NothingMappedThere", {"-mem32", "30000000"}, kReadBegin + "Debug read failed!\n", 11, kBlankSram},
    {"ReadWithoutAddress", {"-mem32"}, "bad parameter \"\"\n", 1, kBlankSram, true},
    {"WriteWithoutValue", {"-w4", "20000000"}, "bad parameter \"\"\n", 1, kBlankSram, true},
    {"WriteWithOptionForValue", {"-w2", "20000000", "-r"}, "bad parameter \"-r\"\n", 1, kBlankSram, true},
    {"AddressNotHex", {"-mem16", "2000000G"}, "bad parameter \"2000000G\"\n", 1, kBlankSram, true},
    {"ValuePast32Bits", {"-w4", "20000000", "123456789"}, "bad parameter \"123456789\"\n", 1, kBlankSram, true},
};
INSTANTIATE_TEST_SUITE_P(Lines, DebugWords, testing::ValuesIn(kDebugCases),
                         [](const testing::TestParamInfo<DebugCase>& info) { return info.param.name; });

} // namespace
} // namespace slice_test

namespace slice_test {
namespace {

// A user system data file of the default target (24 option bytes as byte/complement pairs):
// protection on (0x55), bytes 1 to 15 cleared, the rest 0x12.
std::string UsdFile(size_t length = 24)
{
    std::string bytes;
    for (size_t i = 0; i < length; ++i) {
        const auto value = static_cast<char>(i == 0 ? 0x55 : i < 16 ? 0x00 : 0x12);
        bytes += value;
        bytes += static_cast<char>(~value);
    }
    return bytes;
}

std::vector<uint8_t> TargetUsd(VirtualBench& bench)
{
    return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); });
}

struct SpimUsdCase {
    const char* name;
    ksim::Settings faults;
    std::string file;                   // the -usd --set file on the line
    std::vector<std::string> arguments; // after -connect; FILE is the file
    std::string out;                    // after the connection lines
    int exitCode;
    bool enabled;
    bool usdWritten;                    // the block with the forced bytes is in the target
};
void PrintTo(const SpimUsdCase& c, std::ostream* os) { *os << c.name; }

class EnableSpimWithUserSystemData : public testing::TestWithParam<SpimUsdCase> {};

// -bmapm fails on this target, so the -usd group after it never runs.
TEST_P(EnableSpimWithUserSystemData, writes_the_file_with_protection_off_first_or_enables_nothing)
{
    const SpimUsdCase& c = GetParam();
    VirtualBench bench(kHidProbe + c.faults);
    TempDir files;
    const std::string file = files.write("options.bin", c.file);
    std::vector<std::string> arguments = {"-connect"};
    for (const std::string& argument : c.arguments)
        arguments.push_back(argument == "FILE" ? file : argument);
    const std::vector<uint8_t> factory = TargetUsd(bench);
    const ConsoleRun run = bench.console(arguments);
    EXPECT_EQ(run.out, kConnectDefault + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(TargetSpim(bench).enabled, c.enabled);
    EXPECT_EQ(SentCommand(bench, "B6.02"), c.enabled);
    const std::string fileBytes = UsdFile();
    std::vector<uint8_t> forced(fileBytes.begin(), fileBytes.end());
    forced[0] = 0xA5;
    forced[1] = 0x5A;
    for (size_t i = 1; i < 16; ++i) {
        forced[2 * i] = 0xFF;
        forced[2 * i + 1] = 0x00;
    }
    EXPECT_EQ(TargetUsd(bench), c.usdWritten ? forced : factory);
}

const std::string kLoad = "User system data file opening......\nOpen file succeed!\n";
const std::string kApRefused = "Set boot memory AP mode.......\nError. The MCU does not support boot memory AP mode. \n";
const std::vector<std::string> kFdaLine = {"-enspim", "--fda", "1000", "-bmapm", "-usd", "--set", "--fn", "FILE"};
const SpimUsdCase kSpimUsdCases[] = {
    {"ProtectionOffAndBytes1To15Forced", {}, UsdFile(), kFdaLine,
     kBeginSpim + kLoad + "Begin write user system data........\nUser system data write succeed!\nEnable SPIM succeed!\n" +
         kApRefused,
     9, true, true},
    {"FileTooShort", {}, UsdFile(20), kFdaLine,
     kBeginSpim + kLoad + "Error. User system data file size error, please check the file of loaded!\n", 8, false, false},
    {"WriteRefused", {{"fault_status", "B3.02,0x22"}}, UsdFile(), kFdaLine,
     kBeginSpim + kLoad + "Begin write user system data........\nError. User system data write failed!\n", 8, false, false},
    {"RefusedSetupWritesNoOptionBytes", {}, UsdFile(), {"-enspim", "--ft", "3", "--fda", "1000", "-bmapm", "-usd", "--set", "--fn", "FILE"},
     kSpimRefused, 8, false, false},
    {"NoFlashDaLoadsNothing", {}, UsdFile(), {"-enspim", "--fda", "0", "-bmapm", "-usd", "--set", "--fn", "FILE"},
     kSpimOn + kApRefused, 9, true, false},
};
INSTANTIATE_TEST_SUITE_P(Files, EnableSpimWithUserSystemData, testing::ValuesIn(kSpimUsdCases),
                         [](const testing::TestParamInfo<SpimUsdCase>& info) { return info.param.name; });

} // namespace
} // namespace slice_test
