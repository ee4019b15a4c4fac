// Target memory: single reads and writes by memory type, the chunked transfers built on them,
// write-sequence brackets and erases.
#include "commands_target.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

#include <algorithm>

namespace korvex {
namespace {

enum MemoryType : uint8_t {
    kMainFlash = 0,
    kSpim = 1,
    kUserSystemData = 2,
    kOtpDataRead = 3,
    kOtpLockRead = 4,
    kOtpDataWrite = 7,
    kOtpLockWrite = 8,
};
enum SequenceKind : uint8_t { kSeqMainFlash = 3, kSeqSpim = 4, kSeqUserSystemData = 5, kSeqOtpData = 6 };
enum EraseType : uint8_t {
    kEraseSectors = 0,
    kEraseSpimSectors = 1,
    kEraseBank1 = 3,
    kEraseBank2 = 4,
    kEraseSpim = 5,
    kEraseMainFlash = 6,
    kEraseSystemMemory = 7,
    kEraseBlocks = 8,
};

constexpr size_t kMemoryHeader = 8;
constexpr uint32_t kSpimWindowFirst = 0x08400000;
constexpr uint32_t kSpimWindowLast = 0x093FFFFF;

bool inSpimWindow(uint32_t addr) { return addr >= kSpimWindowFirst && addr <= kSpimWindowLast; }
uint8_t typeForAddress(uint32_t addr) { return inSpimWindow(addr) ? kSpim : kMainFlash; }

uint32_t eraseTimeout(uint8_t type) {
    switch (type) {
    case kEraseBank1:
    case kEraseBank2:
    case kEraseMainFlash: return kLong;
    case kEraseSpim:
    case kEraseSystemMemory: return kVeryLong;
    default: return kShort;
    }
}

}  // namespace

int ZRDeviceControl::KORVEXDevice_ReadMemory_Target(uint8_t type, uint32_t addr, int len, uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (type > kOtpLockRead || len < 0 || static_cast<size_t>(len) > payloadSize(inPacketSize(), kMemoryHeader))
        return INPUT_PARAMS_ERROR;
    Reply reply;
    const RequestArgs args{{}, addr, static_cast<uint16_t>(len)};
    int rc = exchange(*this, target_cmd::ReadMemory.withSub(type), args, reply);
    if (rc == kSuccess) std::copy_n(reply.bytes() + kMemoryHeader, len, buf);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_WriteMemory_Target(uint8_t type, uint32_t addr, int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (type > kOtpLockRead || len < 0 || static_cast<size_t>(len) > payloadSize(outPacketSize(), kMemoryHeader))
        return INPUT_PARAMS_ERROR;
    const Command command = target_cmd::WriteMemory.withSub(type).withTimeout(type == kUserSystemData ? kLong : kShort);
    const RequestArgs args{ByteView(data, static_cast<size_t>(len)), addr, static_cast<uint16_t>(len)};
    return statusExchange(*this, command, args);
}

int ZRDeviceControl::KORVEXDevice_WriteOTPMemory_Target(uint8_t type, uint32_t addr, int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if ((type != kOtpDataWrite && type != kOtpLockWrite) || len < 0 ||
        static_cast<size_t>(len) > payloadSize(outPacketSize(), kMemoryHeader))
        return INPUT_PARAMS_ERROR;
    const RequestArgs args{ByteView(data, static_cast<size_t>(len)), addr, static_cast<uint16_t>(len)};
    return statusExchange(*this, target_cmd::WriteMemory.withSub(type), args);
}

int ZRDeviceControl::KORVEXDevice_UPLoad_Target(uint32_t addr, int len, uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    const uint8_t type = typeForAddress(addr);
    return readChunked(addr, len, buf, payloadSize(inPacketSize(), kMemoryHeader),
                       [&](uint32_t a, int n, uint8_t *chunk) { return KORVEXDevice_ReadMemory_Target(type, a, n, chunk); });
}

int ZRDeviceControl::KORVEXDevice_DownLoad_Target(uint32_t addr, int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    const uint8_t type = typeForAddress(addr);
    return writeChunked(addr, len, data, payloadSize(outPacketSize(), kMemoryHeader),
                        [&](uint32_t a, int n, const uint8_t *chunk) {
                            return KORVEXDevice_WriteMemory_Target(type, a, n, chunk);
                        });
}

int ZRDeviceControl::KORVEXDevice_ReadUserSystemData_Target(int len, uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return readChunked(0, len, buf, payloadSize(inPacketSize(), kMemoryHeader), [&](uint32_t a, int n, uint8_t *chunk) {
        return KORVEXDevice_ReadMemory_Target(kUserSystemData, a, n, chunk);
    });
}

int ZRDeviceControl::KORVEXDevice_WriteUserSystemData_Target(int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return writeChunked(0, len, data, payloadSize(outPacketSize(), kMemoryHeader),
                        [&](uint32_t a, int n, const uint8_t *chunk) {
                            return KORVEXDevice_WriteMemory_Target(kUserSystemData, a, n, chunk);
                        });
}

int ZRDeviceControl::KORVEXDevice_ReadOTPData_Target(uint32_t addr, int len, uint8_t *buf, uint8_t area) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    const uint8_t type = area == 0 ? kOtpDataRead : kOtpLockRead;
    return readChunked(addr, len, buf, payloadSize(inPacketSize(), kMemoryHeader),
                       [&](uint32_t a, int n, uint8_t *chunk) { return KORVEXDevice_ReadMemory_Target(type, a, n, chunk); });
}

int ZRDeviceControl::KORVEXDevice_DownloadOTPData_Target(uint32_t addr, int len, const uint8_t *data, uint8_t area) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    const uint8_t type = area == 0 ? kOtpDataWrite : kOtpLockWrite;
    return writeChunked(addr, len, data, payloadSize(outPacketSize(), kMemoryHeader),
                        [&](uint32_t a, int n, const uint8_t *chunk) {
                            return KORVEXDevice_WriteOTPMemory_Target(type, a, n, chunk);
                        });
}

