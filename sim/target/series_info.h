// What the target knows about its own series: optional hardware, memory areas, option-byte layout.
// Kept apart from the console's tables on purpose: the virtual target must not share the program's
// knowledge, or a wrong constant there would pass every test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ksim {

enum class EppLayout {
    Word32,    // EPP0-EPP3 in option bytes 4-7, one bit per group of sectors, bit 31 for the rest
    Bytes20,   // EPP0-EPP3 in bytes 4-7 and EPP4-EPP19 in bytes 10-25, 128 KiB per upper bit
};

struct SeriesInfo {
    uint8_t number = 0;
    bool hasSpim = true;
    bool hasApMode = false;
    bool level2Permanent = false;
    uint32_t bootAddress = 0;
    uint32_t bootSize = 0;
    uint32_t otpDataAddress = 0;
    uint32_t otpDataSize = 0;
    uint32_t otpLockAddress = 0;
    uint32_t otpLockSize = 0;
    bool bleModule = false;
    EppLayout epp = EppLayout::Word32;
    bool eppTwoSectorsPerBit = false;  // fixed 2 sectors per bit whatever the flash size
};

// The series row for a series byte; unassigned values get the plain row (SPIM, nothing else).
SeriesInfo seriesInfo(uint8_t series);
bool isAssignedSeries(uint8_t series);

// "7", "0x07", "ZR32_S07", "S07" (any case) -> 7; nothing for other text or values above 255.
std::optional<uint8_t> parseSeries(const std::string &text);
std::string seriesName(uint8_t series);

// Geometry encoded in the product ID.
uint32_t flashSizeFromPid(uint32_t pid);   // bytes; 0 for an index without a size
uint32_t sectorSizeFromPid(uint32_t pid);  // bytes; 0 for an unused code

// Length in logical bytes of the option-byte block (each stored as byte + complement).
uint32_t userSystemDataLength(uint8_t series, uint32_t sectorSize);

}  // namespace ksim
