// The command handlers in this process against a virtual probe, with SPIM enabled by -enspim on
// the line (or, for sizes the probe would refuse, in the run's settings as -enspim leaves them):
// erase and download of SPIM, alone and with main flash.
#include "connect_command.h"
#include "dispatcher.h"
#include "share_parameter.h"

#include "target/target_mcu.h"
#include "usb/testbed.h"
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kSpim = 0x08400000;
constexpr uint32_t kSpimSize = 0x100000; // 1 MiB

const std::string kConnect = "Connect......\n"
                             "Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)\n"
                             "Korvex connected\n"
                             "MCU Part Number:   ZR32S04RCT6        Flash size: 256KB\n"
                             "MCU connected\n"
                             "\n";
const std::string kConnectSpim = kConnect + "Begin Enable SPIM........\nEnable SPIM succeed!\n";

struct HandlerRun {
    std::string out;
    int exitCode;
};

class SpimRun : public testing::Test {
protected:
    void SetUp() override
    {
        bench_.addProbe({{"transport", "hid"}});
        bench_.withProbe(0, [](ksim::VirtualProbe& p) {
            ksim::TargetMcu& t = p.target();
            t.mainFlash().fill(0, t.mainFlash().size(), 0x00);
            t.spim().fill(0, t.spim().size(), 0x00);
        });
    }

    // Runs a command line after "-enspim --fs 1"; or, given a size, with SPIM enabled in the
    // run's settings as -enspim --fs <spimSizeMb> would leave them.
    HandlerRun Run(std::vector<std::string> arguments, uint32_t spimSizeMb = 0)
    {
        if (spimSizeMb == 0)
            arguments.insert(arguments.begin() + 1, {"-enspim", "--fs", "1"});
        arguments.insert(arguments.begin(), "Korvex_Console");
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        ResetRunValues();
        g_shareParameter.spimEnabled = spimSizeMb != 0;
        g_shareParameter.spimSizeMb = spimSizeMb;
        testing::internal::CaptureStdout();
        const int code = RunCommandLine(static_cast<int>(arguments.size()), argv.data());
        KorvexDisConnect();
        return {testing::internal::GetCapturedStdout(), code};
    }

    std::vector<uint8_t> Spim(uint32_t address, uint32_t length)
    {
        return bench_.withProbe(0, [&](ksim::VirtualProbe& p) { return p.target().spim().read(address - kSpim, length); });
    }

    std::vector<uint8_t> Flash(uint32_t address, uint32_t length)
    {
        return bench_.withProbe(0, [&](ksim::VirtualProbe& p) {
            return p.target().mainFlash().read(address - 0x08000000, length);
        });
    }

    ksim::Testbed bench_;
    slice_test::TempDir files_;
};

bool All(const std::vector<uint8_t>& bytes, uint8_t value)
{
    return std::all_of(bytes.begin(), bytes.end(), [value](uint8_t b) { return b == value; });
}

