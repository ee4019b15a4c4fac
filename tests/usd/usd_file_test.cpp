// User system data files: the exact Intel HEX text, and what cannot be saved.
#include "file_operation.h"
#include "user_system_data.h"
#include "image_test_support.h"

#include <gtest/gtest.h>

using namespace image_test;

namespace {

bool Save(const std::string& path, const Bytes& content)
{
    return CUserSystemData::SaveUserSystemDataToFile(path, content.data(), static_cast<int>(content.size()));
}

} // namespace

// Byte pairs, their complements and reading back through the image reader are checked end to end
// for every block length; here the exact text, with a short last record and a checksum of zero.
TEST(UsdHexFile, TheTextIsExactWithCrLfAndNoLineEndAfterTheEndRecord)
{
    ScratchDir dir;
    Bytes content = RandomBytes(40, 42);
    std::fill(content.begin(), content.begin() + 16, 0);
    content[0] = 0xF0; // 0x10 + 0xF0 = 0x100: checksum 00
    for (const std::string name : {"usd.hex", "usd.HEX", "usd.Hex"}) {
        ASSERT_TRUE(Save(dir.Path(name), content));
        EXPECT_EQ(ReadText(dir.Path(name)), ":020000040000FA\r\n:020000020000FC\r\n"
                                                ":10000000F000000000000000000000000000000000\r\n"
                                                + ReferenceRecord(0, 0x10, &content[16], 16, "\r\n")
                                                + ReferenceRecord(0, 0x20, &content[32], 8, "\r\n") + ":00000001FF")
            << name;
        FileInfo info;
        info.path = dir.Path(name);
        ASSERT_EQ(FileOperation().OpenFile(info), FILE_OPERATION_SUCCESS);
        EXPECT_EQ(info.parts[0].bytes, content);
    }
}

TEST(UsdSaving, RefusesWhatItCannotWrite)
{
    ScratchDir dir;
    const Bytes content(48, 1);
    EXPECT_FALSE(Save("", content));
    EXPECT_FALSE(CUserSystemData::SaveUserSystemDataToFile(dir.Path("x.hex"), nullptr, 48));
    EXPECT_FALSE(Save(dir.Path("missing/dir/x.hex"), content));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.Path("x.hex"))));
}
