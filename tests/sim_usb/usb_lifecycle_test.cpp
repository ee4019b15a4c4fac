// Probes that vanish, clients that die, and the bench itself.
#include "test_devices.h"
#include "usb/testbed.h"
#include "usb_client.h"

#include "run_process.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <future>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace ksim_test;
using ksim::FirmwareAction;

FirmwareAction unplugAfter(const Bytes &packet, bool withReply)
{
    FirmwareAction action = withReply ? echo(packet) : FirmwareAction{};
    action.unplug = true;
    return action;
}

TEST(SimUsbLifecycle, a_probe_that_unplugs_after_replying_delivers_the_reply_then_is_gone)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), [](const Bytes &packet, bool) { return unplugAfter(packet, packet[0] == 0xDD); });
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kVendorClass);
    ASSERT_TRUE(bulk.ok());
    ASSERT_EQ(bulk.send({0xDD}), 0);
    Bytes reply;
    ASSERT_EQ(bulk.receive(reply), 0);
    EXPECT_EQ(reply, (Bytes{0xEC, 0xDD}));
    EXPECT_FALSE(bench.isPlugged(0));
    EXPECT_EQ(bulk.send({0x01}), LIBUSB_ERROR_NO_DEVICE);
    EXPECT_TRUE(usb.probeSerials().empty());
}

TEST(SimUsbLifecycle, a_pending_read_fails_at_once_when_the_probe_unplugs)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), [](const Bytes &packet, bool) {
        FirmwareAction action = unplugAfter(packet, false);
        action.delayMs = 100;  // the read is waiting when the probe goes
        return action;
    });
    UsbContext usb;
    ProbeChannel hid(usb.get(), kHidClass);
    ASSERT_TRUE(hid.ok());
    ASSERT_EQ(hid.send(report({0x01})), 0);
    Bytes reply;
    EXPECT_EQ(hid.receive(reply, 64, 5000), LIBUSB_ERROR_NO_DEVICE);
    EXPECT_EQ(hid.receive(reply, 64, 100), LIBUSB_ERROR_NO_DEVICE);
}

TEST(SimUsbLifecycle, unplugging_from_the_bench_ends_a_read_in_another_thread)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), [](const Bytes &, bool) { return FirmwareAction{}; });
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kVendorClass);
    ASSERT_TRUE(bulk.ok());
    auto read = std::async(std::launch::async, [&bulk] {
        Bytes reply;
        return bulk.receive(reply, 64, 10000);
    });
    ASSERT_EQ(read.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout);
    bench.unplug(0);
    ASSERT_EQ(read.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(read.get(), LIBUSB_ERROR_NO_DEVICE);
}

// The client runs in a process of its own and is killed while its read is pending.
class HangingClient {
public:
    HangingClient()
    {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        const std::string program = korvex_test::builtProgram("sim_usb_probe_client");
        char *argv[] = {const_cast<char *>(program.c_str()), const_cast<char *>("hang"), nullptr};
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        output_ = fdopen(fds[0], "r");
    }
    ~HangingClient()
    {
        kill();
        if (output_) fclose(output_);
    }
    std::string firstLine()
    {
        char line[64] = {};
        return output_ && fgets(line, sizeof line, output_) ? line : "";
    }
    void kill()
    {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    FILE *output_ = nullptr;
};

TEST(SimUsbLifecycle, a_client_killed_mid_transfer_leaves_the_probe_to_the_next_client)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), [](const Bytes &packet, bool) { return echo(packet); });
    HangingClient dying;
    ASSERT_EQ(dying.firstLine(), "waiting\n");
    dying.kill();

    UsbContext usb;
    ProbeChannel hid(usb.get(), kHidClass);
    ASSERT_TRUE(hid.ok()) << libusb_error_name(hid.error());
    ASSERT_EQ(hid.send(report({0x5A})), 0);
    Bytes reply;
    ASSERT_EQ(hid.receive(reply, 64, 2000), 0);
    EXPECT_EQ(reply, report({0xEC, 0x5A}));
}

TEST(SimUsbLifecycle, a_rejected_probe_setting_plugs_nothing_in)
{
    ksim::Testbed bench;
    EXPECT_THROW(bench.addProbe({{"no_such_key", "1"}}), std::invalid_argument);
    EXPECT_EQ(bench.deviceCount(), 0u);
}

TEST(SimUsbLifecycle, the_bench_directory_goes_away_with_the_bench)
{
    std::string root;
    {
        ksim::Testbed bench;
        bench.addDevice(identity("SN"), echoRequest);
        root = bench.rootDir();
        EXPECT_EQ(access((root + bench.devNode(0)).c_str(), F_OK), 0);
    }
    EXPECT_NE(access(root.c_str(), F_OK), 0);
}

}  // namespace
