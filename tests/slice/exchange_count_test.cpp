// The USB exchanges each job takes, counted exactly: a change that adds one exchange to a job
// fails here. Each count is the fewest the protocol allows for the job on the default target
// (HID, 2 KiB sectors); the comment beside it says what it is made of. To guard another job, add
// a row: its arguments (after -connect), its lines and its count.
#include "virtual_bench.h"

namespace slice_test {
namespace {

// FILE is a gapped image: 1500 bytes at the flash base, 2100 bytes from 0x08001000 (sectors 0, 2 and 3).
Scenario Count(const char* name, std::vector<std::string> arguments, const std::string& out, size_t exchanges)
{
    arguments.insert(arguments.begin(), "-connect");
    Scenario s{name, kHidProbe, arguments, kConnectDefault + out + kDone, 0};
    s.image = {{0x08000000, Pattern(1500, 31)}, {0x08001000, Pattern(2100, 32)}};
    s.checks = {[exchanges](RowRun& row) { EXPECT_EQ(row.bench.exchanges().size(), exchanges); }};
    return s;
}

const std::string kDownloaded = kOpened + kErased + kWritten;
const std::string kEpp = kDepp + "Disable erase and program protection finished!\n" + kEeppDone;

// Data moves in library calls of at most 1 KiB, 56 payload bytes per exchange: the 1500-byte
// part takes 19 + 9 exchanges, the 2100-byte part 19 + 19 + 1, 67 in all each way.
const Scenario kRows[] = {
    Count("connect", {}, "", 6),                                                        // probe and target identification
    Count("erase_all", {"-e", "--all"}, kErasedAll, 6 + 1),                             // one mass erase
    Count("erase_sectors", {"-e", "--sec", "2-5"}, Sectors("2-5"), 6 + 4),                    // one erase per sector
    Count("download", {"-d", "--fn", "FILE"}, kDownloaded, 6 + 3 + 1 + 67 + 1),         // 3 sectors, begin, data, end
    Count("download_verify", {"-d", "--fn", "FILE", "--v"}, kDownloaded + kVerified, 6 + 3 + 1 + 67 + 1 + 67), // and reads
    Count("upload", {"-u", "--sec", "0-1", "--fn", "TEMP/up.hex"}, kUploadDone, 6 + 4 * 19), // four 1 KiB reads
    Count("usd_get", {"-usd", "--get", "--fn", "TEMP/usd.bin"}, kUsdSaved, 6 + 1),         // 24 pairs in one read
    Count("depp_then_eepp", {"-p", "--depp", "--eepp", "0-0"}, kEpp, 6 + 4 + 4),           // two writes: read, begin, write, end
};
INSTANTIATE_TEST_SUITE_P(Jobs, ScenarioRun, testing::ValuesIn(kRows), ScenarioName);

}  // namespace
}  // namespace slice_test
