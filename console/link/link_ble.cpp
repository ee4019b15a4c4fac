// The BLE module of series ZR32_S17.
#include "link_interface.h"

#include "link_results.h"

namespace {
constexpr uint8_t kConnectStateRegister = 5;
constexpr uint8_t kConnectedValue = 0x32;
constexpr uint8_t kMainSpace = 0;
} // namespace

int CLinkInterface::EraseBleMainSpace()
{
    return HasHandle() ? KORVEX_BLECHIP_EraseMainFlash(handle_) : FAILED;
}

int CLinkInterface::EraseBleNvrSpace()
{
    return HasHandle() ? KORVEX_BLECHIP_EraseNVRFlash(handle_) : FAILED;
}

int CLinkInterface::EraseBleRdnSpace()
{
    return HasHandle() ? KORVEX_BLECHIP_EraseRDNFlash(handle_) : FAILED;
}

int CLinkInterface::EraseBleAllSpaces()
{
    return HasHandle() ? KORVEX_BLECHIP_EraseAllFlash(handle_) : FAILED;
}

int CLinkInterface::BleSectorErase(uint32_t addr, int count)
{
    return HasHandle() ? KORVEX_BLECHIP_SectorErase(handle_, addr, count) : FAILED;
}

int CLinkInterface::BleBlockErase(uint32_t addr, int count)
{
    return HasHandle() ? KORVEX_BLECHIP_BlockErase(handle_, addr, count) : FAILED;
}

int CLinkInterface::ReadBleRegister(uint8_t reg, uint8_t& value)
{
    value = 0;
    return HasHandle() ? KORVEX_BLECHIP_ReadReg(handle_, reg, &value) : FAILED;
}

int CLinkInterface::WriteBleRegister(uint8_t reg, uint8_t value)
{
    return HasHandle() ? KORVEX_BLECHIP_WriteReg(handle_, reg, value) : FAILED;
}

int CLinkInterface::CheckBleCrc(uint8_t& result)
{
    result = 0;
    return HasHandle() ? KORVEX_BLECHIP_CheckCRC(handle_, &result) : FAILED;
}

int CLinkInterface::WriteBleFlash(uint32_t addr, int len, uint8_t* data)
{
    return HasHandle() ? KORVEX_BLECHIP_WriteFlash(handle_, addr, len, data) : FAILED;
}

int CLinkInterface::ReadBleFlash(uint32_t addr, int len, uint8_t* buf)
{
    return HasHandle() ? KORVEX_BLECHIP_ReadFlash(handle_, addr, len, buf) : FAILED;
}

int CLinkInterface::DownloadBleCrcValue(int index, uint32_t crc)
{
    return HasHandle() ? KORVEX_BLECHIP_SetCRCValue(handle_, index, crc) : FAILED;
}

bool CLinkInterface::ConnectBleTarget()
{
    return HasHandle() && KORVEX_BLECHIP_S17_Connect(handle_) == 0;
}

bool CLinkInterface::DisconnectBleTarget()
{
    return HasHandle() && KORVEX_BLECHIP_S17_DisConnect(handle_) == 0;
}

int CLinkInterface::IsBleAccessProtected(int& level)
{
    level = 0;
    if (!HasHandle())
        return LINK_NO_HANDLE_BYTE;
    uint8_t status = 0;
    const int result = KORVEX_BLECHIP_GetProtectStatus(handle_, &status);
    if (result == 0)
        level = status;
    return LowByte(result);
}

int CLinkInterface::GetBleConnectState(uint8_t& connected)
{
    connected = 0;
    if (!HasHandle())
        return LINK_NO_HANDLE_BYTE;
    uint8_t value = 0;
    const int result = KORVEX_BLECHIP_ReadReg(handle_, kConnectStateRegister, &value);
    if (result == 0)
        connected = value == kConnectedValue ? 1 : 0;
    return LowByte(result);
}

int CLinkInterface::SelectBleFlashSpace(uint8_t space)
{
    return HasHandle() ? KORVEX_BLECHIP_SelectFlashSpace(handle_, space) : FAILED;
}

bool CLinkInterface::EnableBleAccessProtection()
{
    if (!HasHandle() || !Succeeded(SelectBleFlashSpace(kMainSpace)))
        return false;
    return KORVEX_BLECHIP_EnableProtect(handle_) == 0;
}

bool CLinkInterface::DisableBleAccessProtection()
{
    if (!HasHandle() || !Succeeded(SelectBleFlashSpace(kMainSpace)))
        return false;
    return KORVEX_BLECHIP_DisableProtect(handle_) == 0;
}
