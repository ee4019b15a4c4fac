// One usable probe interface found by enumeration.
#pragma once

#include "usb_raii.h"

#include <cstdint>
#include <string>

namespace korvex {

enum class TransportType : uint8_t { Hid = 0, Bulk = 1 };

// A value type: an open probe keeps its own copy, so enumerating again never affects it.
struct KorvexDeviceEntry {
    DeviceRef device;
    uint8_t interfaceNumber = 0;
    uint8_t outEndpoint = 0;  // 0 when the interface has none
    uint8_t inEndpoint = 0;
    TransportType transportType = TransportType::Hid;
    std::string manufacturer;
    std::string product;  // the interface's own string
    std::string serialNumber;
    uint32_t outPacketSize = 0;
    uint32_t inPacketSize = 0;
};

}  // namespace korvex
