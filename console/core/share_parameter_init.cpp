#include "share_parameter.h"

ShareParameter::ShareParameter()
{
    InitDevicePartNoList();
}

void ShareParameter::InitDevicePartNoList()
{
    devicePartLists.clear();
    const auto& catalogue = DeviceCatalogue();
    for (size_t i = 0; i < catalogue.size(); ++i) {
        deviceListSeries[i] = static_cast<uint8_t>(catalogue[i].series);
        devicePartLists.emplace_back(catalogue[i].names, catalogue[i].names + catalogue[i].count);
    }
}
