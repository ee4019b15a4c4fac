// Probes that vanish, clients that die, and the bench itself, through the real libusb (the
// console's runs with fault_unplug check a probe that leaves after a reply).
#include "usb/testbed.h"
#include "usb_client.h"

#include "run_process.h"

#include <gtest/gtest.h>

#include <future>
#include <unistd.h>

namespace {

using namespace ksim_test;
using Bytes = std::vector<uint8_t>;
using ksim::FirmwareAction;
constexpr uint8_t kHid = 3;
constexpr uint8_t kBulk = 0xFF;

ksim::UsbIdentity identity() { return {"Maker", "Probe", "SN", "Probe HID", "Probe Bulk", ksim::Transport::Both}; }

// Answers every request with 0xEC and its first byte, so a reply names its request.
FirmwareAction echo(const Bytes &packet)
{
    FirmwareAction action;
    action.reply = Bytes{0xEC, packet[0]};
    return action;
}

TEST(SimUsbLifecycle, unplugging_from_the_bench_ends_a_read_in_another_thread)
{
    ksim::Testbed bench;
    bench.addDevice(identity(), [](const Bytes &, bool) { return FirmwareAction{}; });
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kBulk);
    ASSERT_TRUE(bulk.ok());
    auto read = std::async(std::launch::async, [&bulk] {
        Bytes reply;
        return bulk.receive(reply, 64, 10000);
    });
    ASSERT_EQ(read.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    bench.unplug(0);
    ASSERT_EQ(read.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(read.get(), LIBUSB_ERROR_NO_DEVICE);
    EXPECT_EQ(bulk.send(Bytes{0xDD}), LIBUSB_ERROR_NO_DEVICE);
    EXPECT_TRUE(usb.probeSerials().empty());
}

// The client runs in a process of its own and is killed (SIGINT) while its read is pending: its URB
// must not swallow the next client's reply.
TEST(SimUsbLifecycle, a_client_killed_mid_transfer_leaves_the_probe_to_the_next_client)
{
    ksim::Testbed bench;
    bench.addDevice(identity(), [](const Bytes &packet, bool) { return echo(packet); });
    korvex_test::ProcessOptions interrupted;
    interrupted.interruptWhenOutContains = "waiting\n";
    EXPECT_EQ(korvex_test::runProcess({korvex_test::builtProgram("sim_usb_probe_client"), "hang"}, interrupted).out, "waiting\n");

    UsbContext usb;
    ProbeChannel hid(usb.get(), kHid);
    ASSERT_TRUE(hid.ok()) << libusb_error_name(hid.error());
    Bytes request(64, 0);
    request[0] = 0x5A;
    ASSERT_EQ(hid.send(request), 0);
    Bytes reply;
    ASSERT_EQ(hid.receive(reply, 64, 2000), 0);
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 2), (Bytes{0xEC, 0x5A}));
}

TEST(SimUsbLifecycle, a_rejected_setting_plugs_nothing_in_and_the_bench_directory_goes_with_the_bench)
{
    std::string root;
    {
        ksim::Testbed bench;
        EXPECT_THROW(bench.addProbe({{"no_such_key", "1"}}), std::invalid_argument);
        EXPECT_EQ(bench.deviceCount(), 0u);
        bench.addDevice(identity(), [](const Bytes &packet, bool) { return echo(packet); });
        root = bench.rootDir();
        EXPECT_EQ(access((root + bench.devNode(0)).c_str(), F_OK), 0);
    }
    EXPECT_NE(access(root.c_str(), F_OK), 0);
}

}  // namespace
