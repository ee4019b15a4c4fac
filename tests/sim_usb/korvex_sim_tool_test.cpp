// korvex-sim as users script it: a command run against emulated probes with its output and exit
// code untouched, numbered probes, saved state, the help, the exchange log of a run, loud errors,
// and a run recorded by the library (KORVEXLIB_TRACE) replayed without the emulated target.
#include "probe/virtual_probe.h"
#include "run_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace {

using korvex_test::builtProgram;
using korvex_test::ProcessOptions;
using korvex_test::ProcessResult;
using korvex_test::runProcess;

ProcessResult sim(std::vector<std::string> args, const ProcessOptions &options = {})
{
    args.insert(args.begin(), builtProgram("korvex-sim"));
    return runProcess(args, options);
}

std::string client() { return builtProgram("sim_usb_probe_client"); }

std::string readFile(const std::string &path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// The request and reply lines of an exchange log or a trace, without the lines that name them.
std::string wireLines(const std::string &log)
{
    std::istringstream in(log);
    std::string lines;
    for (std::string line; std::getline(in, line);)
        if (line.rfind("    > ", 0) == 0 || line.rfind("    < ", 0) == 0) lines += line + "\n";
    return lines;
}

class Scratch {
public:
    Scratch() : dir_(testing::TempDir() + "korvex_sim_tool_" + std::to_string(getpid()))
    {
        std::system(("rm -rf '" + dir_ + "' && mkdir -p '" + dir_ + "'").c_str());
    }
    ~Scratch() { std::system(("rm -rf '" + dir_ + "'").c_str()); }
    std::string path(const std::string &name) const { return dir_ + "/" + name; }
    std::string write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }

private:
    std::string dir_;
};

TEST(KorvexSimTool, the_command_runs_with_its_output_and_exit_code_untouched)
{
    const ProcessResult r = sim({"--", "/bin/sh", "-c", "printf 'a\\r\\nb'; printf 'e\\n' >&2; exit 7"});
    EXPECT_EQ(r.out, "a\r\nb");
    EXPECT_EQ(r.err, "e\n");
    EXPECT_EQ(r.exitCode, 7);
    EXPECT_EQ(sim({"--", "/bin/sh", "-c", "kill -9 $$"}).exitCode, 128 + 9) << "killed by a signal";
    EXPECT_EQ(sim({"--", "/nonexistent/command"}).exitCode, 127) << "cannot start";
}

// A configuration file sets probes (its [probeN] sections must exist); the command line overrides it.
TEST(KorvexSimTool, bad_command_lines_give_125_and_run_nothing)
{
    Scratch files;
    const std::string ini = files.write("sim.ini", "[General]\nprobes=2\nserial=FROM_FILE\n\n[probe1]\nserial=FILE_ONE\n");
    const std::string far = files.write("far.ini", "[General]\nprobes=2\n[probe7]\nserial=X\n");
    const std::vector<std::vector<std::string>> bad = {
        {"--probes", "x", "--", "/bin/echo", "ran"},
        {"--probes", "128", "--", "/bin/echo", "ran"},
        {"--probes"},
        {"--frobnicate", "--", "/bin/echo", "ran"},
        {"--set", "novalue", "--", "/bin/echo", "ran"},
        {"--probe", "2:serial=X", "--", "/bin/echo", "ran"},
        {"--probe", "serial=X", "--", "/bin/echo", "ran"},
        {"--config", "/nonexistent.ini", "--", "/bin/echo", "ran"},
        {"--config", ini, "--probes", "1", "--", "/bin/echo", "ran"},
        {"--config", far, "--", "/bin/echo", "ran"},
        {"--set", "no_such_key=1", "--", "/bin/echo", "ran"},
        {"--probes", "1"},
        {"dump"},
        {"dump", "--state", "/nonexistent/state"},
    };
    for (const auto &args : bad) {
        const ProcessResult r = sim(args);
        EXPECT_EQ(r.exitCode, 125) << testing::PrintToString(args);
        EXPECT_EQ(r.out, "") << testing::PrintToString(args);
    }
    const std::vector<std::pair<std::vector<std::string>, std::string>> good = {
        {{"--probes", "0"}, ""},
        {{"--probes", "4"}, "KV0000000001\nKV0000000002\nKV0000000003\nKV0000000004\n"},
        {{"--probes", "3", "--set", "serial=ALL", "--probe", "2:serial=TWO"}, "ALL\nALL\nTWO\n"},
        {{"--config", ini}, "FILE_ONE\nFROM_FILE\n"},
        {{"--config", ini, "--probe", "1:serial=CLI_ONE"}, "CLI_ONE\nFROM_FILE\n"},
    };
    for (auto [args, out] : good) {
        args.insert(args.end(), {"--", client(), "list"});
        const ProcessResult r = sim(args);
        EXPECT_EQ(r.out, out) << testing::PrintToString(args) << r.err;
        EXPECT_EQ(r.exitCode, 0) << testing::PrintToString(args);
    }
}

