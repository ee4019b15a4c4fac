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
    {"Protection", kHidProbe, {"-connect", "-p", "--efap1", "-r"}, kConnectDefault + Unavailable("-p"), 0x20},
    {"ProtectionOff", kHidProbe, {"-connect", "-p", "--dfap"}, kConnectDefault + Unavailable("-p"), 0x22},
    {"BleProtection", kBleTarget, {"-connect", "-p", "--ebfap"}, kBleConnect + Unavailable("-p"), 0x25},
};
INSTANTIATE_TEST_SUITE_P(Unavailable, ScenarioRun, testing::ValuesIn(kUnavailable), ScenarioName);

}  // namespace
}  // namespace slice_test
