// -connect against emulated probes: the probe line, the target line, every way it can fail.
#include "virtual_bench.h"

#include <chrono>
#include <thread>

namespace slice_test {
namespace {

const std::string kTargetFailed = "Error. Korvex connected, but target device connect failed.\n";
const std::string kUnsupported = "This version of VKP Programmer does not support the connected MCU.\n";
const std::string kS04Target = TargetLines("ZR32S04RCT6", "256KB");
const std::string kS17Target = TargetLines("ZR32S17CEU6", "512KB");

ksim::Settings Hid(ksim::Settings more) { return kHidProbe + more; }
ksim::Settings Ble(ksim::Settings more) { return kBleTarget + more; }

std::string NoModule(const std::string& probe)
{
    return ProbeLines(probe) + kS17Target + "Bluetooth module not connected\n\nError. Don't connect BLE module!\n";
}

const RowStep kModuleUntried = [](RowRun& row) {
    row.bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { EXPECT_FALSE(p.ble().connected()); });
};

const Scenario kConnects[] = {
    {"Ez", kHidProbe, {"-connect"}, ProbeLines("Korvex-EZ") + kS04Target + "\n" + kDone, 0},
    {"BulkIsWinUsb", {{"transport", "bulk"}, {"hw_version", "1"}}, {"-connect"},
     ProbeLines("Korvex", "(WinUSB)") + kS04Target + "\n" + kDone, 0},
    {"Pro", Hid({{"hw_version", "4"}, {"fw_version", "10.0.255"}}), {"-connect"},
     ProbeLines("Korvex-Pro", "(HID)", "10.0.255") + kS04Target + "\n" + kDone, 0},
    {"Iso", Hid({{"hw_version", "7"}}), {"-connect"}, ProbeLines("Korvex ISO") + kS04Target + "\n" + kDone, 0},
    {"UnknownHardware", Hid({{"hw_version", "20"}}), {"-connect"}, ProbeLines("Korvex") + kS04Target + "\n" + kDone, 0},
    {"ProbeSilentOnItsVersion", Hid({{"fault_no_reply", "B0"}}), {"-connect"}, "Connect......\nError. Get Korvex version failed.\n", 2},
    {"TargetCannotBePrepared", Hid({{"fault_status", "B1.03,0x22"}}), {"-connect"},
     ProbeLines("Korvex-EZ") + "MCU connect failed\n" + kTargetFailed, 2},
    {"TargetStatusUndetermined", Hid({{"status_valid", "0"}}), {"-connect"},
     ProbeLines("Korvex-EZ") + "MCU connect failed\n" + kTargetFailed, 2},
    {"UnknownProductId", Hid({{"pid", "04FFF246"}}), {"-connect"}, ProbeLines("Korvex-EZ") + kUnsupported + kTargetFailed, 2},
    {"ProtectedTargetWithoutDevice", Hid({{"protection", "1"}}), {"-connect"}, ProbeLines("Korvex-EZ") + kUnsupported + kTargetFailed, 2},
    // No ID in the refusal: -device gives the series, but no product ID reaches the probe.
    {"ProtectedTargetWithoutAnIdReply", Hid({{"protection", "1"}, {"protected_id_reply", "0"}}), {"-device", "ZR32S04RCT6", "-connect"},
     ProbeLines("Korvex-EZ") + kUnsupported + kTargetFailed, 2},
    // Probe hardware 10, 11 and 12 reach the module of an S17 target.
    {"PlusReachesTheModule", Ble({{"hw_version", "10"}}), {"-connect"},
     ProbeLines("Korvex Plus") + kS17Target + "Bluetooth module connected\n\n" + kDone, 0},
    Connected("EzBleReachesTheModule", kBleTarget, {}, kDone, 0),
    Connected("EzBleEReachesTheModule", Ble({{"hw_version", "12"}}), {"-eble", "--all", "--main"}, BleSpace("main") + kDone, 0,
     {{0x1000, 0x1000, 0xFF}}),
    {"S17WithoutAModuleStillConnects", Ble({{"ble", "0"}}), {"-connect"},
     ProbeLines("Korvex-EZ BLE") + kS17Target + "Bluetooth module not connected\n\n" + kDone, 0},
    // The target is not identified (unknown PID), the module answers: -connect succeeds.
    {"AModuleAloneCountsAsConnected", Ble({{"pid", "11FFF2C5"}}), {"-connect", "-e", "--all"},
     ProbeLines("Korvex-EZ BLE") + kUnsupported + "Bluetooth module connected\n\nError. Don't connect MCU!\n", 2},
    // -device gives a protected target's series, and its product ID reaches the probe.
    Scenario{"ProtectedTargetWithDevice", Hid({{"protection", "1"}}), {"-device", "ZR32S04RCT6", "-connect"},
             ProbeLines("Korvex-EZ") + kS04Target + "MCU flash access protected\n\n" + kDone, 0}
        .Also([](RowRun& row) {
            row.bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
                ASSERT_TRUE(p.target().hasSuppliedId());
                EXPECT_EQ(p.target().suppliedId().series, 4);
                EXPECT_EQ(p.target().suppliedId().pid, 0x04000246u);
            });
        }),
    // Probe hardware without BLE reach never tries the module.
    Scenario{"Hardware0", Ble({{"hw_version", "0"}}), {"-connect", "-eble", "--all"}, NoModule("Korvex-EZ"), 2}.Also(kModuleUntried),
    Scenario{"Hardware13", Ble({{"hw_version", "13"}}), {"-connect", "-eble", "--all"}, NoModule("ZRSLT_S17"), 2}.Also(kModuleUntried),
    Scenario{"Hardware9", Ble({{"hw_version", "9"}}), {"-connect", "-eble", "--all"}, NoModule("Korvex-EZ"), 2}.Also(kModuleUntried),
    Connected("ASecondConnectClosesTheProbeAndConnectsAgain", kHidProbe, {"-connect", "-r"}, kConnectDefault + kResetRun + kDone, 0),
};
INSTANTIATE_TEST_SUITE_P(Connect, ScenarioRun, testing::ValuesIn(kConnects), ScenarioName);

