// The library's global state: the probe list, the table of open probes and the USB context, and
// the one wrapper through which every per-handle export talks to its probe.
#pragma once

#include "device_control.h"
#include "device_list_control.h"
#include "result_codes.h"

#include <atomic>
#include <ctime>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace korvex {

// One open probe.
struct KorvexControlInfo {
    // The caller's name for this probe: unique for the life of the process, so a handle kept after
    // its close can never reach a probe opened later (a reused USB handle address could).
    uint64_t handle = 0;
    std::unique_ptr<ZRDeviceControl> deviceControl;
    // Held for a whole export call, so every packet of a chunked transfer goes out back to back.
    // Guards deviceControl's USB traffic; the table itself is guarded by the callers' contract
    // (open, close, enumerate and exit never run concurrently with anything else).
    std::unique_ptr<std::mutex> mutex;
    // Seconds since the epoch. Written under `mutex`, read by the getters without it.
    std::atomic<int64_t> lastLinkCommTime{0};
    std::atomic<int64_t> lastTargetCommTime{0};
    std::atomic<int64_t> lastBLECommTime{0};
};

extern KorvexDeviceListControl g_KorvexListControl;
// In opening order; records are heap-allocated so that their atomics and mutex never move.
extern std::vector<std::unique_ptr<KorvexControlInfo>> KORVEXlist;
extern libusb_context *ctx;

inline int64_t GetCurrentTimeSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

// A handle value never given out before: neither 0 nor KORVEX_INVALID_HANDLE.
uint64_t newHandleValue();

// The first record whose probe has this handle, or nullptr.
KorvexControlInfo *findRecord(uint64_t handle);

// Which communication times an export moves: the probe's always, plus the target's or the BLE module's.
enum class Stamps { Link, LinkTarget, LinkBle };

void stamp(KorvexControlInfo &record, Stamps stamps);

// Argument checks made before the handle is looked up.
inline int requireOutput(const void *p) { return p ? kSuccess : INPUT_PARAMS_ERROR; }
inline int requireBuffer(const void *p) { return p ? kSuccess : INPUT_PARAMS_MEMORY_ALLOCATION_ERROR; }

// The shape every per-handle export shares: reject the invalid handle, make the export's own
// argument check, look the handle up, and run `operation` on the probe under its mutex with the
// timestamps moved before and after. No exception leaves the library.
template <typename Operation>
int guarded(uint64_t handle, Stamps stamps, int argumentCheck, Operation operation) noexcept {
    if (handle == KORVEX_INVALID_HANDLE) return TRANS_INVALID_HANDLE_VALUE;
    if (argumentCheck != kSuccess) return argumentCheck;
    KorvexControlInfo *record = findRecord(handle);
    if (!record) return TRANS_HANDLE_NO_DEVICE_ERROR;
    try {
        int result;
        {
            std::lock_guard<std::mutex> lock(*record->mutex);
            stamp(*record, stamps);
            result = operation(*record->deviceControl);
        }
        stamp(*record, stamps);
        return result;
    } catch (const std::bad_alloc &) {
        return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    } catch (...) {
        // A mutex that cannot be locked (system error): nothing reached the probe.
        return TRANS_WRITE_ERROR;
    }
}

template <typename Operation>
int guarded(uint64_t handle, Stamps stamps, Operation operation) noexcept {
    return guarded(handle, stamps, kSuccess, operation);
}

}  // namespace korvex
