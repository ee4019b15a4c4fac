#include "user_system_data_length.h"

#include "memory_map.h"

namespace {
constexpr int kLargeSectorSize = 4096;
} // namespace

bool HasExtendedEpp(McuSeries series)
{
    return series == ZR32_S13 || series == ZR32_S14;
}

int EppByteCount(McuSeries series)
{
    return static_cast<int>(HasExtendedEpp(series) ? OTP2_EPP_LENGTH_S13S14 : OTP2_EPP_LENGTH_ZR32);
}

int UserSystemDataLength(McuSeries series, int flashSectorSize)
{
    switch (series) {
    case ZR32_S05:
    case ZR32_S17:
        return OTP2_LENGTH_S05;
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
        return OTP2_LENGTH_S09;
    case ZR32_S13:
    case ZR32_S14:
        return static_cast<int>(flashSectorSize == kLargeSectorSize ? OTP2_LENGTH_S13S14_2 : OTP2_LENGTH_S13S14_1);
    case ZR32_S35:
    case ZR32_S36:
        return OTP2_LENGTH_S35_S36;
    default:
        return OTP2_LENGTH_ZR32;
    }
}
