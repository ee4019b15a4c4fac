// Loading files: the binary reader, the file-system cases of both readers, the extension rules
// and the lines OpenFile prints.
#include "file_io.h"
#include "file_operation.h"
#include "open_image_file.h"
#include "share_parameter.h"
#include "image_test_support.h"

#include <QDir>
#include <QProcess>

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>


using namespace image_test;

namespace {

const std::string kSmallHex = ":020000040800F2\n:0400000001020304F2\n:00000001FF";

int LoadBinary(const std::string& path, uint32_t loadAddress, FileInfo& info)
{
    info.path = path;
    info.startAddress = loadAddress;
    return FileOperation().OpenFile(info);
}

// What OpenFile prints and returns for a path.
std::pair<bool, std::string> OpenAndCapture(const std::string& path, FileInfo& info)
{
    testing::internal::CaptureStdout();
    const bool opened = OpenFile(path, info);
    return {opened, testing::internal::GetCapturedStdout()};
}

} // namespace

TEST(BinaryReader, PartsAreCutEvery64KiBFromTheLoadAddress)
{
    ScratchDir dir;
    const Bytes exact = RandomBytes(0x10000, 21);
    WriteFile(dir.Path("exact.bin"), exact);
    FileInfo one;
    ASSERT_EQ(LoadBinary(dir.Path("exact.bin"), 0x08000000, one), FILE_OPERATION_SUCCESS);
    ASSERT_EQ(one.parts.size(), 1);
    EXPECT_EQ(one.parts[0].size(), 0x10000u);
    EXPECT_EQ(one.parts[0].endAddress, 0x0800FFFFu);

    const Bytes longer = RandomBytes(0x10001, 22);
    WriteFile(dir.Path("longer.bin"), longer);
    FileInfo two;
    ASSERT_EQ(LoadBinary(dir.Path("longer.bin"), 0x08000100, two), FILE_OPERATION_SUCCESS);
    ASSERT_EQ(two.parts.size(), 2);
    EXPECT_EQ(two.parts[0].startAddress, 0x08000100u);
    EXPECT_EQ(two.parts[1].startAddress, 0x08010100u);
    EXPECT_EQ(two.parts[1].endAddress, 0x08010100u);
    EXPECT_EQ(PartBytes(two.parts[1]), Bytes{longer.back()});
    EXPECT_EQ(two.parts[0].checksum + two.parts[1].checksum, SumOf(longer));
    EXPECT_EQ(two.size, 0x10001);
    EXPECT_EQ(static_cast<uint32_t>(two.checksum), SumOf(longer));
    EXPECT_EQ(two.startAddress, 0x08000100u);
    EXPECT_EQ(two.fileName, "longer.bin");
}

// The file's length is held against the memory at its load address before any byte is read: a
// file that could never fit is refused at once, one that just fits loads. Lengths are set with
// truncate, so the refused files hold no data at all.
TEST(BinaryReader, AFileLongerThanTheMemoryAtItsAddressIsRefusedUnread)
{
    struct Row {
        uint32_t address;
        qint64 length;
        int result;
    };
    const Row rows[] = {
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
    for (const Row& row : rows) {
        QFile file(QString::fromStdString(dir.Path("image.bin")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(row.length));
        file.close();
        FileInfo info;
        EXPECT_EQ(LoadBinary(dir.Path("image.bin"), row.address, info), row.result) << std::hex << row.address;
    }
}

TEST(BinaryReader, OneByteFileIsOnePartOfOneByte)
{
    ScratchDir dir;
    WriteFile(dir.Path("one.bin"), Bytes{0xC3});
    FileInfo info;
    ASSERT_EQ(LoadBinary(dir.Path("one.bin"), 0x08004000, info), FILE_OPERATION_SUCCESS);
    ASSERT_EQ(info.parts.size(), 1);
    EXPECT_EQ(info.parts[0].startAddress, 0x08004000u);
    EXPECT_EQ(info.parts[0].endAddress, 0x08004000u);
    EXPECT_EQ(info.checksum, 0xC3);
}

TEST(ReaderFiles, MissingEmptyUnreadableAndMisnamedFilesGetTheirCodes)
{
    ScratchDir dir;
    WriteFile(dir.Path("empty.bin"), std::string());
    WriteFile(dir.Path("empty.hex"), std::string());
    WriteFile(dir.Path("image.txt"), kSmallHex);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.Path("folder.bin"))));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.Path("folder.hex"))));
    // A device would feed the readers without end.
    ASSERT_TRUE(QFile::link("/dev/zero", QString::fromStdString(dir.Path("zero.hex"))));
    ASSERT_TRUE(QFile::link("/dev/zero", QString::fromStdString(dir.Path("zero.bin"))));
    const std::vector<std::pair<std::string, int>> cases = {
        {"missing.bin", FILE_OPEN_NOT_FOUND_ERROR}, {"missing.hex", FILE_OPEN_NOT_FOUND_ERROR},
        {"empty.bin", FILE_OPEN_EMPTY_ERROR},         {"empty.hex", FILE_OPEN_FORMAT_ERROR},
        {"folder.bin", FILE_OPEN_EMPTY_ERROR},        {"folder.hex", FILE_OPEN_EMPTY_ERROR},
        {"zero.hex", FILE_OPEN_EMPTY_ERROR},          {"zero.bin", FILE_OPEN_EMPTY_ERROR},
        {"image.txt", FILE_OPEN_FORMAT_ERROR},
    };
    for (const auto& [name, code] : cases) {
        FileInfo info;
        EXPECT_EQ(LoadBinary(dir.Path(name), 0x08000000, info), code) << name;
    }
    FileInfo info;
    info.path = dir.Path("image.txt");
    EXPECT_EQ(FileOperation().OpenHexFile(info), FILE_OPEN_FORMAT_ERROR);
    info.path = dir.Path("missing.txt");
    EXPECT_EQ(FileOperation().OpenHexFile(info), FILE_OPEN_NOT_FOUND_ERROR);
    EXPECT_EQ(FileOperation().OpenBinaryFile(info), FILE_OPEN_FORMAT_ERROR);
}

