// KORVEXLIB_TRACE=FILE: every packet an open probe sends and receives, appended to FILE in the
// text layout of the virtual probe's exchange log, after a header with the probe's USB identity,
// so that a run recorded on hardware can be replayed without it (korvex-sim --replay).
//
//   trace 2026-12-06T23:20:01.123456Z
//   usb 4B56:F000
//   manufacturer Korvex
//   product Korvex Probe
//   serial KV0000000001
//   interface 0 hid 81/64 01/64 Korvex HID        number, kind, IN and OUT endpoint/size, name
//   interface 1 bulk 82/64 02/64 Korvex Bulk
//   opened 1 bulk                                  the interface this session talks through
//     unsolicited                                  a stale packet drained on opening
//       < B0 00 05 09 09 09 09 00
//     #1 bulk t=0.000412                           request number, transport, seconds since opening
//       > B0 00                                    HID reports end in "(+N zero bytes)"
//       < B0 00 05 02 01 07 00 01                  each read after it; "(no reply)" for none
//
// Only requests the probe accepted are numbered. Tracing never changes a result: a file that
// cannot be written just gets nothing.
#pragma once

#include "byte_view.h"
#include "device_entry.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace korvex {

class ExchangeTrace {
public:
    // Starts a session when KORVEXLIB_TRACE names a file that can be opened for appending.
    void start(libusb_device_handle *handle, const KorvexDeviceEntry &entry);
    void stop() { file_.reset(); }
    // A packet the probe accepted, as it went on the wire.
    void request(ByteView wire, bool viaHid);
    // One read: what came (count bytes), or count <= 0 for nothing.
    void reply(const uint8_t *bytes, int count, bool viaHid);

private:
    struct Closer {
        void operator()(FILE *file) const { std::fclose(file); }
    };
    std::unique_ptr<FILE, Closer> file_;
    uint64_t requests_ = 0;
    std::chrono::steady_clock::time_point opened_;
};

}  // namespace korvex
