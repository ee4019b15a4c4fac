// The USB exchanges each job takes, counted exactly: a change that adds one exchange to a job
// fails here. Each count is the fewest the protocol allows for the job on the default target
// (HID, 2 KiB sectors); the comment beside it says what it is made of. To guard another job, add
// a row: its arguments (after -connect) and its count.
#include "virtual_bench.h"

#include <gtest/gtest.h>

namespace slice_test {
namespace {

// A gapped image: 1500 bytes at the flash base, 2100 bytes from 0x08001000 (sectors 0, 2 and 3).
std::string GappedImage(const TempDir& files)
{
    return files.write("gapped.hex", IntelHex({{0x08000000, Pattern(1500, 31)}, {0x08001000, Pattern(2100, 32)}}));
}

struct CountRow {
    const char* name;
    // After -connect. "IMAGE" stands for the gapped image, "@NAME" for a file NAME in a scratch
    // directory (say, where -u writes).
    std::vector<std::string> arguments;
    size_t exchanges;
};

// Data moves in library calls of at most 1 KiB, 56 payload bytes per exchange: the 1500-byte
// part takes 19 + 9 exchanges, the 2100-byte part 19 + 19 + 1, 67 in all each way.
const CountRow kRows[] = {
    {"connect", {}, 6},                                           // probe and target identification
    {"erase_all", {"-e", "--all"}, 6 + 1},                         // one mass erase
    {"erase_sectors", {"-e", "--sec", "2-5"}, 6 + 4},              // one erase per sector
    {"download", {"-d", "--fn", "IMAGE"}, 6 + 3 + 1 + 67 + 1},     // 3 sectors, begin, data, end
    {"download_verify", {"-d", "--fn", "IMAGE", "--v"}, 6 + 3 + 1 + 67 + 1 + 67}, // and reads
    {"upload", {"-u", "--sec", "0-1", "--fn", "@up.hex"}, 6 + 4 * 19},    // four 1 KiB reads
    {"usd_get", {"-usd", "--get", "--fn", "@usd.bin"}, 6 + 1},             // 24 pairs in one read
    {"depp_then_eepp", {"-p", "--depp", "--eepp", "0-0"}, 6 + 4 + 4},     // two writes: read, begin, write, end
};

void PrintTo(const CountRow& row, std::ostream* out)
{
    *out << row.name;
}

class ExchangeCount : public testing::TestWithParam<CountRow> {};

TEST_P(ExchangeCount, is_exactly_the_protocol_minimum)
{
    VirtualBench bench;
    TempDir files;
    std::vector<std::string> arguments = {"-connect"};
    for (const std::string& argument : GetParam().arguments)
        arguments.push_back(argument == "IMAGE"          ? GappedImage(files)
                            : argument.rfind('@', 0) == 0 ? files.path(argument.substr(1))
                                                          : argument);
    const ConsoleRun run = bench.console(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(bench.exchanges().size(), GetParam().exchanges);
}

INSTANTIATE_TEST_SUITE_P(Jobs, ExchangeCount, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<CountRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace slice_test
