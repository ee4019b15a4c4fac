#include "run_process.h"

#include <gtest/gtest.h>

using korvex_test::builtProgram;
using korvex_test::runProcess;

TEST(ConsoleStartup, RunsAndExitsWithoutArguments)
{
    const auto run = runProcess({builtProgram("Korvex_Console")});
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0);
}
