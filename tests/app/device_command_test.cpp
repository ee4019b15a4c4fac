#include "command_handlers.h"
#include "exit_codes.h"
#include "share_parameter.h"

#include <gtest/gtest.h>

#include <string>

// The series reaches the probe only later, with -connect: here it is read off the shared state.
TEST(SetDevice, TheLastOfSeveralNamesWinsAndAnOptionEndsTheList)
{
    std::string arguments[] = {"-device", "Universal", g_shareParameter.devicePartLists[22].back(), "-connect"};
    char* argv[] = {arguments[0].data(), arguments[1].data(), arguments[2].data(), arguments[3].data(), nullptr};
    int index = 0;
    g_shareParameter.series = ZR32_S07;
    testing::internal::CaptureStdout();
    EXPECT_EQ(SetDevice(4, argv, index), OP_SUCCESS);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(index, 3);
    EXPECT_EQ(g_shareParameter.series, ZR32_S30);
    g_shareParameter.series = ZR32ErrorMCU2;
}
