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
    return libusb_get_device_descriptor(device, &descriptor) == 0 && descriptor.idVendor == 0x4B56 &&
           descriptor.idProduct == 0xF000;
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
        libusb_device_descriptor descriptor{};
        libusb_get_device_descriptor(list.devices[i], &descriptor);
        unsigned char text[256] = {};
        const int n = libusb_get_string_descriptor_ascii(handle, descriptor.iSerialNumber, text, sizeof text - 1);
        serials.emplace_back(n > 0 ? std::string(reinterpret_cast<char *>(text), static_cast<size_t>(n)) : std::string());
        libusb_close(handle);
    }
    return serials;
}

ProbeChannel::ProbeChannel(libusb_context *context, uint8_t interfaceClass)
{
    DeviceList list(context);
    for (ssize_t i = 0; i < list.count && !handle_; ++i)
        if (isProbe(list.devices[i])) error_ = libusb_open(list.devices[i], &handle_);
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

int ProbeChannel::transfer(uint8_t endpoint, uint8_t *data, int length, int *done, unsigned timeoutMs)
{
    return interrupt_ ? libusb_interrupt_transfer(handle_, endpoint, data, length, done, timeoutMs)
                      : libusb_bulk_transfer(handle_, endpoint, data, length, done, timeoutMs);
}

int ProbeChannel::send(const std::vector<uint8_t> &bytes, unsigned timeoutMs)
{
    std::vector<uint8_t> copy = bytes;
    int done = 0;
    return transfer(outEndpoint_, copy.data(), static_cast<int>(copy.size()), &done, timeoutMs);
}

int ProbeChannel::receive(std::vector<uint8_t> &received, size_t length, unsigned timeoutMs)
{
    received.assign(length, 0);
    int done = 0;
    const int result = transfer(inEndpoint_, received.data(), static_cast<int>(length), &done, timeoutMs);
    received.resize(static_cast<size_t>(done));
    return result;
}

}  // namespace ksim_test
