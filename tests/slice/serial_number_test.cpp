// -wsn against the virtual probe: the bytes written, WriteSN.ini afterwards, and two stations
// sharing one program folder. An injected fault spoils the reply of a command the target carried out.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <thread>

namespace slice_test {
namespace {

const std::string kBegin = "Write software serial number.......\n";
const std::string kWritten = kBegin + "SN write succeed!\n";
const std::string kConfigError = kBegin + "Configuration parameter error.\n";
const std::string kSpimOn = "Begin Enable SPIM........\nEnable SPIM succeed!\n";

std::string Ini(const std::string& address, const std::string& serial, const std::string& step = "1")
{
    return "[SNOperation]\nWriteAddr=" + address + "\nCurrentSN=" + serial + "\nIncreaseStep=" + step + "\n";
}

std::string CurrentSerial(const std::string& iniText)
{
    std::smatch match;
    return std::regex_search(iniText, match, std::regex("CurrentSN=(\\w*)")) ? match[1].str() : "(none)";
}

struct SerialCase {
    const char* name;
    ksim::Settings target;
    std::string ini;                    // empty: no file
    std::vector<std::string> arguments; // after -connect
    std::string out;                    // after the connection lines
    int exitCode;
    std::string nextSerial;             // empty: the file stays as it was
    uint32_t address;                   // where the four bytes are looked for
    std::vector<uint8_t> bytes;
    bool beforeRun = false;             // refused by the check of the whole line: nothing ran
};
void PrintTo(const SerialCase& c, std::ostream* os) { *os << c.name; }

std::vector<uint8_t> TargetBytes(VirtualBench& bench, uint32_t address)
{
    return bench.testbed().withProbe(0, [&](ksim::VirtualProbe& p) {
        ksim::TargetMcu& t = p.target();
        if (address >= t.info().bootAddress && t.info().bootSize != 0)
            return t.bootMemory().read(address - t.info().bootAddress, 4);
        if (address >= ksim::TargetMcu::kSpimBase)
            return t.spim().read(address - ksim::TargetMcu::kSpimBase, 4);
        return t.mainFlash().read(address - ksim::TargetMcu::kFlashBase, 4);
    });
}

class WriteSerialNumber : public testing::TestWithParam<SerialCase> {};

TEST_P(WriteSerialNumber, writes_the_number_and_advances_the_file_only_after_success)
{
    const SerialCase& c = GetParam();
    VirtualBench bench(c.target);
    bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { // programmed: an unerased sector keeps its bits
        ksim::TargetMcu& t = p.target();
        t.mainFlash().fill(0, t.mainFlash().size(), 0x00);
        t.bootMemory().fill(0, t.bootMemory().size(), 0x00);
        t.spim().fill(0, 0x200000, 0x00);
    });
    TempDir files;
    const std::string ini = c.ini.empty() ? files.path("WriteSN.ini") : files.write("WriteSN.ini", c.ini);
    bench.environment["KORVEX_WRITESN_INI"] = ini;
    std::vector<std::string> arguments = {"-connect"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const ConsoleRun run = bench.console(arguments);
    const bool apTarget = std::any_of(c.target.begin(), c.target.end(), [](const auto& kv) { return kv.first == "series"; });
    const std::string connect = apTarget ? kApConnect : kConnectDefault;
    EXPECT_EQ(run.out, (c.beforeRun ? "" : connect) + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    if (c.nextSerial.empty())
        EXPECT_EQ(ReadFile(ini), c.ini);
    else
        EXPECT_EQ(CurrentSerial(ReadFile(ini)), c.nextSerial);
    EXPECT_EQ(TargetBytes(bench, c.address), c.bytes);
}

const ksim::Settings kMain = {{"transport", "hid"}};
const ksim::Settings kBootNotAp = {{"transport", "hid"}, {"series", "9"}, {"pid", "09001081"}, {"ap_mode", "0"}};
const std::vector<uint8_t> kUntouched(4, 0x00);
const SerialCase kSerialCases[] = {
    {"LastDigitPairFirst", kMain, Ini("0800F000", "000000FF"), {"-wsn"}, kWritten + kDone, 0, "00000100", 0x0800F000,
     {0xFF, 0x00, 0x00, 0x00}},
    {"WrapsAround", kMain, Ini("0x0800F004", "FFFFFFFF", "2"), {"-wsn"}, kWritten + kDone, 0, "00000001", 0x0800F004,
     {0xFF, 0xFF, 0xFF, 0xFF}},
    {"TwoInOneRun", kMain, Ini("0800F000", "1A2B3C4D", "10"), {"-wsn", "-wsn"}, kWritten + kWritten + kDone, 0,
     "1a2b3c6d", 0x0800F000, {0x5D, 0x3C, 0x2B, 0x1A}},
    {"NoEraseOnProgrammedFlash", kMain, Ini("0800F000", "12345678"), {"-wsn", "--NE"},
     kBegin + "Serial number write failed!\n", 13, "", 0x0800F000, kUntouched},
    {"NoEraseAfterAnErase", kMain, Ini("0800F000", "12345678"), {"-e", "--sec", "30", "-wsn", "--ne"},
     "Flash sector erase......30\nFlash sector erase finished\n" + kWritten + kDone, 0, "12345679", 0x0800F000,
     {0x78, 0x56, 0x34, 0x12}},
    {"SpimNotEnabled", kMain, Ini("08400000", "12345678"), {"-wsn"}, kBegin + "Error. SPIM does not enabled. \n", 13, "",
     0x08400000, kUntouched},
    {"SpimEnabledInTheRun", kMain, Ini("08400010", "12345678"), {"-enspim", "--fs", "1", "-wsn"},
     kSpimOn + kWritten + kDone, 0, "12345679", 0x08400010, {0x78, 0x56, 0x34, 0x12}},
    {"PastTheEnabledSpim", kMain, Ini("08500000", "12345678"), {"-enspim", "--fs", "1", "-wsn"}, kSpimOn + kConfigError,
     13, "", 0x08500000, kUntouched},
    {"AcrossTheFlashEnd", kMain, Ini("0803FFFE", "12345678"), {"-wsn"}, kConfigError, 13, "", 0x0803FFFC, kUntouched},
    {"BootMemoryNotInApMode", kBootNotAp, Ini("1FFFE400", "12345678"), {"-wsn"}, kConfigError, 13, "", 0x1FFFE400,
     kUntouched},
    {"SerialOfSevenDigits", kMain, Ini("0800F000", "1234567"), {"-wsn"}, kConfigError, 13, "", 0x0800F000, kUntouched},
    {"SerialWithPrefix", kMain, Ini("0800F000", "0x12345678"), {"-wsn"}, kConfigError, 13, "", 0x0800F000, kUntouched},
    {"SerialOfNineDigits", kMain, Ini("0800F000", "123456789"), {"-wsn"}, kConfigError, 13, "", 0x0800F000, kUntouched},
    {"AddressNotHex", kMain, Ini("0800F00G", "12345678"), {"-wsn"}, kConfigError, 13, "", 0x0800F000, kUntouched},
    {"NoStep", kMain, "[SNOperation]\nWriteAddr=0800F000\nCurrentSN=12345678\n", {"-wsn"}, kConfigError, 13, "",
     0x0800F000, kUntouched},
    {"NoFile", kMain, "", {"-wsn"}, kBegin + "No configuration file with burning serial number.\n", 13, "", 0x0800F000,
     kUntouched},
    {"EraseRefused", kMain + ksim::Settings{{"fault_status", "B4.00,0x22"}}, Ini("0800F000", "12345678"), {"-wsn"},
     kBegin + "Sector erase failed.\n", 13, "", 0x0800F000, {0xFF, 0xFF, 0xFF, 0xFF}},
    {"WriteUnanswered", kMain + ksim::Settings{{"fault_no_reply", "B3.00"}}, Ini("0800F000", "12345678"), {"-wsn"},
     kBegin + "Serial number write failed!\n", 13, "", 0x0800F000, {0x78, 0x56, 0x34, 0x12}},
    {"ReadBackWrongEcho", kMain + ksim::Settings{{"fault_wrong_echo", "B2.00"}}, Ini("0800F000", "12345678"), {"-wsn"},
     kBegin + "Serial number write failed!\n", 13, "", 0x0800F000, {0x78, 0x56, 0x34, 0x12}},
    {"UnpluggedAfterTheWrite", kMain + ksim::Settings{{"fault_unplug", "B3.00"}}, Ini("0800F000", "12345678"), {"-wsn"},
     kBegin + "Serial number write failed!\n", 13, "", 0x0800F000, {0x78, 0x56, 0x34, 0x12}},
    {"ForeignSubOption", kMain, Ini("0800F000", "12345678"), {"-wsn", "--v"}, "bad parameter \"--v\"\n", 1, "", 0x0800F000,
     kUntouched, true},
};
INSTANTIATE_TEST_SUITE_P(Files, WriteSerialNumber, testing::ValuesIn(kSerialCases),
                         [](const testing::TestParamInfo<SerialCase>& info) { return info.param.name; });

TEST(WriteSerialNumberFile, a_file_that_cannot_be_written_fails_the_run_after_the_device_write)
{
    VirtualBench bench;
    TempDir files;
    const std::string text = Ini("0800F000", "12345678");
    const std::string ini = files.write("WriteSN.ini", text);
    ASSERT_EQ(chmod(ini.c_str(), 0444), 0);
    bench.environment["KORVEX_WRITESN_INI"] = ini;
    if (geteuid() == 0) // root writes whatever the mode says, unless it gives that power up
        bench.launcher = {"/usr/bin/setpriv", "--bounding-set=-dac_override,-dac_read_search", "--inh-caps=-all"};
    const ConsoleRun run = bench.console({"-connect", "-wsn"});
    EXPECT_EQ(run.out, kConnectDefault + kWritten + "Error. Serial number file update failed!\n");
    EXPECT_EQ(run.exitCode, 13);
    EXPECT_EQ(ReadFile(ini), text);
    EXPECT_EQ(TargetBytes(bench, 0x0800F000), (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
}

// The four bytes at 0x0800F000 in a saved probe state, as korvex-sim dump shows them.
std::string DumpedSerial(const std::string& stateDir)
{
    const korvex_test::ProcessResult dump =
        korvex_test::runProcess({korvex_test::builtProgram("korvex-sim"), "dump", "--state", stateDir});
    std::smatch match;
    return std::regex_search(dump.out, match, std::regex("0800F000: (\\w\\w \\w\\w \\w\\w \\w\\w)")) ? match[1].str() : "";
}

TEST(WriteSerialNumberFile, two_stations_sharing_one_program_folder_never_write_one_number_twice)
{
    TempDir folder;
    const std::string program = folder.path("Korvex_Console");
    std::filesystem::copy_file(korvex_test::builtProgram("Korvex_Console"), program);
    const std::string ini = folder.write("WriteSN.ini", Ini("0800F000", "00000010"));
    korvex_test::ProcessResult runs[2];
    std::thread stations[2];
    for (int i = 0; i < 2; ++i) {
        stations[i] = std::thread([&, i] {
            // A slow write keeps each station between reading and advancing the file for a while.
            runs[i] = korvex_test::runProcess({korvex_test::builtProgram("korvex-sim"), "--set", "transport=hid",
                                               "--set", "fault_delay=B3.00,400", "--state",
                                               folder.path("station" + std::to_string(i)), "--", program, "-connect", "-wsn"},
                                              korvex_test::ProcessOptions{{}, {"KORVEX_WRITESN_INI"}, "", 60000});
        });
    }
    for (std::thread& station : stations)
        station.join();
    for (const korvex_test::ProcessResult& run : runs)
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    const std::string first = DumpedSerial(folder.path("station0"));
    const std::string second = DumpedSerial(folder.path("station1"));
    EXPECT_NE(first, second);
    EXPECT_TRUE((first == "10 00 00 00" && second == "11 00 00 00") || (first == "11 00 00 00" && second == "10 00 00 00"))
        << first << " / " << second;
    EXPECT_EQ(CurrentSerial(ReadFile(ini)), "00000012");
}

} // namespace
} // namespace slice_test
