// A URB submitted by a client, kept as umockdev's local copy of the client's usbdevfs_urb and
// its buffer. Changes made here reach the client when the URB is handed back by a reap.
#pragma once

#include "usb/gobject_ref.h"

#include <umockdev.h>

#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>

#include <cstdint>
#include <vector>

namespace ksim {

class Urb {
public:
    // Resolves the URB that SUBMITURB's argument points to, with its buffer. Empty on failure.
    static Urb resolveSubmitted(UMockdevIoctlData *argument);

    explicit operator bool() const { return static_cast<bool>(urb_); }
    const usbdevfs_urb &fields() const { return *reinterpret_cast<const usbdevfs_urb *>(urb_->data); }
    uint8_t endpoint() const { return fields().endpoint; }
    bool isIn() const { return (fields().endpoint & 0x80) != 0; }
    uint8_t *buffer() const { return buffer_ ? buffer_->data : nullptr; }
    size_t bufferLength() const { return buffer_ ? static_cast<size_t>(buffer_->data_len) : 0; }
    std::vector<uint8_t> bytes(size_t offset = 0) const;
    // The address the client knows this URB by (what DISCARDURB names and REAPURB returns).
    gulong clientAddress() const { return urb_->client_addr; }

    void finish(int status, size_t actualLength);
    // Fills the IN buffer with data (at most the buffer's length) and finishes the URB.
    void finishWithData(int status, const std::vector<uint8_t> &data, size_t offset = 0);
    // Makes the reap argument (a void** slot) point back at the client's own URB.
    bool handBackThrough(UMockdevIoctlData *reapArgument) const;

private:
    usbdevfs_urb &mutableFields() { return *reinterpret_cast<usbdevfs_urb *>(urb_->data); }

    GObjectRef<UMockdevIoctlData> urb_;
    GObjectRef<UMockdevIoctlData> buffer_;
};

}  // namespace ksim