// What one run does to a probe (a protocol write) is there in the next run, and in the dump, which
// ends with the exchanges of the last run as --log wrote them.
TEST(KorvexSimTool, probe_state_persists_across_runs_and_a_failed_save_fails_the_run)
{
    Scratch files;
    const std::string dir = files.path("state");
    const ProcessResult write = sim({"--state", dir, "--", client(), "exchange", "B0", "04", "04", "00", "00", "01", "00"});
    EXPECT_EQ(write.out, "B0 F1\n") << write.err;
    const ProcessResult read = sim({"--state", dir, "--log", files.path("run.log"), "--", client(), "exchange", "B0", "03"});
    EXPECT_EQ(read.out, "B0 03 04 00 00 01 00\n") << read.err;
    const std::string log = "exchanges 1\n  #1 bulk B0.03 read SWD speed\n    > B0 03\n    < B0 03 04 00 00 01 00\n";
    EXPECT_EQ(readFile(files.path("run.log")), log);

    const ProcessResult dump = sim({"dump", "--state", dir});
    EXPECT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("swd_speed=256"), std::string::npos) << dump.out;
    EXPECT_EQ(dump.out.substr(dump.out.find("exchanges ")), log) << "the dump ends with the last run's log";
    EXPECT_EQ(sim({"dump", "--state", dir, "--probe", "0"}).out, dump.out);
    EXPECT_EQ(sim({"--", client(), "exchange", "B0", "03"}).out, "B0 03 04 00 0F 42 40\n") << "factory setting: 1 MHz";

    // The command itself puts a directory where a memory file goes: the save fails after the
    // command, and leaves no half-written file behind.
    const ProcessResult r =
        sim({"--state", dir, "--", "/bin/sh", "-c", "rm " + dir + "/probe0/main_flash.bin; mkdir -p " + dir + "/probe0/main_flash.bin/x; echo ran; exit 3"});
    EXPECT_EQ(r.out, "ran\n");
    EXPECT_EQ(r.exitCode, 125);
    EXPECT_EQ(sim({"--", "/bin/sh", "-c", "ls " + dir + "/probe0 | grep -c tmp"}).out, "0\n");
}

