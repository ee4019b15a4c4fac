#pragma once

#include "mcu_series.h"
#include "share_parameter.h"

#include <cstdint>
#include <string>
#include <vector>

// One copy of the user system data block (the option bytes) read from the device, whose
// erase/program protection (EPP) bits can be set per sector and which gives the block back in
// the form written to the device. Lives for one protection operation.
class CUserSystemData {
public:
    static constexpr int kCapacity = 4096;

    // data holds the logical block (length bytes; at most kCapacity are kept). flashSectorSize
    // chooses the length and EPP map of ZR32_S13 and ZR32_S14.
    CUserSystemData(McuSeries series, int sectorNums, uint8_t sectorsPerBit, const uint8_t* data, int length,
                    bool haveOtherMemory, int flashSectorSize = g_shareParameter.flashSectorSize);

    // Loads the EPP bytes from a block; does nothing when length is below the series' length.
    void Set(const uint8_t* data, int length);
    // Clears (protect) or sets (unprotect) the EPP bit of a sector; sectors without a bit
    // change nothing.
    void SetEPP(int sector, bool protect);
    // The series' L bytes of the block with the EPP bytes written back to their places; returns L.
    int GetUserSystemDataArrays(std::vector<uint8_t>& out) const;

    // Writes file content (the device image: each logical byte followed by its complement) to
    // path: Intel HEX when the path ends in HEX (any case), else raw bytes. True when written.
    static bool SaveUserSystemDataToFile(const std::string& path, const uint8_t* data, int length);

    int blockLength = 0;
    uint8_t block[kCapacity] = {};
    std::vector<uint8_t> EPP;
    int eppLength = 0;
    uint8_t sectorsPerBit = 0;
    int sectorCount = 0;
    McuSeries mcuSeries = ZR32ErrorMCU2;
    bool hasOtherMemory = false;
    int flashSectorSize = 0;
};
