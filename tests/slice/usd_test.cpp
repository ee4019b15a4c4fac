// -usd against the virtual probe: exact lines and exit codes, the file that --get leaves (its pairs
// read back by objcopy for HEX), and the target's option bytes and protection level after --set.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace slice_test {
namespace {

using Bytes = std::vector<uint8_t>;

const ksim::Settings kS14 = {{"transport", "hid"}, {"series", "14"}, {"pid", "0E0041C5"}};    // 4 KB sectors
const ksim::Settings kS15 = {{"transport", "hid"}, {"series", "15"}, {"pid", "0F002001"}};    // level 2 for good
const ksim::Settings kS35 = {{"transport", "hid"}, {"series", "35"}, {"pid", "230034C7"}};

const std::string kOld = "an earlier file";
const std::string kWriteFailed = "Begin write user system data........\nError. User system data write failed!\n";
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

Bytes Stored(VirtualBench& bench)
{
    return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); });
}

// The block as the target reads it: the first byte of each stored pair.
Bytes Logical(const Bytes& stored)
{
    Bytes block;
    for (size_t i = 0; i < stored.size(); i += 2)
        block.push_back(stored[i]);
    return block;
}

// Option bytes as a user left them: protection off, the rest a pattern.
void Personalise(RowRun& row)
{
    row.bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
        ksim::UserSystemData& usd = p.target().userSystemData();
        const Bytes pattern = Pattern(usd.logicalLength(), 7);
        for (uint32_t i = 1; i < usd.logicalLength(); ++i) // 36 and 37 as the series that force them keep them
            usd.setLogical(i, i == 36 || i == 37 ? 0 : pattern[i]);
    });
}

// --get in both formats for every block length; --set of the file just saved writes the same block back.
Scenario Get(const char* name, const ksim::Settings& target, const std::string& fileName, size_t length)
{
    Scenario s{name, target, {"-connect", "-usd", "--get", "--fn", "FILE", "--set", "--fn", "FILE"},
               kUsdSaved + kUsdOpened + kUsdWrite + kDone, 0};
    s.fileName = fileName;
    s.before = Personalise;
    s.afterConnect = true;
    s.checks = {[length](RowRun& row) {
        const Bytes logical = Logical(Stored(row.bench));
        EXPECT_TRUE(logical == Logical(row.usdBefore));
        ASSERT_EQ(logical.size(), length);
        const std::string saved = row.file.substr(row.file.size() - 4) == ".bin" ? ReadFile(row.file) : Text(Objcopied(row.file));
        EXPECT_TRUE(saved == Text(Pairs(logical)));
    }};
    return s;
}

const Scenario kGets[] = {
    Get("L24Binary", kHidProbe, "u.bin", 24),
    Get("L24Hex", kHidProbe, "u.hex", 24),
    Get("L128Binary", kS35, "u.bin", 128),
    Get("L128Hex", kS35, "u.HEX", 128),
    Get("L256Binary", kApModeTarget, "u.bin", 256),
    Get("L256Hex", kApModeTarget, "u.hex", 256),
    Get("L512Binary", kBleTarget, "u.bin", 512),
    Get("L512Hex", kBleTarget, "u.hex", 512),
    Get("L2048Binary", kS14, "u.bin", 2048),
    Get("L2048Hex", kS14, "u.hex", 2048),
};
INSTANTIATE_TEST_SUITE_P(UsdGet, ScenarioRun, testing::ValuesIn(kGets), ScenarioName);

// Blocks of the default target (L = 24) and of the others, as the rows write them.
Bytes Block(size_t length, uint8_t protection = 0xA5)
{
    Bytes block = Pattern(length, 11);
    block[0] = protection;
    return block;
}

std::string BlockFile(size_t length, uint8_t protection = 0xA5) { return Text(Pairs(Block(length, protection))); }

