// -connect against emulated probes: the probe line, the target line, every way it can fail.
#include "virtual_bench.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace slice_test {
namespace {

const std::string kConnect = "Connect......\n";
const std::string kTargetFailed = "Error. Korvex connected, but target device connect failed.\n";
const std::string kUnsupported = "This version of VKP Programmer does not support the connected MCU.\n";

std::string ProbeLines(const std::string& probeLine)
{
    return kConnect + probeLine + "\nKorvex connected\n";
}

struct ProbeLineCase {
    const char* name;
    ksim::Settings settings;
    std::string line;
};

void PrintTo(const ProbeLineCase& c, std::ostream* os) { *os << c.name; }

class ProbeLine : public testing::TestWithParam<ProbeLineCase> {};

TEST_P(ProbeLine, names_the_probe_with_its_firmware_serial_and_transport)
{
    VirtualBench bench(GetParam().settings);
    const ConsoleRun run = bench.console({"-connect"});
    EXPECT_EQ(run.out, ProbeLines(GetParam().line) +
                           "MCU Part Number:   ZR32S04RCT6        Flash size: 256KB\nMCU connected\n\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
}

const ProbeLineCase kProbeLines[] = {
    {"Ez", {{"transport", "hid"}}, "Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)"},
    {"BulkIsWinUsb", {{"transport", "bulk"}, {"hw_version", "1"}},
     "Korvex  FW: V2.1.7    Serials: KV0000000001      (WinUSB)"},
    {"Pro", {{"transport", "hid"}, {"hw_version", "4"}, {"fw_version", "10.0.255"}},
     "Korvex-Pro  FW: V10.0.255    Serials: KV0000000001      (HID)"},
    {"Iso", {{"transport", "hid"}, {"hw_version", "7"}}, "Korvex ISO  FW: V2.1.7    Serials: KV0000000001      (HID)"},
    {"Plus", {{"transport", "hid"}, {"hw_version", "10"}}, "Korvex Plus  FW: V2.1.7    Serials: KV0000000001      (HID)"},
    {"SltS17", {{"transport", "hid"}, {"hw_version", "13"}}, "ZRSLT_S17  FW: V2.1.7    Serials: KV0000000001      (HID)"},
    {"UnknownHardware", {{"transport", "hid"}, {"hw_version", "20"}},
     "Korvex  FW: V2.1.7    Serials: KV0000000001      (HID)"},
};
INSTANTIATE_TEST_SUITE_P(Versions, ProbeLine, testing::ValuesIn(kProbeLines),
                         [](const testing::TestParamInfo<ProbeLineCase>& info) { return info.param.name; });

TEST(Connect, no_probe_on_the_bus_fails_with_the_connect_code)
{
    VirtualBench bench(kHidProbe, 0);
    const ConsoleRun run = bench.console({"-connect", "-e", "--all"});
    EXPECT_EQ(run.out, kConnect + "Error. No Korvex device.\n");
    EXPECT_EQ(run.exitCode, 2);
}

TEST(Connect, two_probes_are_refused_and_neither_is_touched)
{
    VirtualBench bench(kHidProbe, 2);
    const ConsoleRun run = bench.console({"-connect"});
    EXPECT_EQ(run.out, kConnect + "Error. Multiple Korvex devices detected, please select one of them to connect.\n");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(bench.exchanges().empty());
}

TEST(Connect, a_probe_that_does_not_answer_fails_on_its_version)
{
    VirtualBench bench(kHidProbe + ksim::Settings{{"fault_no_reply", "B0"}});
    const ConsoleRun run = bench.console({"-connect"});
    EXPECT_EQ(run.out, kConnect + "Error. Get Korvex version failed.\n");
    EXPECT_EQ(run.exitCode, 2);
}

// The probe connects, the target does not: a refused preparation, or a status that cannot tell
// whether the target is protected.
TEST(Connect, a_target_that_cannot_be_prepared_or_read_fails_the_target_only)
{
    const ksim::Settings targetFaults[] = {{{"fault_status", "B1.03,0x22"}}, {{"status_valid", "0"}}};
    for (const ksim::Settings& fault : targetFaults) {
        VirtualBench bench(kHidProbe + fault);
        const ConsoleRun run = bench.console({"-connect"});
        EXPECT_EQ(run.out, ProbeLines("Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)") +
                               "MCU connect failed\n" + kTargetFailed)
            << fault.front().first;
        EXPECT_EQ(run.exitCode, 2) << fault.front().first;
    }
}

TEST(Connect, an_unknown_product_id_is_not_supported)
{
    VirtualBench bench(kHidProbe + ksim::Settings{{"pid", "04FFF246"}});
    const ConsoleRun run = bench.console({"-connect"});
    EXPECT_EQ(run.out, ProbeLines("Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)") + kUnsupported +
                           kTargetFailed);
    EXPECT_EQ(run.exitCode, 2);
}

TEST(Connect, a_protected_target_without_device_has_no_part_number)
{
    VirtualBench bench(kHidProbe + ksim::Settings{{"protection", "1"}});
    const ConsoleRun run = bench.console({"-connect"});
    EXPECT_EQ(run.out, ProbeLines("Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)") + kUnsupported +
                           kTargetFailed);
    EXPECT_EQ(run.exitCode, 2);
}

TEST(Connect, a_protected_target_takes_its_series_from_device)
{
    VirtualBench bench(kHidProbe + ksim::Settings{{"protection", "1"}});
    const ConsoleRun run = bench.console({"-device", "ZR32S04RCT6", "-connect"});
    EXPECT_EQ(run.out, ProbeLines("Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)") +
                           "MCU Part Number:   ZR32S04RCT6        Flash size: 256KB\nMCU connected\n"
                           "MCU flash access protected\n\n" +
                           kDone);
    EXPECT_EQ(run.exitCode, 0);
    bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
        ASSERT_TRUE(p.target().hasSuppliedId());
        EXPECT_EQ(p.target().suppliedId().series, 4);
        EXPECT_EQ(p.target().suppliedId().pid, 0x04000246u);
    });
}

