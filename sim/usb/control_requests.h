// Standard and HID class requests on endpoint 0.
#pragma once

#include "usb/usb_descriptors.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace ksim {

struct SetupPacket {
    uint8_t requestType = 0;
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;

    // The 8 little-endian bytes at the start of a control transfer's buffer.
    static SetupPacket parse(const uint8_t *bytes);
    bool deviceToHost() const { return (requestType & 0x80) != 0; }
};

// The data stage the device returns (at most setup.length bytes; empty for host-to-device requests),
// or nothing when the device stalls the request.
std::optional<std::vector<uint8_t>> answerControlRequest(const SetupPacket &setup, const UsbDescriptors &descriptors);

}  // namespace ksim
