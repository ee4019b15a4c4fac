// A small libusb client for the tests: one context, one opened and claimed probe channel.
#pragma once

#include <libusb.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ksim_test {

class UsbContext {
public:
    UsbContext() { libusb_init(&context_); }
    ~UsbContext() { if (context_) libusb_exit(context_); }
    UsbContext(const UsbContext &) = delete;
    UsbContext &operator=(const UsbContext &) = delete;
    libusb_context *get() const { return context_; }
    // Serial numbers of the listed probes, in libusb's order.
    std::vector<std::string> probeSerials() const;

private:
    libusb_context *context_ = nullptr;
};

// The interface of the first probe with this class (3 HID, 0xFF bulk), opened and claimed.
class ProbeChannel {
public:
    ProbeChannel(libusb_context *context, uint8_t interfaceClass);
    ~ProbeChannel();
    ProbeChannel(const ProbeChannel &) = delete;
    ProbeChannel &operator=(const ProbeChannel &) = delete;

    bool ok() const { return claimed_; }
    int error() const { return error_; }
    libusb_device_handle *handle() const { return handle_; }

    // One transfer each way; the libusb result.
    int send(const std::vector<uint8_t> &bytes, unsigned timeoutMs = 2000);
    int receive(std::vector<uint8_t> &received, size_t length = 64, unsigned timeoutMs = 2000);

private:
    int transfer(uint8_t endpoint, uint8_t *data, int length, int *done, unsigned timeoutMs);
    libusb_device_handle *handle_ = nullptr;
    int interface_ = -1;
    uint8_t inEndpoint_ = 0;
    uint8_t outEndpoint_ = 0;
    bool interrupt_ = false;
    bool claimed_ = false;
    int error_ = LIBUSB_ERROR_NOT_FOUND;
};

}  // namespace ksim_test
