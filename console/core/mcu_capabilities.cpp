#include "mcu_identification.h"
#include "series_table.h"
#include "share_parameter.h"

bool MCUHaveSPIM(McuSeries series)
{
    const SeriesRow* row = FindSeriesRow(series);
    return row == nullptr || row->hasSpim;
}

bool MCUHaveAPMode(McuSeries series)
{
    const SeriesRow* row = FindSeriesRow(series);
    return row != nullptr && row->hasApMode;
}

bool MCUFAPLevel2CanNotDisable(McuSeries series)
{
    const SeriesRow* row = FindSeriesRow(series);
    return row != nullptr && row->fap2Permanent;
}

std::string PartNumberOfPid(int32_t pid, int32_t series)
{
    const SeriesRow* row = series > 36 ? nullptr : FindSeriesRow(series);
    return row != nullptr ? row->partNumber(pid) : std::string();
}

void ShareParameter::GetBootMemoryInfo(McuSeries series, uint32_t& address, uint32_t& size)
{
    const SeriesRow* row = FindSeriesRow(series);
    address = row != nullptr ? row->boot.address : 0;
    size = row != nullptr ? row->boot.size : 0;
}

void InitOTPAndLOCKInfo()
{
    ShareParameter& shared = g_shareParameter;
    const SeriesRow* row = FindSeriesRow(shared.series);
    shared.otpDataAddress = row != nullptr ? row->otp.dataAddress : 0;
    shared.otpDataLength = row != nullptr ? row->otp.dataLength : 0;
    shared.otpLockAddress = row != nullptr ? row->otp.lockAddress : 0;
    shared.otpLockLength = row != nullptr ? row->otp.lockLength : 0;
}
