// What the download engine and the memory reads plan to do, without a probe.
#include "download_plan.h"

#include <gtest/gtest.h>

#include <tuple>

// Found by argument-dependent lookup: it lives beside TransferChunk.
static bool operator==(const TransferChunk& a, const TransferChunk& b)
{
    return std::tie(a.address, a.offset, a.length) == std::tie(b.address, b.offset, b.length);
}

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

TEST(SplitIntoChunks, whole_kilobytes_first_then_the_remainder)
{
    const std::vector<TransferChunk> expected = {{kFlash, 0, 1024}, {kFlash + 1024, 1024, 1024}, {kFlash + 2048, 2048, 452}};
    EXPECT_EQ(SplitIntoChunks(kFlash, 2500), expected);
    EXPECT_EQ(SplitIntoChunks(kFlash, 2048).size(), 2u);
    EXPECT_TRUE(SplitIntoChunks(kFlash, 0).empty());
    const std::vector<TransferChunk> small = {{0x100, 0, 600}};
    EXPECT_EQ(SplitIntoChunks(0x100, 600), small);
}

TEST(SectorsForImage, a_part_erases_every_sector_it_reaches)
{
    EXPECT_EQ(Sectors({Part(kFlash + 0x800, 4097)}), (std::vector<uint32_t>{kFlash + 0x800, kFlash + 0x1000, kFlash + 0x1800}));
    EXPECT_EQ(Sectors({Part(kFlash + 0x400, 1024)}), (std::vector<uint32_t>{kFlash}));
    EXPECT_EQ(Sectors({Part(kFlash + 0x7FF, 2)}), (std::vector<uint32_t>{kFlash, kFlash + 0x800}));
}

TEST(SectorsForImage, each_sector_once_in_the_order_the_parts_first_reach_it)
{
    EXPECT_EQ(Sectors({Part(kFlash + 0x10, 16), Part(kFlash + 0x100, 16)}), (std::vector<uint32_t>{kFlash}));
    EXPECT_EQ(Sectors({Part(kFlash + 0x2800, 16), Part(kFlash + 0x800, 16), Part(kFlash + 0x2900, 0x800)}),
              (std::vector<uint32_t>{kFlash + 0x2800, kFlash + 0x800, kFlash + 0x3000}));
}

TEST(SectorsForImage, spim_sectors_are_four_kilobytes)
{
    EXPECT_EQ(Sectors({Part(kSpim, 5000)}), (std::vector<uint32_t>{kSpim, kSpim + 0x1000}));
}

TEST(SectorsForImage, boot_memory_sectors_are_listed_by_their_addresses)
{
    EXPECT_EQ(Sectors({Part(kBoot + 0x900, 16)}), (std::vector<uint32_t>{kBoot + 0x800}));
}

TEST(SectorsForImage, ble_parts_and_empty_parts_add_nothing)
{
    EXPECT_TRUE(Sectors({Part(0x100, 600)}).empty());
    EXPECT_TRUE(Sectors({Part(kFlash + 0x800, 0)}).empty());
    EXPECT_TRUE(Sectors({Part(0x30000000, 16)}).empty());
}

TEST(SectorsForImage, an_unknown_sector_size_erases_no_main_flash)
{
    EXPECT_TRUE(Sectors({Part(kFlash, 16)}, EraseGeometry{0, kBoot, 4096}).empty());
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
