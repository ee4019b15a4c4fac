// Fuzzes the probe library's handling of what comes back over USB, the one input it does not
// control. libusb is replaced at link time by a bus with one probe (HID and bulk) whose every
// IN transfer is taken from the fuzz input: a control byte (0: time-out; else a length 0-64, and
// bit 7 copies the request's two header bytes so that replies get past the echo check), then that
// many bytes. The rest of the input chooses the exports called and their lengths. Every export
// must return 0, a documented code or a status byte, and never touch memory beyond its buffers.
#include "KORVEXLIB.h"
#include "packet_rows.h"

#include <libusb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

struct libusb_context {
    int unused;
};
struct libusb_device {
    int unused;
};
struct libusb_device_handle {
    int unused;
};

namespace {

libusb_context theContext;
libusb_device theDevice;
libusb_device_handle theHandle;

const libusb_endpoint_descriptor kHidEndpoints[2] = {{7, 5, 0x81, 3, 64, 1, 0, 0, nullptr, 0},
                                                     {7, 5, 0x01, 3, 64, 1, 0, 0, nullptr, 0}};
const libusb_endpoint_descriptor kBulkEndpoints[2] = {{7, 5, 0x82, 2, 64, 0, 0, 0, nullptr, 0},
                                                      {7, 5, 0x02, 2, 64, 0, 0, 0, nullptr, 0}};
const libusb_interface_descriptor kAlternates[2] = {
    {9, 4, 0, 0, 2, LIBUSB_CLASS_HID, 0, 0, 4, kHidEndpoints, nullptr, 0},
    {9, 4, 1, 0, 2, LIBUSB_CLASS_VENDOR_SPEC, 0, 0, 5, kBulkEndpoints, nullptr, 0}};
const libusb_interface kInterfaces[2] = {{&kAlternates[0], 1}, {&kAlternates[1], 1}};
libusb_config_descriptor theConfig = {9, 2, 0, 2, 1, 0, 0x80, 50, kInterfaces, nullptr, 0};

// The fuzz input, consumed from the front by the probe's replies and the harness alike.
struct Feed {
    const uint8_t *data = nullptr;
    size_t size = 0;
    size_t at = 0;
    uint8_t header[2] = {};
    bool empty() const { return at >= size; }
    uint8_t take() { return empty() ? 0 : data[at++]; }
} feed;

int transfer(unsigned char endpoint, unsigned char *data, int length, int *transferred) {
    *transferred = 0;
    if (!(endpoint & LIBUSB_ENDPOINT_IN)) {
        if (length >= 2) std::memcpy(feed.header, data, 2);
        *transferred = length;
        return 0;
    }
    const uint8_t control = feed.take();
    if (control == 0) return LIBUSB_ERROR_TIMEOUT;
    const int n = std::min((control & 0x7F) % 65, length);
    for (int i = 0; i < n; ++i) data[i] = feed.take();
    if ((control & 0x80) && n >= 2) std::memcpy(data, feed.header, 2);
    *transferred = n;
    return 0;
}

void check(int result, const char *what) {
    if (result == -96 || (result >= 0 && result <= 255)) return;
    std::fprintf(stderr, "%s returned %d\n", what, result);
    std::abort();
}

// Chunked reads into buffers of exactly the length asked for, so that a write past the end is seen.
int tightRead(KORVEX_HANDLE h, uint8_t which) {
    const int length = feed.take() % 200;
    std::vector<uint8_t> buffer(static_cast<size_t>(length));
    uint8_t *out = buffer.data();
    switch (which % 7) {
    case 0: return KORVEX_UPLoad_Target(h, 0x08000000, length, out);
    case 1: return KORVEX_ReadUserSystemData_Target(h, length, out);
    case 2: return KORVEX_ReadOTPData_Target(h, 0, length, out, feed.take() & 1);
    case 3: return KORVEX_DebugReadMemory_Target(h, 0x20000000, length, out, uint8_t(8 << (feed.take() % 3)));
    case 4: return KORVEX_BLECHIP_ReadFlash(h, 0, length, out);
    case 5: return KORVEX_GetVersion(h, length, out);
    default: return KORVEX_GetEncKey(h, length, out);
    }
}

}  // namespace

extern "C" {

int libusb_init(libusb_context **context) {
    *context = &theContext;
    return 0;
}
void libusb_exit(libusb_context *) {}
ssize_t libusb_get_device_list(libusb_context *, libusb_device ***list) {
    static libusb_device *devices[2] = {&theDevice, nullptr};
    *list = devices;
    return 1;
}
void libusb_free_device_list(libusb_device **, int) {}
libusb_device *libusb_ref_device(libusb_device *device) { return device; }
void libusb_unref_device(libusb_device *) {}
int libusb_get_device_descriptor(libusb_device *, libusb_device_descriptor *d) {
    *d = libusb_device_descriptor{18, 1, 0x0200, 0, 0, 0, 64, KORVEX_USB_VID, KORVEX_USB_PID, 0x0100, 1, 2, 3, 1};
    return 0;
}
int libusb_get_config_descriptor(libusb_device *, uint8_t, libusb_config_descriptor **config) {
    *config = &theConfig;
    return 0;
}
int libusb_get_active_config_descriptor(libusb_device *device, libusb_config_descriptor **config) {
    return libusb_get_config_descriptor(device, 0, config);
}
void libusb_free_config_descriptor(libusb_config_descriptor *) {}
int libusb_open(libusb_device *, libusb_device_handle **handle) {
    *handle = &theHandle;
    return 0;
}
void libusb_close(libusb_device_handle *) {}
int libusb_set_auto_detach_kernel_driver(libusb_device_handle *, int) { return 0; }
int libusb_claim_interface(libusb_device_handle *, int) { return 0; }
int libusb_release_interface(libusb_device_handle *, int) { return 0; }
int libusb_get_string_descriptor_ascii(libusb_device_handle *, uint8_t, unsigned char *data, int length) {
    const char text[] = "KV-FUZZ";
    const int n = std::min(length, int(sizeof text - 1));
    std::memcpy(data, text, static_cast<size_t>(n));
    return n;
}
int libusb_interrupt_transfer(libusb_device_handle *, unsigned char endpoint, unsigned char *data, int length,
                              int *transferred, unsigned int) {
    return transfer(endpoint, data, length, transferred);
}
int libusb_bulk_transfer(libusb_device_handle *, unsigned char endpoint, unsigned char *data, int length,
                         int *transferred, unsigned int) {
    return transfer(endpoint, data, length, transferred);
}

int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::vector<korvex_test::ExportCall> &exports = korvex_test::everyHandleExport();
    feed = Feed{data, size, 0, {}};
    KORVEX_Init();
    KORVEX_SetTransTypeRule(feed.take() & 1);
    uint8_t count = 1;
    char row[KORVEX_SERIAL_ROW_SIZE];
    check(KORVEX_GetKorvexDeviceList(&count, row), "KORVEX_GetKorvexDeviceList");
    const KORVEX_HANDLE h = KORVEX_Open(nullptr);
    if (h == KORVEX_INVALID_HANDLE) std::abort();  // the stub bus always offers the probe
    for (int calls = 0; calls < 64 && !feed.empty(); ++calls) {
        const uint8_t which = feed.take();
        if (which & 0x80) {
            check(tightRead(h, which), "a chunked read");
            continue;
        }
        const korvex_test::ExportCall &call = exports[which % exports.size()];
        check(call.call(h), call.name.c_str());
    }
    KORVEX_Close(h);
    KORVEX_Exit();
    return 0;
}

}  // extern "C"
