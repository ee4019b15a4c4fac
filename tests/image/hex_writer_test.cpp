// The image writers: record layout of Intel HEX output, binary output, and what a failed write
// leaves behind.
#include "file_operation.h"
#include "image_test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace image_test;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at));
    lines.push_back(text.substr(at));
    return lines;
}

std::string SaveHex(const ScratchDir& dir, const Bytes& bytes, uint32_t address)
{
    const std::string path = dir.Path("out.hex");
    EXPECT_EQ(FileOperation().SaveFile(path, bytes.data(), static_cast<int32_t>(bytes.size()), address),
              FILE_OPERATION_SUCCESS);
    return ReadText(path);
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

TEST(HexWriter, ThirtyTwoBytesGiveOneAddressRecordTwoDataRecordsAndTheEnd)
{
    ScratchDir dir;
    Bytes bytes(32);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(SaveHex(dir, bytes, 0x08000000),
              ":020000040800F2\n"
              ":10000000000102030405060708090A0B0C0D0E0F78\n"
              ":10001000101112131415161718191A1B1C1D1E1F68\n"
              ":00000001FF");
}

TEST(HexWriter, TheLastRecordHoldsTheRemainder)
{
    ScratchDir dir;
    const std::vector<std::string> lines = Lines(SaveHex(dir, Bytes(20, 0xAB), 0x08000000));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], ":04001000ABABABAB40");
}

TEST(HexWriter, AnAddressRecordPrecedesTheFirstRecordOfEverySegment)
{
    ScratchDir dir;
    const std::vector<std::string> lines = Lines(SaveHex(dir, RandomBytes(0x20000, 31), 0x08000000));
    ASSERT_EQ(lines.size(), 1u + 0x1000 + 1u + 0x1000 + 1u);
    EXPECT_EQ(lines[0], ":020000040800F2");
    EXPECT_EQ(lines[0x1001], ":020000040801F1");
    EXPECT_EQ(lines[0x1002].substr(0, 9), ":10000000");
    EXPECT_EQ(lines.back(), ":00000001FF");
}

TEST(HexWriter, ABlockAtAddressZeroStartsWithItsAddressRecord)
{
    ScratchDir dir;
    EXPECT_EQ(Lines(SaveHex(dir, Bytes(16, 0), 0))[0], ":020000040000FA");
}

TEST(HexWriter, NoBytesGiveOnlyTheEndRecordOrAnEmptyFile)
{
    ScratchDir dir;
    const uint8_t none = 0;
    EXPECT_EQ(SaveHex(dir, Bytes(), 0x08000000), ":00000001FF");
    ASSERT_EQ(FileOperation().SaveFile(dir.Path("out.bin"), &none, 0, 0), FILE_OPERATION_SUCCESS);
    EXPECT_EQ(ReadText(dir.Path("out.bin")), "");
}

TEST(HexWriter, ARecordWhoseSumIsAMultipleOf256CarriesChecksumZero)
{
    ScratchDir dir;
    // 0x10 + 0x00 + 0x00 + 0x00 + 0xF0 = 0x100
    Bytes bytes(16, 0);
    bytes[0] = 0xF0;
    EXPECT_EQ(Lines(SaveHex(dir, bytes, 0))[1], ":10000000F000000000000000000000000000000000");
}

TEST(HexWriter, AnUnalignedBlockNeverCrossesASegmentInOneRecord)
{
    ScratchDir dir;
    const std::vector<std::string> lines = Lines(SaveHex(dir, RandomBytes(24, 32), 0x0800FFF8));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].substr(0, 9), ":08FFF800");
    EXPECT_EQ(lines[2], ":020000040801F1");
    EXPECT_EQ(lines[3].substr(0, 9), ":10000000");
}

TEST(BinaryWriter, WritesExactlyTheBytes)
{
    ScratchDir dir;
    const Bytes bytes = RandomBytes(70000, 33);
    ASSERT_EQ(FileOperation().SaveFile(dir.Path("out.BIN"), bytes.data(), 70000, 0x08000000), FILE_OPERATION_SUCCESS);
    EXPECT_EQ(ReadBytes(dir.Path("out.BIN")), bytes);
}

TEST(WriterResults, WrongNamesAndUncreatableFiles)
{
    ScratchDir dir;
    const Bytes bytes(16, 1);
    FileOperation files;
    EXPECT_EQ(files.SaveHexFile(dir.Path("a.bin"), bytes.data(), 16, 0), FILE_SAVE_FORMAT_ERROR);
    EXPECT_EQ(files.SaveBinaryFile(dir.Path("a.hex"), bytes.data(), 16), FILE_SAVE_FORMAT_ERROR);
    EXPECT_EQ(files.SaveHexFile("", bytes.data(), 16, 0), FILE_SAVE_FORMAT_ERROR);
    EXPECT_EQ(files.SaveFile("ex", bytes.data(), 16, 0), FILE_SAVE_FORMAT_ERROR);
    EXPECT_EQ(files.SaveFile(dir.Path("no/such/dir/a.hex"), bytes.data(), 16, 0), FILE_SAVE_NOT_FOUND_ERROR);
    EXPECT_EQ(files.SaveFile(dir.Path("no/such/dir/a.bin"), bytes.data(), 16, 0), FILE_SAVE_NOT_FOUND_ERROR);
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
}

TEST(WriterRoundTrip, WhatTheHexWriterSavesTheReaderLoads)
{
    ScratchDir dir;
    const Bytes bytes = RandomBytes(0x18000, 35);
    const std::string path = dir.Path("round.hex");
    ASSERT_EQ(FileOperation().SaveFile(path, bytes.data(), static_cast<int32_t>(bytes.size()), 0x0800C000),
              FILE_OPERATION_SUCCESS);
    FileInfo info;
    info.path = path;
    ASSERT_EQ(FileOperation().OpenFile(info), FILE_OPERATION_SUCCESS);
    const std::vector<ExpectedPart> expected = SplitAtSegments({{0x0800C000, bytes}});
    ASSERT_EQ(info.parts.size(), static_cast<int>(expected.size()));
    for (int i = 0; i < info.parts.size(); ++i) {
        EXPECT_EQ(info.parts[i].startAddress, expected[static_cast<size_t>(i)].start);
        EXPECT_EQ(PartBytes(info.parts[i]), expected[static_cast<size_t>(i)].bytes);
    }
}
