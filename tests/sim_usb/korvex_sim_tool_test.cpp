// The korvex-sim program: a command run against emulated probes, its output and exit code untouched.
#include "run_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

using korvex_test::builtProgram;
using korvex_test::ProcessResult;
using korvex_test::runProcess;

ProcessResult sim(std::vector<std::string> args)
{
    args.insert(args.begin(), builtProgram("korvex-sim"));
    return runProcess(args);
}

std::string client() { return builtProgram("sim_usb_probe_client"); }

TEST(KorvexSimTool, output_and_exit_code_of_the_command_pass_through_untouched)
{
    const ProcessResult r = sim({"--", "/bin/sh", "-c", "printf 'a\\r\\nb'; printf 'e\\n' >&2; exit 7"});
    EXPECT_EQ(r.out, "a\r\nb");
    EXPECT_EQ(r.err, "e\n");
    EXPECT_EQ(r.exitCode, 7);
}

TEST(KorvexSimTool, a_command_killed_by_a_signal_gives_128_plus_the_signal)
{
    EXPECT_EQ(sim({"--", "/bin/sh", "-c", "kill -9 $$"}).exitCode, 137);
}

TEST(KorvexSimTool, a_command_that_cannot_start_gives_127)
{
    EXPECT_EQ(sim({"--", "/nonexistent/command"}).exitCode, 127);
}

TEST(KorvexSimTool, bad_command_lines_give_125_and_run_nothing)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--probes", "x", "--", "/bin/echo", "ran"},
        {"--probes", "128", "--", "/bin/echo", "ran"},
        {"--probes"},
        {"--frobnicate", "--", "/bin/echo", "ran"},
        {"--set", "novalue", "--", "/bin/echo", "ran"},
        {"--probe", "2:serial=X", "--", "/bin/echo", "ran"},
        {"--probe", "serial=X", "--", "/bin/echo", "ran"},
        {"--config", "/nonexistent.ini", "--", "/bin/echo", "ran"},
        {"--set", "no_such_key=1", "--", "/bin/echo", "ran"},
        {"--probes", "1"},
        {"dump"},
        {"dump", "--state", "/nonexistent/state"},
    };
    for (const auto &args : bad) {
        const ProcessResult r = sim(args);
        EXPECT_EQ(r.exitCode, 125) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
    }
}

TEST(KorvexSimTool, the_command_sees_the_requested_number_of_probes)
{
    EXPECT_EQ(sim({"--probes", "0", "--", client(), "list"}).out, "");
    const ProcessResult two = sim({"--probes", "2", "--", client(), "list"});
    EXPECT_EQ(two.exitCode, 0) << two.err;
    EXPECT_EQ(std::count(two.out.begin(), two.out.end(), '\n'), 2);
}

TEST(KorvexSimTool, probe_settings_apply_to_all_probes_or_to_one)
{
    const ProcessResult r =
        sim({"--probes", "3", "--set", "serial=ALL", "--probe", "2:serial=TWO", "--", client(), "list"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "ALL\nALL\nTWO\n");
}

TEST(KorvexSimTool, a_configuration_file_sets_probes_and_the_command_line_overrides_it)
{
    const std::string ini = testing::TempDir() + "korvex_sim_tool_test.ini";
    std::ofstream(ini) << "[General]\nprobes=2\nserial=FROM_FILE\n\n[probe1]\nserial=FILE_ONE\n";
    EXPECT_EQ(sim({"--config", ini, "--", client(), "list"}).out, "FILE_ONE\nFROM_FILE\n");
    EXPECT_EQ(sim({"--config", ini, "--probe", "1:serial=CLI_ONE", "--", client(), "list"}).out,
              "CLI_ONE\nFROM_FILE\n");
    EXPECT_EQ(sim({"--config", ini, "--probes", "1", "--", client(), "list"}).exitCode, 125);  // [probe1] too many
    std::ofstream(ini) << "[General]\nprobes=2\n[probe7]\nserial=X\n";
    EXPECT_EQ(sim({"--config", ini, "--", client(), "list"}).exitCode, 125);
    std::remove(ini.c_str());
}

// What one run does to a probe (a protocol write) is there in the next run, and in the dump.
TEST(KorvexSimTool, probe_state_persists_across_runs_with_state)
{
    const std::string dir = testing::TempDir() + "korvex_sim_tool_state";
    std::system(("rm -rf '" + dir + "'").c_str());
    const ProcessResult write = sim({"--state", dir, "--", client(), "exchange", "bulk", "B0", "04", "04", "00", "00", "01", "00"});
    EXPECT_EQ(write.out, "B0 F1\n") << write.err;
    const ProcessResult read = sim({"--state", dir, "--", client(), "exchange", "bulk", "B0", "03"});
    EXPECT_EQ(read.out, "B0 03 04 00 00 01 00\n") << read.err;

    const ProcessResult dump = sim({"dump", "--state", dir});
    EXPECT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("swd_speed=256"), std::string::npos) << dump.out;
    EXPECT_EQ(sim({"dump", "--state", dir, "--probe", "0"}).out, dump.out);

    const ProcessResult fresh = sim({"--", client(), "exchange", "bulk", "B0", "03"});
    EXPECT_EQ(fresh.out, "B0 03 04 00 0F 42 40\n");  // factory setting: 1 MHz
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(KorvexSimTool, a_state_path_that_is_a_file_fails_before_the_command_runs)
{
    const std::string notADirectory = testing::TempDir() + "korvex_sim_tool_state_file";
    std::ofstream(notADirectory) << "x";
    const ProcessResult r = sim({"--state", notADirectory, "--", "/bin/sh", "-c", "echo ran; exit 3"});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.exitCode, 125);
    std::remove(notADirectory.c_str());
}

// The command itself puts a directory where a memory file goes: the save fails after the command,
// and leaves no half-written file behind.
TEST(KorvexSimTool, a_state_that_cannot_be_saved_fails_the_run_and_leaves_no_temporary_file)
{
    const std::string dir = testing::TempDir() + "korvex_sim_tool_unsaved";
    std::system(("rm -rf '" + dir + "'").c_str());
    ASSERT_EQ(sim({"--state", dir, "--", "/bin/true"}).exitCode, 0);
    const ProcessResult r =
        sim({"--state", dir, "--", "/bin/sh", "-c", "rm " + dir + "/probe0/main_flash.bin; mkdir -p " + dir + "/probe0/main_flash.bin/x; echo ran; exit 3"});
    EXPECT_EQ(r.out, "ran\n");
    EXPECT_EQ(r.exitCode, 125);
    EXPECT_EQ(sim({"--", "/bin/sh", "-c", "ls " + dir + "/probe0 | grep -c tmp"}).out, "0\n");
    std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