TEST(ReaderFiles, AFileThatShrinksWhileItIsReadFailsTheRead)
{
    ScratchDir dir;
    const std::string path = dir.Path("shrinking.bin");
    WriteFile(path, RandomBytes(3 * 4096, 24));
    size_t chunks = 0;
    const FileReadResult read = ReadFileInChunks(path, 4096, [&](const char*, size_t) {
        if (chunks++ == 0)
            QFile::resize(QString::fromStdString(path), 4096);
        return true;
    });
    EXPECT_EQ(read, FileReadResult::ReadFailed);
    EXPECT_EQ(ReadFileInChunks(path, 4096, [](const char*, size_t) { return true; }), FileReadResult::Complete);
}

TEST(ReaderFiles, TheLastThreeCharactersNameTheFormatInAnyCase)
{
    ScratchDir dir;
    for (const std::string name : {"firmware.Bin", "FIRMWARE.BIN", "firmwarebin", "app.ihex", "APPHEX"}) {
        WriteFile(dir.Path(name), name.back() == 'n' || name.back() == 'N' ? std::string("\x01\x02", 2) : kSmallHex);
        FileInfo info;
        EXPECT_EQ(LoadBinary(dir.Path(name), 0x08000000, info), FILE_OPERATION_SUCCESS) << name;
        EXPECT_EQ(info.size, name.back() == 'n' || name.back() == 'N' ? 2 : 4) << name;
    }
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
    const int binaryResult = LoadBinary(dir.Path("firmware.bin"), 0x08000000, binary);
    const int hexResult = LoadBinary(dir.Path("image.hex"), 0, hex);
    std::setlocale(LC_CTYPE, "C");
    ::unsetenv("LOCPATH");
    if (!turkish)
        GTEST_SKIP() << "tr_TR.UTF-8 cannot be selected";
    EXPECT_TRUE(valid);
    EXPECT_EQ(binaryResult, FILE_OPERATION_SUCCESS);
    EXPECT_EQ(hexResult, FILE_OPERATION_SUCCESS);
}

TEST(OpenFileLines, EachFailurePrintsItsLine)
{
    ScratchDir dir;
    WriteFile(dir.Path("empty.bin"), std::string());
    WriteFile(dir.Path("bad.hex"), std::string(":10000000\n"));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {dir.Path("missing.hex"), "File path is empty!\n"},
        {dir.Path("empty.bin"), "File is empty!\n"},
        {dir.Path("bad.hex"), "File format error, please reselect!\n"},
        {dir.Path("image.txt"), "File format error, please reselect!\n"},
        {"", ""},
    };
    for (const auto& [path, line] : cases) {
        FileInfo info;
        const auto [opened, out] = OpenAndCapture(path, info);
        EXPECT_FALSE(opened) << path;
        EXPECT_EQ(out, line) << path;
    }
}

TEST(OpenFileLines, ABinaryFileLoadsAtTheBinaryLoadAddressAndNamesItself)
{
    ScratchDir dir;
    WriteFile(dir.Path("app.bin"), RandomBytes(100, 23));
    const uint32_t saved = g_shareParameter.downloadAddress;
    g_shareParameter.downloadAddress = 0x08004000;
    FileInfo info;
    const auto [opened, out] = OpenAndCapture(dir.Path("app.bin"), info);
    g_shareParameter.downloadAddress = saved;
    ASSERT_TRUE(opened);
    EXPECT_EQ(out, "");
    EXPECT_EQ(info.parts[0].startAddress, 0x08004000u);
    EXPECT_EQ(info.path, dir.Path("app.bin"));
    EXPECT_EQ(info.fileName, "app.bin");
}

TEST(OpenFileLines, APathWithoutSlashIsItsOwnFileName)
{
    ScratchDir dir;
    WriteFile(dir.Path("local.hex"), kSmallHex);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.Path(""))));
    FileInfo info;
    const auto [opened, out] = OpenAndCapture("local.hex", info);
    QDir::setCurrent(previous);
    ASSERT_TRUE(opened) << out;
    EXPECT_EQ(info.fileName, "local.hex");
    EXPECT_EQ(info.startAddress, 0x08000000u);
}
