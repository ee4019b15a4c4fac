// USB descriptors of an emulated probe, built from its identity: what the device answers to
// GET_DESCRIPTOR and what sysfs shows libusb before anything is opened.
#pragma once

#include "probe/virtual_probe.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksim {

constexpr uint16_t kProbeVendorId = 0x4B56;  // KORVEX_USB_VID
constexpr uint16_t kProbeProductId = 0xF000;
constexpr uint16_t kMaxPacketSize = 64;

// One command channel of the probe: an interface with one IN and one OUT endpoint.
struct ChannelLayout {
    uint8_t interfaceNumber = 0;
    uint8_t inEndpoint = 0;   // bit 7 set
    uint8_t outEndpoint = 0;  // bit 7 clear
    bool viaHid = false;      // HID interrupt endpoints; otherwise vendor-specific bulk endpoints
};

enum StringIndex : uint8_t {
    kLanguageString = 0,
    kManufacturerString = 1,
    kProductString = 2,
    kSerialString = 3,
    kHidInterfaceString = 4,
    kBulkInterfaceString = 5,
};

class UsbDescriptors {
public:
    explicit UsbDescriptors(const UsbIdentity &identity);

    const std::vector<uint8_t> &device() const { return device_; }
    const std::vector<uint8_t> &configuration() const { return configuration_; }
    const std::vector<uint8_t> &hidReport() const { return hidReport_; }
    const std::vector<uint8_t> &hidClass() const { return hidClass_; }
    // The string descriptor of this index, or nothing for an index the device does not have.
    std::optional<std::vector<uint8_t>> string(uint8_t index) const;
    // The sysfs "descriptors" attribute: the device descriptor followed by the whole configuration.
    std::vector<uint8_t> sysfsDescriptors() const;

    const std::vector<ChannelLayout> &channels() const { return channels_; }
    // The channel that owns this endpoint address, or null.
    const ChannelLayout *channelOfEndpoint(uint8_t endpoint) const;
    bool hasInterface(unsigned number) const;

private:
    std::vector<uint8_t> device_;
    std::vector<uint8_t> configuration_;
    std::vector<uint8_t> hidReport_;
    std::vector<uint8_t> hidClass_;
    std::vector<std::vector<uint8_t>> strings_;  // by index; index 0 is the language list
    std::vector<ChannelLayout> channels_;
};

// A string descriptor: UTF-16LE of the text (Latin-1 taken as is), at most 126 characters.
std::vector<uint8_t> stringDescriptor(const std::string &text);

}  // namespace ksim
