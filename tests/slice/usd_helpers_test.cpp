// The user system data load that -enspim makes: the file group it finds on the command line, the
// file checks, and the block in the target afterwards.
#include "command_handlers.h"
#include "connect_command.h"
#include "dispatcher.h"
#include "share_parameter.h"
#include "usd_command.h"

#include "target/target_mcu.h"
#include "usb/testbed.h"
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kLength = 24; // ZR32_S04

// Byte/complement pairs of a logical block.
Bytes Pairs(const Bytes& block)
{
    Bytes image;
    for (uint8_t b : block) {
        image.push_back(b);
        image.push_back(static_cast<uint8_t>(~b));
    }
    return image;
}

// A block that switches protection on, guards sectors and carries a user byte.
Bytes Block(size_t length = kLength)
{
    Bytes block(length, 0xFF);
    block[0] = 0xCC;
    block[4] = 0x00;
    block[20] = 0x12;
    return block;
}

std::string Text(const Bytes& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

const std::string kOpening = "User system data file opening......\nOpen file succeed!\n";
const std::string kWritten = "Begin write user system data........\nUser system data write succeed!\n";
const std::string kSizeError = "Error. User system data file size error, please check the file of loaded!\n";

struct LoadCase {
    const char* name;
    std::vector<std::string> commandLine; // FILE stands for the file written from content
    std::string fileName;
    std::string content;
    bool found;
    bool result;
    std::string out;
    bool written; // the target holds Block() with protection forced off
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

Bytes Unlocked(Bytes block)
{
    block[0] = 0xA5;
    std::fill(block.begin() + 1, block.begin() + 16, 0xFF);
    return Pairs(block);
}

Bytes Mismatched()
{
    Bytes pairs = Pairs(Block());
    pairs[41] ^= 0x01;
    return pairs;
}

// The block's pairs in two parts, the second after a gap.
std::string SplitHex()
{
    const Bytes pairs = Pairs(Block());
    return slice_test::IntelHex({{0, Bytes(pairs.begin(), pairs.begin() + 32)}, {0x100, Bytes(pairs.begin() + 32, pairs.end())}});
}

Bytes Huge()
{
    Bytes pairs = Pairs(Bytes(100 * 1024, 0xFF)); // 200 KiB: four 64 KiB parts in a binary file
    const Bytes head = Pairs(Block());
    std::copy(head.begin(), head.end(), pairs.begin());
    return pairs;
}

const LoadCase kLoads[] = {
    {"NoGroup", {"-connect", "-usd", "--get", "--fn", "FILE"}, "u.bin", Text(Pairs(Block())), false, true, "", false},
    {"GroupWithoutFile", {"-enspim", "-usd", "--set", "--fn"}, "u.bin", "", true, true, "", false},
    {"BinaryBlock", {"-enspim", "-usd", "--SET", "--FN", "FILE"}, "u.bin", Text(Pairs(Block())), true, true,
     kOpening + kWritten, true},
    {"HexBlock", {"-usd", "--set", "--fn", "FILE", "-usd", "--set", "--fn", "other.bin"}, "u.hex",
     slice_test::IntelHex({{0, Pairs(Block())}}), true, true, kOpening + kWritten, true},
    {"OptionMustBeExact", {"-USD", "--set", "--fn", "FILE"}, "u.bin", Text(Pairs(Block())), false, true, "", false},
    {"MissingFile", {"-usd", "--set", "--fn", "absent.bin"}, "u.bin", "", true, false,
     "User system data file opening......\nFile path is empty!\nError. Open file failed!\n", false},
    {"ShorterThanTheBlock", {"-usd", "--set", "--fn", "FILE"}, "u.bin", Text(Pairs(Block())).substr(0, 47), true,
     false, kOpening + kSizeError, false},
    {"FirstPartShorterThanTheBlock", {"-usd", "--set", "--fn", "FILE"}, "u.hex",
     SplitHex(),
     true, false, kOpening + kSizeError, false},
    {"PairNotAComplement", {"-usd", "--set", "--fn", "FILE"}, "u.bin", Text(Mismatched()), true, false,
     kOpening + kSizeError, false},
    {"FirmwareImageByMistake", {"-usd", "--set", "--fn", "FILE"}, "u.bin", std::string(4096, '\x20'), true, false,
     kOpening + kSizeError, false},
    // Past the first 64 KiB part nothing is read; every pair of that part is written and checked.
    {"LargerThanTwoParts", {"-usd", "--set", "--fn", "FILE"}, "u.bin", Text(Huge()), true, true,
     kOpening + kWritten, true},
};

class UsdLoad : public testing::TestWithParam<LoadCase> {
protected:
    void SetUp() override { bench_.addProbe({{"transport", "hid"}}); }

    Bytes TargetBlock()
    {
        return bench_.withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); });
    }

    ksim::Testbed bench_;
};

TEST_P(UsdLoad, finds_checks_and_writes_the_file_with_protection_off)
{
    const LoadCase& c = GetParam();
    const slice_test::TempDir files; // its own directory: rows run side by side under ctest -j
    const std::string path = files.write(c.fileName, c.content);
    std::vector<std::string> words = c.commandLine;
    for (std::string& word : words)
        word = word == "FILE" ? path : word;
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    ResetRunValues();
    g_shareParameter.userSystemDataFilePath.clear();
    char connectWord[] = "-connect";
    char* connectArgs[] = {connectWord, nullptr};
    int index = 0;
    testing::internal::CaptureStdout();
    const int connected = Connect(1, connectArgs, index);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(connected, 0);
    const Bytes before = TargetBlock();

    testing::internal::CaptureStdout();
    EXPECT_EQ(GetUserSystemDataFile(static_cast<int>(words.size()), argv.data()), c.found);
    EXPECT_EQ(LoadUserSystemDataFromFileToDeviceExceptFAP(), c.result);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out);
    KorvexDisConnect();

    const Bytes after = TargetBlock();
    EXPECT_EQ(after, c.written ? Unlocked(Block()) : before);
}

INSTANTIATE_TEST_SUITE_P(Rows, UsdLoad, testing::ValuesIn(kLoads),
                         [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

} // namespace
