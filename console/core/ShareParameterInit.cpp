#include "ShareParameter.h"

ShareParameter::ShareParameter()
{
    InitDevicePartNoList();
}

void ShareParameter::GetBootMemoryInfo(MCUSERIALS, uint32_t& address, uint32_t& size)
{
    address = 0;
    size = 0;
}

void ShareParameter::InitDevicePartNoList()
{
}
