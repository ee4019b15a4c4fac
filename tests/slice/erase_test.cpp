// -e and -eble against the virtual probe: exact lines, exit codes, and which bytes were erased.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace slice_test {
namespace {

constexpr uint32_t kFlash = 0x08000000;
constexpr uint32_t kFlashSize = 256 * 1024; // the default target
constexpr uint32_t kSector = 2048;
constexpr uint32_t kApBootSize = 4096;      // ZR32_S09 boot memory


bool All(const std::vector<uint8_t>& bytes, uint8_t value)
{
    return std::all_of(bytes.begin(), bytes.end(), [value](uint8_t b) { return b == value; });
}

// A programmed chip: every byte 0x00 until something erases it.
struct ProgrammedBench : VirtualBench {
    explicit ProgrammedBench(const ksim::Settings& settings = kHidProbe) : VirtualBench(settings) { fillEverything(0x00); }

    ConsoleRun run(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), "-connect");
        return console(arguments);
    }
    // Sectors first..last erased, the rest of the flash untouched.
    void expectSectorsErased(uint32_t first, uint32_t last, uint32_t flashSize = kFlashSize)
    {
        EXPECT_TRUE(All(mainFlash(kFlash, first * kSector), 0x00));
        EXPECT_TRUE(All(mainFlash(kFlash + first * kSector, (last - first + 1) * kSector), 0xFF));
        const uint32_t after = (last + 1) * kSector;
        EXPECT_TRUE(All(mainFlash(kFlash + after, flashSize - after), 0x00));
    }
};

