// -e and -eble against the virtual probe: exact lines, exit codes, and which bytes were erased.
#include "virtual_bench.h"

namespace slice_test {
namespace {

const ksim::Settings kApModeOff = kApModeTarget + ksim::Settings{{"ap_mode", "0"}};
const std::string kEraseAll = "Erase all start ......\nflash full erase succeed!\n";
const std::string kFlashOnly = "Flash full erase ......\nFlash full erase finished!\n";
const std::vector<Fill> kUntouched = {{kFlash, kFlashSize, 0x00}};
const std::vector<Fill> kAllErased = {{kFlash, kFlashSize, 0xFF}};

std::string Sectors(const std::string& range)
{
    return "Flash sector erase......" + range + "\nFlash sector erase finished\n";
}

std::string BleSectors(const std::string& range)
{
    return "BLE module main space sector erase......" + range + "\nBLE module main space sector erase finished\n";
}

std::string BleSpace(const std::string& space, bool ok)
{
    return "BLE module " + space + " space erase ......\n" +
           (ok ? "BLE module " + space + " space erase finished!\n" : "Error. BLE module " + space + " space erase failed!\n");
}

const std::string kBleSectorsFailed = "Error. BLE module main space sector erase failed!\n";

} // namespace

TEST_P(ScenarioRun, prints_exactly_and_leaves_the_target_as_it_says)
{
    RunScenario(GetParam());
}

namespace {
const Scenario kEraseAllRuns[] = {
    {"FlashOnlyWithoutSpimOrApMode", kHidProbe, {"-connect", "-e", "--all"},
     kConnectDefault + kEraseAll + "Erase all finished!\n" + kDone, 0, kAllErased},
    {"BootMemoryTooInApMode", kApModeTarget, {"-connect", "-e", "--all"},
     kApConnect + kEraseAll + "Boot memory full erase finished!\nErase all finished!\n" + kDone, 0,
     {{kFlash, 32 * 1024, 0xFF}, {kS09Boot, 4096, 0xFF}}},
    {"BootMemoryAloneWithoutApMode", kApModeOff, {"-connect", "-e", "--all"},
     kApConnect + kEraseAll + "Erase all finished!\n" + kDone, 0, {{kFlash, 32 * 1024, 0xFF}, {kS09Boot, 4096, 0x00}}},
    {"RefusedFlashErase", kHidProbe + ksim::Settings{{"fault_status", "B4.03,0x22"}}, {"-connect", "-e", "--all", "-r"},
     kConnectDefault + "Erase all start ......\nError. Flash full erase failed!\n", 0x30},
    {"RefusedBootMemoryErase", kApModeTarget + ksim::Settings{{"fault_status", "B4.07,0x22"}},
     {"-connect", "-e", "--all"}, kApConnect + kEraseAll + "Error. Boot memory full erase failed!\n", 0x32},
};
INSTANTIATE_TEST_SUITE_P(EraseAll, ScenarioRun, testing::ValuesIn(kEraseAllRuns), ScenarioName);

// The walk over -e's sub-options on the default target.
const Scenario kWalks[] = {
    {"BareErase", kHidProbe, {"-connect", "-e"}, kConnectDefault + kDone, 0, kUntouched},
    {"BareEraseBeforeAnOption", kHidProbe, {"-connect", "-e", "-r"}, kConnectDefault + kResetRun + kDone, 0, kUntouched},
    {"SelectorWithoutAll", kHidProbe, {"-connect", "-e", "--flash"}, kConnectDefault + kDone, 0, kUntouched},
    {"SelectorWithoutAllThenOption", kHidProbe, {"-connect", "-e", "--flash", "-r"}, kConnectDefault + kResetRun + kDone, 0, kUntouched},
    {"AllFlash", kHidProbe, {"-connect", "-e", "--all", "--flash"}, kConnectDefault + kFlashOnly + kDone, 0, kAllErased},
    {"AllFlashIgnoresASecondSelector", kHidProbe, {"-connect", "-e", "--ALL", "--Flash", "--spim"},
     kConnectDefault + kFlashOnly + kDone, 0, kAllErased},
    {"AllThenOption", kHidProbe, {"-connect", "-e", "--all", "-r"},
     kConnectDefault + kEraseAll + "Erase all finished!\n" + kResetRun + kDone, 0, kAllErased},
    {"AllBootmWithoutApMode", kHidProbe, {"-connect", "-e", "--all", "--bootm"},
     kConnectDefault + "Error. The MCU does not support boot memory AP mode!\n", 0x32, kUntouched},
    {"AllSpimNotEnabled", kHidProbe, {"-connect", "-e", "--all", "--spim"},
     kConnectDefault + "SPIM full erase ......\nError. SPIM full erase failed!\n", 0x31, kUntouched},
    {"SecPastTheFlash", kHidProbe, {"-connect", "-e", "--sec", "0-128"}, kConnectDefault + "Error. bad parameter 0-128\n", 1, kUntouched},
    {"SecBootBandWithoutApMode", kHidProbe, {"-connect", "-e", "--sec", "16384"},
     kConnectDefault + "Error. The MCU does not support boot memory AP mode. \nError. bad parameter 16384\n", 1,
     kUntouched},
    {"SecSpimNotEnabled", kHidProbe, {"-connect", "-e", "--sec", "32768-32769"},
     kConnectDefault + "Error. SPIM does not enabled. \n", 0x33, kUntouched},
};
INSTANTIATE_TEST_SUITE_P(EraseWalk, ScenarioRun, testing::ValuesIn(kWalks), ScenarioName);

const Scenario kSectorRuns[] = {
    {"OneSector", kHidProbe, {"-connect", "-e", "--sec", "7"}, kConnectDefault + Sectors("7") + kDone, 0,
     {{kFlash, 7 * kSector, 0x00}, {kFlash + 7 * kSector, kSector, 0xFF}, {kFlash + 8 * kSector, kFlashSize - 8 * kSector, 0x00}}},
    {"LastSectorAndSeveralRangesInOrder", kHidProbe, {"-connect", "-e", "--sec", "126-127", "--sec", "0"},
     kConnectDefault + Sectors("126-127") + Sectors("0") + kDone, 0,
     {{kFlash, kSector, 0xFF}, {kFlash + kSector, 125 * kSector, 0x00}, {kFlash + 126 * kSector, 2 * kSector, 0xFF}}},
    {"BootBandRefusedBeforeAnythingIsErased", kApModeTarget, {"-connect", "-e", "--sec", "16384-16385"},
     kApConnect + "Error. Boot memory does not support sector erase. \n", 0x33, {{kS09Boot, 4096, 0x00}}},
    {"BootBandNeedsApMode", kApModeOff, {"-connect", "-e", "--sec", "16384"},
     kApConnect + "Error. The MCU boot memory is not in AP mode!\nError. bad parameter 16384\n", 1},
    {"SpimBandNeedsASeriesWithSpim", kApModeTarget, {"-connect", "-e", "--sec", "32768"},
     kApConnect + "Error. The MCU does not support SPIM. \n", 0x33},
    {"RefusedSectorEraseReportedOnce", kHidProbe + ksim::Settings{{"fault_status", "B4.00,0x22"}},
     {"-connect", "-e", "--sec", "2-4"}, kConnectDefault + "Flash sector erase......2-4\nError. Flash sector erase failed!\n",
     0x33},
};
INSTANTIATE_TEST_SUITE_P(EraseSectors, ScenarioRun, testing::ValuesIn(kSectorRuns), ScenarioName);

const Scenario kBleRuns[] = {
    {"AllSpaces", kBleTarget, {"-connect", "-eble", "--all"},
     kBleConnect + "BLE module all space erase......\nBLE module all space erase succeed!\n" + kDone, 0,
     {{0, 0x28000, 0xFF}, {kFlash, 0x1000, 0x00}}},
    {"MainSpace", kBleTarget, {"-connect", "-eble", "--all", "--main"}, kBleConnect + BleSpace("main", true) + kDone, 0,
     {{0x1000, 0x1000, 0xFF}}},
    {"NvrSpace", kBleTarget, {"-connect", "-eble", "--all", "--NVR"}, kBleConnect + BleSpace("NVR", true) + kDone, 0,
     {{0x1000, 0x1000, 0x00}}},
    {"RdnSpace", kBleTarget, {"-connect", "-eble", "--all", "--rdn"}, kBleConnect + BleSpace("RDN", true) + kDone, 0,
     {{0x1000, 0x1000, 0x00}}},
    {"SectorsUpToTheLastPartialOne", kBleTarget, {"-connect", "-eble", "--sec", "2-3", "--sec", "319"},
     kBleConnect + BleSectors("2-3") + BleSectors("319") + kDone, 0,
     {{0, 1024, 0x00}, {1024, 1024, 0xFF}, {2048, 319 * 512 - 2048, 0x00}, {319 * 512, 512, 0xFF}}},
    {"RangeBeyondTheMainSpace", kBleTarget, {"-connect", "-eble", "--sec", "0-320"},
     kBleConnect + "Error, erase sectors cannot exceed BLE module main space range.\n", 0x38, {{0, 0x27FF8, 0x00}}},
    {"FailedSpaceSelectErasesNothing", kBleTarget + ksim::Settings{{"fault_status", "BE.01,0x22"}},
     {"-connect", "-eble", "--sec", "0-3"},
     kBleConnect + "BLE module main space sector erase......0-3\n" + kBleSectorsFailed, 0x38, {{0, 2048, 0x00}}},
    {"AllSpaceUnplugged", kBleTarget + ksim::Settings{{"fault_unplug", "BE.01"}}, {"-connect", "-eble", "--all"},
     kBleConnect + "BLE module all space erase......\nError. BLE module all space erase failed!\n", 0x34},
    {"MainSpaceRefused", kBleTarget + ksim::Settings{{"fault_status", "BE.05,0x22"}},
     {"-connect", "-eble", "--all", "--main"}, kBleConnect + BleSpace("main", false), 0x35},
    {"NvrSpaceNoReply", kBleTarget + ksim::Settings{{"fault_no_reply", "BE.06"}}, {"-connect", "-eble", "--all", "--nvr"},
     kBleConnect + BleSpace("NVR", false), 0x36},
    {"RdnSpaceWrongEcho", kBleTarget + ksim::Settings{{"fault_wrong_echo", "BE.06"}},
     {"-connect", "-eble", "--all", "--rdn"}, kBleConnect + BleSpace("RDN", false), 0x37},
    {"SectorsRefused", kBleTarget + ksim::Settings{{"fault_status", "BE.06,0x22"}}, {"-connect", "-eble", "--sec", "4-5"},
     kBleConnect + "BLE module main space sector erase......4-5\n" + kBleSectorsFailed, 0x38},
    {"NeedsAConnectedModule", kHidProbe, {"-connect", "-eble", "--all"}, kConnectDefault + "Error. Don't connect BLE module!\n", 2},
};
INSTANTIATE_TEST_SUITE_P(EraseBle, ScenarioRun, testing::ValuesIn(kBleRuns), ScenarioName);

}  // namespace
}  // namespace slice_test
