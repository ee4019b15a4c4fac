// A typo never touches the board: a line with a fault that can be known without the target ends
// before the first option runs, so nothing erased earlier on the same line is lost.
#include "virtual_bench.h"

namespace slice_test {
namespace {

class TypoLine : public testing::TestWithParam<Scenario> {};

TEST_P(TypoLine, ends_before_the_probe_is_talked_to)
{
    RunScenario(GetParam(), [](VirtualBench& bench) { EXPECT_TRUE(bench.exchanges().empty()); });
}

const std::vector<Fill> kUntouched = {{kFlash, 0x8000, 0x00}, {0, 0x8000, 0x00}};
const Scenario kTypos[] = {
    {"MisspeltVerify", kHidProbe, {"-connect", "-e", "--all", "-d", "--fn", "FILE", "--verify", "-r"},
     "bad parameter \"--verify\"\n", 1, kUntouched, {{kFlash, Pattern(4096, 1)}}},
    {"MissingImage", kHidProbe, {"-connect", "-e", "--all", "-d", "--fn", "ap.hex"},
     "Download file opening......\nFile path is empty!\nError. Open file failed!\n", 3, kUntouched},
    {"RangeOfLetters", kHidProbe, {"-connect", "-e", "--sec", "a-b"}, "Error. bad parameter a-b\n", 1, kUntouched},
    {"RangeWithTwoDashes", kHidProbe, {"-connect", "-e", "--sec", "1-2-3"}, "Error. bad parameter 1-2-3\n", 1, kUntouched},
    {"ProtectionRangeAfterEraseAll", kHidProbe, {"-connect", "-e", "--all", "-p", "--eepp", "0-0x7f"},
     "bad parameter \"0-0x7f\"\n", 1, kUntouched},
    {"BleRangeInHex", kBleTarget, {"-connect", "-eble", "--all", "-eble", "--sec", "0x10"},
     "Error. bad parameter 0x10\n", 1, kUntouched},
};
INSTANTIATE_TEST_SUITE_P(CommandLine, TypoLine, testing::ValuesIn(kTypos), ScenarioName);

}  // namespace
}  // namespace slice_test
