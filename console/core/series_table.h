#pragma once

#include "mcu_series.h"

#include <cstdint>
#include <string>

// What the program knows about one series; a series without a row has none of the
// optional hardware except SPIM (SPIM is assumed unless the series is known to lack it).
struct BootMemory {
    uint32_t address; // 0 and 0 when the series has none
    uint32_t size;
};

struct OtpAreas {
    uint32_t dataAddress; // all 0 when the series has none
    int32_t dataLength;
    uint32_t lockAddress;
    int32_t lockLength;
};

struct SeriesRow {
    McuSeries series;
    std::string (*partNumber)(int32_t pid);
    bool hasSpim;
    bool hasApMode;
    bool fap2Permanent; // level-2 access protection cannot be removed
    BootMemory boot;
    OtpAreas otp;
};

// The row of a series, or nullptr for a value that names no series.
const SeriesRow* FindSeriesRow(int32_t series);
