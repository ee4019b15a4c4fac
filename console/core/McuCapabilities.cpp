#include "McuIdentification.h"
#include "SeriesTable.h"
#include "ShareParameter.h"

bool MCUHaveSPIM(MCUSERIALS series)
{
    const SeriesRow* row = FindSeriesRow(series);
    return row == nullptr || row->hasSpim;
}

bool MCUHaveAPMode(MCUSERIALS series)
{
    const SeriesRow* row = FindSeriesRow(series);
    return row != nullptr && row->hasApMode;
}

bool MCUFAPLevel2CanNotDisable(MCUSERIALS series)
{
    const SeriesRow* row = FindSeriesRow(series);
    return row != nullptr && row->fap2Permanent;
}

std::string UpdataPartNumber(int32_t pid, int32_t series)
{
    const SeriesRow* row = series > 36 ? nullptr : FindSeriesRow(series);
    return row != nullptr ? row->partNumber(pid) : std::string();
}

void ShareParameter::GetBootMemoryInfo(MCUSERIALS series, uint32_t& address, uint32_t& size)
{
    const SeriesRow* row = FindSeriesRow(series);
    address = row != nullptr ? row->boot.address : 0;
    size = row != nullptr ? row->boot.size : 0;
}

void InitOTPAndLOCKInfo()
{
    ShareParameter& shared = g_shareParameter;
    const SeriesRow* row = FindSeriesRow(shared.ZR32DeviceSerial);
    shared.OTP_Data_Address = row != nullptr ? row->otp.dataAddress : 0;
    shared.OTP_Data_Length = row != nullptr ? row->otp.dataLength : 0;
    shared.OTP_Lock_Address = row != nullptr ? row->otp.lockAddress : 0;
    shared.OTP_Lock_Length = row != nullptr ? row->otp.lockLength : 0;
}
