#include "device_list_control.h"

#include <cstring>
#include <optional>

namespace korvex {
namespace {

constexpr uint8_t kHidClass = LIBUSB_CLASS_HID;
constexpr uint8_t kVendorClass = LIBUSB_CLASS_VENDOR_SPEC;
constexpr char kUnknown[] = "UNKNOWN";

struct InterfaceStrings {
    std::string product;
    std::string serial;
    std::string manufacturer;
};

// Opens the device, claims the interface just long enough to read its strings; nothing when the
// interface is not usable (open or claim refused).
std::optional<InterfaceStrings> readInterfaceStrings(libusb_device *device,
                                                     const libusb_device_descriptor &descriptor,
                                                     const libusb_interface_descriptor &alt) {
    libusb_device_handle *raw = nullptr;
    if (libusb_open(device, &raw) != 0) return std::nullopt;
    DeviceHandle handle(raw);
    libusb_set_auto_detach_kernel_driver(raw, 1);
    ClaimedInterface claim(raw, alt.bInterfaceNumber);
    if (!claim.claimed()) return std::nullopt;
    return InterfaceStrings{readUsbString(raw, alt.iInterface), readUsbString(raw, descriptor.iSerialNumber),
                            readUsbString(raw, descriptor.iManufacturer)};
}

void takeEndpoints(KorvexDeviceEntry &entry, const libusb_interface_descriptor &alt) {
    for (int i = 0; i < alt.bNumEndpoints; ++i) {
        const libusb_endpoint_descriptor &ep = alt.endpoint[i];
        if (ep.bEndpointAddress & LIBUSB_ENDPOINT_IN) {
            entry.inEndpoint = ep.bEndpointAddress;
            entry.inPacketSize = ep.wMaxPacketSize;
        } else {
            entry.outEndpoint = ep.bEndpointAddress;
            entry.outPacketSize = ep.wMaxPacketSize;
        }
    }
}

}  // namespace

std::string readUsbString(libusb_device_handle *handle, uint8_t index) {
    if (index == 0) return kUnknown;
    unsigned char text[254] = {};
    int n = libusb_get_string_descriptor_ascii(handle, index, text, 253);
    if (n < 1) return kUnknown;
    return std::string(reinterpret_cast<const char *>(text), static_cast<size_t>(n));
}

const std::forward_list<KorvexDeviceEntry> &KorvexDeviceListControl::GetKorvexDeviceList(
    uint16_t vid, uint16_t pid, libusb_context *context) {
    vendorId_ = vid;
    productId_ = pid;
    context_ = context;
    probe_devices(context);
    return list_;
}

bool KorvexDeviceListControl::isdeviceInList(const char *serial) const {
    if (!serial) return false;
    for (const KorvexDeviceEntry &entry : list_)
        if (entry.serialNumber == serial) return true;
    return false;
}

void KorvexDeviceListControl::probe_devices(libusb_context *context) {
    libusb_device **raw = nullptr;
    ssize_t count = libusb_get_device_list(context, &raw);
    if (count < 0) return;
    DeviceList devices(raw);
    for (ssize_t i = 0; i < count; ++i) {
        libusb_device_descriptor descriptor{};
        if (libusb_get_device_descriptor(raw[i], &descriptor) != 0) continue;
        if (descriptor.idVendor == vendorId_ && descriptor.idProduct == productId_)
            probe_configuration(raw[i], descriptor);
    }
}

void KorvexDeviceListControl::probe_configuration(libusb_device *device,
                                                  const libusb_device_descriptor &descriptor) {
    if (descriptor.bNumConfigurations == 0) return;
    const InterfaceClasses classes =
        transTypeRule_ == 0 ? InterfaceClasses{kHidClass, kVendorClass} : InterfaceClasses{kVendorClass, kHidClass};
    for (uint8_t index = 0; index < descriptor.bNumConfigurations; ++index) {
        libusb_config_descriptor *raw = nullptr;
        if (libusb_get_config_descriptor(device, index, &raw) != 0 || !raw) return;
        ConfigDescriptor config(raw);
        if (config->bNumInterfaces == 0) continue;
        probe_interfaces(device, descriptor, *config, classes.first, false);
        probe_interfaces(device, descriptor, *config, classes.second, true);
    }
}

// One pass over the configuration's interfaces for one class. The second pass adds a probe only
// when the first did not already list its serial number, so a probe offering both kinds appears once.
void KorvexDeviceListControl::probe_interfaces(libusb_device *device, const libusb_device_descriptor &descriptor,
                                               const libusb_config_descriptor &config, uint8_t interfaceClass,
                                               bool secondPass) {
    const bool preferBulk = transTypeRule_ != 0;
    const bool bulk = secondPass ? !preferBulk : preferBulk;
    for (int i = 0; i < config.bNumInterfaces; ++i) {
        const libusb_interface &interface = config.interface[i];
        if (interface.num_altsetting < 1) continue;
        const libusb_interface_descriptor &alt = interface.altsetting[0];
        if (alt.bInterfaceClass != interfaceClass || alt.bInterfaceSubClass != 0) continue;
        std::optional<InterfaceStrings> strings = readInterfaceStrings(device, descriptor, alt);
        if (!strings) continue;
        if (secondPass && isdeviceInList(strings->serial.c_str())) continue;

        KorvexDeviceEntry entry;
        entry.device = DeviceRef(device);
        entry.interfaceNumber = alt.bInterfaceNumber;
        takeEndpoints(entry, alt);
        entry.product = std::move(strings->product);
        entry.serialNumber = std::move(strings->serial);
        entry.manufacturer = std::move(strings->manufacturer);
        entry.transportType = bulk ? TransportType::Bulk : TransportType::Hid;
        list_.push_front(std::move(entry));
    }
}

}  // namespace korvex
