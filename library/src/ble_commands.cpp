// The BLE module of series ZR32_S17, reached through the probe's SPI link.
#include "commands_ble.h"
#include "device_control.h"
#include "exchange.h"
#include "result_codes.h"

#include <algorithm>

namespace korvex {
namespace {

enum FlashSpace : uint8_t { kMainSpace = 0, kNvrSpace = 1, kRdnSpace = 2 };
enum BleEraseType : uint8_t { kEraseSpace = 5, kEraseSectors = 6, kEraseBlocks = 7 };

constexpr size_t kReadHeader = 8;
// A write chunk leaves room for the probe's own framing towards the module.
constexpr size_t kWriteHeader = 16;
constexpr size_t kRegisterReplyLength = 4;
constexpr uint8_t kNotProtected = 0xA5;

// The fixed sectors that make up the NVR and RDN spaces.
constexpr uint32_t kNvrSectors[] = {0x200, 0x20000, 0x20200};
constexpr uint32_t kRdnSectors[] = {0x0, 0x200, 0x20000, 0x20200};

template <size_t N>
int eraseSectorsOfSpace(ZRDeviceControl &d, uint8_t space, const uint32_t (&sectors)[N]) {
    int rc = d.KORVEXDevice_BLECHIP_SelectFlashSpace(space);
    for (size_t i = 0; rc == kSuccess && i < N; ++i) rc = d.KORVEXDevice_BLECHIP_EraseOperation(kEraseSectors, sectors[i], 1);
    return rc;
}

}  // namespace

int ZRDeviceControl::KORVEXDevice_BLECHIP_ConnectOperation(uint8_t code) {
    return statusWith(*this, ble_cmd::Connect, {code});
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_SelectFlashSpace(uint8_t space) {
    if (space > kRdnSpace) return INPUT_PARAMS_ERROR;
    return statusWith(*this, ble_cmd::SelectFlashSpace, {space});
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_SetCRCValue(int index, uint32_t crc) {
    std::vector<uint8_t> params{static_cast<uint8_t>(index)};
    putU32(params, crc);
    return statusWith(*this, ble_cmd::SetCRCValue, params);
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_FlashSendData(uint32_t addr, int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (len < 0 || static_cast<size_t>(len) > payloadSize(outPacketSize(), kReadHeader)) return INPUT_PARAMS_ERROR;
    const RequestArgs args{ByteView(data, static_cast<size_t>(len)), addr, static_cast<uint16_t>(len)};
    return statusExchange(*this, ble_cmd::FlashSendData, args);
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_FlashReadData(uint32_t addr, int len, uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    if (len < 0 || static_cast<size_t>(len) > payloadSize(inPacketSize(), kReadHeader)) return INPUT_PARAMS_ERROR;
    Reply reply;
    int rc = exchange(*this, ble_cmd::FlashReadData, {{}, addr, static_cast<uint16_t>(len)}, reply);
    if (rc != kSuccess) return rc;
    if (getU32(reply.bytes() + 2) != addr) return TRANS_READ_PARAMS_ERROR;
    std::copy_n(reply.bytes() + kReadHeader, len, buf);
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_EraseOperation(uint8_t type, uint32_t addr, int count) {
    return statusExchange(*this, ble_cmd::Erase.withSub(type), {{}, addr, static_cast<uint16_t>(count)});
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_WriteReg(uint8_t reg, uint8_t value) {
    return statusWith(*this, ble_cmd::WriteReg, {reg, value});
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_ReadReg(uint8_t reg, uint8_t *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    const uint8_t request[] = {reg};
    Reply reply;
    int rc = exchange(*this, ble_cmd::ReadReg, {ByteView(request, 1)}, reply, kRegisterReplyLength);
    if (rc != kSuccess) return rc;
    if (reply[2] != reg) return TRANS_READ_PARAMS_ERROR;
    *out = reply[3];
    return kSuccess;
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_SPICommand(uint8_t cmd) { return statusWith(*this, ble_cmd::SPICommand, {cmd}); }

int ZRDeviceControl::KORVEXDevice_BLECHIP_GetFlashSpace(uint8_t *out) { return readByte(*this, ble_cmd::GetFlashSpace, out); }

int ZRDeviceControl::KORVEXDevice_BLECHIP_ProtectOperation(uint8_t code) {
    return statusWith(*this, ble_cmd::Protect, {code});
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_GetProtectStatus(uint8_t *out) {
    uint8_t value = 0;
    int rc = readByte(*this, ble_cmd::GetProtectStatus, out ? &value : nullptr);
    if (rc == kSuccess) *out = value == kNotProtected ? 0 : 1;
    return rc;
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_CheckCRC(uint8_t *out) { return readByte(*this, ble_cmd::CheckCRC, out); }

int ZRDeviceControl::KORVEXDevice_BLECHIP_WriteFlash(uint32_t addr, int len, const uint8_t *data) {
    if (!data) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return writeChunked(addr, len, data, payloadSize(outPacketSize(), kWriteHeader),
                        [&](uint32_t a, int n, const uint8_t *chunk) {
                            return KORVEXDevice_BLECHIP_FlashSendData(a, n, chunk);
                        });
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_ReadFlash(uint32_t addr, int len, uint8_t *buf) {
    if (!buf) return INPUT_PARAMS_MEMORY_ALLOCATION_ERROR;
    return readChunked(addr, len, buf, payloadSize(inPacketSize(), kReadHeader), [&](uint32_t a, int n, uint8_t *chunk) {
        return KORVEXDevice_BLECHIP_FlashReadData(a, n, chunk);
    });
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_SectorErase(uint32_t addr, int count) {
    return KORVEXDevice_BLECHIP_EraseOperation(kEraseSectors, addr, count);
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_BlockErase(uint32_t addr, int count) {
    return KORVEXDevice_BLECHIP_EraseOperation(kEraseBlocks, addr, count);
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_EraseMainFlash() {
    int rc = KORVEXDevice_BLECHIP_SelectFlashSpace(kMainSpace);
    return rc != kSuccess ? rc : KORVEXDevice_BLECHIP_EraseOperation(kEraseSpace, 0, 0);
}

int ZRDeviceControl::KORVEXDevice_BLECHIP_EraseNVRFlash() { return eraseSectorsOfSpace(*this, kNvrSpace, kNvrSectors); }

int ZRDeviceControl::KORVEXDevice_BLECHIP_EraseRDNFlash() { return eraseSectorsOfSpace(*this, kRdnSpace, kRdnSectors); }

int ZRDeviceControl::KORVEXDevice_BLECHIP_EraseAllFlash() {
    int rc = KORVEXDevice_BLECHIP_EraseMainFlash();
    if (rc == kSuccess) rc = KORVEXDevice_BLECHIP_EraseNVRFlash();
    if (rc == kSuccess) rc = KORVEXDevice_BLECHIP_EraseRDNFlash();
    return rc;
}

}  // namespace korvex
