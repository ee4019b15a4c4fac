#pragma once

#include "mcu_series.h"

// Logical length L of the user system data block of a series, in bytes (24, 128, 256, 512 or
// 2048). On ZR32_S13 and ZR32_S14 it depends on the main flash sector size.
int UserSystemDataLength(McuSeries series, int flashSectorSize);

// Number of EPP (erase/program protection) bytes of a series: 20 or 4.
int EppByteCount(McuSeries series);

// The ZR32_S13 and ZR32_S14 series: 20 EPP bytes in two places and forced bytes 36, 37.
bool HasExtendedEpp(McuSeries series);
