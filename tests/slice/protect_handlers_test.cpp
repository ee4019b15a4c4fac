// -p in this process, for a run state that a connection never leaves: a flash sector size of 0.
#include "command_handlers.h"
#include "connect_command.h"
#include "dispatcher.h"
#include "share_parameter.h"
#include "virtual_bench.h"

#include "target/target_mcu.h"
#include "usb/testbed.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace slice_test {
namespace {

class ProtectOddTarget : public testing::TestWithParam<Scenario> {};

// The row's arguments go to the -p handler after an in-process -connect; the row's output is the handler's.
TEST_P(ProtectOddTarget, fails_with_its_line_and_changes_nothing)
{
    const Scenario& s = GetParam();
    ksim::Testbed bench;
    bench.addProbe(s.settings);
    ResetRunValues();
    char connectWord[] = "-connect";
    char* connectArgs[] = {connectWord, nullptr};
    int index = 0;
    testing::internal::CaptureStdout();
    ASSERT_EQ(Connect(1, connectArgs, index), 0);
    testing::internal::GetCapturedStdout();
    const std::vector<uint8_t> before =
        bench.withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); });
    g_shareParameter.flashSectorSize = 0;

    std::vector<std::string> words = s.arguments; // argv points into it
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    index = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Protection(static_cast<int>(words.size()), argv.data(), index), s.exitCode);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), s.out);
    KorvexDisConnect();
    EXPECT_EQ(bench.withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); }), before);
}

const Scenario kOddTargets[] = {
    {"NoSectorSizeDepp", kHidProbe, {"-p", "--depp"},
     "Disable erase and program protection ......\nError. Disable erase and program protection failed!\n", 0x23},
    {"NoSectorSizeEepp", kHidProbe, {"-p", "--eepp", "32768"},
     "Enable erase and program protection for sector codes ......\nEnable erase and program protection for sector codes failed!\n", 0x24},
};
INSTANTIATE_TEST_SUITE_P(Rows, ProtectOddTarget, testing::ValuesIn(kOddTargets), ScenarioName);

} // namespace
} // namespace slice_test
