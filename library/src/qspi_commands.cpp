// The external QSPI flash: controller set-up, register words, and the flash itself in chunks.
#include "commands_qspi.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

#include <algorithm>

namespace korvex {
namespace {

constexpr size_t kMemoryHeader = 8;
constexpr size_t kWordReplyLength = 10;  // C2 02, address echo (4), 4 data bytes
constexpr size_t kWordDataOffset = 6;
constexpr int kMaxWordRead = 4;
constexpr int kBitWriteLength = 8;
constexpr int kWriteOnlyLength = 4;
constexpr int kConfigBlockLength = 18;
constexpr int kCustomBlockLength = 17;
constexpr int kMaxEraseCount = 0xFFFF;

// A length the request cannot carry whole (negative, or past what one packet holds).
bool outOfPacket(int len, uint32_t packetSize) {
    return len < 0 || static_cast<size_t>(len) > payloadSize(packetSize, kMemoryHeader);
}

// An opaque parameter block, passed through byte for byte.
int sendBlock(ZRDeviceControl &d, const Command &command, int len, int expected, const uint8_t *block) {
    if (len != expected) return TRANS_INVALID_HANDLE_VALUE;  // the code callers of this command expect
    if (!block) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return statusExchange(d, command, {ByteView(block, static_cast<size_t>(len))});
}

// The count travels in 16 bits: anything outside would wrap into another erase.
int erase(ZRDeviceControl &d, const Command &command, uint32_t addr, int count) {
    if (count < 0 || count > kMaxEraseCount) return INPUT_PARAMS_ERROR;
    return statusExchange(d, command, RequestArgs{{}, addr, static_cast<uint16_t>(count)});
}

}  // namespace

int ZRDeviceControl::KORVEXDevice_QSPI_Bit_Write(uint32_t addr, int len, const uint8_t *data) {
    if (len != kBitWriteLength || !data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return statusExchange(*this, qspi_cmd::BitWrite, {ByteView(data, kBitWriteLength), addr});
}

int ZRDeviceControl::KORVEXDevice_QSPI_Write_Only_Transfer(uint32_t addr, int len, const uint8_t *data) {
    if (len != kWriteOnlyLength || !data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return statusExchange(*this, qspi_cmd::WriteOnlyTransfer, {ByteView(data, kWriteOnlyLength), addr});
}

int ZRDeviceControl::KORVEXDevice_QSPI_Read_Only_Transfer(uint32_t addr, int len, uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (len < 0 || len > kMaxWordRead) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, qspi_cmd::ReadOnlyTransfer, {{}, addr}, reply, kWordReplyLength);
    if (rc == kSuccess) std::copy_n(reply.bytes() + kWordDataOffset, len, buf);
    return rc;
}

int ZRDeviceControl::KORVEXDevice_QSPI_Set_State(uint8_t state) { return statusWith(*this, qspi_cmd::SetState, {state}); }

int ZRDeviceControl::KORVEXDevice_QSPI_Set_Register_Base_Addr(uint32_t addr) {
    return statusWith(*this, qspi_cmd::SetRegisterBaseAddr, be32(addr));
}

int ZRDeviceControl::KORVEXDevice_QSPI_Read_Memory(uint32_t addr, int len, uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (outOfPacket(len, inPacketSize())) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, qspi_cmd::ReadMemory, {{}, addr, static_cast<uint16_t>(len)}, reply);
    if (rc == kSuccess) std::copy_n(reply.bytes() + kMemoryHeader, len, buf);
    return rc;
}

// A HID report would cut a longer chunk short without a word, so the length is checked here too.
int ZRDeviceControl::KORVEXDevice_QSPI_Write_Memory(uint32_t addr, int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (outOfPacket(len, outPacketSize())) return INPUT_PARAMS_ERROR;
    const RequestArgs args{ByteView(data, static_cast<size_t>(len)), addr, static_cast<uint16_t>(len)};
    return statusExchange(*this, qspi_cmd::WriteMemory, args);
}

int ZRDeviceControl::KORVEXDevice_QSPI_Sector_Erase_Memory(uint32_t addr, int count) {
    return erase(*this, qspi_cmd::SectorErase, addr, count);
}

int ZRDeviceControl::KORVEXDevice_QSPI_Block_Erase_Memory(uint32_t addr, int count) {
    return erase(*this, qspi_cmd::BlockErase, addr, count);
}

int ZRDeviceControl::KORVEXDevice_QSPI_Chip_Erase_Memory() { return statusExchange(*this, qspi_cmd::ChipErase); }

int ZRDeviceControl::KORVEXDevice_QSPI_Config_Cmd_Parameter(int len, const uint8_t *block) {
    return sendBlock(*this, qspi_cmd::ConfigCmdParameter, len, kConfigBlockLength, block);
}

int ZRDeviceControl::KORVEXDevice_QSPI_Send_Custom_Cmd(int len, const uint8_t *block) {
    return sendBlock(*this, qspi_cmd::SendCustomCmd, len, kCustomBlockLength, block);
}

int ZRDeviceControl::KORVEXDevice_QSPI_DownLoad_Target(uint32_t addr, int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return writeChunked(addr, len, data, payloadSize(outPacketSize(), kMemoryHeader),
                        [&](uint32_t a, int n, const uint8_t *chunk) { return KORVEXDevice_QSPI_Write_Memory(a, n, chunk); });
}

int ZRDeviceControl::KORVEXDevice_QSPI_UPLoad_Target(uint32_t addr, int len, uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return readChunked(addr, len, buf, payloadSize(inPacketSize(), kMemoryHeader),
                       [&](uint32_t a, int n, uint8_t *chunk) { return KORVEXDevice_QSPI_Read_Memory(a, n, chunk); });
}

}  // namespace korvex
