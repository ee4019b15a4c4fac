// -usd against the virtual probe: exact lines and exit codes, the file that --get leaves (its pairs
// read back by objcopy for HEX), and the target's option bytes and protection level after --set.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace slice_test {
namespace {

using Bytes = std::vector<uint8_t>;

const ksim::Settings kS14 = {{"transport", "hid"}, {"series", "14"}, {"pid", "0E0041C5"}};    // 4 KB sectors
const ksim::Settings kS15 = {{"transport", "hid"}, {"series", "15"}, {"pid", "0F002001"}};    // level 2 for good
const ksim::Settings kS35 = {{"transport", "hid"}, {"series", "35"}, {"pid", "230034C7"}};

const std::string kOld = "an earlier file";
const std::string kOpened = "User system data file opening......\nOpen file succeed!\n";
const std::string kWritten = "Begin write user system data........\nUser system data write succeed!\n";
const std::string kWriteFailed = "Begin write user system data........\nError. User system data write failed!\n";
const std::string kSizeError = "Error. User system data file size error, please check the file of loaded!\n";
const std::string kRead = "Begin read user system data........\n";

Bytes Pairs(const Bytes& block)
{
    Bytes image;
    for (uint8_t b : block) {
        image.push_back(b);
        image.push_back(static_cast<uint8_t>(~b));
    }
    return image;
}

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes BytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct Target {
    explicit Target(const ksim::Settings& settings) : bench(settings) {}

    Bytes logical()
    {
        return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
            const ksim::UserSystemData& usd = p.target().userSystemData();
            Bytes block(usd.logicalLength());
            for (uint32_t i = 0; i < block.size(); ++i)
                block[i] = usd.logical(i);
            return block;
        });
    }
    Bytes image()
    {
        return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); });
    }
    int level()
    {
        return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().protectionLevel(); });
    }
    // Option bytes as a user left them: protection off, the rest a pattern.
    void personalise()
    {
        bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
            ksim::UserSystemData& usd = p.target().userSystemData();
            const Bytes pattern = Pattern(usd.logicalLength(), 7);
            for (uint32_t i = 1; i < usd.logicalLength(); ++i) // 36 and 37 as the series that force them keep them
                usd.setLogical(i, i == 36 || i == 37 ? 0 : pattern[i]);
        });
    }
    ConsoleRun run(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> all = {"-connect"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return bench.console(all, 30000);
    }

    VirtualBench bench;
};

// --get in both formats for every block length.
struct GetCase {
    const char* name;
    const ksim::Settings* target;
    const char* fileName;
    size_t length;
};
void PrintTo(const GetCase& c, std::ostream* os) { *os << c.name; }

class UsdGet : public testing::TestWithParam<GetCase> {};

TEST_P(UsdGet, saves_every_byte_with_its_complement_and_sets_it_back)
{
    const GetCase& c = GetParam();
    Target target(*c.target);
    target.personalise();
    TempDir dir;
    const std::string path = dir.path(c.fileName);
    const Bytes before = target.logical();
    // --set of the file just saved writes the same block back.
    const ConsoleRun run = target.run({"-usd", "--get", "--fn", path, "--set", "--fn", path});
    EXPECT_EQ(AfterConnect(run.out), kRead + "Save user system data to file succeed!\nUser system data read succeed!\n" +
                                         kOpened + kWritten + kDone);
    EXPECT_EQ(run.exitCode, 0);
    const Bytes logical = target.logical();
    EXPECT_TRUE(logical == before);
    ASSERT_EQ(logical.size(), c.length);
    Bytes saved = BytesOf(ReadFile(path));
    if (std::string(c.fileName) != "u.bin") {
        const std::string bin = dir.path("objcopy.bin");
        ASSERT_EQ(std::system(("objcopy -I ihex -O binary " + path + " " + bin).c_str()), 0);
        saved = BytesOf(ReadFile(bin));
    }
    EXPECT_TRUE(saved == Pairs(logical));
}

