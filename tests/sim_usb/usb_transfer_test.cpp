// The emulated probe as libusb sees it: enumeration, descriptors, claims and transfers.
#include "usb/testbed.h"
#include "usb_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace {

using ksim::FirmwareAction;
using ksim::Transport;
using ksim::UsbIdentity;
using ksim_test::ProbeChannel;
using ksim_test::UsbContext;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kHid = 3;
constexpr uint8_t kVendor = 0xFF;

UsbIdentity identity(const std::string &serial, Transport transport = Transport::Both)
{
    return {"Maker", "Probe", serial, "Probe HID", "Probe Bulk", transport};
}

// Answers every request with its first bytes reversed, so that a reply is traceable to its request.
FirmwareAction echo(const Bytes &packet, bool)
{
    FirmwareAction action;
    Bytes reply(packet.begin(), packet.begin() + std::min<size_t>(packet.size(), 8));
    reply.insert(reply.begin(), 0xEC);
    action.reply = reply;
    return action;
}

Bytes report(Bytes head)
{
    head.resize(64, 0);
    return head;
}

TEST(SimUsbEnumeration, lists_each_plugged_probe_with_its_serial)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN-A"), echo);
    bench.addDevice(identity("SN-B"), echo);
    UsbContext usb;
    auto serials = usb.probeSerials();
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(serials, (std::vector<std::string>{"SN-A", "SN-B"}));
}

TEST(SimUsbTransfer, hid_round_trip_pads_the_report_to_64_bytes)
{
    ksim::Testbed bench;
    Bytes seen;
    bench.addDevice(identity("SN-A"), [&seen](const Bytes &packet, bool viaHid) {
        EXPECT_TRUE(viaHid);
        seen = packet;
        return echo(packet, viaHid);
    });
    UsbContext usb;
    ProbeChannel hid(usb.get(), kHid);
    ASSERT_TRUE(hid.ok()) << libusb_error_name(hid.error());
    int sent = 0;
    ASSERT_EQ(hid.send(report({0xB0, 0x00}), &sent), 0);
    EXPECT_EQ(sent, 64);
    Bytes reply;
    ASSERT_EQ(hid.receive(reply), 0);
    EXPECT_EQ(seen, report({0xB0, 0x00}));
    EXPECT_EQ(reply, report({0xEC, 0xB0, 0x00, 0, 0, 0, 0, 0, 0}));
}

TEST(SimUsbTransfer, bulk_round_trip_keeps_exact_lengths)
{
    ksim::Testbed bench;
    Bytes seen;
    bench.addDevice(identity("SN-A"), [&seen](const Bytes &packet, bool viaHid) {
        EXPECT_FALSE(viaHid);
        seen = packet;
        return echo(packet, viaHid);
    });
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kVendor);
    ASSERT_TRUE(bulk.ok()) << libusb_error_name(bulk.error());
    ASSERT_EQ(bulk.send({0xB0, 0x04, 0x04}), 0);
    Bytes reply;
    ASSERT_EQ(bulk.receive(reply), 0);
    EXPECT_EQ(seen, (Bytes{0xB0, 0x04, 0x04}));
    EXPECT_EQ(reply, (Bytes{0xEC, 0xB0, 0x04, 0x04}));
}

}  // namespace
