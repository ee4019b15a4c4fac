// Offline programming: which stored projects the probe burns, and the data stored under each code
// index. Every stored-data operation refuses an index above 15 before sending: the index shares its
// byte with the area offset, so a larger one would land in another slot or area.
#include "commands_offline.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

#include <algorithm>

namespace korvex {
namespace {

namespace cmd = offline_cmd;

constexpr uint8_t kMaxCodeIndex = 15;
constexpr uint8_t kMaxProjects = 16;
constexpr uint8_t kMaxTimesKind = 2;
constexpr uint8_t kSelectorAll = 0xA0;
constexpr uint8_t kSelectorFirst = 0xB0;
constexpr uint8_t kSelectorLast = 0xBF;
constexpr uint8_t kBeginMarker = 0x00;

constexpr size_t kMemoryHeader = 8;
constexpr size_t kDebugHeader = 9;
constexpr size_t kConfigHeader = 4;  // BC sub length (2) / BD sub length (2)
constexpr int kOptionBlock = 48;
constexpr size_t kOptionReplyLength = 4 + kOptionBlock;
constexpr size_t kVerifyReplyLength = 4;
constexpr uint8_t kDebugByteWidth = 8;

// The area offsets added to the code index in byte 1.
enum Area : uint8_t { kMain = 0x00, kVerify = 0x10, kOptionExtend = 0x10, kOtpData = 0x20, kOtpLock = 0x30, kOtpWrite = 0x40 };
constexpr uint8_t kConfigParts[] = {0x00, 0x10, 0x20, 0x30};

bool badIndex(uint8_t index) { return index > kMaxCodeIndex; }
bool badSelector(uint8_t sel) { return sel != kSelectorAll && (sel < kSelectorFirst || sel > kSelectorLast); }
bool badLength(int len, uint32_t packetSize, size_t header) {
    return len < 0 || static_cast<size_t>(len) > payloadSize(packetSize, header);
}
uint8_t indexed(uint8_t index, uint8_t area) { return static_cast<uint8_t>(index + area); }

}  // namespace

// ---- code number and index ----

int ZRDeviceControl::KORVEXDevice_GetCodeNumber(uint8_t *out) { return readByte(*this, cmd::GetCodeNumber, out); }

int ZRDeviceControl::KORVEXDevice_SetCodeNumber(uint8_t n) {
    if (n != 1 && n != 2 && n != 4 && n != 8 && n != 16) return INPUT_PARAMS_ERROR;
    return statusWith(*this, cmd::SetCodeNumber, {n});
}

int ZRDeviceControl::KORVEXDevice_GetDownloadCodeIndex(uint8_t *a, uint8_t *b) {
    if (!a || !b) return INPUT_PARAMS_ERROR;
    uint8_t data[2];
    int rc = dataExchange(*this, cmd::GetDownloadCodeIndex, {}, data, sizeof data);
    if (rc == kSuccess) {
        *a = data[0];
        *b = data[1];
    }
    return rc;
}

int ZRDeviceControl::KORVEXDevice_SetDownloadCodeIndex(uint8_t a, uint8_t b) {
    return statusWith(*this, cmd::SetDownloadCodeIndex, {a, b});
}

int ZRDeviceControl::KORVEXDevice_DeleteOfflineConfIndex(uint8_t sel, uint8_t n) {
    if (badSelector(sel) || n > kMaxProjects) return INPUT_PARAMS_ERROR;
    return statusWith(*this, cmd::DeleteOfflineConfIndex, {sel, n});
}

int ZRDeviceControl::KORVEXDevice_BeginOfflineDownloadCode() {
    return statusWith(*this, cmd::BeginOfflineDownloadCode, {kBeginMarker});
}

int ZRDeviceControl::KORVEXDevice_GetDownloadTimes(uint8_t sel, uint8_t n, uint8_t kind, int *out) {
    if (!out || badSelector(sel) || n > kMaxProjects || kind > kMaxTimesKind) return INPUT_PARAMS_ERROR;
    const uint8_t request[] = {sel, n, kind};
    uint8_t value[4];
    int rc = dataExchange(*this, cmd::GetDownloadTimes, {ByteView(request, sizeof request)}, value, sizeof value);
    if (rc == kSuccess) *out = static_cast<int>(getU32(value));
    return rc;
}

int ZRDeviceControl::KORVEXDevice_GetProjectOneDownloadFunc(uint8_t *out) {
    return readByte(*this, cmd::GetProjectOneDownloadFunc, out);
}

// ---- stored images ----

int ZRDeviceControl::KORVEXDevice_WriteStoredArea(const Command &command, uint8_t index, uint8_t area, uint32_t addr,
                                                  int len, const uint8_t *data) {
    if (badIndex(index) || badLength(len, outPacketSize(), kMemoryHeader)) return INPUT_PARAMS_ERROR;
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    const RequestArgs args{ByteView(data, static_cast<size_t>(len)), addr, static_cast<uint16_t>(len)};
    return statusExchange(*this, command.withSub(indexed(index, area)), args);
}

int ZRDeviceControl::KORVEXDevice_ReadStoredArea(const Command &command, uint8_t index, uint8_t area, uint32_t addr,
                                                 int len, uint8_t *buf) {
    if (badIndex(index) || badLength(len, inPacketSize(), kMemoryHeader)) return INPUT_PARAMS_ERROR;
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    Reply reply;
    int rc = exchange(*this, command.withSub(indexed(index, area)), {{}, addr, static_cast<uint16_t>(len)}, reply);
    if (rc == kSuccess) std::copy_n(reply.bytes() + kMemoryHeader, len, buf);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_WriteStoredChunked(const Command &command, uint8_t index, uint8_t area, uint32_t addr,
                                                     int len, const uint8_t *data) {
    if (badIndex(index)) return INPUT_PARAMS_ERROR;
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return writeChunked(addr, len, data, payloadSize(outPacketSize(), kMemoryHeader),
                        [&](uint32_t a, int n, const uint8_t *chunk) {
                            return KORVEXDevice_WriteStoredArea(command, index, area, a, n, chunk);
                        });
}

int ZRDeviceControl::KORVEXDevice_ReadStoredChunked(const Command &command, uint8_t index, uint8_t area, uint32_t addr,
                                                    int len, uint8_t *buf) {
    if (badIndex(index)) return INPUT_PARAMS_ERROR;
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return readChunked(addr, len, buf, payloadSize(inPacketSize(), kMemoryHeader), [&](uint32_t a, int n, uint8_t *chunk) {
        return KORVEXDevice_ReadStoredArea(command, index, area, a, n, chunk);
    });
}

int ZRDeviceControl::KORVEXDevice_WriteMemory_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return KORVEXDevice_WriteStoredArea(cmd::WriteMemory, index, kMain, addr, len, data);
}
int ZRDeviceControl::KORVEXDevice_WriteMainData_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return KORVEXDevice_WriteStoredChunked(cmd::WriteMemory, index, kMain, addr, len, data);
}
int ZRDeviceControl::KORVEXDevice_ReadMemory_Device(uint8_t index, uint32_t addr, int len, uint8_t *buf) {
    return KORVEXDevice_ReadStoredArea(cmd::ReadMemory, index, kMain, addr, len, buf);
}
int ZRDeviceControl::KORVEXDevice_ReadMainData_Device(uint8_t index, uint32_t addr, int len, uint8_t *buf) {
    return KORVEXDevice_ReadStoredChunked(cmd::ReadMemory, index, kMain, addr, len, buf);
}

