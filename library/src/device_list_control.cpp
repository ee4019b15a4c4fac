#include "device_list_control.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace korvex {
namespace {

constexpr uint8_t kHidClass = LIBUSB_CLASS_HID;
constexpr uint8_t kVendorClass = LIBUSB_CLASS_VENDOR_SPEC;
constexpr char kUnknown[] = "UNKNOWN";

struct InterfaceStrings {
    std::string product = kUnknown;
    std::string serial = kUnknown;
    std::string manufacturer = kUnknown;
};

// The interface's alternate setting 0 when it is a probe interface of this class, else nullptr.
const libusb_interface_descriptor *probeInterface(const libusb_interface &interface, uint8_t interfaceClass) {
    if (interface.num_altsetting < 1) return nullptr;
    const libusb_interface_descriptor &alt = interface.altsetting[0];
    if (alt.bInterfaceClass != interfaceClass || alt.bInterfaceSubClass != 0) return nullptr;
    return &alt;
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

// One probe device being looked at: opened once for all its interfaces (or refused by the system),
// and what its interfaces showed.
struct KorvexDeviceListControl::ProbeVisit {
    ProbeVisit(libusb_device *d, const libusb_device_descriptor &dd, const libusb_config_descriptor &c)
        : device(d), descriptor(dd), config(c) {}
    libusb_device *device;
    const libusb_device_descriptor &descriptor;
    const libusb_config_descriptor &config;
    DeviceHandle handle;   // null when the open was refused
    bool denied = false;   // the open was refused for lack of permission
    bool busy = false;     // another program holds one of its interfaces
    std::vector<uint8_t> interfaces;
    size_t added = 0;      // entries put at the front of the list for this device
};

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
        ProbeVisit visit(device, descriptor, *config);
        libusb_device_handle *opened = nullptr;
        const int rc = libusb_open(device, &opened);
        if (rc == 0) {
            visit.handle.reset(opened);
            libusb_set_auto_detach_kernel_driver(opened, 1);
        } else if (rc != LIBUSB_ERROR_ACCESS) {
            continue;  // gone or broken: not a probe anyone can use
        }
        visit.denied = rc == LIBUSB_ERROR_ACCESS;
        probe_interfaces(visit, classes.first, false);
        probe_interfaces(visit, classes.second, true);
        settle(visit);
    }
}

// One pass over the configuration's interfaces for one class. The second pass adds a probe only
// when the first did not already list its serial number, so a probe offering both kinds appears once.
// An interface another program holds still lists the probe (as busy), and one whose device the user
// may not open lists it as denied, with unknown strings: either way it counts as a probe on the bus.
void KorvexDeviceListControl::probe_interfaces(ProbeVisit &visit, uint8_t interfaceClass, bool secondPass) {
    const bool preferBulk = transTypeRule_ != 0;
    const bool bulk = secondPass ? !preferBulk : preferBulk;
    for (int i = 0; i < visit.config.bNumInterfaces; ++i) {
        const libusb_interface_descriptor *alt = probeInterface(visit.config.interface[i], interfaceClass);
        if (!alt) continue;
        visit.interfaces.push_back(alt->bInterfaceNumber);
        InterfaceStrings strings;
        if (visit.handle) {
            ClaimedInterface claim(visit.handle.get(), alt->bInterfaceNumber);
            if (!claim.claimed()) {
                if (claim.error() != LIBUSB_ERROR_BUSY) continue;
                visit.busy = true;  // the device's own strings need no claim
            }
            libusb_device_handle *handle = visit.handle.get();
            strings = InterfaceStrings{readUsbString(handle, alt->iInterface),
                                       readUsbString(handle, visit.descriptor.iSerialNumber),
                                       readUsbString(handle, visit.descriptor.iManufacturer)};
        }
        if (secondPass && isdeviceInList(strings.serial.c_str())) continue;

        KorvexDeviceEntry entry;
        entry.device = DeviceRef(visit.device);
        entry.interfaceNumber = alt->bInterfaceNumber;
        takeEndpoints(entry, *alt);
        entry.product = std::move(strings.product);
        entry.serialNumber = std::move(strings.serial);
        entry.manufacturer = std::move(strings.manufacturer);
        entry.transportType = bulk ? TransportType::Bulk : TransportType::Hid;
        list_.push_front(std::move(entry));
        ++visit.added;
    }
}

// What the whole device showed applies to each of its entries.
void KorvexDeviceListControl::settle(const ProbeVisit &visit) {
    std::vector<uint8_t> interfaces = visit.interfaces;
    std::sort(interfaces.begin(), interfaces.end());
    interfaces.erase(std::unique(interfaces.begin(), interfaces.end()), interfaces.end());
    const Availability availability =
        visit.denied ? Availability::Denied : visit.busy ? Availability::Busy : Availability::Free;
    auto entry = list_.begin();
    for (size_t k = 0; k < visit.added; ++k, ++entry) {
        entry->availability = availability;
        entry->probeInterfaces = interfaces;
    }
}

}  // namespace korvex
