// The USB channel of an opened probe: open, close, one packet out, one packet in.
#include "device_control.h"

#include "result_codes.h"
#include "timeouts.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace korvex {
namespace {

constexpr int kReportSize = 64;
// A probe that keeps streaming must not hold the open call forever.
constexpr int kMaxStaleReports = 256;

}  // namespace

libusb_device_handle *ZRDeviceControl::KorvexDevice_Open() {
    openFailure_ = OpenFailure::Other;
    if (!entry_ || !entry_->device) return nullptr;
    libusb_device_handle *raw = nullptr;
    const int rc = libusb_open(entry_->device.get(), &raw);
    if (rc != 0) {
        if (rc == LIBUSB_ERROR_ACCESS) openFailure_ = OpenFailure::Denied;
        return nullptr;
    }
    DeviceHandle handle(raw);
    libusb_set_auto_detach_kernel_driver(raw, 1);
    // Every interface, not only the one used: a second program must not reach the probe through
    // the other one. Ascending order, so that two programs racing for one probe cannot each end up
    // holding a part of it.
    std::vector<uint8_t> interfaces = entry_->probeInterfaces;
    if (interfaces.empty()) interfaces.push_back(entry_->interfaceNumber);
    std::vector<std::unique_ptr<ClaimedInterface>> claims;
    for (uint8_t number : interfaces) {
        claims.push_back(std::make_unique<ClaimedInterface>(raw, number));
        if (claims.back()->claimed()) continue;
        if (claims.back()->error() == LIBUSB_ERROR_BUSY) openFailure_ = OpenFailure::Busy;
        return nullptr;
    }
    claims_ = std::move(claims);
    usbHandle_ = handle.release();
    trace_.start(usbHandle_, *entry_);
    openFailure_ = OpenFailure::None;
    lateRepliesOwed_ = 0;
    drainDue_ = false;

    drainInput();
    return usbHandle_;
}

void ZRDeviceControl::KorvexDevice_Close() {
    // Released in reverse order of claiming, while the handle is still open.
    while (!claims_.empty()) claims_.pop_back();
    if (usbHandle_) libusb_close(usbHandle_);
    usbHandle_ = nullptr;
    trace_.stop();
}

int ZRDeviceControl::drainInput() {
    std::array<uint8_t, kReportSize> packet{};
    int drained = 0;
    while (drained < kMaxStaleReports && trans_read_timeout(packet.data(), kReportSize, kDrainTimeoutMs) > 0)
        ++drained;
    return drained;
}

void ZRDeviceControl::discardWaitingLateReplies() {
    if (!drainDue_) return;
    drainDue_ = false;
    const unsigned drained = static_cast<unsigned>(drainInput());
    lateRepliesOwed_ -= std::min(lateRepliesOwed_, drained);
}

int ZRDeviceControl::trans_write(ByteView packet) {
    if (!usbHandle_ || !entry_) return -1;
    return entry_->transportType == TransportType::Hid ? hid_send_data(packet) : winusb_send_data(packet);
}

int ZRDeviceControl::trans_read_timeout(uint8_t *buffer, int length, unsigned timeoutMs) {
    if (!usbHandle_ || !entry_) return -1;
    return entry_->transportType == TransportType::Hid ? hid_receive_data(buffer, length, timeoutMs)
                                                       : winusb_receive_data(buffer, length, timeoutMs);
}

// HID: every request travels as one zero-padded 64-byte report.
int ZRDeviceControl::hid_send_data(ByteView packet) {
    std::array<uint8_t, kReportSize> report{};
    const int n = static_cast<int>(std::min<size_t>(packet.size(), kReportSize));
    std::copy_n(packet.data(), n, report.begin());
    int transferred = 0;
    int rc = libusb_interrupt_transfer(usbHandle_, entry_->outEndpoint, report.data(), kReportSize, &transferred,
                                       kSendTimeoutMs);
    if (rc == 0) trace_.request({report.data(), report.size()}, true);
    return rc == 0 ? n : -1;
}

int ZRDeviceControl::hid_receive_data(uint8_t *buffer, int length, unsigned timeoutMs) {
    std::array<uint8_t, kReportSize> report{};
    int received = 0;
    int rc = libusb_interrupt_transfer(usbHandle_, entry_->inEndpoint, report.data(), kReportSize, &received,
                                       timeoutMs);
    trace_.reply(report.data(), rc == 0 ? received : -1, true);
    if (rc != 0) return -1;
    const int n = std::min(received, length);
    std::copy_n(report.begin(), n, buffer);
    return n;
}

// Bulk: requests go out at their exact length; replies come in one read of up to 64 bytes.
int ZRDeviceControl::winusb_send_data(ByteView packet) {
    int transferred = 0;
    int rc = libusb_bulk_transfer(usbHandle_, entry_->outEndpoint, const_cast<uint8_t *>(packet.data()),
                                  static_cast<int>(packet.size()), &transferred, kSendTimeoutMs);
    if (rc == 0) trace_.request({packet.data(), static_cast<size_t>(transferred)}, false);
    return rc == 0 ? transferred : -1;
}

int ZRDeviceControl::winusb_receive_data(uint8_t *buffer, int length, unsigned timeoutMs) {
    std::array<uint8_t, kReportSize> packet{};
    int received = 0;
    int rc = libusb_bulk_transfer(usbHandle_, entry_->inEndpoint, packet.data(), kReportSize, &received, timeoutMs);
    trace_.reply(packet.data(), rc == 0 ? received : -1, false);
    if (rc != 0) return -1;
    const int n = std::min({length, kReportSize, received});
    std::copy_n(packet.begin(), n, buffer);
    return n;
}

int ZRDeviceControl::copyString(const std::string &text, char *buf, int size) const {
    if (!usbHandle_) return TRANS_INVALID_HANDLE_VALUE;
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (size < 0 || text.size() >= static_cast<size_t>(size)) return INPUT_PARAMS_ERROR;
    std::memcpy(buf, text.c_str(), text.size() + 1);
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_GetSerialNumber(char *buf, int size) const {
    return copyString(entry_ ? entry_->serialNumber : std::string(), buf, size);
}
int ZRDeviceControl::KORVEXDevice_GetManufacturer(char *buf, int size) const {
    return copyString(entry_ ? entry_->manufacturer : std::string(), buf, size);
}
int ZRDeviceControl::KORVEXDevice_GetProduct(char *buf, int size) const {
    return copyString(entry_ ? entry_->product : std::string(), buf, size);
}

int ZRDeviceControl::KORVEXDevice_GetTransType(uint8_t *out) const {
    if (!entry_) return -1;
    if (!out) return INPUT_PARAMS_ERROR;
    *out = static_cast<uint8_t>(entry_->transportType);
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_SetNonblocking(int) const {
    return usbHandle_ ? kSuccess : TRANS_INVALID_HANDLE_VALUE;
}

}  // namespace korvex