int ZRDeviceControl::KORVEXDevice_VerifyMainData_Device(uint8_t index, uint32_t addr, uint32_t len) {
    if (badIndex(index)) return INPUT_PARAMS_ERROR;
    std::vector<uint8_t> params = be32(addr);
    putU32(params, len);
    Reply reply;
    int rc = exchange(*this, cmd::VerifyMainData.withSub(indexed(index, kVerify)), {params}, reply, kVerifyReplyLength);
    if (rc != kSuccess) return rc;
    return reply[3] == 0 ? kSuccess : kVerifyMismatch;
}

// ---- option and OTP data ----

int ZRDeviceControl::KORVEXDevice_WriteOPTData_Device(uint8_t index, int len, const uint8_t *data) {
    if (badIndex(index) || len != kOptionBlock || outPacketSize() < kConfigHeader + kOptionBlock) return INPUT_PARAMS_ERROR;
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return statusExchange(*this, cmd::WriteOPTData.withSub(index), {ByteView(data, kOptionBlock)});
}

int ZRDeviceControl::KORVEXDevice_ReadOPTData_Device(uint8_t index, int len, uint8_t *buf) {
    if (badIndex(index) || len != kOptionBlock || inPacketSize() < kOptionReplyLength) return INPUT_PARAMS_ERROR;
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    const std::vector<uint8_t> blockLength = be16(kOptionBlock);
    Reply reply;
    int rc = exchange(*this, cmd::ReadOPTData.withSub(index), {blockLength}, reply, kOptionReplyLength);
    if (rc != kSuccess) return rc;
    if (getU16(reply.bytes() + 2) != kOptionBlock) return TRANS_READ_PARAMS_ERROR;
    std::copy_n(reply.bytes() + 4, kOptionBlock, buf);
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_WriteOPTDataExtend_Device_Sub(uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return KORVEXDevice_WriteStoredArea(cmd::WriteArea, index, kOptionExtend, addr, len, data);
}
int ZRDeviceControl::KORVEXDevice_WriteOPTDataExtend_Device(uint8_t index, int len, const uint8_t *data) {
    return KORVEXDevice_WriteStoredChunked(cmd::WriteArea, index, kOptionExtend, 0, len, data);
}
int ZRDeviceControl::KORVEXDevice_ReadOPTDataExtend_Device_Sub(uint8_t index, uint32_t addr, int len, uint8_t *buf) {
    return KORVEXDevice_ReadStoredArea(cmd::ReadArea, index, kOptionExtend, addr, len, buf);
}
int ZRDeviceControl::KORVEXDevice_ReadOPTDataExtend_Device(uint8_t index, int len, uint8_t *buf) {
    return KORVEXDevice_ReadStoredChunked(cmd::ReadArea, index, kOptionExtend, 0, len, buf);
}
int ZRDeviceControl::KORVEXDevice_WriteOTPData_Device_Sub(uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return KORVEXDevice_WriteStoredArea(cmd::WriteArea, index, kOtpData, addr, len, data);
}
int ZRDeviceControl::KORVEXDevice_WriteOTPData_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return KORVEXDevice_WriteStoredChunked(cmd::WriteArea, index, kOtpData, addr, len, data);
}
int ZRDeviceControl::KORVEXDevice_SetOTPLockParameters_Device_Sub(uint8_t index, uint32_t addr, int len,
                                                                  const uint8_t *data) {
    return KORVEXDevice_WriteStoredArea(cmd::WriteArea, index, kOtpLock, addr, len, data);
}
int ZRDeviceControl::KORVEXDevice_SetOTPLockParameters_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return KORVEXDevice_WriteStoredChunked(cmd::WriteArea, index, kOtpLock, addr, len, data);
}
int ZRDeviceControl::KORVEXDevice_SetOTPWriteParameters_Device_Sub(uint8_t index, uint32_t addr, int len,
                                                                   const uint8_t *data) {
    return KORVEXDevice_WriteStoredArea(cmd::WriteArea, index, kOtpWrite, addr, len, data);
}
int ZRDeviceControl::KORVEXDevice_SetOTPWriteParameters_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data) {
    return KORVEXDevice_WriteStoredChunked(cmd::WriteArea, index, kOtpWrite, addr, len, data);
}

