// The firmware behind the USB layer: real protocol requests through libusb to a VirtualProbe.
#include "test_devices.h"
#include "usb/testbed.h"
#include "usb_client.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace ksim_test;

const Bytes kVersionRequest{0xB0, 0x00};
const Bytes kVersionReply{0xB0, 0x00, 0x05, 2, 1, 7, 0, 1};  // firmware 2.1.7, hardware 0, application state 1

TEST(SimUsbVirtualProbe, answers_the_version_query_over_hid)
{
    ksim::Testbed bench;
    bench.addProbe();
    UsbContext usb;
    ProbeChannel hid(usb.get(), kHidClass);
    ASSERT_TRUE(hid.ok()) << libusb_error_name(hid.error());
    ASSERT_EQ(hid.send(report(kVersionRequest)), 0);
    Bytes reply;
    ASSERT_EQ(hid.receive(reply, 64, 3000), 0);
    EXPECT_EQ(reply, report(kVersionReply));
}

TEST(SimUsbVirtualProbe, answers_the_version_query_over_bulk_with_the_exact_reply)
{
    ksim::Testbed bench;
    bench.addProbe({{"serial", "KV-BULK"}, {"transport", "bulk"}});
    UsbContext usb;
    EXPECT_EQ(usb.probeSerials(), std::vector<std::string>{"KV-BULK"});
    ProbeChannel bulk(usb.get(), kVendorClass);
    ASSERT_TRUE(bulk.ok()) << libusb_error_name(bulk.error());
    ASSERT_EQ(bulk.send(kVersionRequest), 0);
    Bytes reply;
    ASSERT_EQ(bulk.receive(reply, 64, 3000), 0);
    EXPECT_EQ(reply, kVersionReply);
    const size_t exchanges = bench.withProbe(0, [](ksim::VirtualProbe &probe) { return probe.requestCount(); });
    EXPECT_EQ(exchanges, 1u);
}

TEST(SimUsbVirtualProbe, stale_reports_wait_on_the_in_endpoint_before_the_first_request)
{
    ksim::Testbed bench;
    bench.addProbe({{"stale_reports", "2"}});
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kVendorClass);
    ASSERT_TRUE(bulk.ok());
    Bytes reply;
    int stale = 0;
    while (bulk.receive(reply, 64, 10) == 0) ++stale;  // the drain a host does after opening
    EXPECT_EQ(stale, 2);
    ASSERT_EQ(bulk.send(kVersionRequest), 0);
    ASSERT_EQ(bulk.receive(reply, 64, 3000), 0);
    EXPECT_EQ(reply, kVersionReply);
}

TEST(SimUsbVirtualProbe, a_fault_unplug_takes_the_probe_off_the_bus_after_its_reply)
{
    ksim::Testbed bench;
    bench.addProbe({{"fault_unplug", "#1"}});
    UsbContext usb;
    ProbeChannel bulk(usb.get(), kVendorClass);
    ASSERT_TRUE(bulk.ok());
    ASSERT_EQ(bulk.send(kVersionRequest), 0);
    Bytes reply;
    ASSERT_EQ(bulk.receive(reply, 64, 3000), 0);
    EXPECT_EQ(reply, kVersionReply);
    EXPECT_EQ(bulk.send(kVersionRequest), LIBUSB_ERROR_NO_DEVICE);
    EXPECT_FALSE(bench.isPlugged(0));
}

}  // namespace
