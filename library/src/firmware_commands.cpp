// Firmware update of the probe and of its display.
#include "commands_firmware.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

namespace korvex {
namespace {

namespace cmd = firmware_cmd;

constexpr size_t kProbeDataHeader = 8;    // C0 03 length (2) address (4)
constexpr size_t kDisplayDataHeader = 6;  // C1 03 n last offset (2)
constexpr size_t kModeReplyLength = 5;
constexpr size_t kVerifyReplyLength = 5;
constexpr uint8_t kBeginCode = 0x01;
constexpr uint8_t kDisplayBeginMarker = 0xA1;
constexpr uint8_t kDisplayEndMarker = 0xA2;

bool badLength(int len, uint32_t packetSize, size_t header) {
    return len < 0 || static_cast<size_t>(len) > payloadSize(packetSize, header);
}

}  // namespace

int ZRDeviceControl::KORVEXDevice_EnterFWUpdateMode(uint8_t *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, cmd::EnterFWUpdateMode, {}, reply, kModeReplyLength);
    if (rc == kSuccess) *out = reply[4];
    return rc;
}

int ZRDeviceControl::KORVEXDevice_FWUpdateBegin() { return statusWith(*this, cmd::FWUpdateBegin, {kBeginCode}); }

int ZRDeviceControl::KORVEXDevice_FWUpdateSetCodeRange(uint32_t start, int size) {
    std::vector<uint8_t> params = be32(start);
    putU32(params, static_cast<uint32_t>(size));
    return statusWith(*this, cmd::FWUpdateSetCodeRange, params);
}

int ZRDeviceControl::KORVEXDevice_FWUpdateSendData(uint32_t addr, int len, const uint8_t *data) {
    if (badLength(len, outPacketSize(), kProbeDataHeader)) return INPUT_PARAMS_ERROR;
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    std::vector<uint8_t> payload = be32(addr);
    putBytes(payload, ByteView(data, static_cast<size_t>(len)));
    return statusWith(*this, cmd::FWUpdateSendData, payload);
}

int ZRDeviceControl::KORVEXDevice_FWUpdate(uint32_t addr, int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return writeChunked(addr, len, data, payloadSize(outPacketSize(), kProbeDataHeader),
                        [&](uint32_t a, int n, const uint8_t *chunk) { return KORVEXDevice_FWUpdateSendData(a, n, chunk); });
}

int ZRDeviceControl::KORVEXDevice_FWUpdateEnd(uint8_t flag) { return statusWith(*this, cmd::FWUpdateEnd, {flag}); }

int ZRDeviceControl::KORVEXDevice_FWUpdateVerify(uint32_t value) {
    Reply reply;
    int rc = exchange(*this, cmd::FWUpdateVerify, {be32(value)}, reply, kVerifyReplyLength);
    if (rc != kSuccess) return rc;
    return reply[4] == 0 ? kSuccess : kVerifyMismatch;
}

int ZRDeviceControl::KORVEXDevice_FWRun() { return statusExchange(*this, cmd::FWRun); }

int ZRDeviceControl::KORVEXDevice_EnterLCDFWUpdateMode() { return statusExchange(*this, cmd::EnterLCDFWUpdateMode); }

int ZRDeviceControl::KORVEXDevice_LCDFWUpdateBegin(bool flag) {
    return statusWith(*this, cmd::LCDFWUpdateBegin, {kDisplayBeginMarker, static_cast<uint8_t>(flag ? 1 : 0)});
}

int ZRDeviceControl::KORVEXDevice_LCDFWUpdateSetCodeSize(int size) {
    return statusWith(*this, cmd::LCDFWUpdateSetCodeSize, be32(static_cast<uint32_t>(size)));
}

int ZRDeviceControl::KORVEXDevice_LCDFWUpdateSendData(int len, const uint8_t *data, bool last, int offset) {
    if (badLength(len, outPacketSize(), kDisplayDataHeader)) return INPUT_PARAMS_ERROR;
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    std::vector<uint8_t> params{static_cast<uint8_t>(last ? 1 : 0)};
    putU16(params, static_cast<uint16_t>(offset));
    putBytes(params, ByteView(data, static_cast<size_t>(len)));
    return statusWith(*this, cmd::LCDFWUpdateSendData, params);
}

// The final chunk (the remainder, or the last full chunk) carries the last flag.
int ZRDeviceControl::KORVEXDevice_LCDFWUpdate(int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    const size_t total = len < 0 ? 0 : static_cast<size_t>(len);
    return forEachChunk(0, len, payloadSize(outPacketSize(), kDisplayDataHeader), [&](uint32_t, size_t offset, size_t n) {
        return KORVEXDevice_LCDFWUpdateSendData(static_cast<int>(n), data + offset, offset + n == total,
                                                static_cast<int>(offset));
    });
}

int ZRDeviceControl::KORVEXDevice_LCDFWUpdateEnd() { return statusWith(*this, cmd::LCDFWUpdateEnd, {kDisplayEndMarker}); }

}  // namespace korvex
