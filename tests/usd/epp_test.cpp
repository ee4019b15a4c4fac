// Erase/program protection: which EPP bit each sector lands on, for the 4-byte and the 20-byte
// layouts, and the block given back for the device.
#include "user_system_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Block = std::vector<uint8_t>;

struct Device {
    McuSeries series;
    int sectors;
    uint8_t sectorsPerBit;
    int sectorSize;
};

// The block after protecting one sector, as a list of (block byte, bit) pairs that went to 0.
std::vector<std::pair<int, int>> ClearedBits(const Device& device, int sector)
{
    Block before(2048, 0x5A); // as read from a device with no sector protected: EPP bytes all ones
    std::fill(before.begin() + 4, before.begin() + 8, 0xFF);
    std::fill(before.begin() + 10, before.begin() + 26, 0xFF);
    CUserSystemData usd(device.series, device.sectors, device.sectorsPerBit, before.data(), 2048, false,
                        device.sectorSize);
    usd.SetEPP(sector, true);
    Block after;
    usd.GetUserSystemDataArrays(after);
    std::vector<std::pair<int, int>> cleared;
    for (size_t i = 0; i < after.size(); ++i)
        for (int bit = 0; bit < 8; ++bit)
            if ((before[i] >> bit & 1) && !(after[i] >> bit & 1))
                cleared.emplace_back(static_cast<int>(i), bit);
    return cleared;
}

using Bits = std::vector<std::pair<int, int>>;

const Device kS09Small = {ZR32_S09, 64, 4, 1024};    // 64 KB in 1 KB sectors
const Device kS01Large = {ZR32_S01, 512, 2, 2048};   // 1024 KB in 2 KB sectors
const Device kS13Large = {ZR32_S13, 256, 1, 4096};   // 1024 KB in 4 KB sectors
const Device kS14Small = {ZR32_S14, 256, 2, 2048};   // 512 KB in 2 KB sectors

} // namespace

// The 4-byte map: a bit per group of sectors, bit 31 for everything beyond (S05 and S17 always two
// sectors a bit). The 20-byte map of S13 and S14: 32 bits, then 16 bytes of wider groups.
TEST(Epp, EachSectorLandsOnItsBit)
{
    const Device s05 = {ZR32_S05, 128, 4, 1024}, s17 = {ZR32_S17, 128, 4, 1024}, noGroups = {ZR32_S09, 64, 0, 1024};
    const struct {
        Device device;
        int sector;
        Bits bits;
    } rows[] = {
        {kS09Small, 0, {{4, 0}}},   {kS09Small, 3, {{4, 0}}},   {kS09Small, 4, {{4, 1}}},    {kS09Small, 60, {{5, 7}}},
        {kS09Small, 63, {{5, 7}}},  {kS09Small, 64, {{7, 7}}},  {kS09Small, 0x8000, {{7, 7}}}, {kS09Small, -1, {}},
        {kS01Large, 61, {{7, 6}}},  {kS01Large, 62, {{7, 7}}},  {kS01Large, 511, {{7, 7}}},
        {s05, 2, {{4, 1}}},         {s05, 61, {{7, 6}}},        {s17, 2, {{4, 1}}},          {s17, 61, {{7, 6}}},
        {noGroups, 3, {}},          {noGroups, 64, {{7, 7}}},
        {kS13Large, 0, {{4, 0}}},   {kS13Large, 31, {{7, 7}}},  {kS13Large, 32, {{10, 0}}},  {kS13Large, 63, {{10, 0}}},
        {kS13Large, 64, {{10, 1}}}, {kS13Large, 32 + 32 * 8, {{11, 0}}}, {kS13Large, 32 + 32 * 8 * 16 - 1, {{25, 7}}},
        {kS13Large, 32 + 32 * 8 * 16, {}}, {kS13Large, -1, {}},
        {kS14Small, 1, {{4, 0}}},   {kS14Small, 2, {{4, 1}}},   {kS14Small, 63, {{7, 7}}},   {kS14Small, 64, {{10, 0}}},
        {kS14Small, 128, {{10, 1}}}, {kS14Small, 0x8000, {}},
        {{ZR32_S13, 64, 1, 0}, 5, {}}, {{ZR32_S13, 64, 1, 512}, 5, {}}, {{ZR32_S13, 64, 1, 8192}, 5, {}}, // no map
    };
    for (const auto& row : rows)
        EXPECT_EQ(ClearedBits(row.device, row.sector), row.bits) << row.device.series << " sector " << row.sector;
}

