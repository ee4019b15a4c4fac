// -p in this process, for a run state that a connection never leaves: a flash sector size of 0.
#include "command_handlers.h"
#include "connect_command.h"
#include "dispatcher.h"
#include "share_parameter.h"

#include "target/target_mcu.h"
#include "usb/testbed.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct OddTargetCase {
    const char* name;
    int32_t sectorSize; // after the connection
    std::string subOption;
    std::string value;
    std::string out;
    int exitCode;
};
void PrintTo(const OddTargetCase& c, std::ostream* os) { *os << c.name; }

class ProtectOddTarget : public testing::TestWithParam<OddTargetCase> {};

TEST_P(ProtectOddTarget, fails_with_its_line_and_changes_nothing)
{
    const OddTargetCase& c = GetParam();
    ksim::Testbed bench;
    bench.addProbe({{"transport", "hid"}});
    ResetRunValues();
    char connectWord[] = "-connect";
    char* connectArgs[] = {connectWord, nullptr};
    int index = 0;
    testing::internal::CaptureStdout();
    ASSERT_EQ(Connect(1, connectArgs, index), 0);
    testing::internal::GetCapturedStdout();
    const std::vector<uint8_t> before =
        bench.withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); });
    g_shareParameter.flashSectorSize = c.sectorSize;

    std::vector<std::string> words = {"-p", c.subOption};
    if (!c.value.empty())
        words.push_back(c.value);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    index = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ(Protection(static_cast<int>(words.size()), argv.data(), index), c.exitCode);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.out);
    KorvexDisConnect();
    EXPECT_EQ(bench.withProbe(0, [](ksim::VirtualProbe& p) { return p.target().userSystemData().image(); }), before);
}

const OddTargetCase kOddTargets[] = {
    {"NoSectorSizeDepp", 0, "--depp", "",
     "Disable erase and program protection ......\nError. Disable erase and program protection failed!\n", 0x23},
    {"NoSectorSizeEepp", 0, "--eepp", "32768",
     "Enable erase and program protection for sector codes ......\n"
     "Enable erase and program protection for sector codes failed!\n",
     0x24},
};
INSTANTIATE_TEST_SUITE_P(Rows, ProtectOddTarget, testing::ValuesIn(kOddTargets),
                         [](const testing::TestParamInfo<OddTargetCase>& info) { return std::string(info.param.name); });

} // namespace
