// Enumeration of the probes on the bus (one global instance).
#pragma once

#include "device_entry.h"

#include <cstdint>
#include <forward_list>
#include <string>

namespace korvex {

// A string descriptor as ASCII (at most 253 characters), or "UNKNOWN" for index 0 or a failed read.
std::string readUsbString(libusb_device_handle *handle, uint8_t index);

class KorvexDeviceListControl {
public:
    void SetTransTypeRule(uint8_t rule) { transTypeRule_ = rule; }
    uint8_t transTypeRule() const { return transTypeRule_; }

    // Enumerates probes with these IDs on the context. Entries are added at the front, so the
    // list runs in reverse order of discovery. Does not free an earlier list.
    const std::forward_list<KorvexDeviceEntry> &GetKorvexDeviceList(uint16_t vid, uint16_t pid,
                                                                   libusb_context *context);
    void FreeKorvexDeviceList() { list_.clear(); }
    bool isdeviceInList(const char *serial) const;

    const std::forward_list<KorvexDeviceEntry> &entries() const { return list_; }

private:
    struct InterfaceClasses {
        uint8_t first;
        uint8_t second;
    };
    struct ProbeVisit;
    void probe_devices(libusb_context *context);
    void probe_configuration(libusb_device *device, const libusb_device_descriptor &descriptor);
    void probe_interfaces(ProbeVisit &visit, uint8_t interfaceClass, bool secondPass);
    void settle(const ProbeVisit &visit);

    uint8_t transTypeRule_ = 1;
    libusb_context *context_ = nullptr;
    std::forward_list<KorvexDeviceEntry> list_;
    uint16_t vendorId_ = 0;
    uint16_t productId_ = 0;
};

}  // namespace korvex
