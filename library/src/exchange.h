// The one request/reply exchange every command makes, and the one chunking loop every transfer
// uses. All reply checks live here, so each command is a table row plus its own arguments.
#pragma once

#include "byte_view.h"
#include "command.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvex {

class ZRDeviceControl;

// The variable part of a request; which fields count depends on the command's request form.
struct RequestArgs {
    ByteView bytes;        // parameters, fixed argument bytes, or the data written
    uint32_t address = 0;  // Memory, DebugMemory
    uint16_t length = 0;   // Memory, DebugMemory: the length (or erase count) field
    uint8_t width = 0;     // DebugMemory: access width in bits
};

class Reply {
public:
    static constexpr size_t kMaxSize = 64;
    uint8_t *buffer() { return bytes_.data(); }
    const uint8_t *bytes() const { return bytes_.data(); }
    uint8_t operator[](size_t i) const { return bytes_[i]; }
    size_t size() const { return size_; }
    void setSize(size_t n) { size_ = n; }

private:
    std::array<uint8_t, kMaxSize> bytes_{};
    size_t size_ = 0;
};

// The request exactly as it goes on the wire.
std::vector<uint8_t> buildRequest(const Command &command, const RequestArgs &args);

// Sends the request, waits for the reply and checks it. Returns 0 or the failure code; `reply`
// holds whatever arrived. `replyLength` overrides the length the reply form implies (0: implied).
int exchange(ZRDeviceControl &device, const Command &command, const RequestArgs &args, Reply &reply,
             size_t replyLength = 0);

// A command answered by a status reply.
int statusExchange(ZRDeviceControl &device, const Command &command, const RequestArgs &args = {});

// A command answered by a data reply whose `n` data bytes are copied to `out` on success.
int dataExchange(ZRDeviceControl &device, const Command &command, const RequestArgs &args, uint8_t *out,
                 size_t n);

// A status command whose request carries these parameter bytes.
int statusWith(ZRDeviceControl &device, const Command &command, const std::vector<uint8_t> &params);

// A data command whose one data byte goes to `out` (null: INPUT_PARAMS_ERROR, nothing sent).
int readByte(ZRDeviceControl &device, const Command &command, uint8_t *out);

// Splits [address, address + length) into chunks of `chunkSize` (the last one shorter) and calls
// step(address, offset, size) for each in order. The first non-zero result ends the transfer.
template <typename Step>
int forEachChunk(uint32_t address, int length, size_t chunkSize, Step step) {
    if (length < 0 || (chunkSize == 0 && length > 0)) return INPUT_PARAMS_ERROR;
    for (size_t offset = 0; offset < static_cast<size_t>(length); offset += chunkSize) {
        const size_t n = std::min(chunkSize, static_cast<size_t>(length) - offset);
        int rc = step(static_cast<uint32_t>(address + offset), offset, n);
        if (rc != 0) return rc;
    }
    return 0;
}

// A chunked read: each chunk is read into a 0xFF-filled buffer by readOne(address, size, buffer)
// and copied to `out` only when it succeeded.
template <typename ReadOne>
int readChunked(uint32_t address, int length, uint8_t *out, size_t chunkSize, ReadOne readOne) {
    return forEachChunk(address, length, chunkSize, [&](uint32_t chunkAddress, size_t offset, size_t n) {
        std::vector<uint8_t> chunk(n, 0xFF);
        int rc = readOne(chunkAddress, static_cast<int>(n), chunk.data());
        if (rc == 0) std::copy(chunk.begin(), chunk.end(), out + offset);
        return rc;
    });
}

// A chunked write: writeOne(address, size, data) for each chunk of `data` in place.
template <typename WriteOne>
int writeChunked(uint32_t address, int length, const uint8_t *data, size_t chunkSize, WriteOne writeOne) {
    return forEachChunk(address, length, chunkSize, [&](uint32_t chunkAddress, size_t offset, size_t n) {
        return writeOne(chunkAddress, static_cast<int>(n), data + offset);
    });
}

// The data-carrying capacity of one packet after a header of `header` bytes.
inline size_t payloadSize(uint32_t packetSize, size_t header) {
    return packetSize > header ? packetSize - header : 0;
}

}  // namespace korvex
