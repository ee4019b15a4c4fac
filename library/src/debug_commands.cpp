// Debug access to target memory and registers at a chosen access width.
#include "commands_target.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

#include <algorithm>

namespace korvex {
namespace {

constexpr size_t kDebugHeader = 9;
constexpr uint8_t kWidth16 = 0x10;
constexpr uint8_t kWidth32 = 0x20;
constexpr uint16_t kRegisterSize = 4;

// Bytes per access unit; a chunk never splits a unit.
size_t unitSize(uint8_t width) { return width == kWidth32 ? 4 : width == kWidth16 ? 2 : 1; }

size_t debugChunkSize(uint32_t packetSize, uint8_t width) {
    const size_t unit = unitSize(width);
    return payloadSize(packetSize, kDebugHeader) / unit * unit;
}

bool wholeUnits(int len, uint8_t width) { return len % static_cast<int>(unitSize(width)) == 0; }

}  // namespace

int ZRDeviceControl::KORVEXDevice_DebugReadMemory_Target_Sub(uint32_t addr, int len, uint8_t *buf, uint8_t width) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (len < 0 || static_cast<size_t>(len) > payloadSize(inPacketSize(), kDebugHeader)) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, target_cmd::DebugRead, {{}, addr, static_cast<uint16_t>(len), width}, reply);
    if (rc == kSuccess) std::copy_n(reply.bytes() + kDebugHeader, len, buf);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_DebugWriteMemory_Target_Sub(uint32_t addr, int len, const uint8_t *data,
                                                              uint8_t width) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (len < 0 || static_cast<size_t>(len) > payloadSize(outPacketSize(), kDebugHeader)) return INPUT_PARAMS_ERROR;
    const RequestArgs args{ByteView(data, static_cast<size_t>(len)), addr, static_cast<uint16_t>(len), width};
    return statusExchange(*this, target_cmd::DebugWrite, args);
}

// A length that splits an access unit is refused before anything else, the buffer included.
int ZRDeviceControl::KORVEXDevice_DebugReadMemory_Target(uint32_t addr, int len, uint8_t *buf, uint8_t width) {
    if (!wholeUnits(len, width)) return INPUT_PARAMS_ERROR;
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return readChunked(addr, len, buf, debugChunkSize(inPacketSize(), width), [&](uint32_t a, int n, uint8_t *chunk) {
        return KORVEXDevice_DebugReadMemory_Target_Sub(a, n, chunk, width);
    });
}

int ZRDeviceControl::KORVEXDevice_DebugWriteMemory_Target(uint32_t addr, int len, const uint8_t *data, uint8_t width) {
    if (!wholeUnits(len, width)) return INPUT_PARAMS_ERROR;
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return writeChunked(addr, len, data, debugChunkSize(outPacketSize(), width),
                        [&](uint32_t a, int n, const uint8_t *chunk) {
                            return KORVEXDevice_DebugWriteMemory_Target_Sub(a, n, chunk, width);
                        });
}

int ZRDeviceControl::KORVEXDevice_DebugReadRegister_Target(uint32_t addr, uint32_t *out) {
    if (!out) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    Reply reply;
    int rc = exchange(*this, target_cmd::DebugRead, {{}, addr, kRegisterSize, kWidth32}, reply);
    if (rc == kSuccess) *out = getU32(reply.bytes() + kDebugHeader);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_DebugWriteRegister_Target(uint32_t addr, uint32_t value) {
    const std::vector<uint8_t> word = be32(value);
    return statusExchange(*this, target_cmd::DebugWriteRegister, {word, addr, kRegisterSize, kWidth32});
}

}  // namespace korvex
