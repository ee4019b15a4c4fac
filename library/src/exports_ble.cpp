// Exports for the BLE module of series ZR32_S17.
#include "handle_table.h"

using namespace korvex;
using D = ZRDeviceControl;

namespace {
constexpr Stamps B = Stamps::LinkBle;
}

extern "C" {

KORVEX_API int KORVEX_BLECHIP_S17_Connect(KORVEX_HANDLE h) {
    return guarded(h, B, [](D &d) { return d.KORVEXDevice_BLECHIP_S17_Connect(); });
}
KORVEX_API int KORVEX_BLECHIP_S17_DisConnect(KORVEX_HANDLE h) {
    return guarded(h, B, [](D &d) { return d.KORVEXDevice_BLECHIP_S17_DisConnect(); });
}
KORVEX_API int KORVEX_BLECHIP_SelectFlashSpace(KORVEX_HANDLE h, uint8_t space) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_SelectFlashSpace(space); });
}
KORVEX_API int KORVEX_BLECHIP_WriteFlash(KORVEX_HANDLE h, uint32_t addr, int len, const uint8_t *data) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_WriteFlash(addr, len, data); });
}
KORVEX_API int KORVEX_BLECHIP_ReadFlash(KORVEX_HANDLE h, uint32_t addr, int len, uint8_t *buf) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_ReadFlash(addr, len, buf); });
}
KORVEX_API int KORVEX_BLECHIP_EraseMainFlash(KORVEX_HANDLE h) {
    return guarded(h, B, [](D &d) { return d.KORVEXDevice_BLECHIP_EraseMainFlash(); });
}
KORVEX_API int KORVEX_BLECHIP_EraseNVRFlash(KORVEX_HANDLE h) {
    return guarded(h, B, [](D &d) { return d.KORVEXDevice_BLECHIP_EraseNVRFlash(); });
}
KORVEX_API int KORVEX_BLECHIP_EraseRDNFlash(KORVEX_HANDLE h) {
    return guarded(h, B, [](D &d) { return d.KORVEXDevice_BLECHIP_EraseRDNFlash(); });
}
KORVEX_API int KORVEX_BLECHIP_EraseAllFlash(KORVEX_HANDLE h) {
    return guarded(h, B, [](D &d) { return d.KORVEXDevice_BLECHIP_EraseAllFlash(); });
}
KORVEX_API int KORVEX_BLECHIP_SectorErase(KORVEX_HANDLE h, uint32_t addr, int count) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_SectorErase(addr, count); });
}
KORVEX_API int KORVEX_BLECHIP_BlockErase(KORVEX_HANDLE h, uint32_t addr, int count) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_BlockErase(addr, count); });
}
KORVEX_API int KORVEX_BLECHIP_WriteReg(KORVEX_HANDLE h, uint8_t reg, uint8_t value) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_WriteReg(reg, value); });
}
KORVEX_API int KORVEX_BLECHIP_ReadReg(KORVEX_HANDLE h, uint8_t reg, uint8_t *value) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_ReadReg(reg, value); });
}
KORVEX_API int KORVEX_BLECHIP_SPICommand(KORVEX_HANDLE h, uint8_t cmd) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_SPICommand(cmd); });
}
KORVEX_API int KORVEX_BLECHIP_GetFlashSpace(KORVEX_HANDLE h, uint8_t *space) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_GetFlashSpace(space); });
}
KORVEX_API int KORVEX_BLECHIP_EnableProtect(KORVEX_HANDLE h) {
    return guarded(h, B, [](D &d) { return d.KORVEXDevice_BLECHIP_EnableProtect(); });
}
KORVEX_API int KORVEX_BLECHIP_DisableProtect(KORVEX_HANDLE h) {
    return guarded(h, B, [](D &d) { return d.KORVEXDevice_BLECHIP_DisableProtect(); });
}
KORVEX_API int KORVEX_BLECHIP_GetProtectStatus(KORVEX_HANDLE h, uint8_t *isProtected) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_GetProtectStatus(isProtected); });
}
KORVEX_API int KORVEX_BLECHIP_CheckCRC(KORVEX_HANDLE h, uint8_t *result) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_CheckCRC(result); });
}
KORVEX_API int KORVEX_BLECHIP_SetCRCValue(KORVEX_HANDLE h, int index, uint32_t crc) {
    return guarded(h, B, [&](D &d) { return d.KORVEXDevice_BLECHIP_SetCRCValue(index, crc); });
}

}  // extern "C"
