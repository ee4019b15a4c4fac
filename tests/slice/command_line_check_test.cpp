// A typo never touches the board: a line with a fault that can be known without the target ends
// before the first option runs, so nothing erased earlier on the same line is lost.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace slice_test {
namespace {

bool All(const std::vector<uint8_t>& bytes, uint8_t value)
{
    return std::all_of(bytes.begin(), bytes.end(), [value](uint8_t b) { return b == value; });
}

struct TypoCase {
    const char* name;
    ksim::Settings settings;
    std::vector<std::string> arguments; // "IMAGE" stands for an image file that exists
    std::string out;                    // after the banner
    int exitCode;
};

void PrintTo(const TypoCase& c, std::ostream* os) { *os << c.name; }

class TypoLine : public testing::TestWithParam<TypoCase> {};

TEST_P(TypoLine, ends_before_anything_is_erased_or_written)
{
    const TypoCase& c = GetParam();
    VirtualBench bench(c.settings);
    bench.fillEverything(0x00);
    TempDir files;
    const std::string image = files.write("app.hex", IntelHex({{0x08000000, Pattern(4096, 1)}}));
    std::vector<std::string> arguments = c.arguments;
    std::replace(arguments.begin(), arguments.end(), std::string("IMAGE"), image);
    const ConsoleRun run = bench.console(arguments);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_TRUE(All(bench.mainFlash(0x08000000, 32 * 1024), 0x00));
    EXPECT_TRUE(All(bench.bleMain(0, 32 * 1024), 0x00));
    EXPECT_TRUE(bench.exchanges().empty()) << "the probe was talked to";
}

const TypoCase kTypos[] = {
    {"MisspeltVerify", kHidProbe, {"-connect", "-e", "--all", "-d", "--fn", "IMAGE", "--verify", "-r"},
     "bad parameter \"--verify\"\n", 1},
    {"MissingImage", kHidProbe, {"-connect", "-e", "--all", "-d", "--fn", "ap.hex"},
     "Download file opening......\nFile path is empty!\nError. Open file failed!\n", 3},
    {"RangeOfLetters", kHidProbe, {"-connect", "-e", "--sec", "a-b"}, "Error. bad parameter a-b\n", 1},
    {"RangeWithTwoDashes", kHidProbe, {"-connect", "-e", "--sec", "1-2-3"}, "Error. bad parameter 1-2-3\n", 1},
    {"ProtectionRangeAfterEraseAll", kHidProbe, {"-connect", "-e", "--all", "-p", "--eepp", "0-0x7f"},
     "bad parameter \"0-0x7f\"\n", 1},
    {"BleRangeInHex", kBleTarget, {"-connect", "-eble", "--all", "-eble", "--sec", "0x10"},
     "Error. bad parameter 0x10\n", 1},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, TypoLine, testing::ValuesIn(kTypos),
                         [](const testing::TestParamInfo<TypoCase>& info) { return info.param.name; });

}  // namespace
}  // namespace slice_test
