// The BLE module of series ZR32_S17.
#include "LinkInterface.h"

#include "LinkResults.h"

namespace {
constexpr uint8_t kConnectStateRegister = 5;
constexpr uint8_t kConnectedValue = 0x32;
constexpr uint8_t kMainSpace = 0;
} // namespace

int CLinkInterface::KORVEX_BLE_Erase_CodeSpace()
{
    return HasHandle() ? KORVEX_BLECHIP_EraseMainFlash(m_handle) : FAILED;
}

int CLinkInterface::KORVEX_BLE_Erase_NVRSpace()
{
    return HasHandle() ? KORVEX_BLECHIP_EraseNVRFlash(m_handle) : FAILED;
}

int CLinkInterface::KORVEX_BLE_Erase_RDNSpace()
{
    return HasHandle() ? KORVEX_BLECHIP_EraseRDNFlash(m_handle) : FAILED;
}

int CLinkInterface::KORVEX_BLE_Erase_AllSpace()
{
    return HasHandle() ? KORVEX_BLECHIP_EraseAllFlash(m_handle) : FAILED;
}

int CLinkInterface::KORVEX_BLE_SectorErase(uint32_t addr, int count)
{
    return HasHandle() ? KORVEX_BLECHIP_SectorErase(m_handle, addr, count) : FAILED;
}

int CLinkInterface::KORVEX_BLE_BlockErase(uint32_t addr, int count)
{
    return HasHandle() ? KORVEX_BLECHIP_BlockErase(m_handle, addr, count) : FAILED;
}

int CLinkInterface::KORVEX_BLE_ReadRegister(uint8_t reg, uint8_t& value)
{
    value = 0;
    return HasHandle() ? KORVEX_BLECHIP_ReadReg(m_handle, reg, &value) : FAILED;
}

int CLinkInterface::KORVEX_BLE_WriteRegister(uint8_t reg, uint8_t value)
{
    return HasHandle() ? KORVEX_BLECHIP_WriteReg(m_handle, reg, value) : FAILED;
}

int CLinkInterface::KORVEX_BLE_CheckCRC(uint8_t& result)
{
    result = 0;
    return HasHandle() ? KORVEX_BLECHIP_CheckCRC(m_handle, &result) : FAILED;
}

int CLinkInterface::KORVEX_BLE_WriteFlash(uint32_t addr, int len, uint8_t* data)
{
    return HasHandle() ? KORVEX_BLECHIP_WriteFlash(m_handle, addr, len, data) : FAILED;
}

int CLinkInterface::KORVEX_BLE_ReadFlash(uint32_t addr, int len, uint8_t* buf)
{
    return HasHandle() ? KORVEX_BLECHIP_ReadFlash(m_handle, addr, len, buf) : FAILED;
}

int CLinkInterface::DownloadBLECRCValue_Korvex(int index, uint32_t crc)
{
    return HasHandle() ? KORVEX_BLECHIP_SetCRCValue(m_handle, index, crc) : FAILED;
}

bool CLinkInterface::KORVEX_Connect_BLETarget()
{
    return HasHandle() && KORVEX_BLECHIP_S17_Connect(m_handle) == 0;
}

bool CLinkInterface::KORVEX_DisConnect_BLETarget()
{
    return HasHandle() && KORVEX_BLECHIP_S17_DisConnect(m_handle) == 0;
}

int CLinkInterface::KORVEX_BLE_IsAccessProtected(int& level)
{
    level = 0;
    if (!HasHandle())
        return LINK_NO_HANDLE_BYTE;
    uint8_t status = 0;
    const int result = KORVEX_BLECHIP_GetProtectStatus(m_handle, &status);
    if (result == 0)
        level = status;
    return LowByte(result);
}

int CLinkInterface::KORVEX_BLE_GetConnectState(uint8_t& connected)
{
    connected = 0;
    if (!HasHandle())
        return LINK_NO_HANDLE_BYTE;
    uint8_t value = 0;
    const int result = KORVEX_BLECHIP_ReadReg(m_handle, kConnectStateRegister, &value);
    if (result == 0)
        connected = value == kConnectedValue ? 1 : 0;
    return LowByte(result);
}

int CLinkInterface::KORVEX_BLECHIP_SelectFlashSpace_Interface(uint8_t space)
{
    return HasHandle() ? KORVEX_BLECHIP_SelectFlashSpace(m_handle, space) : FAILED;
}

bool CLinkInterface::KORVEX_BLE_EnableAccessProtected()
{
    if (!HasHandle() || !Succeeded(KORVEX_BLECHIP_SelectFlashSpace_Interface(kMainSpace)))
        return false;
    return KORVEX_BLECHIP_EnableProtect(m_handle) == 0;
}

bool CLinkInterface::KORVEX_BLE_DisableAccessProtected()
{
    if (!HasHandle() || !Succeeded(KORVEX_BLECHIP_SelectFlashSpace_Interface(kMainSpace)))
        return false;
    return KORVEX_BLECHIP_DisableProtect(m_handle) == 0;
}
