// The production job of the README, run exactly as written there, on the sample image, with the
// factory-default probe: both transports, the bulk one is used.
#include "virtual_bench.h"

#include <cstdlib>

namespace slice_test {
namespace {

const std::string kSample = std::string(KORVEX_SOURCE_DIR) + "/examples/sample_app.hex";

std::string OverWinUsb(std::string lines)
{
    return lines.replace(lines.find("(HID)"), 5, "(WinUSB)");
}

const Scenario kJobs[] = {
    Scenario{"ConnectEraseDownloadVerifyRun", ksim::Settings{}, {"-connect", "-e", "--all", "-d", "--fn", kSample, "--v", "-r"},
             OverWinUsb(kConnectDefault) + kErasedAll + kOpened + kWritten + kVerified + kResetRun + kDone, 0}
        .Also([](RowRun& row) { // objcopy, an independent reader, with the gaps as an erased flash holds them
            const std::string binary = row.files.path("sample.bin");
            ASSERT_EQ(std::system(("objcopy -I ihex -O binary --gap-fill 0xFF '" + kSample + "' '" + binary + "'").c_str()), 0);
            const std::string bytes = ReadFile(binary);
            EXPECT_TRUE(row.bench.read(kFlash, static_cast<uint32_t>(bytes.size())) == std::vector<uint8_t>(bytes.begin(), bytes.end()));
            row.bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { EXPECT_EQ(p.target().runState(), 2); });
        }),
};
INSTANTIATE_TEST_SUITE_P(TypicalJob, ScenarioRun, testing::ValuesIn(kJobs), ScenarioName);

}  // namespace
}  // namespace slice_test
