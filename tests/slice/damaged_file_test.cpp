// A damaged image file is refused whole, before the probe is asked to erase or write anything:
// every run sends what a run with an empty file sends, and the flash keeps what it held.
#include "virtual_bench.h"

namespace slice_test {
namespace {

TEST(DownloadDamaged, files_are_refused_before_anything_is_sent_to_the_probe)
{
    VirtualBench bench;
    bench.fillEverything(0x00);
    TempDir files;
    const std::string good = IntelHex({{kFlash, Pattern(48, 20)}});
    const size_t end = good.rfind(":00000001FF");
    const size_t lastData = good.rfind(':', end - 1);
    std::string wrongType = good, wrongSum = good;
    wrongType[lastData + 8] = '6'; // record type 06
    wrongSum[end - 2] = wrongSum[end - 2] == '0' ? '1' : '0';
    const struct {
        const char* name;
        std::string content;
    } rows[] = {
        {"empty.hex", ""},
        {"no_end.hex", good.substr(0, end)},
        {"cut.hex", good.substr(0, end - 6)},
        {"type.hex", wrongType},
        {"checksum.hex", wrongSum},
    };
    std::vector<std::string> reference;
    for (const auto& row : rows) {
        const ConsoleRun run = bench.console({"-connect", "-d", "--fn", files.write(row.name, row.content), "--v"});
        EXPECT_EQ(run.out, kConnectDefault + "Download file opening......\nFile format error, please reselect!\n"
                                             "Error. Open file failed!\n") << row.name;
        EXPECT_EQ(run.exitCode, 3) << row.name;
        std::vector<std::string> commands;
        for (const ksim::Exchange& exchange : bench.exchanges())
            commands.push_back(exchange.command);
        bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { p.clearExchangeLog(); });
        if (reference.empty())
            reference = commands;
        EXPECT_EQ(commands, reference) << row.name;
    }
    EXPECT_EQ(bench.read(kFlash, kFlashSize), std::vector<uint8_t>(kFlashSize, 0x00));
    EXPECT_EQ(bench.console({"-connect", "-d", "--fn", files.write("good.hex", good)}).exitCode, 0);
}

}  // namespace
}  // namespace slice_test
