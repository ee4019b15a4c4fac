// Descriptors built from a probe's identity.
#include "usb/usb_descriptors.h"

#include <gtest/gtest.h>

namespace {

using ksim::Transport;
using ksim::UsbDescriptors;
using Bytes = std::vector<uint8_t>;

ksim::UsbIdentity identity(Transport transport)
{
    return {"Maker", "Probe", "SN1", "Probe HID", "Probe Bulk", transport};
}

// The interface descriptors (9 bytes, type 4) of a configuration, in order.
std::vector<Bytes> interfacesOf(const Bytes &configuration)
{
    std::vector<Bytes> interfaces;
    for (size_t i = 0; i + 1 < configuration.size(); i += configuration[i])
        if (configuration[i + 1] == 4) interfaces.emplace_back(configuration.begin() + i, configuration.begin() + i + 9);
    return interfaces;
}

std::vector<Bytes> endpointsOf(const Bytes &configuration)
{
    std::vector<Bytes> endpoints;
    for (size_t i = 0; i + 1 < configuration.size(); i += configuration[i])
        if (configuration[i + 1] == 5) endpoints.emplace_back(configuration.begin() + i, configuration.begin() + i + 7);
    return endpoints;
}

TEST(SimUsbDescriptors, device_descriptor_names_the_probe_and_its_strings)
{
    UsbDescriptors d(identity(Transport::Both));
    const Bytes expected{18, 1, 0x00, 0x02, 0, 0, 0, 64, 0x56, 0x4B, 0x00, 0xF0, 0x00, 0x01, 1, 2, 3, 1};
    EXPECT_EQ(d.device(), expected);
}

TEST(SimUsbDescriptors, both_transports_give_a_hid_and_a_vendor_interface)
{
    UsbDescriptors d(identity(Transport::Both));
    const Bytes &config = d.configuration();
    EXPECT_EQ(config[2] | config[3] << 8, static_cast<int>(config.size()));
    EXPECT_EQ(config[4], 2);  // bNumInterfaces
    EXPECT_EQ(interfacesOf(config), (std::vector<Bytes>{{9, 4, 0, 0, 2, 3, 0, 0, 4}, {9, 4, 1, 0, 2, 0xFF, 0, 0, 5}}));
    EXPECT_EQ(endpointsOf(config), (std::vector<Bytes>{{7, 5, 0x81, 3, 64, 0, 1},
                                                       {7, 5, 0x01, 3, 64, 0, 1},
                                                       {7, 5, 0x82, 2, 64, 0, 0},
                                                       {7, 5, 0x02, 2, 64, 0, 0}}));
}

TEST(SimUsbDescriptors, a_single_transport_gives_one_interface_numbered_zero)
{
    UsbDescriptors hid(identity(Transport::Hid));
    EXPECT_EQ(interfacesOf(hid.configuration()), (std::vector<Bytes>{{9, 4, 0, 0, 2, 3, 0, 0, 4}}));
    UsbDescriptors bulk(identity(Transport::Bulk));
    EXPECT_EQ(interfacesOf(bulk.configuration()), (std::vector<Bytes>{{9, 4, 0, 0, 2, 0xFF, 0, 0, 5}}));
    ASSERT_NE(bulk.channelOfEndpoint(0x82), nullptr);
    EXPECT_FALSE(bulk.channelOfEndpoint(0x82)->viaHid);
    EXPECT_EQ(bulk.channelOfEndpoint(0x81), nullptr);
}

TEST(SimUsbDescriptors, sysfs_attribute_is_the_device_then_the_whole_configuration)
{
    UsbDescriptors d(identity(Transport::Hid));
    Bytes expected = d.device();
    expected.insert(expected.end(), d.configuration().begin(), d.configuration().end());
    EXPECT_EQ(d.sysfsDescriptors(), expected);
}

TEST(SimUsbDescriptors, strings_are_utf16_little_endian_and_at_most_126_characters)
{
    EXPECT_EQ(ksim::stringDescriptor("AB"), (Bytes{6, 3, 'A', 0, 'B', 0}));
    EXPECT_EQ(ksim::stringDescriptor("\xC3\xA9"), (Bytes{4, 3, 0xE9, 0}));
    EXPECT_EQ(ksim::stringDescriptor(""), (Bytes{2, 3}));
    const Bytes longest = ksim::stringDescriptor(std::string(300, 'x'));
    EXPECT_EQ(longest.size(), 254u);
    EXPECT_EQ(longest[0], 254);
}

TEST(SimUsbDescriptors, string_table_holds_language_list_and_every_name)
{
    UsbDescriptors d(identity(Transport::Both));
    EXPECT_EQ(d.string(0), (Bytes{4, 3, 0x09, 0x04}));
    EXPECT_EQ(d.string(ksim::kSerialString), ksim::stringDescriptor("SN1"));
    EXPECT_EQ(d.string(ksim::kBulkInterfaceString), ksim::stringDescriptor("Probe Bulk"));
    EXPECT_FALSE(d.string(6).has_value());
}

}  // namespace
