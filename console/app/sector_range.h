#pragma once

#include <string>

// A sector range as written on the command line: "n-m", split at the last "-"; a single number
// n means n-n. Conversion is lenient: leading digits count, text without digits gives 0.
struct SectorRange {
    int first;
    int last;
};
SectorRange ParseSectorRange(const std::string& text);

// Number of main-flash sectors of the connected MCU.
int MainFlashSectorCount();

// True when an -e --sec range may be processed; may print why not.
bool IsSectorsValid(int first, int last);

// True when an -eble --sec range lies in the BLE main space; prints nothing.
bool IsBLESectorsValid(int first, int last);