// ---- offline configuration parts ----

int ZRDeviceControl::KORVEXDevice_GetOfflineConfig(uint8_t part, uint8_t index, int len, uint8_t *buf) {
    if (badIndex(index) || badLength(len, inPacketSize(), kConfigHeader)) return INPUT_PARAMS_ERROR;
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    Reply reply;
    const Command command = cmd::GetOfflineConfig.withSub(indexed(index, kConfigParts[part]));
    int rc = exchange(*this, command, {}, reply, kConfigHeader + static_cast<size_t>(len));
    if (rc != kSuccess) return rc;
    if (getU16(reply.bytes() + 2) != len) return TRANS_READ_PARAMS_ERROR;
    std::copy_n(reply.bytes() + kConfigHeader, len, buf);
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_SetOfflineConfig(uint8_t part, uint8_t index, int len, const uint8_t *data) {
    if (badIndex(index) || badLength(len, outPacketSize(), kConfigHeader)) return INPUT_PARAMS_ERROR;
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    const Command command = cmd::SetOfflineConfig.withSub(indexed(index, kConfigParts[part]));
    return statusExchange(*this, command, {ByteView(data, static_cast<size_t>(len))});
}

int ZRDeviceControl::KORVEXDevice_DebugReadMemory_Device(uint32_t addr, int len, uint8_t *buf) {
    if (badLength(len, inPacketSize(), kDebugHeader)) return INPUT_PARAMS_ERROR;
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    Reply reply;
    int rc = exchange(*this, cmd::DebugReadMemory, {{}, addr, static_cast<uint16_t>(len), kDebugByteWidth}, reply);
    if (rc == kSuccess) std::copy_n(reply.bytes() + kDebugHeader, len, buf);
    return rc;
}

}  // namespace korvex
