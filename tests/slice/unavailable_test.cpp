// Commands this build does not carry out yet, with their connection: one line naming the option,
// then the failure code of the sub-option that was asked for.
#include "virtual_bench.h"

namespace slice_test {
namespace {

std::string Unavailable(const std::string& option)
{
    return "Error. " + option + " is not available in this build.\n";
}

const Scenario kUnavailable[] = {
    {"EnableSpim", kHidProbe, {"-connect", "-enspim", "--fs", "8"}, kConnectDefault + Unavailable("-enspim"), 8},
    {"BootMemoryApMode", kHidProbe, {"-connect", "-bmapm", "--key", "5C3E91B7"}, kConnectDefault + Unavailable("-bmapm"), 9},
    {"Read16", kHidProbe, {"-connect", "-mem16", "08000000"}, kConnectDefault + Unavailable("-mem16"), 11},
    {"Write32", kHidProbe, {"-connect", "-w4", "20000000", "00112233"}, kConnectDefault + Unavailable("-w4"), 10},
};
INSTANTIATE_TEST_SUITE_P(Unavailable, ScenarioRun, testing::ValuesIn(kUnavailable), ScenarioName);

}  // namespace
}  // namespace slice_test
