#pragma once

#include <cstdint>

// Series of the target MCU. The numbers travel to the probe and index every
// per-series table, so they are fixed; gaps are unassigned series.
enum McuSeries : int32_t {
    ZR32ErrorMCU2 = 0,   // no MCU
    ZR32_S01 = 1,
    ZR32_S02 = 2,
    ZR32_S04 = 4,
    ZR32_S05 = 5,
    ZR32_S07 = 7,
    ZR32_S08 = 8,
    ZR32_S09 = 9,
    ZR32_S13 = 13,
    ZR32_S14 = 14,
    ZR32_S15 = 15,
    ZR32_S16 = 16,
    ZR32_S17 = 17,       // carries the BLE module
    ZR32_S18 = 18,
    ZR32_S19 = 19,
    ZR32_S20 = 20,
    ZR32_S21 = 21,
    ZR32_S22 = 22,
    ZR32_S23 = 23,
    ZR32_S24 = 24,
    ZR32_S25 = 25,
    ZR32_S26 = 26,
    ZR32_S28 = 28,
    ZR32_S29 = 29,
    ZR32_S30 = 30,
    ZR32_S33 = 33,
    ZR32_S34 = 34,
    ZR32_S35 = 35,
    ZR32_S36 = 36,
    ZR32ErrorMCU1 = 255, // unknown MCU
};
