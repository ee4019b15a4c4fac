// User system data: every data byte travels with its complement.
#include "link_interface.h"

#include "link_results.h"
#include "share_parameter.h"
#include "user_system_data_length.h"

#include <vector>

namespace {
// Series S13 and S14 send the pairs of data bytes 36 and 37 as zeros.
constexpr int kZeroedPairsFirstByte = 72;
constexpr int kZeroedPairsLength = 4;
} // namespace

int CLinkInterface::GetUserSystemDataLength(McuSeries series)
{
    return UserSystemDataLength(series, g_shareParameter.flashSectorSize);
}

int CLinkInterface::WriteUserSystemData(McuSeries series, const uint8_t* data, int size)
{
    const int length = GetUserSystemDataLength(series);
    if (data == nullptr || size < length || !HasHandle())
        return 0;
    std::vector<uint8_t> transfer(static_cast<size_t>(length) * 2);
    for (int i = 0; i < length; ++i) {
        transfer[2 * i] = data[i];
        transfer[2 * i + 1] = static_cast<uint8_t>(~data[i]);
    }
    if (HasExtendedEpp(series)) {
        for (int i = 0; i < kZeroedPairsLength; ++i)
            transfer[kZeroedPairsFirstByte + i] = 0;
    }
    if (!Succeeded(KORVEX_WriteUserSystemDataBegin_Target(handle_)))
        return 0;
    if (!Succeeded(KORVEX_WriteUserSystemData_Target(handle_, length * 2, transfer.data())))
        return 0;
    if (!Succeeded(KORVEX_WriteUserSystemDataEnd_Target(handle_)))
        return 0;
    return 1;
}

int CLinkInterface::ReadUserSystemData(McuSeries series, uint8_t* out, int size)
{
    const int length = GetUserSystemDataLength(series);
    if (length > size || out == nullptr || !HasHandle())
        return 0;
    std::vector<uint8_t> transfer(static_cast<size_t>(length) * 2);
    if (KORVEX_ReadUserSystemData_Target(handle_, length * 2, transfer.data()) != 0)
        return 0;
    for (int i = 0; i < length; ++i)
        out[i] = transfer[2 * i];
    return 1;
}
