// Exports for the probe itself: its USB description, information and link settings.
#include "handle_table.h"

using namespace korvex;
using D = ZRDeviceControl;

namespace {
constexpr Stamps L = Stamps::Link;
}

extern "C" {

KORVEX_API int KORVEX_GetSerialNumber(KORVEX_HANDLE h, char *buf, int size) {
    return guarded(h, L, requireBuffer(buf), [&](D &d) { return d.KORVEXDevice_GetSerialNumber(buf, size); });
}
KORVEX_API int KORVEX_GetManufacturer(KORVEX_HANDLE h, char *buf, int size) {
    return guarded(h, L, requireBuffer(buf), [&](D &d) { return d.KORVEXDevice_GetManufacturer(buf, size); });
}
KORVEX_API int KORVEX_GetProduct(KORVEX_HANDLE h, char *buf, int size) {
    return guarded(h, L, requireBuffer(buf), [&](D &d) { return d.KORVEXDevice_GetProduct(buf, size); });
}
KORVEX_API int KORVEX_SetNonblocking(KORVEX_HANDLE h, int mode) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetNonblocking(mode); });
}
KORVEX_API int KORVEX_GetTransType(KORVEX_HANDLE h, uint8_t *type) {
    return guarded(h, L, requireOutput(type), [&](D &d) { return d.KORVEXDevice_GetTransType(type); });
}

KORVEX_API int KORVEX_GetVersion(KORVEX_HANDLE h, int len, uint8_t *buf) {
    return guarded(h, L, requireBuffer(buf), [&](D &d) { return d.KORVEXDevice_GetVersion(len, buf); });
}
KORVEX_API int KORVEX_GetAppState(KORVEX_HANDLE h, uint8_t *state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetAPPState(state); });
}
KORVEX_API int KORVEX_GetEncKey(KORVEX_HANDLE h, int len, uint8_t *buf) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetEncKey(len, buf); });
}
KORVEX_API int KORVEX_SetEncKey(KORVEX_HANDLE h, int len, const uint8_t *key) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetEncKey(len, key); });
}
KORVEX_API int KORVEX_GetSWDSpeed(KORVEX_HANDLE h, int *speed) {
    return guarded(h, L, requireOutput(speed), [&](D &d) { return d.KORVEXDevice_GetSWDSpeed(speed); });
}
KORVEX_API int KORVEX_SetSWDSpeed(KORVEX_HANDLE h, int speed) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetSWDSpeed(speed); });
}
KORVEX_API int KORVEX_GetRsetMode(KORVEX_HANDLE h, uint8_t *mode) {
    return guarded(h, L, requireOutput(mode), [&](D &d) { return d.KORVEXDevice_GetRsetMode(mode); });
}
KORVEX_API int KORVEX_SetRsetMode(KORVEX_HANDLE h, uint8_t mode) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetRsetMode(mode); });
}
KORVEX_API int KORVEX_GetLinkUID(KORVEX_HANDLE h, int len, uint8_t *buf) {
    return guarded(h, L, requireOutput(buf), [&](D &d) { return d.KORVEXDevice_GetLinkUID(len, buf); });
}
KORVEX_API int KORVEX_GetButtonFreeState(KORVEX_HANDLE h, uint8_t *state) {
    return guarded(h, L, requireOutput(state), [&](D &d) { return d.KORVEXDevice_GetButtonFreeState(state); });
}
KORVEX_API int KORVEX_SetButtonFreeState(KORVEX_HANDLE h, uint8_t state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetButtonFreeState(state); });
}
KORVEX_API int KORVEX_GetOfflineStepState(KORVEX_HANDLE h, uint8_t *state) {
    return guarded(h, L, requireOutput(state), [&](D &d) { return d.KORVEXDevice_GetOfflineStepState(state); });
}
KORVEX_API int KORVEX_SetSWDAutoDetect(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetSWDAutoDetect(); });
}
KORVEX_API int KORVEX_SetVKPVersion(KORVEX_HANDLE h, uint32_t version) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetVKPVersion(version); });
}
KORVEX_API int KORVEX_EncryptionTrans(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_EncryptionTrans(); });
}
KORVEX_API int KORVEX_DisEncryptionTrans(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_DisEncryptionTrans(); });
}
KORVEX_API int KORVEX_GetBLESPIRate(KORVEX_HANDLE h, uint8_t *rate) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetBLESPIRate(rate); });
}
KORVEX_API int KORVEX_SetBLESPIRate(KORVEX_HANDLE h, uint8_t rate) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetBLESPIRate(rate); });
}

}  // extern "C"
