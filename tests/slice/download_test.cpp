// -d against the virtual probe: exact lines, exit codes, and the target's memories afterwards.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace slice_test {
namespace {

constexpr uint32_t kFlash = 0x08000000;
constexpr uint32_t kFlashSize = 256 * 1024;
constexpr uint32_t kSector = 2048;
constexpr uint32_t kApBoot = 0x1FFFE400; // ZR32_S09 boot memory
constexpr uint32_t kBleCodeSize = 163832;

const std::string kOpened = "Download file opening......\nOpen file succeed!\n";
const std::string kErased = "Erase MCU sectors of file size......\nErase sectors finished\n";
const std::string kWritten = "File downloading......\nFile download finished!\n";
const std::string kVerified = "Read memory and Verification.......\nVerification finished!\n";
const std::string kVerifyFailed = "Read memory and Verification.......\nError. Verification failed!\n";

std::vector<uint8_t> Filled(size_t length, uint8_t value)
{
    return std::vector<uint8_t>(length, value);
}

std::string Text(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// CRC-32/MPEG-2 computed bit by bit, over little-endian 32-bit words fed most significant byte first.
uint32_t WordCrc(const std::vector<uint8_t>& image)
{
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i + 4 <= image.size(); i += 4) {
        for (int b = 3; b >= 0; --b) {
            crc ^= static_cast<uint32_t>(image[i + static_cast<size_t>(b)]) << 24;
            for (int k = 0; k < 8; ++k)
                crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

// A chip that was programmed before: every byte 0x00.
struct DownloadBench : VirtualBench {
    explicit DownloadBench(const ksim::Settings& settings = kHidProbe) : VirtualBench(settings) { fillEverything(0x00); }
    TempDir files;

    ConsoleRun run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "-connect");
        return console(arguments);
    }
};

TEST(DownloadBin, goes_to_the_flash_base_and_erases_only_the_sectors_it_covers)
{
    DownloadBench bench;
    const std::vector<uint8_t> image = Pattern(3000, 1);
    const std::string file = bench.files.write("app.bin", Text(image));
    const ConsoleRun run = bench.run({"-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kConnectDefault + kOpened + kErased + kWritten + kVerified + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(bench.mainFlash(kFlash, 3000), image);
    EXPECT_EQ(bench.mainFlash(kFlash + 3000, 2 * kSector - 3000), Filled(2 * kSector - 3000, 0xFF));
    EXPECT_EQ(bench.mainFlash(kFlash + 2 * kSector, kFlashSize - 2 * kSector), Filled(kFlashSize - 2 * kSector, 0x00));
}

TEST(DownloadBin, takes_its_load_address_from_an_upper_case_a)
{
    DownloadBench bench;
    const std::vector<uint8_t> image = Pattern(1500, 2);
    const std::string file = bench.files.write("app.BIN", Text(image));
    const ConsoleRun run = bench.run({"-d", "--A", "8004000", "--FN", file});
    EXPECT_EQ(run.out, kConnectDefault + kOpened + kErased + kWritten + kDone);
    EXPECT_EQ(bench.mainFlash(0x08004000, 1500), image);
    EXPECT_EQ(bench.mainFlash(kFlash, 0x4000), Filled(0x4000, 0x00));
}

TEST(DownloadHex, writes_every_segment_and_leaves_the_gaps_erased)
{
    DownloadBench bench;
    const std::vector<Segment> segments = {
        {0x08000100, Pattern(300, 3)}, {0x08001000, Pattern(100, 4)}, {0x08010000, Pattern(1100, 5)}};
    const std::string file = bench.files.write("app.hex", IntelHex(segments));
    const ConsoleRun run = bench.run({"-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kConnectDefault + kOpened + kErased + kWritten + kVerified + kDone);
    EXPECT_EQ(run.exitCode, 0);
    for (const Segment& s : segments)
        EXPECT_EQ(bench.mainFlash(s.address, static_cast<uint32_t>(s.bytes.size())), s.bytes);
    EXPECT_EQ(bench.mainFlash(kFlash, 0x100), Filled(0x100, 0xFF));
    EXPECT_EQ(bench.mainFlash(0x0800022C, 0x800 - 0x22C), Filled(0x800 - 0x22C, 0xFF));
    EXPECT_EQ(bench.mainFlash(0x08000800, kSector), Filled(kSector, 0x00)); // sector 1 holds no byte of the image
    EXPECT_EQ(bench.mainFlash(0x08001064, kSector - 0x64), Filled(kSector - 0x64, 0xFF));
    EXPECT_EQ(bench.mainFlash(0x08010000 + 1100, kSector - 1100), Filled(kSector - 1100, 0xFF));
    EXPECT_EQ(bench.mainFlash(0x08010000 + kSector, 0x1000), Filled(0x1000, 0x00));
}

TEST(DownloadHex, one_byte_beyond_the_flash_is_refused_before_anything_is_erased)
{
    DownloadBench bench;
    const std::string file =
        bench.files.write("end.hex", IntelHex({{0x08040000 - 16, Pattern(16, 6)}, {0x08040000, {0x5A}}}));
    const ConsoleRun run = bench.run({"-d", "--fn", file});
    EXPECT_EQ(run.out, kConnectDefault + kOpened +
                           "Error. The download address or file size error, can't greater than flash size!!\n\n");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(bench.mainFlash(kFlash + kFlashSize - kSector, kSector), Filled(kSector, 0x00));

    const std::string fits = bench.files.write("fits.hex", IntelHex({{0x08040000 - 16, Pattern(16, 6)}}));
    EXPECT_EQ(bench.run({"-d", "--fn", fits, "--v"}).exitCode, 0);
    EXPECT_EQ(bench.mainFlash(0x08040000 - 16, 16), Pattern(16, 6));
}

TEST(DownloadHex, spim_parts_need_spim_enabled_and_nothing_is_erased)
{
    DownloadBench bench;
    const std::string file = bench.files.write("spim.hex", IntelHex({{kFlash, Pattern(64, 7)}, {0x08400000, Pattern(64, 8)}}));
    const ConsoleRun run = bench.run({"-d", "--fn", file});
    EXPECT_EQ(run.out, kConnectDefault + kOpened + "Error. SPIM does not enabled. \n");
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(bench.mainFlash(kFlash, 64), Filled(64, 0x00));
}

TEST(DownloadHex, boot_memory_and_main_flash_together_in_ap_mode)
{
    DownloadBench bench(kApModeTarget);
    const std::vector<Segment> segments = {{kApBoot + 0x200, Pattern(600, 9)}, {kFlash + 0x800, Pattern(700, 10)}};
    const std::string file = bench.files.write("boot.hex", IntelHex(segments));
    const ConsoleRun run = bench.run({"-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kApConnect + kOpened + kErased + kWritten + kVerified + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(bench.bootMemory(0x200, 600), segments[0].bytes);
    EXPECT_EQ(bench.bootMemory(0, 0x200), Filled(0x200, 0xFF)); // the boot memory goes as a whole
    EXPECT_EQ(bench.mainFlash(kFlash + 0x800, 700), segments[1].bytes);
    EXPECT_EQ(bench.mainFlash(kFlash, 0x800), Filled(0x800, 0x00)); // sector 0 was not touched
}

TEST(DownloadHex, boot_memory_needs_ap_mode)
{
    DownloadBench bench(kApModeTarget + ksim::Settings{{"ap_mode", "0"}});
    const std::string file = bench.files.write("boot.hex", IntelHex({{kApBoot, Pattern(16, 9)}}));
    const ConsoleRun run = bench.run({"-d", "--fn", file});
    EXPECT_EQ(run.out, kApConnect + kOpened + "Error. The MCU boot memory is not in AP mode!\n");
    EXPECT_EQ(run.exitCode, 3);
}

TEST(DownloadBle, writes_the_module_and_stores_the_checksum_of_its_whole_flash)
{
    DownloadBench bench(kBleTarget);
    const std::vector<Segment> segments = {{0x100, Pattern(600, 11)}, {0x27FF0, Pattern(8, 12)}};
    const std::string file = bench.files.write("ble.hex", IntelHex(segments));
    const ConsoleRun run = bench.run({"-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kBleConnect + kOpened +
                           "Erase BLE module main space......\nErase BLE module main space finished\n" + kWritten +
                           kVerified + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(bench.bleMain(0x100, 600), segments[0].bytes);
    EXPECT_EQ(bench.bleMain(0, 0x100), Filled(0x100, 0xFF));
    std::vector<uint8_t> image(kBleCodeSize, 0xFF);
    for (const Segment& s : segments)
        std::copy(s.bytes.begin(), s.bytes.end(), image.begin() + s.address);
    bench.testbed().withProbe(0, [&](ksim::VirtualProbe& p) {
        ASSERT_EQ(p.ble().storedCrcs().count(1), 1u);
        EXPECT_EQ(p.ble().storedCrcs().at(1), WordCrc(image));
        EXPECT_EQ(p.ble().checkCrc(), ksim::BleModule::kCrcMatch);
    });
    EXPECT_EQ(bench.mainFlash(kFlash, 0x1000), Filled(0x1000, 0x00)); // no MCU sector erased
}

TEST(DownloadBle, main_flash_and_module_together)
{
    DownloadBench bench(kBleTarget);
    const std::vector<Segment> segments = {{kFlash, Pattern(2000, 13)}, {0x0, Pattern(1030, 14)}};
    const std::string file = bench.files.write("both.hex", IntelHex(segments));
    const ConsoleRun run = bench.run({"-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kBleConnect + kOpened + kErased +
                           "Erase BLE module main space......\nErase BLE module main space finished\n" + kWritten +
                           kVerified + kDone);
    EXPECT_EQ(bench.mainFlash(kFlash, 2000), segments[0].bytes);
    EXPECT_EQ(bench.bleMain(0, 1030), segments[1].bytes);
}

TEST(DownloadBle, boot_memory_main_flash_and_module_together)
{
    constexpr uint32_t kS17Boot = 0x1FFFAC00;
    DownloadBench bench(kBleTarget + ksim::Settings{{"ap_mode", "1"}});
    const std::vector<Segment> segments = {
        {kS17Boot + 0x40, Pattern(200, 21)}, {kFlash + 0x1000, Pattern(300, 22)}, {0x8000, Pattern(400, 23)}};
    const std::string file = bench.files.write("three.hex", IntelHex(segments));
    const ConsoleRun run = bench.run({"-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kBleConnect + kOpened + kErased +
                           "Erase BLE module main space......\nErase BLE module main space finished\n" + kWritten +
                           kVerified + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(bench.bootMemory(0x40, 200), segments[0].bytes);
    EXPECT_EQ(bench.bootMemory(0x1000, 0x800), Filled(0x800, 0xFF)); // the whole boot memory was erased
    EXPECT_EQ(bench.mainFlash(kFlash + 0x1000, 300), segments[1].bytes);
    EXPECT_EQ(bench.bleMain(0x8000, 400), segments[2].bytes);
    bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { EXPECT_EQ(p.ble().checkCrc(), ksim::BleModule::kCrcMatch); });
}

TEST(DownloadBle, a_main_flash_image_never_touches_the_module_checksum)
{
    DownloadBench bench(kBleTarget);
    const std::string file = bench.files.write("main.bin", Text(Pattern(100, 15)));
    EXPECT_EQ(bench.run({"-d", "--fn", file}).exitCode, 0);
    bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { EXPECT_TRUE(p.ble().storedCrcs().empty()); });
}

TEST(DownloadErase, no_erase_skips_every_erase)
{
    DownloadBench bench(kBleTarget);
    const std::string file = bench.files.write("ne.hex", IntelHex({{kFlash, Pattern(64, 16)}, {0x0, Pattern(64, 17)}}));
    const ConsoleRun run = bench.run({"-d", "--ne", "--fn", file, "--v"});
    // Nothing was erased, so the programmed zeros stay and the verification sees them.
    EXPECT_EQ(run.out, kBleConnect + kOpened + kWritten + kVerifyFailed);
    EXPECT_EQ(run.exitCode, 3);
}

TEST(DownloadErase, an_earlier_erase_of_the_run_replaces_the_sector_erase)
{
    DownloadBench bench;
    const std::vector<uint8_t> image = Pattern(100, 18);
    const std::string file = bench.files.write("after.bin", Text(image));
    const ConsoleRun run = bench.run({"-e", "--sec", "0", "-d", "--fn", file, "--v", "-r"});
    EXPECT_EQ(run.out, kConnectDefault + "Flash sector erase......0\nFlash sector erase finished\n" + kOpened + kWritten +
                           kVerified + "Reset and run......\nReset and run finished!\n\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(bench.mainFlash(kFlash, 100), image);
}

TEST(DownloadVerify, a_flash_that_keeps_nothing_fails_the_verification)
{
    DownloadBench bench(kHidProbe + ksim::Settings{{"ignore_writes", "1"}});
    const std::string file = bench.files.write("lost.bin", Text(Pattern(300, 19)));
    const ConsoleRun run = bench.run({"-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kConnectDefault + kOpened + kErased + kWritten + kVerifyFailed);
    EXPECT_EQ(run.exitCode, 3);
}

TEST(DownloadVerify, read_errors_that_cancel_out_in_the_sum_still_fail)
{
    // Every read chunk of 56 bytes comes back with its first byte inverted: 0x10 becomes 0xEF and
    // 0xEF becomes 0x10, which leaves the byte sum of the two chunks unchanged.
    DownloadBench bench(kHidProbe + ksim::Settings{{"fault_corrupt_read", "B2.00,0"}});
    std::vector<uint8_t> image = Pattern(112, 20);
    image[0] = 0x10;
    image[56] = 0xEF;
    const std::string file = bench.files.write("cancel.bin", Text(image));
    const ConsoleRun run = bench.run({"-d", "--fn", file, "--v"});
    EXPECT_EQ(run.out, kConnectDefault + kOpened + kErased + kWritten + kVerifyFailed);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(bench.mainFlash(kFlash, 112), image);
}

}  // namespace
}  // namespace slice_test
