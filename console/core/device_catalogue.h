#pragma once

#include "mcu_series.h"

#include <array>
#include <cstddef>

constexpr int kDeviceListCount = 25;

// Part names that -device accepts for one series.
struct DeviceNameList {
    McuSeries series;
    const char* const* names;
    size_t count;
};

// The 25 lists in deviceListSeries order.
const std::array<DeviceNameList, kDeviceListCount>& DeviceCatalogue();
