// What the download engine plans to do, without a probe.
#include "download_plan.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kFlash = 0x08000000;
constexpr uint32_t kSpim = 0x08400000;
constexpr uint32_t kBoot = 0x1FFFE400;
const EraseGeometry kGeometry{2048, kBoot, 4096};

ImagePart Part(uint32_t address, uint32_t size)
{
    ImagePart part;
    part.startAddress = address;
    part.bytes.resize(size);
    part.endAddress = address + size - 1;
    return part;
}

std::vector<uint32_t> Sectors(std::initializer_list<ImagePart> parts, const EraseGeometry& geometry = kGeometry)
{
    QList<ImagePart> list;
    for (const ImagePart& part : parts)
        list.append(part);
    return SectorsForImage(list, geometry);
}

// A part erases every sector it reaches, each sector once in the order the parts first reach it;
// SPIM sectors are 4 KiB, boot memory sectors listed by address; BLE and empty parts add nothing.
TEST(SectorsForImage, lists_each_sector_a_part_reaches_once)
{
    using V = std::vector<uint32_t>;
    EXPECT_EQ(Sectors({Part(kFlash + 0x800, 4097)}), (V{kFlash + 0x800, kFlash + 0x1000, kFlash + 0x1800}));
    EXPECT_EQ(Sectors({Part(kFlash + 0x400, 1024)}), (V{kFlash}));
    EXPECT_EQ(Sectors({Part(kFlash + 0x7FF, 2)}), (V{kFlash, kFlash + 0x800}));
    EXPECT_EQ(Sectors({Part(kFlash + 0x10, 16), Part(kFlash + 0x100, 16)}), (V{kFlash}));
    EXPECT_EQ(Sectors({Part(kFlash + 0x2800, 16), Part(kFlash + 0x800, 16), Part(kFlash + 0x2900, 0x800)}),
              (V{kFlash + 0x2800, kFlash + 0x800, kFlash + 0x3000}));
    EXPECT_EQ(Sectors({Part(kSpim, 5000)}), (V{kSpim, kSpim + 0x1000}));
    EXPECT_EQ(Sectors({Part(kBoot + 0x900, 16)}), (V{kBoot + 0x800}));
    EXPECT_EQ(Sectors({Part(0x100, 600), Part(kFlash + 0x800, 0), Part(0x30000000, 16)}), V{});
    EXPECT_EQ(Sectors({Part(kFlash, 16)}, EraseGeometry{0, kBoot, 4096}), V{}); // unknown sector size
}

TEST(WriteBrackets, follow_the_memories_of_the_image)
{
    using B = BracketCall;
    const struct {
        ImageLocation position;
        std::vector<B> begin;
        std::vector<B> end;
    } rows[] = {
        {FILE_POS_IN_MAIN_FLASH, {B::MainFlash}, {B::MainFlash}},
        {FILE_POS_IN_SPIM_FLASH, {B::Spim}, {B::Spim}},
        {FILE_POS_IN_BOOT_FLASH, {B::MainFlash}, {B::MainFlash}},
        {FILE_POS_IN_BLE_FLASH, {B::SelectBleMainSpace}, {}},
        {FILE_POS_IN_MAIN_BOOT_FLASH, {B::MainFlash}, {B::MainFlash}},
        {FILE_POS_IN_MAIN_BLE_FLASH, {B::MainFlash, B::SelectBleMainSpace}, {B::MainFlash}},
        {FILE_POS_IN_MAIN_SPIM_FLASH, {B::MainFlash, B::Spim}, {B::MainFlash, B::Spim}},
        {FILE_POS_IN_BOOT_BLE_FLASH, {B::MainFlash, B::SelectBleMainSpace}, {B::MainFlash}},
        {FILE_POS_IN_MAIN_BOOT_BLE_FLASH, {B::MainFlash, B::SelectBleMainSpace}, {B::MainFlash}},
        {static_cast<ImageLocation>(9), {}, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(BeginCalls(row.position), row.begin) << row.position;
        EXPECT_EQ(EndCalls(row.position), row.end) << row.position;
    }
}

}  // namespace
