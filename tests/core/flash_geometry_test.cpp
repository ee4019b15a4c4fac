#include "mcu_identification.h"

#include <gtest/gtest.h>

// Every real product ID is checked against its part name in part_number_table_test.cpp; these are
// the rules the table rows do not reach: the bits that do not count, unassigned codes, code zero.
TEST(FlashGeometryFromPid, DocumentedExamplesAndTheEdgesOfTheTables)
{
    const struct {
        uint32_t pid;
        int32_t flashKb;
        int32_t sectorSize;
    } cases[] = {
        {0x00001240, 256, 512},  {0x000002C0, 512, 2048}, {0x00000640, 0, 1024},  {0x80001240, 256, 512},
        {0xFFFFFB7F, 1024, 0},   {0x00000580, 448, 2048}, {0x000005C0, 0, 1024},  // index 23: no entry
        {0x00000200, 192, 1024}, {0x00000240, 256, 2048},  // code 0: 2 KB sectors from 256 KB
        {0x00004000, 16, 4096},  {0x00005000, 16, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FlashKilobytesOfPid(static_cast<int32_t>(c.pid)), c.flashKb) << std::hex << c.pid;
        EXPECT_EQ(SectorSizeOfPid(static_cast<int32_t>(c.pid)), c.sectorSize) << std::hex << c.pid;
    }
}
