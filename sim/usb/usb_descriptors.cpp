#include "usb/usb_descriptors.h"

#include <glib.h>

namespace ksim {
namespace {

constexpr uint8_t kDeviceDescriptorType = 0x01;
constexpr uint8_t kConfigurationDescriptorType = 0x02;
constexpr uint8_t kStringDescriptorType = 0x03;
constexpr uint8_t kInterfaceDescriptorType = 0x04;
constexpr uint8_t kEndpointDescriptorType = 0x05;
constexpr uint8_t kHidDescriptorType = 0x21;
constexpr uint8_t kHidReportDescriptorType = 0x22;

constexpr uint8_t kHidClass = 0x03;
constexpr uint8_t kVendorClass = 0xFF;
constexpr uint8_t kInterruptTransfer = 0x03;
constexpr uint8_t kBulkTransfer = 0x02;
constexpr size_t kMaxStringCharacters = 126;  // bLength is one byte: 2 + 2 * 126 = 254

void appendWord(std::vector<uint8_t> &out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

std::vector<uint8_t> deviceDescriptor()
{
    std::vector<uint8_t> d{18, kDeviceDescriptorType};
    appendWord(d, 0x0200);      // bcdUSB
    d.insert(d.end(), {0, 0, 0}); // class, subclass and protocol come from the interfaces
    d.push_back(kMaxPacketSize);
    appendWord(d, kProbeVendorId);
    appendWord(d, kProbeProductId);
    appendWord(d, 0x0100);      // bcdDevice
    d.insert(d.end(), {kManufacturerString, kProductString, kSerialString, 1});
    return d;
}

// Vendor-defined usage page with one 64-byte input and one 64-byte output report.
std::vector<uint8_t> hidReportDescriptor()
{
    return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
            0x09, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, kMaxPacketSize, 0x81, 0x02,
            0x09, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, kMaxPacketSize, 0x91, 0x02,
            0xC0};
}

std::vector<uint8_t> hidClassDescriptor(size_t reportLength)
{
    std::vector<uint8_t> d{9, kHidDescriptorType};
    appendWord(d, 0x0111);  // bcdHID
    d.insert(d.end(), {0, 1, kHidReportDescriptorType});
    appendWord(d, static_cast<uint16_t>(reportLength));
    return d;
}

void appendEndpoint(std::vector<uint8_t> &out, uint8_t address, uint8_t transfer)
{
    out.insert(out.end(), {7, kEndpointDescriptorType, address, transfer});
    appendWord(out, kMaxPacketSize);
    out.push_back(transfer == kInterruptTransfer ? 1 : 0);  // bInterval: 1 ms for interrupt
}

void appendChannel(std::vector<uint8_t> &out, const ChannelLayout &channel, const std::vector<uint8_t> &hidClass)
{
    const uint8_t interfaceClass = channel.viaHid ? kHidClass : kVendorClass;
    const uint8_t name = channel.viaHid ? kHidInterfaceString : kBulkInterfaceString;
    out.insert(out.end(), {9, kInterfaceDescriptorType, channel.interfaceNumber, 0, 2, interfaceClass, 0, 0, name});
    if (channel.viaHid) out.insert(out.end(), hidClass.begin(), hidClass.end());
    const uint8_t transfer = channel.viaHid ? kInterruptTransfer : kBulkTransfer;
    appendEndpoint(out, channel.inEndpoint, transfer);
    appendEndpoint(out, channel.outEndpoint, transfer);
}

std::vector<ChannelLayout> channelsFor(Transport transport)
{
    std::vector<ChannelLayout> channels;
    if (transport != Transport::Bulk) channels.push_back({0, 0x81, 0x01, true});
    if (transport != Transport::Hid)
        channels.push_back({static_cast<uint8_t>(channels.size()), 0x82, 0x02, false});
    return channels;
}

std::vector<uint8_t> configurationDescriptor(const std::vector<ChannelLayout> &channels,
                                             const std::vector<uint8_t> &hidClass)
{
    std::vector<uint8_t> body;
    for (const ChannelLayout &channel : channels) appendChannel(body, channel, hidClass);
    std::vector<uint8_t> d{9, kConfigurationDescriptorType};
    appendWord(d, static_cast<uint16_t>(9 + body.size()));
    d.insert(d.end(), {static_cast<uint8_t>(channels.size()), 1, 0, 0x80, 50});  // bus powered, 100 mA
    d.insert(d.end(), body.begin(), body.end());
    return d;
}

std::vector<uint16_t> utf16(const std::string &text)
{
    glong length = 0;
    gunichar2 *converted = g_utf8_to_utf16(text.c_str(), static_cast<glong>(text.size()), nullptr, &length, nullptr);
    std::vector<uint16_t> units;
    if (converted) {
        units.assign(converted, converted + length);
        g_free(converted);
    } else {
        for (unsigned char c : text) units.push_back(c);  // not UTF-8: take it as Latin-1
    }
    return units;
}

}  // namespace

std::vector<uint8_t> stringDescriptor(const std::string &text)
{
    std::vector<uint16_t> units = utf16(text);
    if (units.size() > kMaxStringCharacters) units.resize(kMaxStringCharacters);
    std::vector<uint8_t> d{static_cast<uint8_t>(2 + 2 * units.size()), kStringDescriptorType};
    for (uint16_t unit : units) appendWord(d, unit);
    return d;
}

UsbDescriptors::UsbDescriptors(const UsbIdentity &identity)
    : device_(deviceDescriptor()),
      hidReport_(hidReportDescriptor()),
      hidClass_(hidClassDescriptor(hidReport_.size())),
      channels_(channelsFor(identity.transport))
{
    configuration_ = configurationDescriptor(channels_, hidClass_);
    strings_ = {{4, kStringDescriptorType, 0x09, 0x04},  // US English only
                stringDescriptor(identity.manufacturer),
                stringDescriptor(identity.product),
                stringDescriptor(identity.serial),
                stringDescriptor(identity.hidInterfaceName),
                stringDescriptor(identity.bulkInterfaceName)};
}

std::optional<std::vector<uint8_t>> UsbDescriptors::string(uint8_t index) const
{
    if (index >= strings_.size()) return std::nullopt;
    return strings_[index];
}

std::vector<uint8_t> UsbDescriptors::sysfsDescriptors() const
{
    std::vector<uint8_t> all = device_;
    all.insert(all.end(), configuration_.begin(), configuration_.end());
    return all;
}

const ChannelLayout *UsbDescriptors::channelOfEndpoint(uint8_t endpoint) const
{
    for (const ChannelLayout &channel : channels_)
        if (channel.inEndpoint == endpoint || channel.outEndpoint == endpoint) return &channel;
    return nullptr;
}

bool UsbDescriptors::hasInterface(unsigned number) const
{
    for (const ChannelLayout &channel : channels_)
        if (channel.interfaceNumber == number) return true;
    return false;
}

}  // namespace ksim
