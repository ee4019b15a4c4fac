// Exports for the firmware update of the probe and of its display.
#include "handle_table.h"

using namespace korvex;
using D = ZRDeviceControl;

namespace {
constexpr Stamps L = Stamps::Link;
}

extern "C" {

KORVEX_API int KORVEX_EnterFWUpdateMode(KORVEX_HANDLE h, uint8_t *mode) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_EnterFWUpdateMode(mode); });
}
KORVEX_API int KORVEX_FWUpdateBegin(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_FWUpdateBegin(); });
}
KORVEX_API int KORVEX_FWUpdateSetCodeRange(KORVEX_HANDLE h, uint32_t start, int size) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_FWUpdateSetCodeRange(start, size); });
}
KORVEX_API int KORVEX_FWUpdate(KORVEX_HANDLE h, uint32_t addr, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_FWUpdate(addr, len, data); });
}
KORVEX_API int KORVEX_FWUpdateEnd(KORVEX_HANDLE h, uint8_t flag) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_FWUpdateEnd(flag); });
}
KORVEX_API int KORVEX_FWUpdateVerify(KORVEX_HANDLE h, uint32_t value) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_FWUpdateVerify(value); });
}
KORVEX_API int KORVEX_FWRun(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_FWRun(); });
}
KORVEX_API int KORVEX_EnterLCDFWUpdateMode(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_EnterLCDFWUpdateMode(); });
}
KORVEX_API int KORVEX_LCDFWUpdateBegin(KORVEX_HANDLE h, uint8_t flag) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_LCDFWUpdateBegin(flag != 0); });
}
KORVEX_API int KORVEX_LCDFWUpdateSetCodeSize(KORVEX_HANDLE h, int size) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_LCDFWUpdateSetCodeSize(size); });
}
KORVEX_API int KORVEX_LCDFWUpdate(KORVEX_HANDLE h, int len, const uint8_t *data) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_LCDFWUpdate(len, data); });
}
KORVEX_API int KORVEX_LCDFWUpdateEnd(KORVEX_HANDLE h) {
    return guarded(h, L, [&](D &d) { return d.KORVEXDevice_LCDFWUpdateEnd(); });
}

}  // extern "C"