TEST(Connect, no_probe_or_two_probes_fail_with_the_connect_code_and_touch_nothing)
{
    const std::pair<size_t, std::string> cases[] = {
        {0, "Error. No Korvex device.\n"},
        {2, "Error. Multiple Korvex devices detected, please select one of them to connect.\n"}};
    for (const auto& [probes, line] : cases) {
        VirtualBench bench(kHidProbe, probes);
        const ConsoleRun run = bench.console({"-connect", "-e", "--all"});
        EXPECT_EQ(run.out, "Connect......\n" + line);
        EXPECT_EQ(run.exitCode, 2);
        if (probes > 0) {
            EXPECT_TRUE(bench.exchanges().empty());
        }
    }
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

    EXPECT_EQ(second.out, "Connect......\nError. Open Korvex device failed.\n");
    EXPECT_EQ(second.err, "Korvex_Console: The Korvex probe is in use by another program; wait for it to finish or close it.\n");
    EXPECT_EQ(second.exitCode, 2);
    EXPECT_EQ(first.out, ProbeLines("Korvex-EZ", "(WinUSB)") + kS04Target + "\n" + kOpened + kErased + kWritten + kVerified + kDone);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(bench.read(0x08000000, static_cast<uint32_t>(image.size())), image);
}

TEST(Connect, a_probe_the_user_may_not_open_points_to_the_udev_rule)
{
    VirtualBench bench;
    bench.testbed().setNodeMode(0, 0);
    const ConsoleRun run = bench.console({"-connect", "-e", "--all"}, 60000, AsOrdinaryUser());
    EXPECT_EQ(run.out, "Connect......\nError. Open Korvex device failed.\n");
    EXPECT_EQ(run.err, "Korvex_Console: No permission to open the Korvex probe: install the probe's udev rule (see README).\n");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(bench.exchanges().empty());
}

}  // namespace
}  // namespace slice_test