const GetCase kGets[] = {
    {"L24Binary", &kHidProbe, "u.bin", 24},     {"L24Hex", &kHidProbe, "u.hex", 24},
    {"L128Binary", &kS35, "u.bin", 128},        {"L128Hex", &kS35, "u.HEX", 128},
    {"L256Binary", &kApModeTarget, "u.bin", 256}, {"L256Hex", &kApModeTarget, "u.hex", 256},
    {"L512Binary", &kBleTarget, "u.bin", 512},  {"L512Hex", &kBleTarget, "u.hex", 512},
    {"L2048Binary", &kS14, "u.bin", 2048},      {"L2048Hex", &kS14, "u.hex", 2048},
};
INSTANTIATE_TEST_SUITE_P(Lengths, UsdGet, testing::ValuesIn(kGets),
                         [](const testing::TestParamInfo<GetCase>& info) { return info.param.name; });

// Blocks of the default target (L = 24) and of the others, as the rows write them.
Bytes Block(size_t length, uint8_t protection = 0xA5)
{
    Bytes block = Pattern(length, 11);
    block[0] = protection;
    return block;
}

std::string BlockFile(size_t length, uint8_t protection = 0xA5) { return Text(Pairs(Block(length, protection))); }

struct SetCase {
    const char* name;
    const ksim::Settings* target;
    ksim::Settings extra;
    std::vector<std::string> arguments; // after -connect; FILE is the file below
    const char* fileName;
    std::string content; // empty: the earlier file of kOld
    std::string out;     // after the connection lines
    int exitCode;
    Bytes written;       // the block the target holds afterwards; empty: unchanged
    int level;           // protection level afterwards
};
void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

class UsdSet : public testing::TestWithParam<SetCase> {};