TEST(KorvexSimHelp, lists_every_configuration_key_with_its_values_default_and_meaning)
{
    const ProcessResult help = sim({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    size_t keyLines = 0;
    std::istringstream lines(help.out);
    for (std::string line; std::getline(lines, line);)
        keyLines += line.size() > 2 && line.rfind("  ", 0) == 0 && line[2] != ' ' && line.find("=") != std::string::npos &&
                    line.find("  (default: ") != std::string::npos;
    const auto &keys = ksim::VirtualProbe::configurationKeys();
    EXPECT_EQ(keyLines, keys.size()) << "a key line in the help that configure() does not know, or the reverse";
    ksim::VirtualProbe probe;
    for (const ksim::ConfigurationKey &key : keys) {
        const std::string line = "  " + std::string(key.name) + "=" + key.values + "  (default: " + key.defaultValue + ")\n";
        EXPECT_NE(help.out.find(line), std::string::npos) << key.name;
        const std::string meaningStart = std::string(key.meaning).substr(0, 20);
        EXPECT_NE(help.out.find(line + "      " + meaningStart), std::string::npos) << key.name;
        std::string error;
        probe.configure(key.name, "", error);
        EXPECT_EQ(error.rfind("unknown key", 0), std::string::npos) << key.name;
    }
    EXPECT_EQ(sim({"--version"}).out, "korvex-sim 1.0.0\n");
}

// What went over the wire in a console run, from --log and from the state's dump; the library's own
// record of the same run (KORVEXLIB_TRACE) is the oracle for every byte.
TEST(KorvexSimLog, shows_the_exchanges_of_the_last_run_byte_for_byte)
{
    Scratch files;
    const std::string state = files.path("state");
    for (const char *transport : {"hid", "bulk"}) {  // the last one stays in the state
        ProcessOptions traced;
        traced.env["KORVEXLIB_TRACE"] = files.path(std::string(transport) + ".trace");
        const ProcessResult console = sim({"--state", state, "--set", std::string("transport=") + transport, "--log", files.path("console.log"),
                                           "--", builtProgram("Korvex_Console"), "-connect", "-e", "--sec", "1", "-r"},
                                          traced);
        ASSERT_EQ(console.exitCode, 0) << console.out << console.err;
        EXPECT_EQ(wireLines(readFile(files.path("console.log"))), wireLines(readFile(traced.env["KORVEXLIB_TRACE"]))) << transport;
        EXPECT_NE(wireLines(readFile(files.path("console.log"))).find("    > B4 00 08 00 08 00 00 01"), std::string::npos) << transport;
    }
    const std::string log = readFile(files.path("console.log"));
    const std::string consoleDump = sim({"dump", "--state", state}).out;
    EXPECT_EQ(consoleDump.substr(consoleDump.find("exchanges ")), log);
}

// Loud errors: exit 125 before the command runs, one line that names the key and the reason (the
// reasons a trigger is refused are the fault plan tests' own table).
TEST(KorvexSimErrors, settings_that_cannot_work_stop_the_run_with_one_line)
{
    Scratch files;
    const std::string image = files.write("app.bin", std::string(16, '\x11'));
    ASSERT_EQ(mkfifo(files.path("fifo").c_str(), 0600), 0);
    const std::string state = files.path("state");
    ASSERT_EQ(sim({"--state", state, "--", "/bin/true"}).exitCode, 0);
    std::ofstream(state + "/probe0/device.ini", std::ios::app) << "fault_no_reply=B0\n";
    const std::string faultLine = std::to_string(std::count(std::istreambuf_iterator<char>(std::ifstream(state + "/probe0/device.ini").rdbuf()), {}, '\n'));
    const std::string fifoState = files.path("fifo_state");
    ASSERT_EQ(sim({"--state", fifoState, "--", "/bin/true"}).exitCode, 0);
    std::remove((fifoState + "/probe0/main_flash.bin").c_str());
    ASSERT_EQ(mkfifo((fifoState + "/probe0/main_flash.bin").c_str(), 0600), 0);

    struct Case {
        std::vector<std::string> options;
        std::string message;  // after "korvex-sim: "
    } cases[] = {
        {{"--set", "flash_image=1FFFE400:" + image},
         "probe 0: flash_image=1FFFE400:" + image + ": 16 bytes at 0x1FFFE400 fit no memory of the configured target (series 4, pid 0x04000246)"},
        {{"--set", "fault_status=#0,FF"}, "probe 0: fault_status: trigger #0 can never fire: requests are counted from 1"},
        {{"--state", state},
         "cannot load the state of probe 0 from " + state + "/probe0: " + state +
             "/probe0/device.ini:" + faultLine + ": fault_no_reply: a setting of one run (faults and bench conditions), never part of a saved state"},
        {{"--set", "flash_image=08000000:/dev/zero"}, "probe 0: flash_image: /dev/zero is not a regular file"},
        {{"--set", "usd_image=" + files.path("fifo")}, "probe 0: usd_image: " + files.path("fifo") + " is not a regular file"},
        {{"--state", fifoState},
         "cannot load the state of probe 0 from " + fifoState + "/probe0: " + fifoState + "/probe0/main_flash.bin is not a regular file"},
        {{"--state", image}, "--state " + image + ": not a directory"},
    };
    for (const Case &c : cases) {
        std::vector<std::string> args = c.options;
        args.insert(args.end(), {"--", "/bin/echo", "ran"});
        const ProcessResult r = sim(args);
        EXPECT_EQ(r.exitCode, 125) << c.message;
        EXPECT_EQ(r.out, "") << c.message;
        EXPECT_EQ(r.err, "korvex-sim: " + c.message + "\n");
    }
}

// A run recorded through the library replays to the same output and exit code without the
// emulated target, faults included; a changed command line stops at its first differing request.
TEST(KorvexSimReplay, a_recorded_run_replays_and_a_changed_one_is_reported_where_it_differs)
{
    Scratch files;
    const std::string image = files.write("app.bin", std::string(300, '\x5A'));
    const std::string trace = files.path("run.trace");
    ProcessOptions recording;
    recording.env["KORVEXLIB_TRACE"] = trace;
    const std::vector<std::string> job = {builtProgram("Korvex_Console"), "-connect", "-d", "--fn", image, "--v", "-e", "--sec", "1"};
    std::vector<std::string> recorded = {"--set", "serial=LINE7", "--set", "fault_refuse=B4.00@2,FE", "--"};
    recorded.insert(recorded.end(), job.begin(), job.end());
    const ProcessResult original = sim(recorded, recording);
    ASSERT_EQ(original.exitCode, 0x33) << original.out << original.err;
    ASSERT_NE(original.out.find("Serials: LINE7"), std::string::npos);

    std::vector<std::string> replayed = {"--replay", trace, "--"};
    replayed.insert(replayed.end(), job.begin(), job.end());
    const ProcessResult again = sim(replayed);
    EXPECT_EQ(again.out, original.out);
    EXPECT_EQ(again.exitCode, original.exitCode) << again.err;

    replayed.back() = "2";  // -e --sec 2 instead of 1
    const ProcessResult changed = sim(replayed);
    EXPECT_EQ(changed.exitCode, 125);
    EXPECT_NE(changed.err.find("korvex-sim: replay: request "), std::string::npos) << changed.err;
    EXPECT_NE(changed.err.find(": got bulk B4 00 08 00 10 00 00 01, recorded bulk B4 00 08 00 08 00 00 01 (the command itself "
                               "exited with"),
              std::string::npos)
        << changed.err;
}

}  // namespace
