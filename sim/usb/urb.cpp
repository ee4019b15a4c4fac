#include "usb/urb.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace ksim {

Urb Urb::resolveSubmitted(UMockdevIoctlData *argument)
{
    Urb urb;
    urb.urb_ = GObjectRef<UMockdevIoctlData>::adopt(
        umockdev_ioctl_data_resolve(argument, 0, sizeof(usbdevfs_urb), nullptr));
    if (!urb.urb_) return urb;
    const int length = urb.fields().buffer_length;
    if (length > 0) {
        urb.buffer_ = GObjectRef<UMockdevIoctlData>::adopt(umockdev_ioctl_data_resolve(
            urb.urb_.get(), offsetof(usbdevfs_urb, buffer), static_cast<gsize>(length), nullptr));
        if (!urb.buffer_) urb.urb_.reset();
    }
    return urb;
}

std::vector<uint8_t> Urb::bytes(size_t offset) const
{
    if (offset >= bufferLength()) return {};
    return std::vector<uint8_t>(buffer() + offset, buffer() + bufferLength());
}

void Urb::finish(int status, size_t actualLength)
{
    mutableFields().status = status;
    mutableFields().actual_length = static_cast<int>(actualLength);
}

void Urb::finishWithData(int status, const std::vector<uint8_t> &data, size_t offset)
{
    const size_t room = bufferLength() > offset ? bufferLength() - offset : 0;
    const size_t count = std::min(room, data.size());
    if (count > 0) std::memcpy(buffer() + offset, data.data(), count);
    finish(status, count);
}

bool Urb::handBackThrough(UMockdevIoctlData *reapArgument) const
{
    GObjectRef<UMockdevIoctlData> slot =
        GObjectRef<UMockdevIoctlData>::adopt(umockdev_ioctl_data_resolve(reapArgument, 0, sizeof(void *), nullptr));
    if (!slot) return false;
    return umockdev_ioctl_data_set_ptr(slot.get(), 0, urb_.get()) != FALSE;
}

}  // namespace ksim
