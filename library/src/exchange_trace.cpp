#include "exchange_trace.h"

#include "device_list_control.h"

#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/time.h>

namespace korvex {
namespace {

std::string hex(const uint8_t *bytes, size_t count) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i) text += ' ';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

// HID reports are shown up to their last non-zero byte (at least two), the padding counted.
std::string packetText(const uint8_t *bytes, size_t count, bool viaHid) {
    size_t shown = count;
    if (viaHid) {
        while (shown > 2 && bytes[shown - 1] == 0) --shown;
    }
    std::string text = hex(bytes, shown);
    if (shown < count) text += " (+" + std::to_string(count - shown) + " zero bytes)";
    return text;
}

std::string wallClock() {
    timeval now{};
    gettimeofday(&now, nullptr);
    tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    char text[48];
    const size_t n = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
    std::snprintf(text + n, sizeof text - n, ".%06ldZ", static_cast<long>(now.tv_usec));
    return text;
}

void writeInterfaces(FILE *out, libusb_device_handle *handle, libusb_device *device) {
    libusb_config_descriptor *raw = nullptr;
    if (libusb_get_active_config_descriptor(device, &raw) != 0) return;
    ConfigDescriptor config(raw);
    for (int i = 0; i < config->bNumInterfaces; ++i) {
        if (config->interface[i].num_altsetting < 1) continue;
        const libusb_interface_descriptor &alt = config->interface[i].altsetting[0];
        const bool hid = alt.bInterfaceClass == LIBUSB_CLASS_HID;
        if (!hid && alt.bInterfaceClass != LIBUSB_CLASS_VENDOR_SPEC) continue;
        std::string in = "00/0", outEndpoint = "00/0";
        for (int e = 0; e < alt.bNumEndpoints; ++e) {
            const libusb_endpoint_descriptor &ep = alt.endpoint[e];
            const std::string text = hex(&ep.bEndpointAddress, 1) + "/" + std::to_string(ep.wMaxPacketSize);
            ((ep.bEndpointAddress & LIBUSB_ENDPOINT_IN) ? in : outEndpoint) = text;
        }
        std::fprintf(out, "interface %d %s %s %s %s\n", alt.bInterfaceNumber, hid ? "hid" : "bulk", in.c_str(),
                     outEndpoint.c_str(), readUsbString(handle, alt.iInterface).c_str());
    }
}

}  // namespace

void ExchangeTrace::start(libusb_device_handle *handle, const KorvexDeviceEntry &entry) {
    const char *path = std::getenv("KORVEXLIB_TRACE");
    if (!path || !*path) return;
    file_.reset(std::fopen(path, "a"));
    if (!file_) return;
    requests_ = 0;
    opened_ = std::chrono::steady_clock::now();
    FILE *out = file_.get();
    libusb_device_descriptor device{};
    libusb_get_device_descriptor(entry.device.get(), &device);
    std::fprintf(out, "trace %s\nusb %04X:%04X\nmanufacturer %s\nproduct %s\nserial %s\n", wallClock().c_str(),
                 device.idVendor, device.idProduct, entry.manufacturer.c_str(),
                 readUsbString(handle, device.iProduct).c_str(), entry.serialNumber.c_str());
    writeInterfaces(out, handle, entry.device.get());
    std::fprintf(out, "opened %u %s\n", entry.interfaceNumber, entry.transportType == TransportType::Hid ? "hid" : "bulk");
    std::fflush(out);
}

void ExchangeTrace::request(ByteView wire, bool viaHid) {
    if (!file_) return;
    const std::chrono::duration<double> since = std::chrono::steady_clock::now() - opened_;
    std::fprintf(file_.get(), "  #%llu %s t=%.6f\n    > %s\n", static_cast<unsigned long long>(++requests_),
                 viaHid ? "hid" : "bulk", since.count(), packetText(wire.data(), wire.size(), viaHid).c_str());
    std::fflush(file_.get());
}

void ExchangeTrace::reply(const uint8_t *bytes, int count, bool viaHid) {
    if (!file_) return;
    // Before the first request a read is the drain on opening: only what it found is of interest.
    if (requests_ == 0 && count <= 0) return;
    const std::string text = count > 0 ? packetText(bytes, static_cast<size_t>(count), viaHid) : "(no reply)";
    std::fprintf(file_.get(), "%s    < %s\n", requests_ == 0 ? "  unsolicited\n" : "", text.c_str());
    std::fflush(file_.get());
}

}  // namespace korvex