TEST_P(UsdSet, writes_only_a_checked_block)
{
    const SetCase& c = GetParam();
    Target target(*c.target + c.extra);
    target.personalise();
    const Bytes before = target.image();
    TempDir dir;
    const std::string path = dir.path(c.fileName);
    if (std::filesystem::is_directory(std::filesystem::path(path).parent_path()))
        dir.write(c.fileName, c.content.empty() ? kOld : c.content);
    std::vector<std::string> arguments = c.arguments;
    std::replace(arguments.begin(), arguments.end(), std::string("FILE"), path);
    const ConsoleRun run = target.run(arguments);
    ASSERT_FALSE(run.timedOut);
    std::string out = c.out;
    if (const size_t at = out.find("FILE"); at != std::string::npos)
        out.replace(at, 4, path);
    EXPECT_EQ(AfterConnect(run.out), out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(target.level(), c.level);
    EXPECT_TRUE(c.written.empty() ? target.image() == before : target.logical() == c.written);
    if (std::filesystem::exists(path)) { // no run changes the file it reads, nor a file --get failed to save
        EXPECT_EQ(ReadFile(path), c.content.empty() ? kOld : c.content);
    }
}

// A file whose pairs 36 and 37 are 0x00 0x00, and what a ZR32_S14 target keeps of it.
std::string ZeroedPairsFile(size_t length)
{
    Bytes image = Pairs(Block(length));
    std::fill(image.begin() + 72, image.begin() + 76, 0);
    return Text(image);
}
Bytes ZeroedPairsBlock()
{
    Bytes block = Block(2048);
    block[36] = block[37] = 0;
    return block;
}

std::string Mismatched()
{
    std::string text = BlockFile(24);
    text[21] = static_cast<char>(text[21] ^ 0x10);
    return text;
}

std::string SplitHex()
{
    const Bytes image = Pairs(Block(24));
    return IntelHex({{0, Bytes(image.begin(), image.begin() + 32)}, {0x100, Bytes(image.begin() + 32, image.end())}});
}

const std::string kRefuseLevel2 = "Error. This user system data switches on the protection level that cannot be undone; "
                                  "add --y after the file name to confirm.\n";
const std::vector<std::string> kSetFile = {"-usd", "--set", "--fn", "FILE"};

const SetCase kSets[] = {
    {"Binary", &kHidProbe, {}, kSetFile, "u.bin", BlockFile(24), kOpened + kWritten + kDone, 0, Block(24), 0},
    {"Hex", &kHidProbe, {}, kSetFile, "u.hex", IntelHex({{0, Pairs(Block(24))}}), kOpened + kWritten + kDone, 0,
     Block(24), 0},
    {"LongerFileFirst2LCount", &kHidProbe, {}, kSetFile, "u.bin", BlockFile(24) + BlockFile(8, 0),
     kOpened + kWritten + kDone, 0, Block(24), 0},
    {"ShorterThan2L", &kHidProbe, {}, kSetFile, "u.bin", BlockFile(24).substr(0, 47), kOpened + kSizeError, 6, {}, 0},
    {"FirstPartShorterThan2L", &kHidProbe, {}, kSetFile, "u.hex", SplitHex(), kOpened + kSizeError, 6, {}, 0},
    {"PairNotAComplement", &kHidProbe, {}, kSetFile, "u.bin", Mismatched(), kOpened + kSizeError, 6, {}, 0},
    {"ZeroedPairsOnS14", &kS14, {}, kSetFile, "u.bin", ZeroedPairsFile(2048), kOpened + kWritten + kDone, 0,
     ZeroedPairsBlock(), 0},
    {"ZeroedPairsElsewhere", &kApModeTarget, {}, kSetFile, "u.bin", ZeroedPairsFile(256), kOpened + kSizeError, 6, {},
     0},
    {"ProtectionOnCheckedByLevel", &kHidProbe, {}, kSetFile, "u.bin", BlockFile(24, 0xFF),
     kOpened + kWritten + kDone, 0, Block(24, 0xFF), 1},
    {"PermanentLevelWithoutYes", &kS15, {}, kSetFile, "u.bin", BlockFile(256, 0xCC), kOpened + kRefuseLevel2, 6, {},
     0},
    {"PermanentLevelWithYes", &kS15, {}, {"-usd", "--set", "--fn", "FILE", "--Y"}, "u.bin", BlockFile(256, 0xCC),
     kOpened + kWritten + kDone, 0, Block(256, 0xCC), 2},
    {"YesTakenWhenNotNeeded", &kHidProbe, {}, {"-usd", "--set", "--fn", "FILE", "--y", "-r"}, "u.bin", BlockFile(24),
     kOpened + kWritten + "Reset and run......\nReset and run finished!\n\n" + kDone, 0, Block(24), 0},
    {"Level2UndoableNeedsNoYes", &kApModeTarget, {}, kSetFile, "u.bin", BlockFile(256, 0xCC),
     kOpened + kWritten + kDone, 0, Block(256, 0xCC), 2},
    // Protection switched on, but the level read afterwards is not the one the block asks for.
    {"ProtectionLevelNotTheOneAsked", &kHidProbe, {{"fault_reply_byte", "B1.00@2,3,01"}}, kSetFile, "u.bin",
     BlockFile(24, 0xFF), kOpened + kWriteFailed, 6, Block(24, 0xFF), 1},
    {"ReadBackDiffers", &kHidProbe, {{"ignore_writes", "1"}}, kSetFile, "u.bin", BlockFile(24),
     kOpened + kWriteFailed, 6, {}, 0},
    {"WriteRefused", &kHidProbe, {{"fault_status", "B3.02,0x22"}}, kSetFile, "u.bin", BlockFile(24),
     kOpened + kWriteFailed, 6, {}, 0},
    {"WriteNoReply", &kHidProbe, {{"fault_no_reply", "B3.05"}}, kSetFile, "u.bin", BlockFile(24),
     kOpened + kWriteFailed, 6, {}, 0},
    {"ReadBackWrongEcho", &kHidProbe, {{"fault_wrong_echo", "B2.02"}}, kSetFile, "u.bin", BlockFile(24),
     kOpened + kWriteFailed, 6, Block(24), 0},
    {"UnpluggedMidWrite", &kHidProbe, {{"fault_unplug", "B3.05"}}, kSetFile, "u.bin", BlockFile(24),
     kOpened + kWriteFailed, 6, {}, 0},
    {"GetCannotSave", &kHidProbe, {}, {"-usd", "--get", "--fn", "FILE"}, "no/u.bin", "",
     kRead + "Save user system data to file failed!\n", 7, {}, 0},
    {"GetReadRefused", &kHidProbe, {{"fault_status", "B2.02,0x22"}}, {"-usd", "--get", "--fn", "FILE"}, "u.bin", "",
     kRead + "User system data read failed!\n", 7, {}, 0},
    {"GetNoReply", &kHidProbe, {{"fault_no_reply", "B2.02"}}, {"-usd", "--get", "--fn", "FILE"}, "u.hex", "",
     kRead + "User system data read failed!\n", 7, {}, 0},
};
INSTANTIATE_TEST_SUITE_P(Rows, UsdSet, testing::ValuesIn(kSets),
                         [](const testing::TestParamInfo<SetCase>& info) { return info.param.name; });

}  // namespace
}  // namespace slice_test
