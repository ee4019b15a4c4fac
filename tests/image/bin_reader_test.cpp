// Loading files: the binary reader, the file-system cases of both readers, the extension rules
// and the lines OpenFile prints.
#include "file_io.h"
#include "file_operation.h"
#include "open_image_file.h"
#include "image_test_support.h"

#include <QDir>
#include <QProcess>

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace image_test;

namespace {

const std::string kSmallHex = ":020000040800F2\n:0400000001020304F2\n:00000001FF";

int Load(const std::string& path, uint32_t loadAddress, FileInfo& info)
{
    info.path = path;
    info.startAddress = loadAddress;
    return FileOperation().OpenFile(info);
}

} // namespace

TEST(BinaryReader, PartsAreCutEvery64KiBFromTheLoadAddress)
{
    ScratchDir dir;
    for (const size_t size : {size_t{1}, size_t{0x10000}, size_t{0x10001}}) {
        const Bytes bytes = RandomBytes(size, 22);
        WriteFile(dir.Path("image.bin"), bytes);
        FileInfo info;
        ASSERT_EQ(Load(dir.Path("image.bin"), 0x08000100, info), FILE_OPERATION_SUCCESS);
        std::vector<ExpectedPart> expected = SplitAtSegments({{0, bytes}}); // cut as if loaded at 0
        for (ExpectedPart& part : expected)
            part.start += 0x08000100;
        ExpectParts(info, expected);
    }
}

// The file's length is held against the memory at its load address before any byte is read: a
// file that could never fit is refused at once, one that just fits loads. Lengths are set with
// truncate, so the refused files hold no data at all.
TEST(BinaryReader, AFileLongerThanTheMemoryAtItsAddressIsRefusedUnread)
{
    const struct {
        uint32_t address;
        qint64 length;
        int result;
    } rows[] = {
        {0x08000000, 0x1400001, FILE_OPEN_FORMAT_ERROR}, // beyond main flash and SPIM together
        {0x093FFFFF, 1, FILE_OPERATION_SUCCESS},          // the last byte of SPIM
        {0x093FFFFF, 2, FILE_OPEN_FORMAT_ERROR},
        {0x00000000, 163832, FILE_OPERATION_SUCCESS},     // the whole BLE module flash
        {0x00000000, 163833, FILE_OPEN_FORMAT_ERROR},
        {0x1FFFF000, 0x401, FILE_OPEN_FORMAT_ERROR},      // past the end of boot memory
        {0x30000000, 1, FILE_OPEN_FORMAT_ERROR},          // no memory at all
        {0xFFFFFFFF, 2, FILE_OPEN_FORMAT_ERROR},          // would wrap around the address space
    };
    ScratchDir dir;
    for (const auto& row : rows) {
        QFile file(QString::fromStdString(dir.Path("image.bin")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(row.length));
        file.close();
        FileInfo info;
        EXPECT_EQ(Load(dir.Path("image.bin"), row.address, info), row.result) << std::hex << row.address;
    }
}

TEST(ReaderFiles, EachFileGetsItsCodeAndOpenFileItsLine)
{
    ScratchDir dir;
    WriteFile(dir.Path("empty.bin"), std::string());
    WriteFile(dir.Path("empty.hex"), std::string());
    WriteFile(dir.Path("image.txt"), kSmallHex);
    for (const char* name : {"firmware.Bin", "FIRMWARE.BIN", "firmwarebin"})
        WriteFile(dir.Path(name), std::string("\x01\x02", 2));
    for (const char* name : {"app.ihex", "APPHEX"})
        WriteFile(dir.Path(name), kSmallHex);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.Path("folder.bin"))));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.Path("folder.hex"))));
    // A device would feed the readers without end.
    ASSERT_TRUE(QFile::link("/dev/zero", QString::fromStdString(dir.Path("zero.hex"))));
    ASSERT_TRUE(QFile::link("/dev/zero", QString::fromStdString(dir.Path("zero.bin"))));
    ASSERT_EQ(mkfifo(dir.Path("fifo.hex").c_str(), 0600), 0); // and opening a FIFO would wait for a writer
    const std::string kNotFound = "File path is empty!\n", kEmpty = "File is empty!\n";
    const std::string kFormat = "File format error, please reselect!\n";
    const struct {
        const char* name;
        int code;
        std::string line;
        int size;
    } rows[] = {
        {"missing.bin", FILE_OPEN_NOT_FOUND_ERROR, kNotFound, 0}, {"missing.hex", FILE_OPEN_NOT_FOUND_ERROR, kNotFound, 0},
        {"empty.bin", FILE_OPEN_EMPTY_ERROR, kEmpty, 0},          {"empty.hex", FILE_OPEN_FORMAT_ERROR, kFormat, 0},
        {"folder.bin", FILE_OPEN_EMPTY_ERROR, kEmpty, 0},         {"folder.hex", FILE_OPEN_EMPTY_ERROR, kEmpty, 0},
        {"zero.hex", FILE_OPEN_EMPTY_ERROR, kEmpty, 0},           {"zero.bin", FILE_OPEN_EMPTY_ERROR, kEmpty, 0},
        {"fifo.hex", FILE_OPEN_EMPTY_ERROR, kEmpty, 0},
        {"image.txt", FILE_OPEN_FORMAT_ERROR, kFormat, 0},        {"firmware.Bin", FILE_OPERATION_SUCCESS, "", 2},
        {"FIRMWARE.BIN", FILE_OPERATION_SUCCESS, "", 2},       {"firmwarebin", FILE_OPERATION_SUCCESS, "", 2},
        {"app.ihex", FILE_OPERATION_SUCCESS, "", 4},           {"APPHEX", FILE_OPERATION_SUCCESS, "", 4},
    };
    for (const auto& row : rows) {
        FileInfo info;
        EXPECT_EQ(Load(dir.Path(row.name), 0x08000000, info), row.code) << row.name;
        EXPECT_EQ(info.size, row.size) << row.name;
        testing::internal::CaptureStdout();
        EXPECT_EQ(OpenFile(dir.Path(row.name), info), row.code == FILE_OPERATION_SUCCESS) << row.name;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), row.line) << row.name;
    }
    FileInfo info;
    EXPECT_FALSE(OpenFile("", info));
}

