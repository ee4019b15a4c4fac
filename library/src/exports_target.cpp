// Exports that act on the target MCU.
#include "handle_table.h"

using namespace korvex;
using D = ZRDeviceControl;

namespace {
constexpr Stamps T = Stamps::LinkTarget;
constexpr Stamps L = Stamps::Link;  // the system-area, AP-mode, connection and debug exports
}

extern "C" {

KORVEX_API int KORVEX_GetStatus_Target(KORVEX_HANDLE h, uint8_t *valid, uint8_t *isProtected, uint8_t *third) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_GetStatus_Target(valid, isProtected, third); });
}
KORVEX_API int KORVEX_GetDeviceID_Target(KORVEX_HANDLE h, uint8_t *id) {
    return guarded(h, T, requireOutput(id), [&](D &d) { return d.KORVEXDevice_GetDeviceID_Target(id); });
}
KORVEX_API int KORVEX_SetDeviceID_Target(KORVEX_HANDLE h, uint8_t series, int pid) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_SetDeviceID_Target(series, pid); });
}
KORVEX_API int KORVEX_GetFlashSize_Target(KORVEX_HANDLE h, int *size) {
    return guarded(h, T, requireOutput(size), [&](D &d) { return d.KORVEXDevice_GetFlashSize_Target(size); });
}
KORVEX_API int KORVEX_SetState_Target(KORVEX_HANDLE h, uint8_t state) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_SetState_Target(state); });
}
KORVEX_API int KORVEX_GetTargetConnectState(KORVEX_HANDLE h, uint8_t *state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetTargetConnectState(state); });
}
KORVEX_API int KORVEX_EncryptionTrans_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_EncryptionTrans_Target(); });
}
KORVEX_API int KORVEX_DisEncryptionTrans_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_DisEncryptionTrans_Target(); });
}

KORVEX_API int KORVEX_UPLoad_Target(KORVEX_HANDLE h, uint32_t addr, int len, uint8_t *buf) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_UPLoad_Target(addr, len, buf); });
}
KORVEX_API int KORVEX_DownLoad_Target(KORVEX_HANDLE h, uint32_t addr, int len, const uint8_t *data) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_DownLoad_Target(addr, len, data); });
}
KORVEX_API int KORVEX_ReadUserSystemData_Target(KORVEX_HANDLE h, int len, uint8_t *buf) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_ReadUserSystemData_Target(len, buf); });
}
KORVEX_API int KORVEX_WriteUserSystemData_Target(KORVEX_HANDLE h, int len, const uint8_t *data) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_WriteUserSystemData_Target(len, data); });
}
KORVEX_API int KORVEX_ReadOTPData_Target(KORVEX_HANDLE h, uint32_t addr, int len, uint8_t *buf, uint8_t area) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_ReadOTPData_Target(addr, len, buf, area); });
}
KORVEX_API int KORVEXDevice_DownloadOTPData_Target(KORVEX_HANDLE h, uint32_t addr, int len, const uint8_t *data,
                                                   uint8_t area) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_DownloadOTPData_Target(addr, len, data, area); });
}

KORVEX_API int KORVEX_WriteMainFlashBegin_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_WriteMainFlashBegin_Target(); });
}
KORVEX_API int KORVEX_WriteMainFlashEnd_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_WriteMainFlashEnd_Target(); });
}
KORVEX_API int KORVEX_WriteSPIMBegin_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_WriteSPIMBegin_Target(); });
}
KORVEX_API int KORVEX_WriteSPIMEnd_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_WriteSPIMEnd_Target(); });
}
KORVEX_API int KORVEX_WriteUserSystemDataBegin_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_WriteUserSystemDataBegin_Target(); });
}
KORVEX_API int KORVEX_WriteUserSystemDataEnd_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_WriteUserSystemDataEnd_Target(); });
}
KORVEX_API int KORVEX_DownloadOTPDataBegin_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_DownloadOTPDataBegin_Target(); });
}
KORVEX_API int KORVEX_DownloadOTPDataEnd_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_DownloadOTPDataEnd_Target(); });
}

KORVEX_API int KORVEX_SectorErase_Target(KORVEX_HANDLE h, uint32_t addr, uint16_t count) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_SectorErase_Target(addr, count); });
}
KORVEX_API int KORVEX_BlockErase_Target(KORVEX_HANDLE h, uint32_t addr, uint16_t count) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_BlockErase_Target(addr, count); });
}
KORVEX_API int KORVEX_MainFlashAllErase_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_MainFlashAllErase_Target(); });
}
KORVEX_API int KORVEX_Bank1AllErase_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_Bank1AllErase_Target(); });
}
KORVEX_API int KORVEX_Bank2AllErase_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_Bank2AllErase_Target(); });
}
KORVEX_API int KORVEX_SPIMAllErase_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_SPIMAllErase_Target(); });
}
KORVEX_API int KORVEX_SysMemoryAllErase_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_OTP3AllErase_Target(); });
}

