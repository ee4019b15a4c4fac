// Requests and replies through the real libusb: padding, lengths, time-outs, delays, two probes.
#include "test_devices.h"
#include "usb/testbed.h"
#include "usb_client.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using namespace ksim_test;
using ksim::FirmwareAction;
using Clock = std::chrono::steady_clock;

long millisecondsSince(Clock::time_point start)
{
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

TEST(SimUsbTransfer, hid_requests_and_replies_are_64_byte_reports)
{
    ksim::Testbed bench;
    LastRequest last;
    bench.addDevice(identity("SN"), recordingEcho(last));
    UsbContext usb;
    ProbeChannel hid(usb.get(), kHidClass);
    ASSERT_TRUE(hid.ok()) << libusb_error_name(hid.error());
    int sent = 0;
    ASSERT_EQ(hid.send(report({0xB0, 0x00}), &sent), 0);
    EXPECT_EQ(sent, 64);
    Bytes reply;
    ASSERT_EQ(hid.receive(reply), 0);
    EXPECT_TRUE(last.viaHid);
    EXPECT_EQ(last.packet, report({0xB0, 0x00}));
    EXPECT_EQ(reply, report({0xEC, 0xB0, 0x00, 0, 0, 0, 0, 0, 0}));
}

TEST(SimUsbTransfer, a_short_hid_write_reaches_the_firmware_zero_padded)
{
    ksim::Testbed bench;
    LastRequest last;
    bench.addDevice(identity("SN"), recordingEcho(last));
    UsbContext usb;
    ProbeChannel hid(usb.get(), kHidClass);
    ASSERT_TRUE(hid.ok());
    ASSERT_EQ(hid.send({0xB0, 0x04, 0x04}), 0);
    EXPECT_EQ(last.packet, report({0xB0, 0x04, 0x04}));
}

TEST(SimUsbTransfer, bulk_requests_and_replies_keep_their_exact_length)
{
    ksim::Testbed bench;
    LastRequest last{{}, true};
    bench.addDevice(identity("SN"), recordingEcho(last));
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kVendorClass);
    ASSERT_TRUE(bulk.ok()) << libusb_error_name(bulk.error());
    ASSERT_EQ(bulk.send({0xB0, 0x04, 0x04}), 0);
    Bytes reply;
    ASSERT_EQ(bulk.receive(reply), 0);
    EXPECT_FALSE(last.viaHid);
    EXPECT_EQ(last.packet, (Bytes{0xB0, 0x04, 0x04}));
    EXPECT_EQ(reply, (Bytes{0xEC, 0xB0, 0x04, 0x04}));
}

TEST(SimUsbTransfer, a_long_bulk_reply_is_read_in_packets)
{
    ksim::Testbed bench;
    Bytes longReply(100);
    for (size_t i = 0; i < longReply.size(); ++i) longReply[i] = static_cast<uint8_t>(i);
    bench.addDevice(identity("SN"), [&](const Bytes &, bool) {
        FirmwareAction action;
        action.reply = longReply;
        return action;
    });
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kVendorClass);
    ASSERT_TRUE(bulk.ok());
    ASSERT_EQ(bulk.send({1}), 0);
    Bytes first, second;
    ASSERT_EQ(bulk.receive(first), 0);
    ASSERT_EQ(bulk.receive(second), 0);
    EXPECT_EQ(first, Bytes(longReply.begin(), longReply.begin() + 64));
    EXPECT_EQ(second, Bytes(longReply.begin() + 64, longReply.end()));
}

TEST(SimUsbTransfer, an_unanswered_read_times_out_and_does_not_swallow_the_next_reply)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), [](const Bytes &packet, bool) {
        return packet[0] == 0x00 ? FirmwareAction{} : echo(packet);  // request 00: the probe stays silent
    });
    UsbContext usb;
    ProbeChannel hid(usb.get(), kHidClass);
    ASSERT_TRUE(hid.ok());
    ASSERT_EQ(hid.send(report({0x00})), 0);
    Bytes reply;
    const auto start = Clock::now();
    EXPECT_EQ(hid.receive(reply, 64, 200), LIBUSB_ERROR_TIMEOUT);
    const long waited = millisecondsSince(start);
    EXPECT_GE(waited, 190);
    EXPECT_LT(waited, 2000);

    ASSERT_EQ(hid.send(report({0x42})), 0);
    ASSERT_EQ(hid.receive(reply), 0);
    EXPECT_EQ(reply, report({0xEC, 0x42}));
}

TEST(SimUsbTransfer, a_delayed_reply_arrives_after_the_delay)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), [](const Bytes &packet, bool) {
        FirmwareAction action = echo(packet);
        action.delayMs = 150;
        return action;
    });
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kVendorClass);
    ASSERT_TRUE(bulk.ok());
    const auto start = Clock::now();
    ASSERT_EQ(bulk.send({0x07}), 0);
    Bytes reply;
    EXPECT_EQ(bulk.receive(reply, 64, 100), LIBUSB_ERROR_TIMEOUT);  // not yet
    ASSERT_EQ(bulk.receive(reply, 64, 2000), 0);
    EXPECT_GE(millisecondsSince(start), 140);
    EXPECT_EQ(reply, (Bytes{0xEC, 0x07}));
}

TEST(SimUsbTransfer, two_probes_answer_independently)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN-A"), [](const Bytes &packet, bool) { return echo(packet, 0xAA); });
    bench.addDevice(identity("SN-B"), [](const Bytes &packet, bool) { return echo(packet, 0xBB); });
    UsbContext usb;
    ProbeChannel a(usb.get(), kVendorClass, "SN-A");
    ProbeChannel b(usb.get(), kHidClass, "SN-B");
    ASSERT_TRUE(a.ok());
    ASSERT_TRUE(b.ok());
    for (uint8_t round = 1; round <= 3; ++round) {
        ASSERT_EQ(a.send({round}), 0);
        ASSERT_EQ(b.send(report({static_cast<uint8_t>(round + 0x10)})), 0);
        Bytes fromB, fromA;
        ASSERT_EQ(b.receive(fromB), 0);
        ASSERT_EQ(a.receive(fromA), 0);
        EXPECT_EQ(fromA, (Bytes{0xAA, round}));
        EXPECT_EQ(fromB, report({0xBB, static_cast<uint8_t>(round + 0x10)}));
    }
}

TEST(SimUsbTransfer, writes_to_an_unclaimed_interface_fail)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), echoRequest);
    UsbContext usb;
    ProbeChannel hid(usb.get(), kHidClass);
    ASSERT_TRUE(hid.ok());
    Bytes request{1, 2, 3};
    int done = 0;
    EXPECT_NE(libusb_bulk_transfer(hid.handle(), 0x02, request.data(), 3, &done, 500), 0);
}

}  // namespace