TEST(ReaderFiles, AFileThatShrinksWhileItIsReadFailsTheRead)
{
    ScratchDir dir;
    const std::string path = dir.Path("shrinking.bin");
    WriteFile(path, RandomBytes(3 * 4096, 24));
    size_t chunks = 0;
    EXPECT_EQ(ReadFileInChunks(path, 4096, [&](const char*, size_t) {
                  return chunks++ > 0 || QFile::resize(QString::fromStdString(path), 4096);
              }),
              FileReadResult::ReadFailed);
    EXPECT_EQ(ReadFileInChunks(path, 4096, [](const char*, size_t) { return true; }), FileReadResult::Complete);
}

TEST(FileNames, OnlyHexAndBinNamesAreValid)
{
    for (const std::string name : {"a.hex", "a.HEX", "dir/firmwarebin", "/abs/x.Bin", "bin", "hex"})
        EXPECT_TRUE(IsValidFileName(name)) << name;
    for (const std::string name : {"", "a.bin2", "a.txt", "bin/", "hex/x", "bn", "dir.hex/ab"})
        EXPECT_FALSE(IsValidFileName(name)) << name;
}

// The console runs in the user's locale (Qt sets it at start). Under a Turkish one the C library
// upper-cases "i" to something other than "I"; the locale is built into a scratch directory when
// the system has the locale sources.
TEST(FileNames, ExtensionsAreReadTheSameUnderATurkishLocale)
{
    ScratchDir dir;
    const QString locales = QString::fromStdString(dir.Path("locales"));
    ASSERT_TRUE(QDir().mkpath(locales));
    if (QProcess::execute("localedef", {"-i", "tr_TR", "-f", "UTF-8", locales + "/tr_TR.UTF-8"}) != 0)
        GTEST_SKIP() << "localedef cannot build tr_TR.UTF-8";
    ::setenv("LOCPATH", locales.toLocal8Bit().constData(), 1);
    const bool turkish = std::setlocale(LC_CTYPE, "tr_TR.UTF-8") != nullptr;
    WriteFile(dir.Path("firmware.bin"), std::string("\x01\x02", 2));
    WriteFile(dir.Path("image.hex"), kSmallHex);
    FileInfo binary, hex;
    const bool valid = IsValidFileName("firmware.bin") && IsValidFileName("image.hex");
    const bool loaded = Load(dir.Path("firmware.bin"), 0x08000000, binary) == FILE_OPERATION_SUCCESS
                        && Load(dir.Path("image.hex"), 0, hex) == FILE_OPERATION_SUCCESS;
    std::setlocale(LC_CTYPE, "C");
    ::unsetenv("LOCPATH");
    if (!turkish)
        GTEST_SKIP() << "tr_TR.UTF-8 cannot be selected";
    EXPECT_TRUE(valid);
    EXPECT_TRUE(loaded);
}