const std::string kS17Target = "MCU Part Number:   ZR32S17CEU6        Flash size: 512KB\nMCU connected\n";

TEST(Connect, a_ble_probe_connects_the_module_of_an_s17_target)
{
    VirtualBench bench(kBleTarget);
    const ConsoleRun run = bench.console({"-connect"});
    EXPECT_EQ(run.out, ProbeLines("Korvex-EZ BLE  FW: V2.1.7    Serials: KV0000000001      (HID)") + kS17Target +
                           "Bluetooth module connected\n\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
}

TEST(Connect, an_s17_target_without_a_module_still_connects)
{
    VirtualBench bench(kBleTarget + ksim::Settings{{"ble", "0"}});
    const ConsoleRun run = bench.console({"-connect"});
    EXPECT_EQ(run.out, ProbeLines("Korvex-EZ BLE  FW: V2.1.7    Serials: KV0000000001      (HID)") + kS17Target +
                           "Bluetooth module not connected\n\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
}

TEST(Connect, a_probe_without_ble_reach_never_tries_the_module)
{
    for (const char* hardware : {"0", "13", "9"}) {
        VirtualBench bench(kBleTarget + ksim::Settings{{"hw_version", hardware}});
        const ConsoleRun run = bench.console({"-connect", "-eble", "--all"});
        EXPECT_NE(run.out.find(kS17Target + "Bluetooth module not connected\n\nError. Don't connect BLE module!\n"),
                  std::string::npos)
            << run.out;
        EXPECT_EQ(run.exitCode, 2);
        bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { EXPECT_FALSE(p.ble().connected()); });
    }
}

TEST(Connect, a_module_alone_counts_as_connected)
{
    // The target is not identified (unknown PID), the module answers: -connect succeeds.
    VirtualBench bench(kBleTarget + ksim::Settings{{"pid", "11FFF2C5"}});
    const ConsoleRun run = bench.console({"-connect", "-e", "--all"});
    EXPECT_EQ(run.out, ProbeLines("Korvex-EZ BLE  FW: V2.1.7    Serials: KV0000000001      (HID)") + kUnsupported +
                           "Bluetooth module connected\n\nError. Don't connect MCU!\n");
    EXPECT_EQ(run.exitCode, 2);
}

TEST(Connect, a_second_connect_closes_the_probe_and_connects_again)
{
    VirtualBench bench;
    const ConsoleRun run = bench.console({"-connect", "-connect", "-r"});
    EXPECT_EQ(run.out, kConnectDefault + kConnectDefault + "Reset and run......\nReset and run finished!\n\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
}

// A second console started while the first downloads, on a probe offering both interfaces: it is
// told the probe is busy and touches nothing; the first one's image arrives whole and verifies.
TEST(Connect, a_probe_in_use_by_another_console_is_busy)
{
    VirtualBench bench(ksim::Settings{{"transport", "both"}});
    TempDir files;
    const std::vector<uint8_t> image = Pattern(32 * 1024, 10);
    const std::string file = files.write("app.bin", std::string(image.begin(), image.end()));
    ConsoleRun first;
    std::thread downloading([&] { first = bench.console({"-connect", "-d", "--fn", file, "--v"}); });
    auto requests = [&] { return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.requestCount(); }); };
    while (requests() < 100 && !first.timedOut && first.exitCode < 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const ConsoleRun second = bench.console({"-connect", "-e", "--all"});
    downloading.join();

    EXPECT_EQ(second.out, kConnect + "Error. Open Korvex device failed.\n");
    EXPECT_EQ(second.err, "Korvex_Console: The Korvex probe is in use by another program; wait for it to finish or close it.\n");
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_EQ(first.out, ProbeLines("Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (WinUSB)") +
                             "MCU Part Number:   ZR32S04RCT6        Flash size: 256KB\nMCU connected\n\n"
                             "Download file opening......\nOpen file succeed!\n"
                             "Erase MCU sectors of file size......\nErase sectors finished\n"
                             "File downloading......\nFile download finished!\n"
                             "Read memory and Verification.......\nVerification finished!\n" +
                             kDone);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(bench.mainFlash(0x08000000, static_cast<uint32_t>(image.size())), image);
}

// Root reads and writes any file; without that override the node's mode applies as to a user.
std::vector<std::string> AsOrdinaryUser()
{
    if (geteuid() != 0)
        return {};
    return {"/usr/bin/setpriv", "--bounding-set=-dac_override,-dac_read_search"};
}

TEST(Connect, a_probe_the_user_may_not_open_points_to_the_udev_rule)
{
    VirtualBench bench;
    bench.testbed().setNodeMode(0, 0);
    const ConsoleRun run = bench.console({"-connect", "-e", "--all"}, 60000, AsOrdinaryUser());
    EXPECT_EQ(run.out, kConnect + "Error. Open Korvex device failed.\n");
    EXPECT_EQ(run.err, "Korvex_Console: No permission to open the Korvex probe: install the probe's udev rule (see README).\n");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(bench.exchanges().empty());
}

}  // namespace
}  // namespace slice_test
