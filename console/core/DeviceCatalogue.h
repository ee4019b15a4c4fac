#pragma once

#include "McuSeries.h"

#include <array>
#include <cstddef>

constexpr int DEVICE_LIST_COUNT = 25;

// Part names that -device accepts for one series.
struct DeviceNameList {
    MCUSERIALS series;
    const char* const* names;
    size_t count;
};

// The 25 lists in SerialsIDList order.
const std::array<DeviceNameList, DEVICE_LIST_COUNT>& DeviceCatalogue();
