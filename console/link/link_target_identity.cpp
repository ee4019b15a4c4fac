// Identification and access protection of the target MCU.
#include "link_interface.h"

#include "link_results.h"

#include <array>

namespace {
constexpr int kDeviceIdLength = 5;
} // namespace

int CLinkInterface::IsAccessProtected(int& level)
{
    level = 0;
    if (!HasHandle())
        return LINK_NO_HANDLE_BYTE;
    uint8_t valid = 0;
    uint8_t isProtected = 0;
    uint8_t third = 0;
    const int result = KORVEX_GetStatus_Target(handle_, &valid, &isProtected, &third);
    if (result != 0)
        return LowByte(result);
    level = valid == 1 ? isProtected : -1;
    return 0;
}

bool CLinkInterface::DisableAccessProtection()
{
    if (!HasHandle())
        return false;
    int level = 0;
    // A level the probe cannot tell (-1) is no reason to report the target unprotected.
    if (IsAccessProtected(level) != 0 || level < 0)
        return false;
    if (level != 1 && level != 2)
        return true;
    return KORVEX_UnAccessProtect_Target(handle_) == 0;
}

bool CLinkInterface::EnableAccessProtection(uint8_t level)
{
    return HasHandle() && KORVEX_AccessProtect_Target(handle_, level) == 0;
}

int CLinkInterface::ReadUIDInfo(int& value)
{
    value = 0;
    if (!HasHandle())
        return 0;
    std::array<uint8_t, kDeviceIdLength> id{};
    if (KORVEX_GetDeviceID_Target(handle_, id.data()) != 0)
        return 0;
    value = id[0];
    return 1;
}

int CLinkInterface::ReadPIDInfo(int& pid)
{
    pid = 0;
    if (!HasHandle())
        return 0;
    std::array<uint8_t, kDeviceIdLength> id{};
    const int result = KORVEX_GetDeviceID_Target(handle_, id.data());
    // The library hands over the ID bytes it received even when the reply failed its checks.
    pid = static_cast<int>(static_cast<uint32_t>(id[1]) << 24 | static_cast<uint32_t>(id[2]) << 16 |
                           static_cast<uint32_t>(id[3]) << 8 | id[4]);
    return result == 0 ? 1 : 0;
}
