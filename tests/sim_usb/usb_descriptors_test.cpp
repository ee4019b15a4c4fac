// Descriptors built from a probe's identity.
#include "usb/usb_descriptors.h"

#include <gtest/gtest.h>

namespace {

TEST(SimUsbDescriptors, device_descriptor_names_the_probe)
{
    ksim::UsbDescriptors d(ksim::UsbIdentity{"M", "P", "S", "H", "B", ksim::Transport::Both});
    const std::vector<uint8_t> expected{18, 1, 0x00, 0x02, 0, 0, 0, 64, 0x56, 0x4B, 0x00, 0xF0, 0x00, 0x01, 1, 2, 3, 1};
    EXPECT_EQ(d.device(), expected);
}

}  // namespace
