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
        part.bytes.resize(0x100); // only the start of a part counts
        part.endAddress = start + 0xFF;
        image.parts.append(part);
    }
    g_shareParameter.LocateImage(image);
    return image.location;
}

constexpr uint32_t kMain = 0x08000000, kSpim = 0x08400000, kBoot = 0x1FFFF000, kBle = 0x1000;

} // namespace

TEST(ImageMemory, WindowsAndCombinationsWinInTheirOrder)
{
    const std::pair<std::vector<uint32_t>, ImageLocation> rows[] = {
        {{}, FILE_POS_IN_MAIN_FLASH},           {{kMain}, FILE_POS_IN_MAIN_FLASH},
        {{kSpim}, FILE_POS_IN_SPIM_FLASH},      {{kBoot}, FILE_POS_IN_BOOT_FLASH},
        {{kBle}, FILE_POS_IN_BLE_FLASH},        {{0x083FFFF0}, FILE_POS_IN_MAIN_FLASH},
        {{0x093FFFFF}, FILE_POS_IN_SPIM_FLASH}, {{0x09400000}, FILE_POS_IN_MAIN_FLASH},
        {{0x1FFFA400}, FILE_POS_IN_BOOT_FLASH}, {{0x1FFFF3FF}, FILE_POS_IN_BOOT_FLASH},
        {{0x1FFFF400}, FILE_POS_IN_MAIN_FLASH}, {{0x1FFFA3FF}, FILE_POS_IN_MAIN_FLASH},
        {{0x1FFF8000}, FILE_POS_IN_MAIN_FLASH}, // a lower boot window is not boot memory
        {{0x27FF7}, FILE_POS_IN_BLE_FLASH},     {{0x27FF8}, FILE_POS_IN_MAIN_FLASH},
        {{kMain, kBoot}, FILE_POS_IN_MAIN_BOOT_FLASH},       {{kMain, kBle}, FILE_POS_IN_MAIN_BLE_FLASH},
        {{kMain, kSpim}, FILE_POS_IN_MAIN_SPIM_FLASH},       {{kBoot, kBle}, FILE_POS_IN_BOOT_BLE_FLASH},
        {{kBle, kBoot, kMain}, FILE_POS_IN_MAIN_BOOT_BLE_FLASH}, {{kMain, kSpim, kBoot}, FILE_POS_IN_MAIN_SPIM_FLASH},
        {{kBoot, kSpim}, FILE_POS_IN_BOOT_FLASH},            {{kSpim, kBle}, FILE_POS_IN_BLE_FLASH},
        {{kMain, kSpim, kBle}, FILE_POS_IN_MAIN_SPIM_FLASH}, {{kMain, kSpim, kBoot, kBle}, FILE_POS_IN_MAIN_BOOT_BLE_FLASH},
        {{0x20000000, kSpim}, FILE_POS_IN_SPIM_FLASH},
    };
    for (const auto& [starts, location] : rows)
        EXPECT_EQ(Classify(starts), location) << std::hex << (starts.empty() ? 0 : starts.front());
}
