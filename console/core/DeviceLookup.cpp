#include "McuIdentification.h"
#include "ShareParameter.h"

bool IsZR32Device(const std::string& name, MCUSERIALS& series)
{
    series = ZR32ErrorMCU2;
    const ShareParameter& shared = g_shareParameter;
    for (size_t list = 0; list < shared.DevicePartNoList.size(); ++list) {
        for (const std::string& partName : shared.DevicePartNoList[list]) {
            if (partName == name) {
                series = static_cast<MCUSERIALS>(shared.SerialsIDList[list]);
                return true;
            }
        }
    }
    return false;
}
