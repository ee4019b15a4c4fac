// Requests on endpoint 0.
#include "usb/control_requests.h"

#include <gtest/gtest.h>

namespace {

using ksim::answerControlRequest;
using ksim::SetupPacket;
using Bytes = std::vector<uint8_t>;

const ksim::UsbDescriptors &descriptors()
{
    static const ksim::UsbDescriptors d(ksim::UsbIdentity{"Maker", "Probe", "SN1", "H", "B", ksim::Transport::Both});
    return d;
}

std::optional<Bytes> ask(Bytes setup)
{
    return answerControlRequest(SetupPacket::parse(setup.data()), descriptors());
}

TEST(SimUsbControl, setup_packet_fields_are_little_endian)
{
    const Bytes raw{0x80, 0x06, 0x03, 0x03, 0x09, 0x04, 0xFF, 0x00};
    const SetupPacket setup = SetupPacket::parse(raw.data());
    EXPECT_EQ(setup.value, 0x0303);
    EXPECT_EQ(setup.index, 0x0409);
    EXPECT_EQ(setup.length, 255);
    EXPECT_TRUE(setup.deviceToHost());
}

TEST(SimUsbControl, descriptor_reads_are_cut_to_the_requested_length)
{
    EXPECT_EQ(ask({0x80, 0x06, 0x00, 0x01, 0, 0, 8, 0}), Bytes(descriptors().device().begin(), descriptors().device().begin() + 8));
    EXPECT_EQ(ask({0x80, 0x06, 0x00, 0x02, 0, 0, 0xFF, 0}), descriptors().configuration());
    EXPECT_EQ(ask({0x80, 0x06, 0x00, 0x03, 0, 0, 4, 0}), (Bytes{4, 3, 0x09, 0x04}));
    EXPECT_EQ(ask({0x80, 0x06, 0x03, 0x03, 0x09, 0x04, 0xFF, 0}), ksim::stringDescriptor("SN1"));
}

TEST(SimUsbControl, missing_descriptors_and_unknown_requests_stall)
{
    EXPECT_FALSE(ask({0x80, 0x06, 0x09, 0x03, 0x09, 0x04, 0xFF, 0}).has_value());  // string 9
    EXPECT_FALSE(ask({0x80, 0x06, 0x00, 0x06, 0, 0, 10, 0}).has_value());           // device qualifier
    EXPECT_FALSE(ask({0xC0, 0x01, 0, 0, 0, 0, 4, 0}).has_value());                  // vendor request
    EXPECT_FALSE(ask({0x00, 0x09, 2, 0, 0, 0, 0, 0}).has_value());                  // configuration 2
}

TEST(SimUsbControl, hid_report_descriptor_only_on_the_hid_interface)
{
    EXPECT_EQ(ask({0x81, 0x06, 0x00, 0x22, 0, 0, 0xFF, 0}), descriptors().hidReport());
    EXPECT_FALSE(ask({0x81, 0x06, 0x00, 0x22, 1, 0, 0xFF, 0}).has_value());
    EXPECT_EQ(ask({0x21, 0x0A, 0, 0, 0, 0, 0, 0}), Bytes{});  // SET_IDLE
}

TEST(SimUsbControl, configuration_and_status_requests_succeed)
{
    EXPECT_EQ(ask({0x00, 0x09, 1, 0, 0, 0, 0, 0}), Bytes{});
    EXPECT_EQ(ask({0x80, 0x08, 0, 0, 0, 0, 1, 0}), Bytes{1});
    EXPECT_EQ(ask({0x80, 0x00, 0, 0, 0, 0, 2, 0}), (Bytes{0, 0}));
    EXPECT_EQ(ask({0x01, 0x0B, 0, 0, 1, 0, 0, 0}), Bytes{});   // SET_INTERFACE 1, alt 0
    EXPECT_FALSE(ask({0x01, 0x0B, 1, 0, 1, 0, 0, 0}).has_value());  // no alternate setting 1
}

}  // namespace