int ZRDeviceControl::KORVEXDevice_WriteBeginEnd_Target(uint8_t kind, uint8_t phase) {
    return statusWith(*this, target_cmd::WriteBeginEnd.withSub(kind), {phase});
}

int ZRDeviceControl::KORVEXDevice_Erase_Target(uint8_t type, uint32_t addr, uint16_t count) {
    if (type > kEraseBlocks) return INPUT_PARAMS_ERROR;
    const Command command = target_cmd::Erase.withSub(type).withTimeout(eraseTimeout(type));
    return statusExchange(*this, command, RequestArgs{{}, addr, count});
}

int ZRDeviceControl::KORVEXDevice_SectorErase_Target(uint32_t addr, uint16_t count) {
    return KORVEXDevice_Erase_Target(inSpimWindow(addr) ? kEraseSpimSectors : kEraseSectors, addr, count);
}

int ZRDeviceControl::KORVEXDevice_BlockErase_Target(uint32_t addr, uint16_t count) {
    return KORVEXDevice_Erase_Target(kEraseBlocks, addr, count);
}

enum Phase : uint8_t { kBegin = 0, kEnd = 1 };
int ZRDeviceControl::KORVEXDevice_WriteMainFlashBegin_Target() { return KORVEXDevice_WriteBeginEnd_Target(kSeqMainFlash, kBegin); }
int ZRDeviceControl::KORVEXDevice_WriteMainFlashEnd_Target() { return KORVEXDevice_WriteBeginEnd_Target(kSeqMainFlash, kEnd); }
int ZRDeviceControl::KORVEXDevice_WriteSPIMBegin_Target() { return KORVEXDevice_WriteBeginEnd_Target(kSeqSpim, kBegin); }
int ZRDeviceControl::KORVEXDevice_WriteSPIMEnd_Target() { return KORVEXDevice_WriteBeginEnd_Target(kSeqSpim, kEnd); }
int ZRDeviceControl::KORVEXDevice_WriteUserSystemDataBegin_Target() {
    return KORVEXDevice_WriteBeginEnd_Target(kSeqUserSystemData, kBegin);
}
int ZRDeviceControl::KORVEXDevice_WriteUserSystemDataEnd_Target() {
    return KORVEXDevice_WriteBeginEnd_Target(kSeqUserSystemData, kEnd);
}
int ZRDeviceControl::KORVEXDevice_DownloadOTPDataBegin_Target() { return KORVEXDevice_WriteBeginEnd_Target(kSeqOtpData, kBegin); }
int ZRDeviceControl::KORVEXDevice_DownloadOTPDataEnd_Target() { return KORVEXDevice_WriteBeginEnd_Target(kSeqOtpData, kEnd); }

int ZRDeviceControl::KORVEXDevice_Bank1AllErase_Target() { return KORVEXDevice_Erase_Target(kEraseBank1, 0, 0); }
int ZRDeviceControl::KORVEXDevice_Bank2AllErase_Target() { return KORVEXDevice_Erase_Target(kEraseBank2, 0, 0); }
int ZRDeviceControl::KORVEXDevice_SPIMAllErase_Target() { return KORVEXDevice_Erase_Target(kEraseSpim, 0, 0); }
int ZRDeviceControl::KORVEXDevice_MainFlashAllErase_Target() { return KORVEXDevice_Erase_Target(kEraseMainFlash, 0, 0); }
int ZRDeviceControl::KORVEXDevice_OTP3AllErase_Target() { return KORVEXDevice_Erase_Target(kEraseSystemMemory, 0, 0); }

}  // namespace korvex
