#include "usb_client.h"

namespace ksim_test {
namespace {

struct DeviceList {
    explicit DeviceList(libusb_context *context) { count = libusb_get_device_list(context, &devices); }
    ~DeviceList() { if (count >= 0) libusb_free_device_list(devices, 1); }
    libusb_device **devices = nullptr;
    ssize_t count = -1;
};

bool isProbe(libusb_device *device)
{
    libusb_device_descriptor descriptor{};
    return libusb_get_device_descriptor(device, &descriptor) == 0 && descriptor.idVendor == kVendorId &&
           descriptor.idProduct == kProductId;
}

std::string serialOf(libusb_device_handle *handle)
{
    libusb_device_descriptor descriptor{};
    libusb_get_device_descriptor(libusb_get_device(handle), &descriptor);
    unsigned char text[256] = {};
    const int n = libusb_get_string_descriptor_ascii(handle, descriptor.iSerialNumber, text, sizeof text - 1);
    return n > 0 ? std::string(reinterpret_cast<char *>(text), static_cast<size_t>(n)) : std::string();
}

}  // namespace

std::vector<std::string> UsbContext::probeSerials() const
{
    std::vector<std::string> serials;
    DeviceList list(context_);
    for (ssize_t i = 0; i < list.count; ++i) {
        if (!isProbe(list.devices[i])) continue;
        libusb_device_handle *handle = nullptr;
        if (libusb_open(list.devices[i], &handle) != 0) {
            serials.push_back("<cannot open>");
            continue;
        }
        serials.push_back(serialOf(handle));
        libusb_close(handle);
    }
    return serials;
}

ProbeChannel::ProbeChannel(libusb_context *context, uint8_t interfaceClass, const std::string &serial)
{
    DeviceList list(context);
    error_ = LIBUSB_ERROR_NOT_FOUND;
    for (ssize_t i = 0; i < list.count && !handle_; ++i) {
        if (!isProbe(list.devices[i])) continue;
        if ((error_ = libusb_open(list.devices[i], &handle_)) != 0) continue;
        if (!serial.empty() && serialOf(handle_) != serial) {
            libusb_close(handle_);
            handle_ = nullptr;
            error_ = LIBUSB_ERROR_NOT_FOUND;
        }
    }
    if (!handle_) return;
    libusb_config_descriptor *config = nullptr;
    if ((error_ = libusb_get_active_config_descriptor(libusb_get_device(handle_), &config)) != 0) return;
    for (int i = 0; i < config->bNumInterfaces; ++i) {
        const libusb_interface_descriptor &alt = config->interface[i].altsetting[0];
        if (alt.bInterfaceClass != interfaceClass) continue;
        interface_ = alt.bInterfaceNumber;
        for (int e = 0; e < alt.bNumEndpoints; ++e) {
            const uint8_t address = alt.endpoint[e].bEndpointAddress;
            (address & 0x80 ? inEndpoint_ : outEndpoint_) = address;
            interrupt_ = (alt.endpoint[e].bmAttributes & 3) == LIBUSB_TRANSFER_TYPE_INTERRUPT;
        }
    }
    libusb_free_config_descriptor(config);
    if (interface_ < 0) {
        error_ = LIBUSB_ERROR_NOT_FOUND;
        return;
    }
    libusb_set_auto_detach_kernel_driver(handle_, 1);
    error_ = libusb_claim_interface(handle_, interface_);
    claimed_ = error_ == 0;
}

ProbeChannel::~ProbeChannel()
{
    if (claimed_) libusb_release_interface(handle_, interface_);
    if (handle_) libusb_close(handle_);
}

int ProbeChannel::send(const std::vector<uint8_t> &bytes, int *transferred, unsigned timeoutMs)
{
    int done = 0;
    std::vector<uint8_t> copy = bytes;
    const int length = static_cast<int>(copy.size());
    const int result = interrupt_ ? libusb_interrupt_transfer(handle_, outEndpoint_, copy.data(), length, &done, timeoutMs)
                                  : libusb_bulk_transfer(handle_, outEndpoint_, copy.data(), length, &done, timeoutMs);
    if (transferred) *transferred = done;
    return result;
}

int ProbeChannel::receive(std::vector<uint8_t> &received, size_t length, unsigned timeoutMs)
{
    received.assign(length, 0);
    int done = 0;
    const int size = static_cast<int>(length);
    const int result = interrupt_ ? libusb_interrupt_transfer(handle_, inEndpoint_, received.data(), size, &done, timeoutMs)
                                  : libusb_bulk_transfer(handle_, inEndpoint_, received.data(), size, &done, timeoutMs);
    received.resize(static_cast<size_t>(done));
    return result;
}

std::string ProbeChannel::stringDescriptor(uint8_t index)
{
    unsigned char text[256] = {};
    const int n = libusb_get_string_descriptor_ascii(handle_, index, text, sizeof text - 1);
    return n >= 0 ? std::string(reinterpret_cast<char *>(text), static_cast<size_t>(n)) : "<error " + std::to_string(n) + ">";
}

}  // namespace ksim_test
