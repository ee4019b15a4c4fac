// Which memories an image touches: the flags set by part start addresses and the order in
// which combinations win.
#include "share_parameter.h"
#include "image_test_support.h"

#include <gtest/gtest.h>

namespace {

ImageLocation Classify(const std::vector<uint32_t>& starts)
{
    FileInfo image;
    image.location = FILE_POS_IN_BLE_FLASH; // must be overwritten
    for (uint32_t start : starts) {
        ImagePart part;
        part.startAddress = start;
        image.parts.append(part);
    }
    g_shareParameter.LocateImage(image);
    return image.location;
}

constexpr uint32_t kMain = 0x08000000, kSpim = 0x08400000, kBoot = 0x1FFFF000, kBle = 0x1000;

} // namespace

TEST(ImageMemory, EachWindowAlone)
{
    EXPECT_EQ(Classify({}), FILE_POS_IN_MAIN_FLASH);
    EXPECT_EQ(Classify({kMain}), FILE_POS_IN_MAIN_FLASH);
    EXPECT_EQ(Classify({kSpim}), FILE_POS_IN_SPIM_FLASH);
    EXPECT_EQ(Classify({kBoot}), FILE_POS_IN_BOOT_FLASH);
    EXPECT_EQ(Classify({kBle}), FILE_POS_IN_BLE_FLASH);
}

TEST(ImageMemory, WindowEdgesAreTheirs)
{
    EXPECT_EQ(Classify({0x083FFFFF}), FILE_POS_IN_MAIN_FLASH);
    EXPECT_EQ(Classify({0x093FFFFF}), FILE_POS_IN_SPIM_FLASH);
    EXPECT_EQ(Classify({0x09400000}), FILE_POS_IN_MAIN_FLASH);
    EXPECT_EQ(Classify({0x1FFFA400}), FILE_POS_IN_BOOT_FLASH);
    EXPECT_EQ(Classify({0x1FFFF3FF}), FILE_POS_IN_BOOT_FLASH);
    EXPECT_EQ(Classify({0x1FFFF400}), FILE_POS_IN_MAIN_FLASH);
    EXPECT_EQ(Classify({0x1FFFA3FF}), FILE_POS_IN_MAIN_FLASH);
    EXPECT_EQ(Classify({0x1FFF8000}), FILE_POS_IN_MAIN_FLASH); // a lower boot window is not boot memory
    EXPECT_EQ(Classify({0x27FF7}), FILE_POS_IN_BLE_FLASH);
    EXPECT_EQ(Classify({0x27FF8}), FILE_POS_IN_MAIN_FLASH);
}

TEST(ImageMemory, OnlyTheStartOfAPartCounts)
{
    FileInfo image;
    ImagePart part;
    part.startAddress = 0x083FFFF0;
    part.bytes.resize(0x100);
    part.endAddress = 0x084000EF;
    image.parts.append(part);
    g_shareParameter.LocateImage(image);
    EXPECT_EQ(image.location, FILE_POS_IN_MAIN_FLASH);
}

TEST(ImageMemory, CombinationsWinInTheirOrder)
{
    EXPECT_EQ(Classify({kMain, kBoot}), FILE_POS_IN_MAIN_BOOT_FLASH);
    EXPECT_EQ(Classify({kMain, kBle}), FILE_POS_IN_MAIN_BLE_FLASH);
    EXPECT_EQ(Classify({kMain, kSpim}), FILE_POS_IN_MAIN_SPIM_FLASH);
    EXPECT_EQ(Classify({kBoot, kBle}), FILE_POS_IN_BOOT_BLE_FLASH);
    EXPECT_EQ(Classify({kBle, kBoot, kMain}), FILE_POS_IN_MAIN_BOOT_BLE_FLASH);
    EXPECT_EQ(Classify({kMain, kSpim, kBoot}), FILE_POS_IN_MAIN_SPIM_FLASH);
    EXPECT_EQ(Classify({kBoot, kSpim}), FILE_POS_IN_BOOT_FLASH);
    EXPECT_EQ(Classify({kSpim, kBle}), FILE_POS_IN_BLE_FLASH);
    EXPECT_EQ(Classify({kMain, kSpim, kBle}), FILE_POS_IN_MAIN_SPIM_FLASH);
    EXPECT_EQ(Classify({kMain, kSpim, kBoot, kBle}), FILE_POS_IN_MAIN_BOOT_BLE_FLASH);
    EXPECT_EQ(Classify({0x20000000, kSpim}), FILE_POS_IN_SPIM_FLASH);
}
