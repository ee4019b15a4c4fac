// What libusb learns about emulated probes before and while it talks to them.
#include "test_devices.h"
#include "usb/testbed.h"
#include "usb_client.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace ksim_test;
using ksim::Transport;

struct ConfigDeleter {
    void operator()(libusb_config_descriptor *config) const { libusb_free_config_descriptor(config); }
};

// (class, endpoint addresses, endpoint transfer type) of each interface of the first probe.
struct InterfaceSummary {
    int number;
    int interfaceClass;
    std::vector<int> endpoints;
    int transferType;
    bool operator==(const InterfaceSummary &o) const
    {
        return number == o.number && interfaceClass == o.interfaceClass && endpoints == o.endpoints &&
               transferType == o.transferType;
    }
};

std::vector<InterfaceSummary> interfacesOfFirstProbe(libusb_context *context)
{
    libusb_device **devices = nullptr;
    const ssize_t count = libusb_get_device_list(context, &devices);
    std::vector<InterfaceSummary> result;
    for (ssize_t i = 0; i < count && result.empty(); ++i) {
        libusb_config_descriptor *raw = nullptr;
        if (libusb_get_config_descriptor(devices[i], 0, &raw) != 0) continue;
        std::unique_ptr<libusb_config_descriptor, ConfigDeleter> config(raw);
        for (int n = 0; n < config->bNumInterfaces; ++n) {
            const libusb_interface_descriptor &alt = config->interface[n].altsetting[0];
            InterfaceSummary summary{alt.bInterfaceNumber, alt.bInterfaceClass, {}, 0};
            for (int e = 0; e < alt.bNumEndpoints; ++e) {
                summary.endpoints.push_back(alt.endpoint[e].bEndpointAddress);
                summary.transferType = alt.endpoint[e].bmAttributes & 3;
                EXPECT_EQ(alt.endpoint[e].wMaxPacketSize, 64);
            }
            result.push_back(summary);
        }
    }
    if (count >= 0) libusb_free_device_list(devices, 1);
    return result;
}

TEST(SimUsbEnumeration, lists_each_plugged_probe_with_its_serial)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN-A"), echoRequest);
    bench.addDevice(identity("SN-B"), echoRequest);
    UsbContext usb;
    auto serials = usb.probeSerials();
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(serials, (std::vector<std::string>{"SN-A", "SN-B"}));
}

TEST(SimUsbEnumeration, a_probe_plugged_in_after_libusb_started_is_listed)
{
    ksim::Testbed bench;
    UsbContext usb;
    EXPECT_TRUE(usb.probeSerials().empty());
    bench.addDevice(identity("SN-LATE"), echoRequest);
    EXPECT_EQ(usb.probeSerials(), std::vector<std::string>{"SN-LATE"});
}

TEST(SimUsbEnumeration, interfaces_follow_the_transport)
{
    const std::vector<InterfaceSummary> hid{{0, 3, {0x81, 0x01}, LIBUSB_TRANSFER_TYPE_INTERRUPT}};
    const std::vector<InterfaceSummary> bulk{{0, 0xFF, {0x82, 0x02}, LIBUSB_TRANSFER_TYPE_BULK}};
    const std::vector<InterfaceSummary> both{hid[0], {1, 0xFF, {0x82, 0x02}, LIBUSB_TRANSFER_TYPE_BULK}};
    const std::pair<Transport, std::vector<InterfaceSummary>> cases[] = {
        {Transport::Hid, hid}, {Transport::Bulk, bulk}, {Transport::Both, both}};
    for (const auto &c : cases) {
        ksim::Testbed bench;
        bench.addDevice(identity("SN", c.first), echoRequest);
        UsbContext usb;
        EXPECT_EQ(interfacesOfFirstProbe(usb.get()), c.second) << "transport " << static_cast<int>(c.first);
    }
}

TEST(SimUsbEnumeration, strings_read_back_as_configured)
{
    ksim::Testbed bench;
    bench.addDevice({"Korvex Maker", "Korvex Thing", "KV42", "The HID", "The Bulk", Transport::Both}, echoRequest);
    UsbContext usb;
    ProbeChannel channel(usb.get(), kHidClass);
    ASSERT_TRUE(channel.ok()) << libusb_error_name(channel.error());
    EXPECT_EQ(channel.stringDescriptor(1), "Korvex Maker");
    EXPECT_EQ(channel.stringDescriptor(2), "Korvex Thing");
    EXPECT_EQ(channel.stringDescriptor(3), "KV42");
    EXPECT_EQ(channel.stringDescriptor(4), "The HID");
    EXPECT_EQ(channel.stringDescriptor(5), "The Bulk");
    EXPECT_EQ(channel.stringDescriptor(6), "<error " + std::to_string(LIBUSB_ERROR_PIPE) + ">");
}

TEST(SimUsbEnumeration, an_interface_claimed_by_one_client_is_busy_for_another)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), echoRequest);
    UsbContext usb;
    {
        ProbeChannel first(usb.get(), kVendorClass);
        ASSERT_TRUE(first.ok());
        ProbeChannel second(usb.get(), kVendorClass);
        EXPECT_EQ(second.error(), LIBUSB_ERROR_BUSY);
        ProbeChannel otherInterface(usb.get(), kHidClass);
        EXPECT_TRUE(otherInterface.ok());
    }
    ProbeChannel afterRelease(usb.get(), kVendorClass);
    EXPECT_TRUE(afterRelease.ok());
}

TEST(SimUsbEnumeration, an_unplugged_probe_is_no_longer_listed)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN-A"), echoRequest);
    bench.addDevice(identity("SN-B"), echoRequest);
    bench.unplug(0);
    EXPECT_FALSE(bench.isPlugged(0));
    UsbContext fresh;
    EXPECT_EQ(fresh.probeSerials(), std::vector<std::string>{"SN-B"});
}

TEST(SimUsbEnumeration, bad_indices_and_non_probes_are_refused)
{
    ksim::Testbed bench;
    bench.addDevice(identity("SN"), echoRequest);
    EXPECT_THROW(bench.probe(0), std::out_of_range);
    EXPECT_THROW(bench.unplug(1), std::out_of_range);
    EXPECT_EQ(bench.devNode(0), "/dev/bus/usb/001/001");
}

}  // namespace
