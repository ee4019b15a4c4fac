#include "command_handlers.h"
#include "exit_codes.h"
#include "share_parameter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct DeviceRun {
    int result;
    int index;
    std::string out;
};

// Runs -device over the arguments (the option first) as the dispatcher would.
DeviceRun RunSetDevice(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int index = 0;
    testing::internal::CaptureStdout();
    const int result = SetDevice(static_cast<int>(arguments.size()), argv.data(), index);
    return {result, index, testing::internal::GetCapturedStdout()};
}

class SetDeviceTest : public testing::Test {
protected:
    void SetUp() override { g_shareParameter.series = ZR32_S07; }
    void TearDown() override { g_shareParameter.series = ZR32ErrorMCU2; }
};
} // namespace

TEST_F(SetDeviceTest, TheLastOfSeveralNamesWinsAndAnOptionEndsTheList)
{
    const std::string s30Name = g_shareParameter.devicePartLists[22].back();
    const DeviceRun run = RunSetDevice({"-device", "Universal", s30Name, "-connect"});
    EXPECT_EQ(run.result, OP_SUCCESS);
    EXPECT_EQ(run.index, 3);
    EXPECT_EQ(g_shareParameter.series, ZR32_S30);
}
