// -otp against the virtual probe: files made by examples/make_otp_project.py, the OTP data and
// lock areas afterwards, and the order of the writes.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace slice_test {
namespace {

const ksim::Settings kOtpTarget = {{"transport", "hid"}, {"series", "25"}, {"pid", "19002103"}};
const std::string kOtpConnect = "Connect......\n"
                                "Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)\n"
                                "Korvex connected\n"
                                "MCU Part Number:   ZR32S25K8T6        Flash size: 64KB\n"
                                "MCU connected\n"
                                "\n";
const std::string kRunning = "Set OTP data to device\nrunning...\n";
const std::string kSucceed = kRunning + "set OTP data to device succeed!\n";
const std::string kRefused = kRunning + "Get OTP data from the configuration file failed!\n";

// An OTP project file made by the example maker; cut (negative) or padded by extraBytes.
std::string MakeOtpFile(const TempDir& dir, const std::vector<std::string>& records, int extraBytes = 0)
{
    const std::string path = dir.path("project.zrtp");
    std::vector<std::string> argv = {"/usr/bin/env", "python3", std::string(KORVEX_SOURCE_DIR) + "/examples/make_otp_project.py", path};
    argv.insert(argv.end(), records.begin(), records.end());
    const korvex_test::ProcessResult made = korvex_test::runProcess(argv);
    EXPECT_EQ(made.exitCode, 0) << made.err;
    const auto size = static_cast<std::uintmax_t>(static_cast<long long>(std::filesystem::file_size(path)) + extraBytes);
    std::filesystem::resize_file(path, size);
    return path;
}

std::vector<std::string> Blank(size_t count)
{
    return std::vector<std::string>(count, "0");
}

struct Block {
    uint32_t offset;
    std::vector<uint8_t> data;
};

struct OtpCase {
    const char* name;
    ksim::Settings target;
    std::vector<std::string> records;   // make_otp_project.py records
    int extraBytes;
    std::vector<std::string> arguments; // after -connect; FILE is the project file
    std::string out;                    // after the connection lines
    int exitCode;
    std::vector<Block> data;            // written blocks (the first 0x100 bytes of the area otherwise blank)
    std::vector<uint8_t> locks;         // the first 4 lock bytes
    bool beforeRun = false;             // refused by the check of the whole line: nothing ran
};
void PrintTo(const OtpCase& c, std::ostream* os) { *os << c.name; }

struct OtpState {
    std::vector<uint8_t> data;
    std::vector<uint8_t> locks;
};

OtpState TargetOtp(VirtualBench& bench)
{
    return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
        const ksim::OtpArea& otp = p.target().otp();
        return OtpState{otp.data().read(0, otp.present() ? 0x100 : 0), otp.locks().read(0, otp.present() ? 4 : 0)};
    });
}

ConsoleRun RunOtp(VirtualBench& bench, const std::string& file, const std::vector<std::string>& arguments)
{
    std::vector<std::string> line = {"-connect"};
    for (const std::string& argument : arguments)
        line.push_back(argument == "FILE" ? file : argument);
    return bench.console(line, 30000);
}

class ProgramOtp : public testing::TestWithParam<OtpCase> {};

TEST_P(ProgramOtp, writes_every_data_block_before_any_lock_or_nothing)
{
    const OtpCase& c = GetParam();
    VirtualBench bench(c.target);
    TempDir files;
    const ConsoleRun run = RunOtp(bench, MakeOtpFile(files, c.records, c.extraBytes), c.arguments);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.out, (c.beforeRun ? "" : c.target.size() > 1 ? kOtpConnect : kConnectDefault) + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    const OtpState state = TargetOtp(bench);
    std::vector<uint8_t> data(state.data.empty() ? 0 : 0x100, 0xFF);
    for (const Block& block : c.data)
        std::copy(block.data.begin(), block.data.end(), data.begin() + block.offset);
    EXPECT_EQ(state.data, data);
    EXPECT_EQ(state.locks, c.locks);
    bool locking = false; // within one write sequence, no data block after a lock byte
    for (const ksim::Exchange& e : bench.exchanges()) {
        const std::string code = e.command.substr(0, 5);
        EXPECT_FALSE(locking && code == "B3.07") << "#" << e.index;
        locking = code == "B3.08" || (locking && code != "B3.06");
    }
}

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> head)
{
    std::vector<uint8_t> bytes(32, 0xFF);
    std::copy(head.begin(), head.end(), bytes.begin());
    return bytes;
}

const std::vector<std::string> kFileLine = {"-otp", "--fn", "FILE"};
const std::vector<uint8_t> kNoLocks(4, 0xFF);
std::vector<std::string> LockPastTheArea()
{
    std::vector<std::string> records = Blank(128);
    records.push_back("0::lock");
    return records;
}