TEST_F(SpimRun, erase_all_takes_the_enabled_spim_after_the_flash)
{
    const HandlerRun run = Run({"-connect", "-e", "--all"});
    EXPECT_EQ(run.out, kConnectSpim +
                           "Erase all start ......\nflash full erase succeed!\nSPIM full erase succeed!\n"
                           "Erase all finished!\n\r\nDone!\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(All(Spim(kSpim, kSpimSize), 0xFF));
    EXPECT_TRUE(All(Flash(0x08000000, 0x40000), 0xFF));
}

TEST_F(SpimRun, erase_all_spim_takes_the_spim_only)
{
    const HandlerRun run = Run({"-connect", "-e", "--all", "--spim"});
    EXPECT_EQ(run.out, kConnectSpim + "SPIM full erase ......\nSPIM full erase finished!\n\r\nDone!\n");
    EXPECT_TRUE(All(Spim(kSpim, kSpimSize), 0xFF));
    EXPECT_TRUE(All(Flash(0x08000000, 0x40000), 0x00));
}

TEST_F(SpimRun, the_whole_spim_band_is_sector_erasable_and_one_more_is_refused)
{
    HandlerRun run = Run({"-connect", "-e", "--sec", "33023-33024"});
    EXPECT_EQ(run.out, kConnectSpim + "Error. Sectors can't exceed the SPIM range!\n");
    EXPECT_EQ(run.exitCode, 0x33);
    EXPECT_TRUE(All(Spim(kSpim + 255 * 4096, 4096), 0x00));

    run = Run({"-connect", "-e", "--sec", "32769-32770", "--sec", "33023"});
    EXPECT_EQ(run.out, kConnectSpim +
                           "Flash sector erase......32769-32770\nFlash sector erase finished\n"
                           "Flash sector erase......33023\nFlash sector erase finished\n\r\nDone!\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(All(Spim(kSpim, 4096), 0x00));
    EXPECT_TRUE(All(Spim(kSpim + 4096, 2 * 4096), 0xFF));
    EXPECT_TRUE(All(Spim(kSpim + 3 * 4096, 252 * 4096), 0x00));
    EXPECT_TRUE(All(Spim(kSpim + 255 * 4096, 4096), 0xFF));
}

TEST_F(SpimRun, no_spim_size_reaches_sectors_past_the_spim_window)
{
    // The 16 MB window ends with sector 32768 + 4095; 17 MB would reach one more, 4 GB billions.
    const struct {
        uint32_t sizeMb;
        const char* range;
    } cases[] = {{17, "36863-36864"}, {0xFFFFFFFF, "36863-2147483647"}};
    for (const auto& c : cases) {
        const HandlerRun run = Run({"-connect", "-e", "--sec", c.range}, c.sizeMb);
        EXPECT_EQ(run.out, kConnect + "Error. Sectors can't exceed the SPIM range!\n") << c.range;
        EXPECT_EQ(run.exitCode, 0x33) << c.range;
    }
    EXPECT_TRUE(All(Spim(kSpim, kSpimSize), 0x00));
}

TEST_F(SpimRun, an_image_in_main_flash_and_spim_goes_to_both)
{
    const std::vector<uint8_t> main = slice_test::Pattern(1500, 1);
    const std::vector<uint8_t> spim = slice_test::Pattern(5000, 2);
    const std::string file = files_.write("spim.hex", slice_test::IntelHex({{0x08000000, main}, {kSpim + 0x800, spim}}));
    const HandlerRun run = Run({"-connect", "-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kConnectSpim +
                           "Download file opening......\nOpen file succeed!\n"
                           "Erase MCU sectors of file size......\nErase sectors finished\n"
                           "File downloading......\nFile download finished!\n"
                           "Read memory and Verification.......\nVerification finished!\n\r\nDone!\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Flash(0x08000000, 1500), main);
    EXPECT_EQ(Spim(kSpim + 0x800, 5000), spim);
    EXPECT_TRUE(All(Spim(kSpim, 0x800), 0xFF));              // erased with the sector
    EXPECT_TRUE(All(Spim(kSpim + 0x2000, 0x1000), 0x00));    // the third SPIM sector was not reached
    EXPECT_TRUE(All(Flash(0x08000800, 0x800), 0x00));
}

TEST_F(SpimRun, an_image_past_the_enabled_spim_size_is_refused)
{
    const std::string file = files_.write(
        "end.hex", slice_test::IntelHex({{kSpim + kSpimSize - 16, slice_test::Pattern(16, 3)}, {kSpim + kSpimSize, {4}}}));
    const HandlerRun run = Run({"-connect", "-d", "--fn", file});
    EXPECT_EQ(run.out, kConnectSpim +
                           "Download file opening......\nOpen file succeed!\n"
                           "Error. The download address or file size error, can't greater than flash size!!\n\n");
    EXPECT_EQ(run.exitCode, 3);
}

}  // namespace

namespace {

// -u of SPIM sectors once SPIM is enabled: the bytes, and every range end the band can reach.
TEST_F(SpimRun, an_upload_reads_enabled_spim_sectors_and_no_range_wraps_or_exhausts_memory)
{
    const std::vector<uint8_t> bytes = slice_test::Pattern(2 * 4096, 5);
    bench_.withProbe(0, [&](ksim::VirtualProbe& p) { p.target().spim().store(0x1000, bytes.data(), 8192); });
    const std::string path = files_.path("spim.bin");
    HandlerRun run = Run({"-connect", "-u", "--sec", "32769-32770", "--fn", path});
    EXPECT_EQ(run.out, kConnectSpim + "Upload file opening......\nFile uploading......\nFile uploading finished!\n\r\nDone!\n");
    EXPECT_EQ(slice_test::ReadFile(path), std::string(bytes.begin(), bytes.end()));

    const struct {
        std::string range;
        uint32_t spimSizeMb;
    } tooLarge[] = {
        {"32768-33024", 1},         // one sector past 1 MB
        {"32768-2147483647", 1},    // would take 8 TB
        {"32768-1047551", 16},      // wraps address + size to 0 in 32 bits
        {"36864-36864", 32},        // past the 16 MB window, whatever size was enabled
    };
    for (const auto& c : tooLarge) {
        run = Run({"-connect", "-u", "--sec", c.range, "--fn", files_.path("far.bin")}, c.spimSizeMb);
        EXPECT_EQ(run.out, kConnect + "Error. Upload sectors can't greater than SPIM size!\n") << c.range;
        EXPECT_EQ(run.exitCode, 4) << c.range;
    }
    EXPECT_FALSE(std::filesystem::exists(files_.path("far.bin")));
}

}  // namespace
