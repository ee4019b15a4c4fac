// The firmware's command tables: one table per command group, one row per command. A row gives the
// request layout (so that the decoder knows how many bytes belong to the request, also inside a
// zero-padded HID report) and the handler that carries the command out and builds the reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "probe/packet.h"
#include "probe/probe_settings.h"

namespace ksim {

class TargetMcu;
class BleModule;
struct ProbeStore;

struct FirmwareContext {
    ProbeSettings &settings;
    TargetMcu &target;
    BleModule &ble;
    ProbeStore &store;
    std::string note;  // a handler's complaint about a request it refused as malformed
};

struct Layout {
    enum Kind : uint8_t {
        Fixed,      // exactly `size` bytes
        CountU8,    // `size` header bytes, then as many bytes as the byte at `countAt` says
        CountBe16,  // `size` header bytes, then as many bytes as the 16-bit field at `countAt` says
        Custom,     // the length follows from the contents (`length`)
    };
    Kind kind;
    uint8_t size;
    uint8_t countAt;
    size_t (*length)(const Bytes &request);  // Custom only; 0 when the request cannot be decoded
    const char *text;                        // the layout as the diagnostics show it
    int16_t parameterCount = -1;             // parameter form: byte 2 must hold this count
};

constexpr Layout fixed(uint8_t size, const char *text) { return {Layout::Fixed, size, 0, nullptr, text}; }
// Parameter form: cmd, sub, n, then n parameter bytes.
constexpr Layout param(uint8_t n, const char *text)
{
    return {Layout::Fixed, static_cast<uint8_t>(3 + n), 0, nullptr, text, n};
}
constexpr Layout countU8(uint8_t header, uint8_t at, const char *text) { return {Layout::CountU8, header, at, nullptr, text}; }
constexpr Layout countBe16(uint8_t header, uint8_t at, const char *text) { return {Layout::CountBe16, header, at, nullptr, text}; }
constexpr Layout custom(size_t (*length)(const Bytes &), const char *text) { return {Layout::Custom, 0, 0, length, text}; }

using Handler = Bytes (*)(const Packet &request, FirmwareContext &ctx);

struct CommandRow {
    uint8_t sub;  // byte 1: sub-command, memory type or erase type
    const char *name;
    Layout layout;
    Handler handle;
    uint8_t subCount = 1;  // the stored-data rows take byte 1 = area + code index: 16 (or more) values

    bool covers(uint8_t value) const { return value >= sub && value - sub < subCount; }
};

struct CommandGroup {
    uint8_t cmd;
    const char *name;
    const CommandRow *rows;
    size_t count;
    const CommandGroup *more = nullptr;  // further rows of the same group, defined in another file
};

// The groups, each defined beside its handlers.
extern const CommandGroup kProbeInfoGroup;      // B0
extern const CommandGroup kTargetInfoGroup;     // B1
extern const CommandGroup kMemoryReadGroup;     // B2
extern const CommandGroup kMemoryWriteGroup;    // B3
extern const CommandGroup kEraseGroup;          // B4
extern const CommandGroup kProtectionGroup;     // B5
extern const CommandGroup kFlashControlGroup;   // B6
extern const CommandGroup kEncryptionGroup;     // BB
extern const CommandGroup kBleGroup;            // BE
extern const CommandGroup kDebugGroup;          // CF
extern const CommandGroup kStoredImageGroup;    // B7
extern const CommandGroup kStoredDataWriteGroup;  // B8
extern const CommandGroup kStoredImageReadGroup;  // B9
extern const CommandGroup kStoredDataReadGroup;   // BA
extern const CommandGroup kOfflineConfigReadGroup;   // BC
extern const CommandGroup kOfflineConfigWriteGroup;  // BD
extern const CommandGroup kProbeFirmwareGroup;  // C0
extern const CommandGroup kDisplayFirmwareGroup;  // C1
extern const CommandGroup kQspiGroup;           // C2
// Rows that extend the groups above (`more`).
extern const CommandGroup kProbeSettingsRows;   // B0: supply, timing, peripherals, offline ISP
extern const CommandGroup kOfflineCodeRows;     // BB: offline code number and index
extern const CommandGroup kProbeTestRows;       // CF: probe memory, factory reset, production tests

// A refusal as a status reply, with the reason kept for the exchange log.
Bytes malformed(const Packet &request, FirmwareContext &ctx, const std::string &why);

// A memory read request (cmd, type, address at 2, length at 6) answered in the memory form; `read`
// is called as read(address, length, data) and returns the status.
template <typename Read>
Bytes answerMemoryRead(const Packet &r, FirmwareContext &ctx, Read read)
{
    constexpr uint16_t kMaxLength = 64 - 8;  // the reply must fit one packet
    const uint32_t address = r.be32(2);
    const uint16_t length = r.be16(6);
    if (length > kMaxLength)
        return malformed(r, ctx, "read length " + std::to_string(length) + ", at most " + std::to_string(kMaxLength) + " fit a reply");
    Bytes data;
    const Status status = read(address, length, data);
    return memoryReply(r.cmd(), status == Status::Ok ? r.sub() : statusByte(status), address, length, data);
}

// A one-byte setting (parameter form, value at byte 3) accepted up to `max`.
Bytes storeSetting(const Packet &r, FirmwareContext &ctx, uint8_t &setting, uint8_t max, const char *what);

}  // namespace ksim
