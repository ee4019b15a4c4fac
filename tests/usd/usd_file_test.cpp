// User system data files: the byte/complement content, the exact Intel HEX text, and reading a
// saved file back through the image reader.
#include "file_operation.h"
#include "open_image_file.h"
#include "share_parameter.h"
#include "user_system_data.h"
#include "user_system_data_file.h"
#include "image_test_support.h"

#include <gtest/gtest.h>


using namespace image_test;

namespace {

Bytes Content(int length, uint32_t seed)
{
    const Bytes block = RandomBytes(static_cast<size_t>(length), seed);
    return ToDeviceImage(block.data(), length);
}

std::string CrLfRecord(uint32_t offset, const uint8_t* data)
{
    return ReferenceRecord(0, offset, data, 16, "\r\n");
}

bool Save(const std::string& path, const Bytes& content)
{
    return CUserSystemData::SaveUserSystemDataToFile(path, content.data(), static_cast<int>(content.size()));
}

Bytes LoadBlock(const std::string& path, int length, bool& accepted)
{
    FileInfo info;
    testing::internal::CaptureStdout();
    const bool opened = OpenFile(path, info);
    testing::internal::GetCapturedStdout();
    Bytes block;
    accepted = opened && BlockFromImageFile(info, length, block);
    return block;
}

} // namespace

TEST(UsdContent, EveryByteIsFollowedByItsComplement)
{
    const Bytes block = {0x00, 0xA5, 0xFF, 0x3C};
    EXPECT_EQ(ToDeviceImage(block.data(), 4), (Bytes{0x00, 0xFF, 0xA5, 0x5A, 0xFF, 0x00, 0x3C, 0xC3}));
}

TEST(UsdHexFile, TheTextIsExactWithCrLfAndNoLineEndAfterTheEndRecord)
{
    ScratchDir dir;
    const Bytes content = Content(24, 40);
    for (const std::string name : {"usd.hex", "usd.HEX", "usd.Hex"}) {
        ASSERT_TRUE(Save(dir.Path(name), content));
        EXPECT_EQ(ReadText(dir.Path(name)), ":020000040000FA\r\n:020000020000FC\r\n" + CrLfRecord(0x00, &content[0])
                                                  + CrLfRecord(0x10, &content[16]) + CrLfRecord(0x20, &content[32])
                                                  + ":00000001FF")
            << name;
    }
}

TEST(UsdHexFile, ARecordWhoseSumIsAMultipleOf256CarriesChecksumZero)
{
    ScratchDir dir;
    Bytes content(48, 0);
    content[0] = 0xF0; // 0x10 + 0xF0 = 0x100
    ASSERT_TRUE(Save(dir.Path("zero.hex"), content));
    EXPECT_EQ(ReadText(dir.Path("zero.hex")).substr(34, 45), ":10000000F000000000000000000000000000000000\r\n");
}

TEST(UsdHexFile, BytesAfterTheLastFullRecordGoIntoAShortRecordRatherThanBeingDropped)
{
    ScratchDir dir;
    const Bytes content = RandomBytes(40, 42);
    ASSERT_TRUE(Save(dir.Path("odd.hex"), content));
    EXPECT_EQ(ReadText(dir.Path("odd.hex")), ":020000040000FA\r\n:020000020000FC\r\n" + CrLfRecord(0x00, &content[0])
                                                 + CrLfRecord(0x10, &content[16])
                                                 + ReferenceRecord(0, 0x20, &content[32], 8, "\r\n") + ":00000001FF");
    FileInfo info;
    info.path = dir.Path("odd.hex");
    ASSERT_EQ(FileOperation().OpenFile(info), FILE_OPERATION_SUCCESS);
    EXPECT_EQ(PartBytes(info.parts[0]), content);
}

TEST(UsdBinaryFile, HoldsExactlyTheContent)
{
    ScratchDir dir;
    const Bytes content = Content(128, 41);
    ASSERT_TRUE(Save(dir.Path("usd.bin"), content));
    EXPECT_EQ(ReadBytes(dir.Path("usd.bin")), content);
}

TEST(UsdRoundTrip, EveryLengthComesBackThroughBothFormats)
{
    ScratchDir dir;
    uint32_t seed = 50;
    for (int length : {24, 128, 256, 512, 2048}) {
        const Bytes block = RandomBytes(static_cast<size_t>(length), seed++);
        const Bytes content = ToDeviceImage(block.data(), length);
        for (const std::string name : {"round.hex", "round.bin"}) {
            ASSERT_TRUE(Save(dir.Path(name), content)) << name;
            bool accepted = false;
            EXPECT_EQ(LoadBlock(dir.Path(name), length, accepted), block) << name << " " << length;
            EXPECT_TRUE(accepted) << name << " " << length;
        }
        FileInfo info;
        info.path = dir.Path("round.hex");
        ASSERT_EQ(FileOperation().OpenFile(info), FILE_OPERATION_SUCCESS);
        ASSERT_EQ(info.parts.size(), 1);
        EXPECT_EQ(info.parts[0].startAddress, 0u);
        EXPECT_EQ(info.parts[0].size(), static_cast<uint32_t>(2 * length));
    }
}

TEST(UsdReading, AFileMustHoldTwiceTheLengthInItsFirstPart)
{
    ScratchDir dir;
    const Bytes content = Content(24, 60);
    bool accepted = false;
    WriteFile(dir.Path("exact.bin"), content);
    LoadBlock(dir.Path("exact.bin"), 24, accepted);
    EXPECT_TRUE(accepted);
    WriteFile(dir.Path("short.bin"), Bytes(content.begin(), content.end() - 1));
    LoadBlock(dir.Path("short.bin"), 24, accepted);
    EXPECT_FALSE(accepted);
    Bytes longer = content;
    longer.insert(longer.end(), 10, 0xEE);
    WriteFile(dir.Path("long.bin"), longer);
    const Bytes block = LoadBlock(dir.Path("long.bin"), 24, accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(block.size(), 24u);

    // 48 bytes in all, but split by a gap: the second part's bytes are not part of the block.
    const std::string split = ":020000040000FA\r\n" + CrLfRecord(0x00, &content[0]) + CrLfRecord(0x20, &content[16])
                              + CrLfRecord(0x30, &content[32]) + ":00000001FF";
    WriteFile(dir.Path("split.hex"), split);
    LoadBlock(dir.Path("split.hex"), 24, accepted);
    EXPECT_FALSE(accepted);
}

TEST(UsdSaving, RefusesWhatItCannotWrite)
{
    ScratchDir dir;
    const Bytes content = Content(24, 70);
    EXPECT_FALSE(Save("", content));
    EXPECT_FALSE(CUserSystemData::SaveUserSystemDataToFile(dir.Path("x.hex"), nullptr, 48));
    EXPECT_FALSE(Save(dir.Path("missing/dir/x.hex"), content));
    EXPECT_FALSE(Save(dir.Path("missing/dir/x.bin"), content));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.Path("x.hex"))));
}