KORVEX_API int KORVEX_AccessProtect_Target(KORVEX_HANDLE h, uint8_t level) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_AccessProtect_Target(level); });
}
KORVEX_API int KORVEX_UnAccessProtect_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_UnAccessProtect_Target(); });
}
KORVEX_API int KORVEX_EraseWriteProtect_Target(KORVEX_HANDLE h, int count, const int *sectors) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_EraseWriteProtect_Target(count, sectors); });
}
KORVEX_API int KORVEX_UnEraseWriteProtect_Target(KORVEX_HANDLE h) {
    return guarded(h, T, [](D &d) { return d.KORVEXDevice_UnEraseWriteProtect_Target(); });
}
KORVEX_API int KORVEX_LockFlash_Target(KORVEX_HANDLE h, uint8_t kind) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_LockFlash_Target(kind); });
}
KORVEX_API int KORVEX_UnLockFlash_Target(KORVEX_HANDLE h, uint8_t kind) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_UnLockFlash_Target(kind); });
}
KORVEX_API int KORVEX_EnableSPIM_Target(KORVEX_HANDLE h, uint8_t remap, uint8_t spimType, uint32_t size,
                                        uint32_t limit) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_EnableSPIM_Target(remap, spimType, size, limit); });
}

KORVEX_API int KORVEX_GetSlibState_Target(KORVEX_HANDLE h, uint8_t *state, uint16_t *a, uint16_t *b, uint16_t *c,
                                          uint16_t *d) {
    return guarded(h, T, [&](D &dev) { return dev.KORVEXDevice_GetSlibState_Target(state, a, b, c, d); });
}
KORVEX_API int KORVEX_EnableSlib_Target(KORVEX_HANDLE h, uint32_t password, uint16_t a, uint16_t b, uint16_t c) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_EnableSlib_Target(password, a, b, c); });
}
KORVEX_API int KORVEX_DisableSlib_Target(KORVEX_HANDLE h, uint32_t password) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_DisableSlib_Target(password); });
}
KORVEX_API int KORVEX_GetCRCValue_Target(KORVEX_HANDLE h, uint16_t start, uint16_t count, uint32_t *crc) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_GetCRCValue_Target(start, count, crc); });
}
KORVEX_API int KORVEX_GetSectorCRCValue_Target(KORVEX_HANDLE h, uint16_t sector, uint32_t *crc) {
    return guarded(h, T, [&](D &d) { return d.KORVEXDevice_GetSectorCRCValue_Target(sector, crc); });
}
KORVEX_API int KORVEX_GetSysSlibState_Target(KORVEX_HANDLE h, uint8_t *state, uint16_t *value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetSysSlibState_Target(state, value); });
}
KORVEX_API int KORVEX_EnableSysSlib_Target(KORVEX_HANDLE h, uint32_t password, uint16_t value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_EnableSysSlib_Target(password, value); });
}
KORVEX_API int KORVEX_DisableSysSlib_Target(KORVEX_HANDLE h, uint32_t password) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_DisableSysSlib_Target(password); });
}
KORVEX_API int KORVEX_GetSysAPMode_Target(KORVEX_HANDLE h, uint8_t *mode) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetSysAPMode_Target(mode); });
}
KORVEX_API int KORVEX_SetSysAPMode_Target(KORVEX_HANDLE h, uint32_t key) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetSysAPMode_Target(key); });
}

KORVEX_API int KORVEX_DebugReadMemory_Target(KORVEX_HANDLE h, uint32_t addr, int len, uint8_t *buf, uint8_t width) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_DebugReadMemory_Target(addr, len, buf, width); });
}
KORVEX_API int KORVEX_DebugWriteMemory_Target(KORVEX_HANDLE h, uint32_t addr, int len, const uint8_t *data,
                                              uint8_t width) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_DebugWriteMemory_Target(addr, len, data, width); });
}
KORVEX_API int KORVEX_DebugReadRegister_Target(KORVEX_HANDLE h, uint32_t addr, uint32_t *value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_DebugReadRegister_Target(addr, value); });
}
KORVEX_API int KORVEX_DebugWriteRegister_Target(KORVEX_HANDLE h, uint32_t addr, uint32_t value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_DebugWriteRegister_Target(addr, value); });
}

}  // extern "C"
