// Exports for the probe's own settings, the factory reset and the production tests.
#include "handle_table.h"

using namespace korvex;
using D = ZRDeviceControl;

namespace {
constexpr Stamps L = Stamps::Link;
}

extern "C" {

KORVEX_API int KORVEX_SetTargetStableTime(KORVEX_HANDLE h, uint32_t time) {
    return guarded(h, L, time == 0 ? INPUT_PARAMS_ERROR : kSuccess,
                   [&](D &d) { return d.KORVEXDevice_SetTargetStableTime(time); });
}
KORVEX_API int KORVEX_GetTargetStableTime(KORVEX_HANDLE h, uint32_t *time) {
    return guarded(h, L, requireOutput(time), [&](D &d) { return d.KORVEXDevice_GetTargetStableTime(time); });
}
KORVEX_API int KORVEX_GetVoltageLevelValue(KORVEX_HANDLE h, uint8_t sel, uint16_t *value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetVoltageLevelValue(sel, value); });
}
KORVEX_API int KORVEX_SetVoltageLevelValue(KORVEX_HANDLE h, uint8_t sel, uint16_t value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetVoltageLevelValue(sel, value); });
}
KORVEX_API int KORVEX_GetVoltageState(KORVEX_HANDLE h, uint8_t *state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetVoltageState(state); });
}
KORVEX_API int KORVEX_SetVoltageState(KORVEX_HANDLE h, uint8_t state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetVoltageState(state); });
}
KORVEX_API int KORVEX_GetVoltageCurrentLevel(KORVEX_HANDLE h, uint8_t *level) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetVoltageCurrentLevel(level); });
}
KORVEX_API int KORVEX_SetVoltageCurrentLevel(KORVEX_HANDLE h, uint8_t level) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetVoltageCurrentLevel(level); });
}
KORVEX_API int KORVEX_GetTVCCVoltageValue(KORVEX_HANDLE h, int *value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetTVCCVoltageValue(value); });
}
KORVEX_API int KORVEX_GetBuzzerState(KORVEX_HANDLE h, uint8_t *state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetBuzzerState(state); });
}
KORVEX_API int KORVEX_SetBuzzerState(KORVEX_HANDLE h, uint8_t state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetBuzzerState(state); });
}
KORVEX_API int KORVEX_GetUSBToUsartState(KORVEX_HANDLE h, uint8_t *state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetUSBToUsartState(state); });
}
KORVEX_API int KORVEX_SetUSBToUsartState(KORVEX_HANDLE h, uint8_t state) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetUSBToUsartState(state); });
}
KORVEX_API int KORVEX_GetUsartAutoMode(KORVEX_HANDLE h, uint8_t *mode) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_GetUsartAutoMode(mode); });
}
KORVEX_API int KORVEX_SetUsartAutoMode(KORVEX_HANDLE h, uint8_t mode) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_SetUsartAutoMode(mode); });
}
KORVEX_API int KORVEX_GetLCDFWVersion(KORVEX_HANDLE h, int len, uint8_t *buf) {
    return guarded(h, L, requireBuffer(buf), [&](D &d) { return d.KORVEXDevice_GetLCDFWVersion(len, buf); });
}

KORVEX_API int KORVEX_FactoryDataReset(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_FactoryDataReset(); });
}
KORVEX_API int KORVEX_PinTestMode(KORVEX_HANDLE h, uint32_t *value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_PinTestMode(value); });
}
KORVEX_API int KORVEX_PinTestSysReset(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_PinTestSysReset(); });
}
KORVEX_API int KORVEX_LEDTestMode(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_LEDTestMode(); });
}
KORVEX_API int KORVEX_PROLCDTestMode(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_PROLCDTestMode(); });
}

}  // extern "C"
