// One usable probe interface found by enumeration.
#pragma once

#include "usb_raii.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvex {

enum class TransportType : uint8_t { Hid = 0, Bulk = 1 };

// Whether this program may open the probe. A probe that is busy or denied stays listed (the
// one-probe rule counts it), but opening it fails with the reason.
enum class Availability : uint8_t {
    Free,
    Busy,    // another program holds one of its interfaces
    Denied,  // the user may not open its device node
};

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
    Availability availability = Availability::Free;
    // Every HID and vendor-specific interface of the probe, ascending: an open claims them all, so
    // that no second program can reach the probe through the interface this one does not use.
    std::vector<uint8_t> probeInterfaces;
};

}  // namespace korvex
