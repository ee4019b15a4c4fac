// User system data: every data byte travels with its complement.
#include "LinkInterface.h"

#include "LinkResults.h"
#include "ShareParameter.h"

#include <vector>

namespace {
// Series S13 and S14 send the pairs of data bytes 36 and 37 as zeros.
constexpr int kZeroedPairsFirstByte = 72;
constexpr int kZeroedPairsLength = 4;
} // namespace

int CLinkInterface::GetUserSystemDataLength(MCUSERIALS series)
{
    switch (series) {
    case ZR32_S05:
    case ZR32_S17:
        return 512;
    case ZR32_S09:
    case ZR32_S15:
    case ZR32_S16:
    case ZR32_S18:
    case ZR32_S19:
    case ZR32_S20:
    case ZR32_S21:
    case ZR32_S22:
    case ZR32_S23:
    case ZR32_S25:
    case ZR32_S26:
    case ZR32_S28:
    case ZR32_S29:
    case ZR32_S30:
    case ZR32_S33:
    case ZR32_S34:
        return 256;
    case ZR32_S13:
    case ZR32_S14:
        return g_shareParameter.FlashSectorSize == 4096 ? 2048 : 256;
    case ZR32_S35:
    case ZR32_S36:
        return 128;
    default:
        return 24;
    }
}

int CLinkInterface::WriteUserSystemData(MCUSERIALS series, const uint8_t* data, int size)
{
    const int length = GetUserSystemDataLength(series);
    if (data == nullptr || size < length || !HasHandle())
        return 0;
    std::vector<uint8_t> transfer(static_cast<size_t>(length) * 2);
    for (int i = 0; i < length; ++i) {
        transfer[2 * i] = data[i];
        transfer[2 * i + 1] = static_cast<uint8_t>(~data[i]);
    }
    if (series == ZR32_S13 || series == ZR32_S14) {
        for (int i = 0; i < kZeroedPairsLength; ++i)
            transfer[kZeroedPairsFirstByte + i] = 0;
    }
    if (!Succeeded(KORVEX_WriteUserSystemDataBegin_Target(m_handle)))
        return 0;
    if (!Succeeded(KORVEX_WriteUserSystemData_Target(m_handle, length * 2, transfer.data())))
        return 0;
    if (!Succeeded(KORVEX_WriteUserSystemDataEnd_Target(m_handle)))
        return 0;
    return 1;
}

int CLinkInterface::ReadUserSystemData(MCUSERIALS series, uint8_t* out, int size)
{
    const int length = GetUserSystemDataLength(series);
    if (length > size || out == nullptr || !HasHandle())
        return 0;
    std::vector<uint8_t> transfer(static_cast<size_t>(length) * 2);
    if (KORVEX_ReadUserSystemData_Target(m_handle, length * 2, transfer.data()) != 0)
        return 0;
    for (int i = 0; i < length; ++i)
        out[i] = transfer[2 * i];
    return 1;
}
