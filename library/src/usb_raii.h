// Owning wrappers for libusb objects: each acquire has exactly one release.
#pragma once

#include <libusb.h>

#include <memory>
#include <utility>

namespace korvex {

// One reference to a libusb device; copies take their own reference.
class DeviceRef {
public:
    DeviceRef() = default;
    explicit DeviceRef(libusb_device *device) : device_(device ? libusb_ref_device(device) : nullptr) {}
    DeviceRef(const DeviceRef &other) : DeviceRef(other.device_) {}
    DeviceRef(DeviceRef &&other) noexcept : device_(std::exchange(other.device_, nullptr)) {}
    DeviceRef &operator=(DeviceRef other) noexcept {
        std::swap(device_, other.device_);
        return *this;
    }
    ~DeviceRef() {
        if (device_) libusb_unref_device(device_);
    }
    libusb_device *get() const { return device_; }
    explicit operator bool() const { return device_ != nullptr; }

private:
    libusb_device *device_ = nullptr;
};

struct DeviceListDeleter {
    void operator()(libusb_device **list) const { libusb_free_device_list(list, 1); }
};
using DeviceList = std::unique_ptr<libusb_device *, DeviceListDeleter>;

struct ConfigDeleter {
    void operator()(libusb_config_descriptor *config) const { libusb_free_config_descriptor(config); }
};
using ConfigDescriptor = std::unique_ptr<libusb_config_descriptor, ConfigDeleter>;

struct HandleCloser {
    void operator()(libusb_device_handle *handle) const { libusb_close(handle); }
};
using DeviceHandle = std::unique_ptr<libusb_device_handle, HandleCloser>;

// An interface claimed on an open handle, released when it goes out of scope.
class ClaimedInterface {
public:
    ClaimedInterface(libusb_device_handle *handle, int number)
        : handle_(handle), number_(number), error_(libusb_claim_interface(handle, number)), claimed_(error_ == 0) {}
    ClaimedInterface(const ClaimedInterface &) = delete;
    ClaimedInterface &operator=(const ClaimedInterface &) = delete;
    ~ClaimedInterface() {
        if (claimed_) libusb_release_interface(handle_, number_);
    }
    bool claimed() const { return claimed_; }
    // libusb's answer to the claim: LIBUSB_ERROR_BUSY when another program holds the interface.
    int error() const { return error_; }
    // Keeps the claim past this object's life (the owner releases it on close).
    void keep() { claimed_ = false; }

private:
    libusb_device_handle *handle_;
    int number_;
    int error_;
    bool claimed_;
};

}  // namespace korvex
