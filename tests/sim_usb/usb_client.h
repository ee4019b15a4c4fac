// A small libusb client for the tests: one context, one opened and claimed probe channel.
#pragma once

#include <libusb.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ksim_test {

constexpr uint16_t kVendorId = 0x4B56;
constexpr uint16_t kProductId = 0xF000;

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

// One interface of a probe, opened and claimed. Its endpoints come from the configuration.
class ProbeChannel {
public:
    // Opens the probe with this serial number (any probe when empty) and claims the interface of
    // this class (3 HID, 0xFF bulk). ok() tells whether that worked; error() gives the libusb code.
    ProbeChannel(libusb_context *context, uint8_t interfaceClass, const std::string &serial = {});
    ~ProbeChannel();
    ProbeChannel(const ProbeChannel &) = delete;
    ProbeChannel &operator=(const ProbeChannel &) = delete;

    bool ok() const { return claimed_; }
    int error() const { return error_; }
    libusb_device_handle *handle() const { return handle_; }

    // One transfer each way; returns the libusb result, fills transferred/received.
    int send(const std::vector<uint8_t> &bytes, int *transferred = nullptr, unsigned timeoutMs = 2000);
    int receive(std::vector<uint8_t> &received, size_t length = 64, unsigned timeoutMs = 2000);
    std::string stringDescriptor(uint8_t index);

private:
    libusb_device_handle *handle_ = nullptr;
    int interface_ = -1;
    uint8_t inEndpoint_ = 0;
    uint8_t outEndpoint_ = 0;
    bool interrupt_ = false;
    bool claimed_ = false;
    int error_ = 0;
};

}  // namespace ksim_test
