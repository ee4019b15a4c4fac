// Initialisation, enumeration, opening and closing, timestamps.
#include "handle_table.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <thread>

using namespace korvex;

namespace {

constexpr size_t kRowSize = KORVEX_SERIAL_ROW_SIZE;

void closeRecord(KorvexControlInfo &record) {
    std::lock_guard<std::mutex> lock(*record.mutex);
    record.deviceControl->KorvexDevice_Close();
}

// Copies a serial number into one row, cut short rather than overrunning it.
void copySerialRow(const std::string &serial, char *row) {
    const size_t n = std::min(serial.size(), kRowSize - 1);
    std::memcpy(row, serial.data(), n);
    row[n] = '\0';
}

int getTime(uint64_t handle, int64_t *out, std::atomic<int64_t> KorvexControlInfo::*field) {
    if (handle == KORVEX_INVALID_HANDLE) return TRANS_INVALID_HANDLE_VALUE;
    if (!out) return INPUT_PARAMS_ERROR;
    const KorvexControlInfo *record = findRecord(handle);
    if (!record) return TRANS_HANDLE_NO_DEVICE_ERROR;
    *out = (record->*field).load();
    return kSuccess;
}

constexpr int kInitRetries = 4;
constexpr std::chrono::milliseconds kInitRetryPause{20};
constexpr int kBusyRetries = 10;
constexpr std::chrono::milliseconds kBusyRetryPause{50};

struct OpenAttempt {
    KORVEX_HANDLE handle;
    int error;  // why it failed, as an errno value
};

int errnoOf(ZRDeviceControl::OpenFailure failure) {
    switch (failure) {
    case ZRDeviceControl::OpenFailure::Busy: return EBUSY;
    case ZRDeviceControl::OpenFailure::Denied: return EACCES;
    case ZRDeviceControl::OpenFailure::None:
    case ZRDeviceControl::OpenFailure::Other: break;
    }
    return EIO;
}

OpenAttempt openProbe(const char *serial) {
    try {
        const auto &entries = g_KorvexListControl.entries();
        auto entry = serial ? std::find_if(entries.begin(), entries.end(),
                                           [&](const KorvexDeviceEntry &e) { return e.serialNumber == serial; })
                            : entries.begin();
        if (entry == entries.end()) return {KORVEX_INVALID_HANDLE, ENODEV};
        auto device = std::make_unique<ZRDeviceControl>();
        device->setEntry(*entry);
        if (!device->KorvexDevice_Open()) return {KORVEX_INVALID_HANDLE, errnoOf(device->openFailure())};
        auto record = std::make_unique<KorvexControlInfo>();
        record->deviceControl = std::move(device);
        record->mutex = std::make_unique<std::mutex>();
        const int64_t now = GetCurrentTimeSeconds();
        record->lastLinkCommTime = record->lastTargetCommTime = record->lastBLECommTime = now;
        record->handle = newHandleValue();
        const uint64_t handle = record->handle;
        KORVEXlist.push_back(std::move(record));
        return {handle, 0};
    } catch (const std::bad_alloc &) {
        return {KORVEX_INVALID_HANDLE, ENOMEM};
    }
}

}  // namespace

extern "C" {

KORVEX_API int KORVEX_Init(void) {
    // A second call keeps the context it has: replacing it would strand the first one, with its
    // event thread, and the probes opened on it.
    if (ctx) return kSuccess;
    // Setting up the hotplug monitor can fail for a moment while another program on the same
    // machine sets up its own; a second try a little later then succeeds.
    libusb_context *created = nullptr;
    int rc = libusb_init(&created);
    for (int retry = 0; retry < kInitRetries && rc != 0; ++retry) {
        std::this_thread::sleep_for(kInitRetryPause);
        rc = libusb_init(&created);
    }
    if (rc != 0) return TRANS_INIT_FAIL_ERROR;
    ctx = created;
    return kSuccess;
}

KORVEX_API void KORVEX_Exit(void) {
    // Handles still open would otherwise outlive the context they were opened on.
    for (const std::unique_ptr<KorvexControlInfo> &record : KORVEXlist) closeRecord(*record);
    KORVEXlist.clear();
    g_KorvexListControl.FreeKorvexDeviceList();
    if (ctx) {
        libusb_exit(ctx);
        ctx = nullptr;
    }
}

KORVEX_API void KORVEX_SetTransTypeRule(uint8_t rule) { g_KorvexListControl.SetTransTypeRule(rule); }

KORVEX_API int KORVEX_GetKorvexDeviceList(uint8_t *count, char *buffer) {
    if (!count) return INPUT_PARAMS_ERROR;
    if (!buffer && *count > 0) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    try {
        g_KorvexListControl.FreeKorvexDeviceList();
        // Without a context there is nothing to enumerate (libusb would fall back to a default one).
        if (ctx) g_KorvexListControl.GetKorvexDeviceList(KORVEX_USB_VID, KORVEX_USB_PID, ctx);
    } catch (const std::bad_alloc &) {
        g_KorvexListControl.FreeKorvexDeviceList();
    }
    const uint8_t capacity = *count;
    *count = 0;
    uint8_t copied = 0;
    for (const KorvexDeviceEntry &entry : g_KorvexListControl.entries()) {
        if (copied == capacity) return kSuccess;  // more probes than rows: the count stays 0
        copySerialRow(entry.serialNumber, buffer + copied * kRowSize);
        ++copied;
    }
    *count = copied;
    return kSuccess;
}

KORVEX_API KORVEX_HANDLE KORVEX_Open(const char *serial) {
    // Listing probes claims each interface for a moment to learn whether it is busy, so a program
    // listing them beside us (a station programming several boards at once) can hold ours for an
    // instant; a program that is really using the probe holds it for the whole job.
    OpenAttempt attempt = openProbe(serial);
    for (int retry = 0; retry < kBusyRetries && attempt.error == EBUSY; ++retry) {
        std::this_thread::sleep_for(kBusyRetryPause);
        attempt = openProbe(serial);
    }
    // errno is set only after everything the attempt created is gone: libusb's clean-up may use it.
    if (attempt.handle == KORVEX_INVALID_HANDLE) errno = attempt.error;
    return attempt.handle;
}

KORVEX_API void KORVEX_Close(KORVEX_HANDLE handle) {
    if (handle == KORVEX_INVALID_HANDLE) return;
    auto it = std::find_if(KORVEXlist.begin(), KORVEXlist.end(),
                           [&](const std::unique_ptr<KorvexControlInfo> &r) { return r->handle == handle; });
    if (it == KORVEXlist.end()) return;
    closeRecord(**it);
    KORVEXlist.erase(it);
}

KORVEX_API int KORVEX_GetCurrentTimeSeconds(int64_t *seconds) {
    if (!seconds) return INPUT_PARAMS_ERROR;
    *seconds = GetCurrentTimeSeconds();
    return kSuccess;
}

KORVEX_API int KORVEX_GetLastKorvexCommunicationTimes(KORVEX_HANDLE handle, int64_t *seconds) {
    return getTime(handle, seconds, &KorvexControlInfo::lastLinkCommTime);
}

KORVEX_API int KORVEX_GetLastTargetCommunicationTimes(KORVEX_HANDLE handle, int64_t *seconds) {
    return getTime(handle, seconds, &KorvexControlInfo::lastTargetCommTime);
}

KORVEX_API int KORVEX_GetLastBLECommunicationTimes(KORVEX_HANDLE handle, int64_t *seconds) {
    return getTime(handle, seconds, &KorvexControlInfo::lastBLECommTime);
}

}  // extern "C"
