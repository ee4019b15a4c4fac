#include "usb/control_requests.h"

#include <algorithm>

namespace ksim {
namespace {

enum : uint8_t {
    kGetStatus = 0x00,
    kClearFeature = 0x01,
    kSetFeature = 0x03,
    kGetDescriptor = 0x06,
    kGetConfiguration = 0x08,
    kSetConfiguration = 0x09,
    kGetInterface = 0x0A,
    kSetInterface = 0x0B,
    kHidSetIdle = 0x0A,
};

enum : uint8_t {
    kStandardToDevice = 0x00,
    kStandardToInterface = 0x01,
    kStandardToEndpoint = 0x02,
    kStandardFromDevice = 0x80,
    kStandardFromInterface = 0x81,
    kStandardFromEndpoint = 0x82,
    kClassToInterface = 0x21,
};

using Reply = std::optional<std::vector<uint8_t>>;

Reply truncated(std::vector<uint8_t> data, uint16_t length)
{
    if (data.size() > length) data.resize(length);
    return data;
}

Reply deviceDescriptorRequest(const SetupPacket &setup, const UsbDescriptors &descriptors)
{
    const uint8_t type = static_cast<uint8_t>(setup.value >> 8);
    const uint8_t index = static_cast<uint8_t>(setup.value & 0xFF);
    switch (type) {
    case 0x01: return truncated(descriptors.device(), setup.length);
    case 0x02:
        if (index != 0) return std::nullopt;
        return truncated(descriptors.configuration(), setup.length);
    case 0x03: {
        auto text = descriptors.string(index);
        if (!text) return std::nullopt;
        return truncated(*text, setup.length);
    }
    default: return std::nullopt;
    }
}

bool isHidInterface(uint16_t number, const UsbDescriptors &descriptors)
{
    for (const ChannelLayout &channel : descriptors.channels())
        if (channel.viaHid && channel.interfaceNumber == number) return true;
    return false;
}

Reply interfaceDescriptorRequest(const SetupPacket &setup, const UsbDescriptors &descriptors)
{
    if (!isHidInterface(setup.index, descriptors)) return std::nullopt;
    switch (setup.value >> 8) {
    case 0x21: return truncated(descriptors.hidClass(), setup.length);
    case 0x22: return truncated(descriptors.hidReport(), setup.length);
    default: return std::nullopt;
    }
}

Reply standardIn(const SetupPacket &setup, const UsbDescriptors &descriptors)
{
    switch (setup.request) {
    case kGetStatus: return truncated({0, 0}, setup.length);
    case kGetDescriptor:
        if (setup.requestType == kStandardFromDevice) return deviceDescriptorRequest(setup, descriptors);
        if (setup.requestType == kStandardFromInterface) return interfaceDescriptorRequest(setup, descriptors);
        return std::nullopt;
    case kGetConfiguration:
        if (setup.requestType != kStandardFromDevice) return std::nullopt;
        return truncated({1}, setup.length);
    case kGetInterface:
        if (setup.requestType != kStandardFromInterface || !descriptors.hasInterface(setup.index)) return std::nullopt;
        return truncated({0}, setup.length);
    default: return std::nullopt;
    }
}

Reply standardOut(const SetupPacket &setup, const UsbDescriptors &descriptors)
{
    switch (setup.request) {
    case kSetConfiguration:
        if (setup.requestType != kStandardToDevice || setup.value > 1) return std::nullopt;
        return std::vector<uint8_t>{};
    case kSetInterface:
        if (setup.requestType != kStandardToInterface || setup.value != 0 || !descriptors.hasInterface(setup.index))
            return std::nullopt;
        return std::vector<uint8_t>{};
    case kClearFeature:
    case kSetFeature:
        if (setup.requestType != kStandardToEndpoint && setup.requestType != kStandardToDevice) return std::nullopt;
        return std::vector<uint8_t>{};
    default: return std::nullopt;
    }
}

}  // namespace

SetupPacket SetupPacket::parse(const uint8_t *bytes)
{
    SetupPacket setup;
    setup.requestType = bytes[0];
    setup.request = bytes[1];
    setup.value = static_cast<uint16_t>(bytes[2] | bytes[3] << 8);
    setup.index = static_cast<uint16_t>(bytes[4] | bytes[5] << 8);
    setup.length = static_cast<uint16_t>(bytes[6] | bytes[7] << 8);
    return setup;
}

std::optional<std::vector<uint8_t>> answerControlRequest(const SetupPacket &setup, const UsbDescriptors &descriptors)
{
    if (setup.requestType == kClassToInterface && setup.request == kHidSetIdle &&
        isHidInterface(setup.index, descriptors))
        return std::vector<uint8_t>{};
    if ((setup.requestType & 0x60) != 0) return std::nullopt;  // other class and vendor requests
    if (setup.deviceToHost()) return standardIn(setup, descriptors);
    return standardOut(setup, descriptors);
}

}  // namespace ksim
