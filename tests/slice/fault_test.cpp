// Probes that stop answering, refuse, or leave the bus in the middle of a command: the command's
// error line and exit code, and no hang.
#include "virtual_bench.h"

#include <gtest/gtest.h>

namespace slice_test {
namespace {

constexpr int kNoHang = 30000;

const std::string kOpened = "Download file opening......\nOpen file succeed!\n";
const std::string kErased = "Erase MCU sectors of file size......\nErase sectors finished\n";
const std::string kWriteFailed = "File downloading......\nError. File download failed!\n";

struct FaultCase {
    const char* name;
    ksim::Settings faults;
    std::vector<std::string> arguments; // after -connect; FILE stands for a 3000-byte binary image
    std::string out;                    // after the connection lines
    int exitCode;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class Fault : public testing::TestWithParam<FaultCase> {};

TEST_P(Fault, ends_the_run_with_the_commands_error)
{
    const FaultCase& c = GetParam();
    VirtualBench bench(kHidProbe + c.faults);
    TempDir files;
    const std::string file = files.write("app.bin", std::string(3000, '\x5A'));
    std::vector<std::string> arguments = {"-connect"};
    for (const std::string& argument : c.arguments)
        arguments.push_back(argument == "FILE" ? file : argument);
    const ConsoleRun run = bench.console(arguments, kNoHang);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.out, kConnectDefault + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
}

const FaultCase kFaults[] = {
    {"SectorEraseNoReply", {{"fault_no_reply", "B4.00"}}, {"-e", "--sec", "3"},
     "Flash sector erase......3\nError. Flash sector erase failed!\n", 0x33},
    {"SectorEraseWrongEcho", {{"fault_wrong_echo", "B4.00"}}, {"-e", "--sec", "3"},
     "Flash sector erase......3\nError. Flash sector erase failed!\n", 0x33},
    {"SectorEraseUnplugged", {{"fault_unplug", "B4.00"}}, {"-e", "--sec", "3-5"},
     "Flash sector erase......3-5\nError. Flash sector erase failed!\n", 0x33},
    {"FullEraseUnpluggedAfterBank1", {{"fault_unplug", "B4.03"}}, {"-e", "--all", "-r"},
     "Erase all start ......\nflash full erase succeed!\nErase all finished!\nReset and run......\n"
     "Reset and run failed!\n",
     12},
    {"DownloadEraseRefused", {{"fault_status", "B4.00,0x22"}}, {"-d", "--fn", "FILE"},
     kOpened + "Erase MCU sectors of file size......\nError. Erase sectors failed\n", 3},
    {"WriteBeginRefused", {{"fault_status", "B3.03,0x22"}}, {"-d", "--fn", "FILE"}, kOpened + kErased + kWriteFailed, 3},
    {"WriteRefused", {{"fault_status", "B3.00,0x22"}}, {"-d", "--fn", "FILE"}, kOpened + kErased + kWriteFailed, 3},
    {"WriteNoReply", {{"fault_no_reply", "B3.00"}}, {"-d", "--fn", "FILE"}, kOpened + kErased + kWriteFailed, 3},
    {"WriteUnplugged", {{"fault_unplug", "B3.00"}}, {"-d", "--fn", "FILE", "-r"}, kOpened + kErased + kWriteFailed, 3},
    {"VerifyReadNoReply", {{"fault_no_reply", "B2.00"}}, {"-d", "--fn", "FILE", "--v"},
     kOpened + kErased + "File downloading......\nFile download finished!\n"
                         "Read memory and Verification.......\nError. Verification failed!\n",
     3},
    {"VerifyUnplugged", {{"fault_unplug", "B2.00"}}, {"-d", "--fn", "FILE", "--v"},
     kOpened + kErased + "File downloading......\nFile download finished!\n"
                         "Read memory and Verification.......\nError. Verification failed!\n",
     3},
    {"ResetAfterUnplug", {{"fault_unplug", "B4.00"}},
     {"-e", "--sec", "0", "-r"},
     "Flash sector erase......0\nFlash sector erase finished\nReset and run......\nReset and run failed!\n", 12},
};
INSTANTIATE_TEST_SUITE_P(Commands, Fault, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

TEST(FaultOnConnect, a_probe_that_leaves_after_its_version_fails_the_target)
{
    VirtualBench bench(kHidProbe + ksim::Settings{{"fault_unplug", "B0"}});
    const ConsoleRun run = bench.console({"-connect", "-e", "--all"}, kNoHang);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.out, "Connect......\nKorvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)\nKorvex connected\n"
                       "MCU connect failed\nError. Korvex connected, but target device connect failed.\n");
    EXPECT_EQ(run.exitCode, 2);
}


TEST(FaultOnBle, a_failed_select_stops_the_download_before_any_byte_reaches_the_module)
{
    VirtualBench bench(kBleTarget + ksim::Settings{{"fault_status", "BE.01,0x22"}});
    TempDir files;
    const std::string file = files.write("ble.hex", IntelHex({{0x200, Pattern(64, 1)}}));
    const ConsoleRun run = bench.console({"-connect", "-d", "--ne", "--fn", file}, kNoHang);
    EXPECT_EQ(run.out, kBleConnect + kOpened + kWriteFailed);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(bench.bleMain(0x200, 64), std::vector<uint8_t>(64, 0xFF));
}

TEST(FaultOnBle, a_refused_checksum_store_fails_the_download)
{
    VirtualBench bench(kBleTarget + ksim::Settings{{"fault_status", "BE.02,0x22"}});
    TempDir files;
    const std::string file = files.write("ble.hex", IntelHex({{0x200, Pattern(64, 1)}}));
    const ConsoleRun run = bench.console({"-connect", "-d", "--fn", file}, kNoHang);
    EXPECT_EQ(run.out, kBleConnect + kOpened +
                           "Erase BLE module main space......\nErase BLE module main space finished\n"
                           "File downloading......\nFile download finished!\nError. BLE write CRC......failed!\n");
    EXPECT_EQ(run.exitCode, 3);
}

}  // namespace
}  // namespace slice_test