TEST(EraseAll, erases_the_whole_flash_and_nothing_else_without_spim_or_ap_mode)
{
    ProgrammedBench bench;
    const ConsoleRun run = bench.run({"-e", "--all"});
    EXPECT_EQ(run.out, kConnectDefault +
                           "Erase all start ......\nflash full erase succeed!\nErase all finished!\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(All(bench.mainFlash(kFlash, kFlashSize), 0xFF));
}

TEST(EraseAll, takes_the_boot_memory_too_when_it_is_in_ap_mode)
{
    ProgrammedBench bench(kApModeTarget);
    const ConsoleRun run = bench.run({"-e", "--all"});
    EXPECT_EQ(run.out, kApConnect +
                           "Erase all start ......\nflash full erase succeed!\nBoot memory full erase finished!\n"
                           "Erase all finished!\n" +
                           kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(All(bench.mainFlash(kFlash, 32 * 1024), 0xFF));
    EXPECT_TRUE(All(bench.bootMemory(0, kApBootSize), 0xFF));
}

TEST(EraseAll, leaves_the_boot_memory_alone_when_it_is_not_in_ap_mode)
{
    ProgrammedBench bench(kApModeTarget + ksim::Settings{{"ap_mode", "0"}});
    const ConsoleRun run = bench.run({"-e", "--all"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(All(bench.bootMemory(0, kApBootSize), 0x00));
}

TEST(EraseAll, a_refused_flash_erase_stops_with_its_code)
{
    ProgrammedBench bench(kHidProbe + ksim::Settings{{"fault_status", "B4.03,0x22"}});
    const ConsoleRun run = bench.run({"-e", "--all", "-r"});
    EXPECT_EQ(run.out, kConnectDefault + "Erase all start ......\nError. Flash full erase failed!\n");
    EXPECT_EQ(run.exitCode, 0x30);
}

TEST(EraseAll, a_refused_boot_memory_erase_stops_with_its_code)
{
    ProgrammedBench bench(kApModeTarget + ksim::Settings{{"fault_status", "B4.07,0x22"}});
    const ConsoleRun run = bench.run({"-e", "--all"});
    EXPECT_EQ(run.out, kApConnect +
                           "Erase all start ......\nflash full erase succeed!\nError. Boot memory full erase failed!\n");
    EXPECT_EQ(run.exitCode, 0x32);
}

struct WalkCase {
    const char* name;
    std::vector<std::string> arguments; // after -connect
    std::string out;                    // after the connection lines
    int exitCode;
    bool flashErased;
};

void PrintTo(const WalkCase& c, std::ostream* os) { *os << c.name; }

class EraseWalk : public testing::TestWithParam<WalkCase> {};

TEST_P(EraseWalk, prints_exactly_and_erases_only_what_it_says)
{
    ProgrammedBench bench;
    const ConsoleRun run = bench.run(GetParam().arguments);
    EXPECT_EQ(run.out, kConnectDefault + GetParam().out);
    EXPECT_EQ(run.exitCode, GetParam().exitCode);
    EXPECT_TRUE(All(bench.mainFlash(kFlash, kFlashSize), GetParam().flashErased ? 0xFF : 0x00));
}

const std::string kFlashOnly = "Flash full erase ......\nFlash full erase finished!\n";

const WalkCase kWalks[] = {
    {"BareErase", {"-e"}, kDone, 0, false},
    {"BareEraseBeforeAnOption", {"-e", "-r"}, "Reset and run......\nReset and run finished!\n\n" + kDone, 0, false},
    {"SelectorWithoutAll", {"-e", "--flash"}, kDone, 0, false},
    {"SelectorWithoutAllThenOption", {"-e", "--flash", "-r"},
     "Reset and run......\nReset and run finished!\n\n" + kDone, 0, false},
    {"AllFlash", {"-e", "--all", "--flash"}, kFlashOnly + kDone, 0, true},
    {"AllFlashIgnoresASecondSelector", {"-e", "--ALL", "--Flash", "--spim"}, kFlashOnly + kDone, 0, true},
    {"AllThenOption", {"-e", "--all", "-r"},
     "Erase all start ......\nflash full erase succeed!\nErase all finished!\nReset and run......\n"
     "Reset and run finished!\n\n" + kDone, 0, true},
    {"AllBootmWithoutApMode", {"-e", "--all", "--bootm"}, "Error. The MCU does not support boot memory AP mode!\n",
     0x32, false},
    {"AllSpimNotEnabled", {"-e", "--all", "--spim"}, "SPIM full erase ......\nError. SPIM full erase failed!\n", 0x31,
     false},
    {"SecPastTheFlash", {"-e", "--sec", "0-128"}, "Error. bad parameter 0-128\n", 1, false},
    {"SecBootBandWithoutApMode", {"-e", "--sec", "16384"},
     "Error. The MCU does not support boot memory AP mode. \nError. bad parameter 16384\n", 1, false},
    {"SecSpimNotEnabled", {"-e", "--sec", "32768-32769"}, "Error. SPIM does not enabled. \n", 0x33, false},
};
INSTANTIATE_TEST_SUITE_P(Erase, EraseWalk, testing::ValuesIn(kWalks),
                         [](const testing::TestParamInfo<WalkCase>& info) { return info.param.name; });

TEST(EraseSectors, erases_one_sector)
{
    ProgrammedBench bench;
    const ConsoleRun run = bench.run({"-e", "--sec", "7"});
    EXPECT_EQ(run.out, kConnectDefault + "Flash sector erase......7\nFlash sector erase finished\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
    bench.expectSectorsErased(7, 7);
}

TEST(EraseSectors, reaches_the_last_sector_and_runs_several_ranges_in_order)
{
    ProgrammedBench bench;
    const ConsoleRun run = bench.run({"-e", "--sec", "126-127", "--sec", "0"});
    EXPECT_EQ(run.out, kConnectDefault +
                           "Flash sector erase......126-127\nFlash sector erase finished\n"
                           "Flash sector erase......0\nFlash sector erase finished\n" +
                           kDone);
    EXPECT_TRUE(All(bench.mainFlash(kFlash, kSector), 0xFF));
    EXPECT_TRUE(All(bench.mainFlash(kFlash + kSector, 125 * kSector), 0x00));
    EXPECT_TRUE(All(bench.mainFlash(kFlash + 126 * kSector, 2 * kSector), 0xFF));
}

TEST(EraseSectors, a_boot_band_range_is_refused_before_anything_is_erased)
{
    ProgrammedBench bench(kApModeTarget);
    const ConsoleRun run = bench.run({"-e", "--sec", "16384-16385"});
    EXPECT_EQ(run.out, kApConnect + "Error. Boot memory does not support sector erase. \n");
    EXPECT_EQ(run.exitCode, 0x33);
    EXPECT_TRUE(All(bench.bootMemory(0, kApBootSize), 0x00));
}

TEST(EraseSectors, a_boot_band_range_needs_ap_mode)
{
    ProgrammedBench bench(kApModeTarget + ksim::Settings{{"ap_mode", "0"}});
    const ConsoleRun run = bench.run({"-e", "--sec", "16384"});
    EXPECT_EQ(run.out, kApConnect + "Error. The MCU boot memory is not in AP mode!\nError. bad parameter 16384\n");
    EXPECT_EQ(run.exitCode, 1);
}

TEST(EraseSectors, the_spim_band_needs_a_series_with_spim)
{
    ProgrammedBench bench(kApModeTarget);
    const ConsoleRun run = bench.run({"-e", "--sec", "32768"});
    EXPECT_EQ(run.out, kApConnect + "Error. The MCU does not support SPIM. \n");
    EXPECT_EQ(run.exitCode, 0x33);
}

TEST(EraseSectors, a_refused_sector_erase_is_reported_once)
{
    ProgrammedBench bench(kHidProbe + ksim::Settings{{"fault_status", "B4.00,0x22"}});
    const ConsoleRun run = bench.run({"-e", "--sec", "2-4"});
    EXPECT_EQ(run.out, kConnectDefault + "Flash sector erase......2-4\nError. Flash sector erase failed!\n");
    EXPECT_EQ(run.exitCode, 0x33);
}

TEST(EraseBle, erases_all_spaces)
{
    ProgrammedBench bench(kBleTarget);
    const ConsoleRun run = bench.run({"-eble", "--all"});
    EXPECT_EQ(run.out, kBleConnect + "BLE module all space erase......\nBLE module all space erase succeed!\n" + kDone);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(All(bench.bleMain(0, 0x28000), 0xFF));
    EXPECT_TRUE(All(bench.mainFlash(kFlash, 0x1000), 0x00));
}

TEST(EraseBle, erases_one_space_by_its_selector)
{
    const struct {
        const char* selector;
        std::string lines;
        bool mainErased;
    } cases[] = {
        {"--main", "BLE module main space erase ......\nBLE module main space erase finished!\n", true},
        {"--NVR", "BLE module NVR space erase ......\nBLE module NVR space erase finished!\n", false},
        {"--rdn", "BLE module RDN space erase ......\nBLE module RDN space erase finished!\n", false},
    };
    for (const auto& c : cases) {
        ProgrammedBench bench(kBleTarget);
        const ConsoleRun run = bench.run({"-eble", "--all", c.selector});
        EXPECT_EQ(run.out, kBleConnect + c.lines + kDone) << c.selector;
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(All(bench.bleMain(0x1000, 0x1000), 0xFF), c.mainErased) << c.selector;
    }
}

TEST(EraseBle, erases_main_space_sectors_up_to_the_last_partial_one)
{
    ProgrammedBench bench(kBleTarget);
    const ConsoleRun run = bench.run({"-eble", "--sec", "2-3", "--sec", "319"});
    EXPECT_EQ(run.out, kBleConnect +
                           "BLE module main space sector erase......2-3\nBLE module main space sector erase finished\n"
                           "BLE module main space sector erase......319\nBLE module main space sector erase finished\n" +
                           kDone);
    EXPECT_TRUE(All(bench.bleMain(0, 1024), 0x00));
    EXPECT_TRUE(All(bench.bleMain(1024, 1024), 0xFF));
    EXPECT_TRUE(All(bench.bleMain(2048, 319 * 512 - 2048), 0x00));
    EXPECT_TRUE(All(bench.bleMain(319 * 512, 512), 0xFF));
}

TEST(EraseBle, refuses_ranges_beyond_the_main_space)
{
    ProgrammedBench bench(kBleTarget);
    ConsoleRun run = bench.run({"-eble", "--sec", "0-320"});
    EXPECT_EQ(run.out, kBleConnect + "Error, erase sectors cannot exceed BLE module main space range.\n");
    EXPECT_EQ(run.exitCode, 0x38);
    EXPECT_TRUE(All(bench.bleMain(0, 0x27FF8), 0x00));
}

TEST(EraseBle, a_failed_space_select_erases_nothing)
{
    ProgrammedBench bench(kBleTarget + ksim::Settings{{"fault_status", "BE.01,0x22"}});
    const ConsoleRun run = bench.run({"-eble", "--sec", "0-3"});
    EXPECT_EQ(run.out, kBleConnect +
                           "BLE module main space sector erase......0-3\n"
                           "Error. BLE module main space sector erase failed!\n");
    EXPECT_EQ(run.exitCode, 0x38);
    EXPECT_TRUE(All(bench.bleMain(0, 2048), 0x00));
}

struct BleFailureCase {
    const char* name;
    ksim::Settings fault;
    std::vector<std::string> arguments;
    std::string out;
    int exitCode;
};

void PrintTo(const BleFailureCase& c, std::ostream* os) { *os << c.name; }

class EraseBleFailure : public testing::TestWithParam<BleFailureCase> {};

TEST_P(EraseBleFailure, reports_its_own_line_and_code)
{
    ProgrammedBench bench(kBleTarget + GetParam().fault);
    const ConsoleRun run = bench.run(GetParam().arguments);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.out, kBleConnect + GetParam().out);
    EXPECT_EQ(run.exitCode, GetParam().exitCode);
}

const BleFailureCase kBleFailures[] = {
    {"AllSpaceUnplugged", {{"fault_unplug", "BE.01"}}, {"-eble", "--all"},
     "BLE module all space erase......\nError. BLE module all space erase failed!\n", 0x34},
    {"MainSpaceRefused", {{"fault_status", "BE.05,0x22"}}, {"-eble", "--all", "--main"},
     "BLE module main space erase ......\nError. BLE module main space erase failed!\n", 0x35},
    {"NvrSpaceNoReply", {{"fault_no_reply", "BE.06"}}, {"-eble", "--all", "--nvr"},
     "BLE module NVR space erase ......\nError. BLE module NVR space erase failed!\n", 0x36},
    {"RdnSpaceWrongEcho", {{"fault_wrong_echo", "BE.06"}}, {"-eble", "--all", "--rdn"},
     "BLE module RDN space erase ......\nError. BLE module RDN space erase failed!\n", 0x37},
    {"SectorsRefused", {{"fault_status", "BE.06,0x22"}}, {"-eble", "--sec", "4-5"},
     "BLE module main space sector erase......4-5\nError. BLE module main space sector erase failed!\n", 0x38},
};
INSTANTIATE_TEST_SUITE_P(Faults, EraseBleFailure, testing::ValuesIn(kBleFailures),
                         [](const testing::TestParamInfo<BleFailureCase>& info) { return info.param.name; });

TEST(EraseBle, needs_a_connected_module)
{
    ProgrammedBench bench;
    const ConsoleRun run = bench.run({"-eble", "--all"});
    EXPECT_EQ(run.out, kConnectDefault + "Error. Don't connect BLE module!\n");
    EXPECT_EQ(run.exitCode, 2);
}

}  // namespace
}  // namespace slice_test
