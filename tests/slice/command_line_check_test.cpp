// A typo never touches the board: a line with a fault that can be known without the target ends
// before the first option runs, so nothing erased earlier on the same line is lost.
#include "virtual_bench.h"

namespace slice_test {
namespace {

// Nothing sent to the probe; the flash and the BLE module keep what they held.
Scenario Typo(const char* name, const ksim::Settings& settings, const std::vector<std::string>& arguments, const std::string& out,
              int exitCode, const std::vector<Segment>& image = {})
{
    Scenario s{name, settings, arguments, out, exitCode, {{kFlash, 0x8000, 0x00}, {0, 0x8000, 0x00}}, image};
    s.checks = {[](RowRun& row) { EXPECT_TRUE(row.bench.exchanges().empty()); }};
    return s;
}

const Scenario kTypos[] = {
    Typo("MisspeltVerify", kHidProbe, {"-connect", "-e", "--all", "-d", "--fn", "FILE", "--verify", "-r"},
         "bad parameter \"--verify\"\n", 1, {{kFlash, Pattern(4096, 1)}}),
    Typo("MissingImage", kHidProbe, {"-connect", "-e", "--all", "-d", "--fn", "ap.hex"},
         "Download file opening......\nFile path is empty!\nError. Open file failed!\n", 3),
    Typo("RangeOfLetters", kHidProbe, {"-connect", "-e", "--sec", "a-b"}, "Error. bad parameter a-b\n", 1),
    Typo("RangeWithTwoDashes", kHidProbe, {"-connect", "-e", "--sec", "1-2-3"}, "Error. bad parameter 1-2-3\n", 1),
    Typo("ProtectionRangeAfterEraseAll", kHidProbe, {"-connect", "-e", "--all", "-p", "--eepp", "0-0x7f"}, "bad parameter \"0-0x7f\"\n", 1),
    Typo("BleRangeInHex", kBleTarget, {"-connect", "-eble", "--all", "-eble", "--sec", "0x10"}, "Error. bad parameter 0x10\n", 1),
};
INSTANTIATE_TEST_SUITE_P(CommandLine, ScenarioRun, testing::ValuesIn(kTypos), ScenarioName);

}  // namespace
}  // namespace slice_test
