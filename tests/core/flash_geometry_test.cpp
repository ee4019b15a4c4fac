#include "mcu_identification.h"

#include <gtest/gtest.h>

namespace {
// Flash size in KB by the PID's flash size index, as the data sheets give it; 23 to 31 have no entry.
constexpr int32_t kFlashKBByIndex[32] = {
    16, 24, 32, 48, 64, 72, 96, 128, 192, 256, 384, 512, 768, 1024, 1536, 2048,
    4096, 5120, 192, 960, 1984, 4032, 448, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

int32_t Pid(int32_t index, int32_t sectorCode, int32_t otherBits = 0)
{
    return otherBits | (sectorCode << 12) | (index << 6);
}
} // namespace

TEST(FlashSizeFromPid, EveryIndexGivesItsTableEntry)
{
    for (int32_t index = 0; index < 32; ++index) {
        EXPECT_EQ(UpdateFlashSize(Pid(index, 0)), kFlashKBByIndex[index]) << "index " << index;
        // Only bits 10..6 count.
        EXPECT_EQ(UpdateFlashSize(Pid(index, 7, static_cast<int32_t>(0xFFFF883F))), kFlashKBByIndex[index])
            << "index " << index << " with every other bit set";
    }
}

TEST(FlashSizeFromPid, DocumentedExamples)
{
    EXPECT_EQ(UpdateFlashSize(0x00001240), 256);
    EXPECT_EQ(UpdateFlashSize(0x000002C0), 512);
    EXPECT_EQ(UpdateFlashSize(0x00000640), 0);
    EXPECT_EQ(UpdateFlashSize(Pid(22, 0)), 448);
    EXPECT_EQ(UpdateFlashSize(Pid(23, 0)), 0);
}

TEST(SectorSizeFromPid, EveryCodeGivesItsSize)
{
    const int32_t fixed[8] = {-1, 512, 1024, 2048, 4096, 0, 0, 0};
    for (int32_t code = 1; code < 8; ++code) {
        for (int32_t index = 0; index < 32; ++index)
            EXPECT_EQ(UpdateFlashSectorSize(Pid(index, code)), fixed[code]) << "code " << code << " index " << index;
    }
}

TEST(SectorSizeFromPid, CodeZeroFollowsTheFlashSize)
{
    for (int32_t index = 0; index < 32; ++index) {
        const int32_t expected = kFlashKBByIndex[index] < 256 ? 1024 : 2048;
        EXPECT_EQ(UpdateFlashSectorSize(Pid(index, 0)), expected) << "index " << index;
    }
    EXPECT_EQ(UpdateFlashSectorSize(Pid(8, 0)), 1024);  // 192 KB
    EXPECT_EQ(UpdateFlashSectorSize(Pid(9, 0)), 2048);  // 256 KB
    EXPECT_EQ(UpdateFlashSectorSize(Pid(25, 0)), 1024); // no entry counts as 0 KB
}

TEST(SectorSizeFromPid, DocumentedExamples)
{
    EXPECT_EQ(UpdateFlashSectorSize(0x00001240), 512);
    EXPECT_EQ(UpdateFlashSectorSize(0x000002C0), 2048);
    EXPECT_EQ(UpdateFlashSectorSize(0x00000640), 1024);
    EXPECT_EQ(UpdateFlashSectorSize(static_cast<int32_t>(0x80001240)), 512);
}
