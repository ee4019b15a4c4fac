// The command handlers in this process against a virtual probe, with SPIM enabled by -enspim on
// the line (or, for sizes the probe would refuse, in the run's settings as -enspim leaves them):
// erase and download of SPIM, alone and with main flash.
#include "connect_command.h"
#include "dispatcher.h"
#include "share_parameter.h"

#include "target/target_mcu.h"
#include "usb/testbed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

    std::string WriteFile(const std::string& name, const std::string& text)
    {
        const std::string path = (std::filesystem::temp_directory_path() / name).string();
        std::ofstream(path, std::ios::binary) << text;
        files_.push_back(path);
        return path;
    }

    void TearDown() override
    {
        for (const std::string& path : files_)
            std::remove(path.c_str());
    }

    ksim::Testbed bench_;
    std::vector<std::string> files_;
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

// Intel HEX of one block of bytes that does not cross a 64 KiB boundary.
std::string Hex(uint32_t address, const std::vector<uint8_t>& bytes)
{
    char line[64];
    std::string text;
    std::snprintf(line, sizeof line, ":02000004%04X%02X\n", address >> 16,
                  (0x100 - ((2 + 4 + (address >> 24) + ((address >> 16) & 0xFF)) & 0xFF)) & 0xFF);
    text += line;
    for (size_t offset = 0; offset < bytes.size(); offset += 16) {
        const size_t n = std::min<size_t>(16, bytes.size() - offset);
        const uint32_t low = (address + static_cast<uint32_t>(offset)) & 0xFFFF;
        unsigned sum = static_cast<unsigned>(n) + (low >> 8) + (low & 0xFF);
        std::snprintf(line, sizeof line, ":%02X%04X00", static_cast<unsigned>(n), low);
        text += line;
        for (size_t i = 0; i < n; ++i) {
            std::snprintf(line, sizeof line, "%02X", bytes[offset + i]);
            text += line;
            sum += bytes[offset + i];
        }
        std::snprintf(line, sizeof line, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
        text += line;
    }
    return text;
}

std::vector<uint8_t> Bytes(size_t n, uint8_t seed)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 31);
    return bytes;
}

TEST_F(SpimRun, an_image_in_main_flash_and_spim_goes_to_both)
{
    const std::vector<uint8_t> main = Bytes(1500, 1);
    const std::vector<uint8_t> spim = Bytes(5000, 2);
    const std::string file = WriteFile("korvex-slice-spim.hex", Hex(0x08000000, main) + Hex(kSpim + 0x800, spim) + ":00000001FF\n");
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
    const std::string file = WriteFile("korvex-slice-spim-end.hex", Hex(kSpim + kSpimSize - 16, Bytes(16, 3)) + Hex(kSpim + kSpimSize, Bytes(1, 4)) + ":00000001FF\n");
    const HandlerRun run = Run({"-connect", "-d", "--fn", file});
    EXPECT_EQ(run.out, kConnectSpim +
                           "Download file opening......\nOpen file succeed!\n"
                           "Error. The download address or file size error, can't greater than flash size!!\n\n");
    EXPECT_EQ(run.exitCode, 3);
}

}  // namespace
