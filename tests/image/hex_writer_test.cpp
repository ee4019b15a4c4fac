// The image writers: record layout of Intel HEX output, binary output, and what a failed write
// leaves behind.
#include "file_operation.h"
#include "image_test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace image_test;

namespace {

std::string SaveHex(const ScratchDir& dir, const Bytes& bytes, uint32_t address)
{
    const std::string path = dir.Path("out.hex");
    EXPECT_EQ(FileOperation().SaveFile(path, bytes.data(), static_cast<int32_t>(bytes.size()), address),
              FILE_OPERATION_SUCCESS);
    return ReadText(path);
}

// Records of 16 bytes, an address record before the first record of every 64 KiB segment.
std::string ReferenceHex(const Bytes& bytes, uint32_t address)
{
    std::string text;
    for (const ExpectedPart& part : SplitAtSegments({{address, bytes}})) {
        const uint8_t upper[] = {static_cast<uint8_t>(part.start >> 24), static_cast<uint8_t>(part.start >> 16)};
        text += ReferenceRecord(4, 0, upper, 2, "\n");
        for (size_t i = 0; i < part.bytes.size(); i += 16)
            text += ReferenceRecord(0, part.start + static_cast<uint32_t>(i), &part.bytes[i],
                                    std::min<size_t>(16, part.bytes.size() - i), "\n");
    }
    return text + ":00000001FF";
}

// Lowers the file size limit for one scope, so that writes past it fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace

TEST(HexWriter, SixteenByteRecordsAndAnAddressRecordForEverySegment)
{
    ScratchDir dir;
    Bytes counting(32);
    for (size_t i = 0; i < counting.size(); ++i)
        counting[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(SaveHex(dir, counting, 0x08000000), ":020000040800F2\n:10000000000102030405060708090A0B0C0D0E0F78\n"
                                                   ":10001000101112131415161718191A1B1C1D1E1F68\n:00000001FF");
    Bytes sumZero(16, 0); // 0x10 + 0xF0 = 0x100: checksum 00
    sumZero[0] = 0xF0;
    const std::pair<uint32_t, Bytes> rows[] = {
        {0x08000000, Bytes(20, 0xAB)},  {0, sumZero}, {0x0800FFF8, RandomBytes(24, 32)},
        {0x08000000, RandomBytes(0x20000, 31)}, {0x08000000, {}}, {0xFFFFFF00, RandomBytes(0x100, 33)},
    };
    for (const auto& [address, bytes] : rows)
        EXPECT_EQ(SaveHex(dir, bytes, address), ReferenceHex(bytes, address)) << std::hex << address << " " << bytes.size();
    ASSERT_EQ(FileOperation().SaveFile(dir.Path("out.bin"), sumZero.data(), 0, 0), FILE_OPERATION_SUCCESS);
    EXPECT_EQ(ReadText(dir.Path("out.bin")), "");
}

TEST(WriterResults, AWriteThatFailsPartWayLeavesTheNamedFileAsItWas)
{
    ScratchDir dir;
    const Bytes big = RandomBytes(200000, 34);
    for (const std::string name : {"keep.hex", "keep.bin", "new.hex", "new.bin"}) {
        const std::string path = dir.Path(name);
        if (name.rfind("keep", 0) == 0)
            WriteFile(path, std::string("previous"));
        int result;
        {
            FileSizeLimit limit(4096);
            result = FileOperation().SaveFile(path, big.data(), static_cast<int32_t>(big.size()), 0x08000000);
        }
        EXPECT_EQ(result, FILE_SAVE_FORMAT_ERROR) << name;
        if (name.rfind("keep", 0) == 0)
            EXPECT_EQ(ReadText(path), "previous") << name;
        else
            EXPECT_FALSE(QFile::exists(QString::fromStdString(path))) << name;
    }
    EXPECT_EQ(QDir(QString::fromStdString(dir.Path(""))).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(FileOperation().SaveFile(dir.Path("no/such/dir/a.hex"), big.data(), 16, 0), FILE_SAVE_NOT_FOUND_ERROR);
}

TEST(WriterResults, ASaveKeepsTheModeFollowsALinkAndSparesAReadOnlyFile)
{
    ScratchDir dir;
    const Bytes bytes = RandomBytes(64, 35);
    const auto save = [&](const std::string& name) {
        return FileOperation().SaveFile(dir.Path(name), bytes.data(), static_cast<int32_t>(bytes.size()), 0);
    };
    const std::string saved(bytes.begin(), bytes.end());
    struct stat info{};

    WriteFile(dir.Path("shared.bin"), std::string("previous"));
    ASSERT_EQ(chmod(dir.Path("shared.bin").c_str(), 0640), 0);
    EXPECT_EQ(save("shared.bin"), FILE_OPERATION_SUCCESS);
    ASSERT_EQ(stat(dir.Path("shared.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    ASSERT_EQ(symlink("shared.bin", dir.Path("link.bin").c_str()), 0);
    WriteFile(dir.Path("shared.bin"), std::string("previous"));
    EXPECT_EQ(save("link.bin"), FILE_OPERATION_SUCCESS);
    EXPECT_EQ(ReadText(dir.Path("shared.bin")), saved);
    ASSERT_EQ(lstat(dir.Path("link.bin").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    EXPECT_EQ(QDir(QString::fromStdString(dir.Path(""))).entryList(QDir::Files | QDir::System).size(), 2);
    if (geteuid() == 0)
        return; // root may write anything
    WriteFile(dir.Path("locked.bin"), std::string("previous"));
    ASSERT_EQ(chmod(dir.Path("locked.bin").c_str(), 0444), 0);
    EXPECT_NE(save("locked.bin"), FILE_OPERATION_SUCCESS);
    EXPECT_EQ(ReadText(dir.Path("locked.bin")), "previous");
}