const OtpCase kOtpCases[] = {
    {"DataThenLocks", kOtpTarget, {"0:00112233:lock", "20:DEADBEEF", "60::lock"}, 0, kFileLine, kSucceed + kDone, 0,
     {{0, Bytes({0x00, 0x11, 0x22, 0x33})}, {0x20, Bytes({0xDE, 0xAD, 0xBE, 0xEF})}}, {0x00, 0xFF, 0x00, 0xFF}},
    {"UpperCaseSubOptionAndLastBlock", kOtpTarget, {"3E0:0102"}, 0, {"-otp", "--FN", "FILE"}, kSucceed + kDone, 0, {}, kNoLocks},
    {"NothingToDo", kOtpTarget, Blank(3), 0, kFileLine,
     kRunning + "No data needs to be written!\nset OTP data to device succeed!\n" + kDone, 0, {}, kNoLocks},
    {"SecondRunOnLockedBlocks", kOtpTarget, {"0:AA:lock"}, 0, {"-otp", "--fn", "FILE", "-otp"},
     kSucceed + "Write OTP data failed!Write address: 0x1ffff000\n", 64, {{0, Bytes({0xAA})}}, {0x00, 0xFF, 0xFF, 0xFF}},
    {"CutFile", kOtpTarget, {"0:01", "20:02"}, -1, kFileLine, kRefused, 64, {}, kNoLocks},
    {"FortyByteStride", kOtpTarget, {"0:01", "20:02"}, 4, kFileLine, kRefused, 64, {}, kNoLocks},
    {"DataPastTheArea", kOtpTarget, {"0:01", "3E1:02"}, 0, kFileLine, kRefused, 64, {}, kNoLocks},
    {"OneBlockTwice", kOtpTarget, {"0:01", "10:02"}, 0, kFileLine, kRefused, 64, {}, kNoLocks},
    {"LockPastTheLockArea", kOtpTarget, LockPastTheArea(), 0, kFileLine, kRefused, 64, {}, kNoLocks},
    {"NoFileName", kOtpTarget, {"0:01"}, 0, {"-otp"}, "Get OTP data from the configuration file failed!\n", 64, {}, kNoLocks, true},
    {"NameWithoutFolder", kOtpTarget, {"0:01"}, 0, {"-otp", "--fn", "project.zrtp"},
     "bad parameter \"project.zrtp\"\n", 1, {}, kNoLocks, true},
    {"NameOfAnotherKind", kOtpTarget, {"0:01"}, 0, {"-otp", "--fn", "./project.bin"},
     "bad parameter \"./project.bin\"\n", 1, {}, kNoLocks, true},
    {"StrayArgument", kOtpTarget, {"0:01"}, 0, {"-otp", "foo"}, "foo\n", 1, {}, kNoLocks, true},
    {"SeriesWithoutOtp", {{"transport", "hid"}}, {"0:01"}, 0, kFileLine, kRunning + "Error. The MCU has no OTP area.\n", 64, {}, {}},
    {"BeginRefused", kOtpTarget + ksim::Settings{{"fault_status", "B3.06,0x22"}}, {"0:01:lock"}, 0, kFileLine,
     kRunning + "Error. OTP write begin failed!\n", 64, {}, kNoLocks},
    {"DataWriteUnanswered", kOtpTarget + ksim::Settings{{"fault_no_reply", "B3.07"}}, {"0:01:lock"}, 0, kFileLine,
     kRunning + "Write OTP data failed!Write address: 0x1ffff000\n", 64, {{0, Bytes({0x01})}}, kNoLocks},
    {"LockWrongEcho", kOtpTarget + ksim::Settings{{"fault_wrong_echo", "B3.08"}}, {"0:01:lock"}, 0, kFileLine,
     kRunning + "Write OTP lock failed!\n", 64, {{0, Bytes({0x01})}}, {0x00, 0xFF, 0xFF, 0xFF}},
    {"UnpluggedAtTheFirstBlock", kOtpTarget + ksim::Settings{{"fault_unplug", "B3.07"}}, {"0:01:lock", "20:02"}, 0,
     kFileLine, kRunning + "Write OTP data failed!Write address: 0x1ffff020\n", 64, {{0, Bytes({0x01})}}, kNoLocks},
};
INSTANTIATE_TEST_SUITE_P(Files, ProgramOtp, testing::ValuesIn(kOtpCases),
                         [](const testing::TestParamInfo<OtpCase>& info) { return info.param.name; });

// The n-th exchange of a run whose request starts with code, counted on a clean run of the same line.
uint64_t NthExchange(const ksim::Settings& target, const std::vector<std::string>& records, const std::string& code, size_t n)
{
    VirtualBench bench(target);
    TempDir files;
    RunOtp(bench, MakeOtpFile(files, records), kFileLine);
    size_t seen = 0;
    for (const ksim::Exchange& e : bench.exchanges()) {
        if (e.command.rfind(code, 0) == 0 && ++seen == n)
            return e.index;
    }
    return 0;
}

TEST(ProgramOtpFaults, a_failed_second_data_block_leaves_every_block_unlocked)
{
    const std::vector<std::string> records = {"0:01:lock", "20:02:lock"};
    const uint64_t second = NthExchange(kOtpTarget, records, "B3.07", 2);
    VirtualBench bench(kOtpTarget + ksim::Settings{{"fault_status", "#" + std::to_string(second) + ",0x22"}});
    TempDir files;
    const ConsoleRun run = RunOtp(bench, MakeOtpFile(files, records), kFileLine);
    EXPECT_EQ(run.out, kOtpConnect + kRunning + "Write OTP data failed!Write address: 0x1ffff020\n");
    EXPECT_EQ(run.exitCode, 64);
    EXPECT_EQ(TargetOtp(bench).locks, kNoLocks);
}

TEST(ProgramOtpFaults, a_refused_end_is_a_failure)
{
    const std::vector<std::string> records = {"0:01"};
    const uint64_t end = NthExchange(kOtpTarget, records, "B3.06", 2);
    VirtualBench bench(kOtpTarget + ksim::Settings{{"fault_status", "#" + std::to_string(end) + ",0x22"}});
    TempDir files;
    const ConsoleRun run = RunOtp(bench, MakeOtpFile(files, records), kFileLine);
    EXPECT_EQ(run.out, kOtpConnect + kRunning + "Error. OTP write end failed!\n");
    EXPECT_EQ(run.exitCode, 64);
}

} // namespace
} // namespace slice_test
