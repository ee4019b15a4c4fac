#include "ShareParameter.h"

ShareParameter::ShareParameter()
{
    InitDevicePartNoList();
}

void ShareParameter::InitDevicePartNoList()
{
    DevicePartNoList.clear();
    const auto& catalogue = DeviceCatalogue();
    for (size_t i = 0; i < catalogue.size(); ++i) {
        SerialsIDList[i] = static_cast<uint8_t>(catalogue[i].series);
        DevicePartNoList.emplace_back(catalogue[i].names, catalogue[i].names + catalogue[i].count);
    }
}