// After -connect: the block the target holds afterwards (empty: the stored bytes unchanged) and its
// protection level. No run changes the file it reads (content; empty: an earlier file), nor a file
// --get failed to save.
Scenario Set(const char* name, const ksim::Settings& target, const ksim::Settings& extra, std::vector<std::string> arguments,
             const std::string& out, int exitCode, const Bytes& written, int level, const std::string& fileName = "u.bin",
             const std::string& content = BlockFile(24))
{
    arguments.insert(arguments.begin(), "-connect");
    Scenario s{name, target + extra, arguments, out, exitCode};
    s.fileName = fileName;
    s.content = content.empty() ? kOld : content;
    s.before = Personalise;
    s.afterConnect = true;
    s.checks = {Level(level), FileHolds(*s.content), [written](RowRun& row) {
                    EXPECT_TRUE(written.empty() ? Stored(row.bench) == row.usdBefore : Logical(Stored(row.bench)) == written);
                }};
    return s;
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

const Scenario kSets[] = {
    Set("Binary", kHidProbe, {}, kSetFile, kUsdOpened + kUsdWrite + kDone, 0, Block(24), 0),
    Set("Hex", kHidProbe, {}, kSetFile, kUsdOpened + kUsdWrite + kDone, 0, Block(24), 0, "u.hex", IntelHex({{0, Pairs(Block(24))}})),
    Set("LongerFileFirst2LCount", kHidProbe, {}, kSetFile, kUsdOpened + kUsdWrite + kDone, 0, Block(24), 0, "u.bin",
     BlockFile(24) + BlockFile(8, 0)),
    Set("ShorterThan2L", kHidProbe, {}, kSetFile, kUsdOpened + kUsdSizeError, 6, {}, 0, "u.bin", BlockFile(24).substr(0, 47)),
    Set("FirstPartShorterThan2L", kHidProbe, {}, kSetFile, kUsdOpened + kUsdSizeError, 6, {}, 0, "u.hex", SplitHex()),
    Set("PairNotAComplement", kHidProbe, {}, kSetFile, kUsdOpened + kUsdSizeError, 6, {}, 0, "u.bin", Mismatched()),
    Set("ZeroedPairsOnS14", kS14, {}, kSetFile, kUsdOpened + kUsdWrite + kDone, 0, ZeroedPairsBlock(), 0, "u.bin", ZeroedPairsFile(2048)),
    Set("ZeroedPairsElsewhere", kApModeTarget, {}, kSetFile, kUsdOpened + kUsdSizeError, 6, {}, 0, "u.bin", ZeroedPairsFile(256)),
    Set("ProtectionOnCheckedByLevel", kHidProbe, {}, kSetFile, kUsdOpened + kUsdWrite + kDone, 0, Block(24, 0xFF), 1, "u.bin",
     BlockFile(24, 0xFF)),
    Set("PermanentLevelWithoutYes", kS15, {}, kSetFile, kUsdOpened + kRefuseLevel2, 6, {}, 0, "u.bin", BlockFile(256, 0xCC)),
    Set("PermanentLevelWithYes", kS15, {}, {"-usd", "--set", "--fn", "FILE", "--Y"}, kUsdOpened + kUsdWrite + kDone, 0, Block(256, 0xCC), 2,
     "u.bin", BlockFile(256, 0xCC)),
    Set("YesTakenWhenNotNeeded", kHidProbe, {}, {"-usd", "--set", "--fn", "FILE", "--y", "-r"}, kUsdOpened + kUsdWrite + kResetRun + kDone,
     0, Block(24), 0),
    Set("Level2UndoableNeedsNoYes", kApModeTarget, {}, kSetFile, kUsdOpened + kUsdWrite + kDone, 0, Block(256, 0xCC), 2, "u.bin",
     BlockFile(256, 0xCC)),
    // Protection switched on, but the level read afterwards is not the one the block asks for.
    Set("ProtectionLevelNotTheOneAsked", kHidProbe, {{"fault_reply_byte", "B1.00@2,3,01"}}, kSetFile, kUsdOpened + kWriteFailed, 6,
     Block(24, 0xFF), 1, "u.bin", BlockFile(24, 0xFF)),
    Set("ReadBackDiffers", kHidProbe, {{"ignore_writes", "1"}}, kSetFile, kUsdOpened + kWriteFailed, 6, {}, 0),
    Set("WriteRefused", kHidProbe, {{"fault_status", "B3.02,0x22"}}, kSetFile, kUsdOpened + kWriteFailed, 6, {}, 0),
    Set("WriteNoReply", kHidProbe, {{"fault_no_reply", "B3.05"}}, kSetFile, kUsdOpened + kWriteFailed, 6, {}, 0),
    Set("ReadBackWrongEcho", kHidProbe, {{"fault_wrong_echo", "B2.02"}}, kSetFile, kUsdOpened + kWriteFailed, 6, Block(24), 0),
    Set("UnpluggedMidWrite", kHidProbe, {{"fault_unplug", "B3.05"}}, kSetFile, kUsdOpened + kWriteFailed, 6, {}, 0),
    Set("GetCannotSave", kHidProbe, {}, {"-usd", "--get", "--fn", "FILE"}, kRead + "Save user system data to file failed!\n", 7, {}, 0,
     "no/u.bin", ""),
    Set("GetReadRefused", kHidProbe, {{"fault_status", "B2.02,0x22"}}, {"-usd", "--get", "--fn", "FILE"},
     kRead + "User system data read failed!\n", 7, {}, 0, "u.bin", ""),
    Set("GetNoReply", kHidProbe, {{"fault_no_reply", "B2.02"}}, {"-usd", "--get", "--fn", "FILE"},
     kRead + "User system data read failed!\n", 7, {}, 0, "u.hex", ""),
};
INSTANTIATE_TEST_SUITE_P(UsdSet, ScenarioRun, testing::ValuesIn(kSets), ScenarioName);

}  // namespace
}  // namespace slice_test
