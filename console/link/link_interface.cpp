#include "link_interface.h"

#include "job_progress.h"

#include "link_results.h"

CLinkInterface g_link;

CLinkInterface::CLinkInterface()
{
    MakeCrcTable();
}

CLinkInterface::~CLinkInterface() = default;

bool CLinkInterface::TakeCancel()
{
    if (StopRequested())
        return true;
    if (!cancelRequested_)
        return false;
    cancelRequested_ = false;
    return true;
}

int CLinkInterface::SetTargetState(uint8_t state)
{
    return HasHandle() ? KORVEX_SetState_Target(handle_, state) : FAILED;
}

int CLinkInterface::SetTargetDeviceId(uint8_t series, int pid)
{
    return HasHandle() ? KORVEX_SetDeviceID_Target(handle_, series, pid) : FAILED;
}

int CLinkInterface::SpimErase()
{
    return HasHandle() ? KORVEX_SPIMAllErase_Target(handle_) : FAILED;
}

int CLinkInterface::BootMemoryErase()
{
    return HasHandle() ? KORVEX_SysMemoryAllErase_Target(handle_) : FAILED;
}

int CLinkInterface::EnableBank3Function(uint8_t remap, uint8_t spimType, uint32_t size, uint32_t da)
{
    return HasHandle() ? KORVEX_EnableSPIM_Target(handle_, remap, spimType, size, da) : FAILED;
}

int CLinkInterface::SetVkpVersion(uint32_t version)
{
    return HasHandle() ? KORVEX_SetVKPVersion(handle_, version) : FAILED;
}

int CLinkInterface::DebugReadMemory(uint32_t addr, int len, uint8_t* buf, uint8_t width)
{
    return HasHandle() ? KORVEX_DebugReadMemory_Target(handle_, addr, len, buf, width) : FAILED;
}

int CLinkInterface::DebugWriteMemory(uint32_t addr, int len, uint8_t* data, uint8_t width)
{
    return HasHandle() ? KORVEX_DebugWriteMemory_Target(handle_, addr, len, data, width) : FAILED;
}

int CLinkInterface::SetBootMemoryApMode(uint32_t key)
{
    return HasHandle() ? KORVEX_SetSysAPMode_Target(handle_, key) : FAILED;
}

int CLinkInterface::GetBootMemoryApMode(uint8_t& mode)
{
    mode = 1;
    return HasHandle() ? KORVEX_GetSysAPMode_Target(handle_, &mode) : FAILED;
}

int CLinkInterface::GetTransportType(uint8_t& type)
{
    type = 0;
    return HasHandle() ? KORVEX_GetTransType(handle_, &type) : FAILED;
}

int CLinkInterface::FlashErase(uint32_t flashSize)
{
    if (!HasHandle())
        return FAILED;
    const int result = KORVEX_Bank1AllErase_Target(handle_);
    if (result != 0)
        return result;
    // Bank 2 exists only beyond the first 512 KiB.
    if (flashSize > 0x80000)
        return KORVEX_Bank2AllErase_Target(handle_);
    return 0;
}

int CLinkInterface::BeginOtpWrite()
{
    return HasHandle() ? KORVEX_DownloadOTPDataBegin_Target(handle_) : FAILED;
}

int CLinkInterface::EndOtpWrite()
{
    return HasHandle() ? KORVEX_DownloadOTPDataEnd_Target(handle_) : FAILED;
}

int CLinkInterface::DownloadOtpData(uint32_t addr, int len, uint8_t* data, OtpArea area)
{
    // The library itself answers a missing handle.
    const uint8_t areaCode = area == OTP_LOCK_AREA ? 1 : 0;
    return KORVEXDevice_DownloadOTPData_Target(handle_, addr, len, data, areaCode);
}

bool IsBootMemoryAPMode()
{
    uint8_t mode = 0;
    return g_link.GetBootMemoryApMode(mode) == 0 && mode == 1;
}
