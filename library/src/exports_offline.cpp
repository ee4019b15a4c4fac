// Exports for offline programming: the projects stored in the probe and how it burns them.
#include "handle_table.h"

using namespace korvex;
using D = ZRDeviceControl;

namespace {
constexpr Stamps L = Stamps::Link;
}

extern "C" {

// ---- images, option data and OTP data stored under a code index ----
KORVEX_API int KORVEX_WriteMainData_Device(KORVEX_HANDLE h, uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_WriteMainData_Device(index, addr, len, data); });
}
KORVEX_API int KORVEX_ReadMainData_Device(KORVEX_HANDLE h, uint8_t index, uint32_t addr, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_ReadMainData_Device(index, addr, len, buf); });
}
KORVEX_API int KORVEX_VerifyMainData_Device(KORVEX_HANDLE h, uint8_t index, uint32_t addr, uint32_t len) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_VerifyMainData_Device(index, addr, len); });
}
KORVEX_API int KORVEX_WriteOPTData_Device(KORVEX_HANDLE h, uint8_t index, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_WriteOPTData_Device(index, len, data); });
}
KORVEX_API int KORVEX_ReadOPTData_Device(KORVEX_HANDLE h, uint8_t index, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_ReadOPTData_Device(index, len, buf); });
}
KORVEX_API int KORVEX_WriteOPTDataExtend_Device(KORVEX_HANDLE h, uint8_t index, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_WriteOPTDataExtend_Device(index, len, data); });
}
KORVEX_API int KORVEX_ReadOPTDataExtend_Device(KORVEX_HANDLE h, uint8_t index, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_ReadOPTDataExtend_Device(index, len, buf); });
}
KORVEX_API int KORVEX_WriteOTPData_Device(KORVEX_HANDLE h, uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_WriteOTPData_Device(index, addr, len, data); });
}
KORVEX_API int KORVEX_SetOTPLockParameters_Device(KORVEX_HANDLE h, uint8_t index, uint32_t addr, int len,
                                                  const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOTPLockParameters_Device(index, addr, len, data); });
}
KORVEX_API int KORVEX_SetOTPWriteParameters_Device(KORVEX_HANDLE h, uint8_t index, uint32_t addr, int len,
                                                   const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOTPWriteParameters_Device(index, addr, len, data); });
}
KORVEX_API int KORVEX_DebugReadMemory_Device(KORVEX_HANDLE h, uint32_t addr, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_DebugReadMemory_Device(addr, len, buf); });
}

// ---- code number, index and offline configuration ----
KORVEX_API int KORVEX_GetCodeNumber(KORVEX_HANDLE h, uint8_t *n) {
    return guarded(h, L, requireOutput(n), [&](D &d) { return d.KORVEXDevice_GetCodeNumber(n); });
}
KORVEX_API int KORVEX_SetCodeNumber(KORVEX_HANDLE h, uint8_t n) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetCodeNumber(n); });
}
KORVEX_API int KORVEX_GetDownloadCodeIndex(KORVEX_HANDLE h, uint8_t *a, uint8_t *b) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetDownloadCodeIndex(a, b); });
}
KORVEX_API int KORVEX_SetDownloadCodeIndex(KORVEX_HANDLE h, uint8_t a, uint8_t b) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetDownloadCodeIndex(a, b); });
}
KORVEX_API int KORVEX_DeleteOfflineConfIndex(KORVEX_HANDLE h, uint8_t sel, uint8_t n) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_DeleteOfflineConfIndex(sel, n); });
}
KORVEX_API int KORVEX_BeginOfflineDownloadCode(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_BeginOfflineDownloadCode(); });
}
KORVEX_API int KORVEX_GetOfflineConfig_Apart(KORVEX_HANDLE h, uint8_t index, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetOfflineConfig_Apart(index, len, buf); });
}
KORVEX_API int KORVEX_GetOfflineConfig_Bpart(KORVEX_HANDLE h, uint8_t index, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetOfflineConfig_Bpart(index, len, buf); });
}
KORVEX_API int KORVEX_GetOfflineConfig_Cpart(KORVEX_HANDLE h, uint8_t index, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetOfflineConfig_Cpart(index, len, buf); });
}
KORVEX_API int KORVEX_GetOfflineConfig_Dpart(KORVEX_HANDLE h, uint8_t index, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetOfflineConfig_Dpart(index, len, buf); });
}
KORVEX_API int KORVEX_SetOfflineConfig_Apart(KORVEX_HANDLE h, uint8_t index, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOfflineConfig_Apart(index, len, data); });
}
KORVEX_API int KORVEX_SetOfflineConfig_Bpart(KORVEX_HANDLE h, uint8_t index, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOfflineConfig_Bpart(index, len, data); });
}
KORVEX_API int KORVEX_SetOfflineConfig_Cpart(KORVEX_HANDLE h, uint8_t index, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOfflineConfig_Cpart(index, len, data); });
}
KORVEX_API int KORVEX_SetOfflineConfig_Dpart(KORVEX_HANDLE h, uint8_t index, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOfflineConfig_Dpart(index, len, data); });
}
KORVEX_API int KORVEX_GetOfflineDNState(KORVEX_HANDLE h, uint8_t *state) {
    return guarded(h, L, requireOutput(state), [&](D &d) { return d.KORVEXDevice_GetOfflineDNState(state); });
}
KORVEX_API int KORVEX_GetDownloadTimes(KORVEX_HANDLE h, uint8_t sel, uint8_t n, uint8_t kind, int *times) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetDownloadTimes(sel, n, kind, times); });
}
KORVEX_API int KORVEX_GetOfflineDownloadType(KORVEX_HANDLE h, uint8_t *type) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetOfflineDownloadType(type); });
}
KORVEX_API int KORVEX_SetOfflineDownloadType(KORVEX_HANDLE h, uint8_t type) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOfflineDownloadType(type); });
}
KORVEX_API int KORVEX_GetOfflineISPUartBps(KORVEX_HANDLE h, uint32_t *bps) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetOfflineISPUartBps(bps); });
}
KORVEX_API int KORVEX_SetOfflineISPUartBps(KORVEX_HANDLE h, uint32_t bps) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOfflineISPUartBps(bps); });
}
KORVEX_API int KORVEX_GetOfflineISPAutoBoot(KORVEX_HANDLE h, uint8_t *on) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetOfflineISPAutoBoot(on); });
}
KORVEX_API int KORVEX_SetOfflineISPAutoBoot(KORVEX_HANDLE h, uint8_t on) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetOfflineISPAutoBoot(on); });
}
KORVEX_API int KORVEX_GetProjectOneDownloadFunc(KORVEX_HANDLE h, uint8_t *func) {
    return guarded(h, L, requireOutput(func), [&](D &d) { return d.KORVEXDevice_GetProjectOneDownloadFunc(func); });
}
KORVEX_API int KORVEX_GetMachineBurningState(KORVEX_HANDLE h, uint8_t *a, uint8_t *b, int *c, int *d) {
    return guarded(h, L, [&](D &dev) { return dev.KORVEXDevice_GetMachineBurningState(a, b, c, d); });
}
KORVEX_API int KORVEX_SetMachineBurningState(KORVEX_HANDLE h, uint8_t a, uint8_t b, int c, int d) {
    return guarded(h, L, [&](D &dev) { return dev.KORVEXDevice_SetMachineBurningState(a, b, c, d); });
}

}  // extern "C"
