// The production job of the README, run exactly as written there, on the sample image.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace slice_test {
namespace {

TEST(TypicalJob, connect_erase_download_verify_and_run_leaves_the_image_in_flash)
{
    VirtualBench bench(ksim::Settings{}); // the factory-default probe: both transports, the bulk one is used
    bench.fillEverything(0x00);
    const std::string image = std::string(KORVEX_SOURCE_DIR) + "/examples/sample_app.hex";
    const ConsoleRun run = bench.console({"-connect", "-e", "--all", "-d", "--fn", image, "--v", "-r"});
    std::string connected = kConnectDefault;
    connected.replace(connected.find("(HID)"), 5, "(WinUSB)");
    EXPECT_EQ(run.out, connected + "Erase all start ......\nflash full erase succeed!\nErase all finished!\n" + kOpened + kWritten +
                           kVerified + kResetRun + kDone);
    EXPECT_EQ(run.exitCode, 0);
    // objcopy, an independent reader, with the gaps as an erased flash holds them.
    TempDir files;
    const std::string binary = files.path("sample.bin");
    ASSERT_EQ(std::system(("objcopy -I ihex -O binary --gap-fill 0xFF '" + image + "' '" + binary + "'").c_str()), 0);
    const std::string bytes = ReadFile(binary);
    EXPECT_TRUE(bench.read(kFlash, static_cast<uint32_t>(bytes.size())) == std::vector<uint8_t>(bytes.begin(), bytes.end()));
    bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { EXPECT_EQ(p.target().runState(), 2); });
}

}  // namespace
}  // namespace slice_test
