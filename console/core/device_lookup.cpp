#include "mcu_identification.h"
#include "share_parameter.h"

bool IsZR32Device(const std::string& name, McuSeries& series)
{
    series = ZR32ErrorMCU2;
    const ShareParameter& shared = g_shareParameter;
    for (size_t list = 0; list < shared.devicePartLists.size(); ++list) {
        for (const std::string& partName : shared.devicePartLists[list]) {
            if (partName == name) {
                series = static_cast<McuSeries>(shared.deviceListSeries[list]);
                return true;
            }
        }
    }
    return false;
}
