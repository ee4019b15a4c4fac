#include "LinkInterface.h"

#include "LinkResults.h"

CLinkInterface m_LinkInterface;

CLinkInterface::CLinkInterface()
{
    make_crc32_table();
}

CLinkInterface::~CLinkInterface() = default;

bool CLinkInterface::TakeCancel()
{
    if (!m_cancelFlag)
        return false;
    m_cancelFlag = false;
    return true;
}

int CLinkInterface::SetTargetState(uint8_t state)
{
    return HasHandle() ? KORVEX_SetState_Target(m_handle, state) : FAILED;
}

int CLinkInterface::KORVEXSetTargetDeviceID(uint8_t series, int pid)
{
    return HasHandle() ? KORVEX_SetDeviceID_Target(m_handle, series, pid) : FAILED;
}

int CLinkInterface::ExtFlashErase()
{
    return HasHandle() ? KORVEX_SPIMAllErase_Target(m_handle) : FAILED;
}

int CLinkInterface::BootMemoryErase()
{
    return HasHandle() ? KORVEX_SysMemoryAllErase_Target(m_handle) : FAILED;
}

int CLinkInterface::EnableBank3Function(uint8_t remap, uint8_t spimType, uint32_t size, uint32_t da)
{
    return HasHandle() ? KORVEX_EnableSPIM_Target(m_handle, remap, spimType, size, da) : FAILED;
}

int CLinkInterface::Korvex_SetVKPVersion(uint32_t version)
{
    return HasHandle() ? KORVEX_SetVKPVersion(m_handle, version) : FAILED;
}

int CLinkInterface::KORVEXDebugReadMemoryTarget(uint32_t addr, int len, uint8_t* buf, uint8_t width)
{
    return HasHandle() ? KORVEX_DebugReadMemory_Target(m_handle, addr, len, buf, width) : FAILED;
}

int CLinkInterface::KORVEXDebugWriteMemoryTarget(uint32_t addr, int len, uint8_t* data, uint8_t width)
{
    return HasHandle() ? KORVEX_DebugWriteMemory_Target(m_handle, addr, len, data, width) : FAILED;
}

int CLinkInterface::SetSysAPMode_Target(uint32_t key)
{
    return HasHandle() ? KORVEX_SetSysAPMode_Target(m_handle, key) : FAILED;
}

int CLinkInterface::GetSysAPMode_Target(uint8_t& mode)
{
    mode = 1;
    return HasHandle() ? KORVEX_GetSysAPMode_Target(m_handle, &mode) : FAILED;
}

int CLinkInterface::KORVEX_GetTransType_Interface(uint8_t& type)
{
    type = 0;
    return HasHandle() ? KORVEX_GetTransType(m_handle, &type) : FAILED;
}

int CLinkInterface::FlashErase(uint32_t flashSize)
{
    if (!HasHandle())
        return FAILED;
    const int result = KORVEX_Bank1AllErase_Target(m_handle);
    if (result != 0)
        return result;
    // Bank 2 exists only beyond the first 512 KiB.
    if (flashSize > 0x80000)
        return KORVEX_Bank2AllErase_Target(m_handle);
    return 0;
}

int CLinkInterface::KORVEX_DownloadOTPData_Target(uint32_t addr, int len, uint8_t* data, OTPDATATYPE area)
{
    // The library itself answers a missing handle.
    const uint8_t areaCode = area == OTP_LOCK_AREA ? 1 : 0;
    return KORVEXDevice_DownloadOTPData_Target(m_handle, addr, len, data, areaCode);
}

bool IsBootMemoryAPMode()
{
    uint8_t mode = 0;
    return m_LinkInterface.GetSysAPMode_Target(mode) == 0 && mode == 1;
}
