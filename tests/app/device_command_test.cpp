#include "command_handlers.h"
#include "exit_codes.h"
#include "share_parameter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The series of each -device list, in list order.
const int kListSeries[] = {2, 4, 5, 7, 8, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28, 29, 30, 33, 34};

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

TEST_F(SetDeviceTest, AsLastArgumentConsumesItselfAndKeepsTheSeries)
{
    const DeviceRun run = RunSetDevice({"-device"});
    EXPECT_EQ(run.result, OP_SUCCESS);
    EXPECT_EQ(run.index, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(g_shareParameter.series, ZR32_S07);
}

TEST_F(SetDeviceTest, UniversalSetsTheFirstSeriesThatListsIt)
{
    const DeviceRun run = RunSetDevice({"-device", "Universal"});
    EXPECT_EQ(run.result, OP_SUCCESS);
    EXPECT_EQ(run.index, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(g_shareParameter.series, ZR32_S18);
}

TEST_F(SetDeviceTest, TheFirstNameOfEveryListSetsItsSeries)
{
    for (size_t list = 0; list < std::size(kListSeries); ++list) {
        if (g_shareParameter.devicePartLists[list].empty())
            continue;
        const std::string name = g_shareParameter.devicePartLists[list].front();
        const int expected = name == "Universal" ? 18 : kListSeries[list];
        g_shareParameter.series = ZR32ErrorMCU2;
        const DeviceRun run = RunSetDevice({"-device", name});
        EXPECT_EQ(run.result, OP_SUCCESS) << name;
        EXPECT_EQ(g_shareParameter.series, expected) << name;
    }
}

TEST_F(SetDeviceTest, TheLastOfSeveralNamesWinsAndAnOptionEndsTheList)
{
    const std::string s30Name = g_shareParameter.devicePartLists[22].back();
    const DeviceRun run = RunSetDevice({"-device", "Universal", s30Name, "-connect"});
    EXPECT_EQ(run.result, OP_SUCCESS);
    EXPECT_EQ(run.index, 3);
    EXPECT_EQ(g_shareParameter.series, ZR32_S30);
}

TEST_F(SetDeviceTest, RejectsSubOptionsAndNamesNotListedExactly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"--all", "bad parameter \"--all\"\n"},
        {"--FN", "bad parameter \"--FN\"\n"},
        {"universal", "bad parameter \"universal\"\n"},
        {"ZR32S07", "bad parameter \"ZR32S07\"\n"},
        {"", "bad parameter \"\"\n"},
    };
    for (const auto& [name, out] : cases) {
        const DeviceRun run = RunSetDevice({"-device", name, "-r"});
        EXPECT_EQ(run.result, OP_BAD_PARAM) << name;
        EXPECT_EQ(run.out, out) << name;
        EXPECT_EQ(g_shareParameter.series, ZR32_S07) << name;
    }
}
