// -e and -eble against the virtual probe: exact lines, exit codes, and which bytes were erased.
#include "virtual_bench.h"

namespace slice_test {
namespace {

const ksim::Settings kApModeOff = kApModeTarget + ksim::Settings{{"ap_mode", "0"}};
const std::string kEraseAll = "Erase all start ......\nflash full erase succeed!\n";
const std::string kFlashOnly = "Flash full erase ......\nFlash full erase finished!\n";
const std::vector<Fill> kUntouched = {{kFlash, kFlashSize, 0x00}};
const std::vector<Fill> kAllErased = {{kFlash, kFlashSize, 0xFF}};

std::string BleSectors(const std::string& range)
{
    return "BLE module main space sector erase......" + range + "\nBLE module main space sector erase finished\n";
}

const std::string kBleSectorsFailed = "Error. BLE module main space sector erase failed!\n";

} // namespace

TEST_P(ScenarioRun, prints_exactly_and_leaves_the_target_as_it_says)
{
    RunScenario(GetParam());
}

namespace {
const Scenario kEraseAllRuns[] = {
    Connected("FlashOnlyWithoutSpimOrApMode", kHidProbe, {"-e", "--all"}, kEraseAll + "Erase all finished!\n" + kDone, 0, kAllErased),
    Connected("BootMemoryTooInApMode", kApModeTarget, {"-e", "--all"},
     kEraseAll + "Boot memory full erase finished!\nErase all finished!\n" + kDone, 0, {{kFlash, 32 * 1024, 0xFF}, {kS09Boot, 4096, 0xFF}}),
    Connected("BootMemoryAloneWithoutApMode", kApModeOff, {"-e", "--all"}, kEraseAll + "Erase all finished!\n" + kDone, 0,
     {{kFlash, 32 * 1024, 0xFF}, {kS09Boot, 4096, 0x00}}),
    Connected("RefusedFlashErase", kHidProbe + ksim::Settings{{"fault_status", "B4.03,0x22"}}, {"-e", "--all", "-r"},
     "Erase all start ......\nError. Flash full erase failed!\n", 0x30),
    Connected("RefusedBootMemoryErase", kApModeTarget + ksim::Settings{{"fault_status", "B4.07,0x22"}}, {"-e", "--all"},
     kEraseAll + "Error. Boot memory full erase failed!\n", 0x32),
};
INSTANTIATE_TEST_SUITE_P(EraseAll, ScenarioRun, testing::ValuesIn(kEraseAllRuns), ScenarioName);

// The walk over -e's sub-options on the default target.
const Scenario kWalks[] = {
    Connected("BareErase", kHidProbe, {"-e"}, kDone, 0, kUntouched),
    Connected("BareEraseBeforeAnOption", kHidProbe, {"-e", "-r"}, kResetRun + kDone, 0, kUntouched),
    Connected("SelectorWithoutAll", kHidProbe, {"-e", "--flash"}, kDone, 0, kUntouched),
    Connected("SelectorWithoutAllThenOption", kHidProbe, {"-e", "--flash", "-r"}, kResetRun + kDone, 0, kUntouched),
    Connected("AllFlash", kHidProbe, {"-e", "--all", "--flash"}, kFlashOnly + kDone, 0, kAllErased),
    Connected("AllFlashIgnoresASecondSelector", kHidProbe, {"-e", "--ALL", "--Flash", "--spim"}, kFlashOnly + kDone, 0, kAllErased),
    Connected("AllThenOption", kHidProbe, {"-e", "--all", "-r"}, kEraseAll + "Erase all finished!\n" + kResetRun + kDone, 0, kAllErased),
    Connected("AllBootmWithoutApMode", kHidProbe, {"-e", "--all", "--bootm"}, "Error. The MCU does not support boot memory AP mode!\n",
     0x32, kUntouched),
    Connected("AllSpimNotEnabled", kHidProbe, {"-e", "--all", "--spim"}, "SPIM full erase ......\nError. SPIM full erase failed!\n", 0x31,
     kUntouched),
    Connected("SecPastTheFlash", kHidProbe, {"-e", "--sec", "0-128"}, "Error. bad parameter 0-128\n", 1, kUntouched),
    Connected("SecBootBandWithoutApMode", kHidProbe, {"-e", "--sec", "16384"},
     "Error. The MCU does not support boot memory AP mode. \nError. bad parameter 16384\n", 1, kUntouched),
    Connected("SecSpimNotEnabled", kHidProbe, {"-e", "--sec", "32768-32769"}, "Error. SPIM does not enabled. \n", 0x33, kUntouched),
};
INSTANTIATE_TEST_SUITE_P(EraseWalk, ScenarioRun, testing::ValuesIn(kWalks), ScenarioName);

const Scenario kSectorRuns[] = {
    Connected("OneSector", kHidProbe, {"-e", "--sec", "7"}, Sectors("7") + kDone, 0,
     {{kFlash, 7 * kSector, 0x00}, {kFlash + 7 * kSector, kSector, 0xFF}, {kFlash + 8 * kSector, kFlashSize - 8 * kSector, 0x00}}),
    Connected("LastSectorAndSeveralRangesInOrder", kHidProbe, {"-e", "--sec", "126-127", "--sec", "0"},
     Sectors("126-127") + Sectors("0") + kDone, 0,
     {{kFlash, kSector, 0xFF}, {kFlash + kSector, 125 * kSector, 0x00}, {kFlash + 126 * kSector, 2 * kSector, 0xFF}}),
    Connected("BootBandRefusedBeforeAnythingIsErased", kApModeTarget, {"-e", "--sec", "16384-16385"},
     "Error. Boot memory does not support sector erase. \n", 0x33, {{kS09Boot, 4096, 0x00}}),
    Connected("BootBandNeedsApMode", kApModeOff, {"-e", "--sec", "16384"},
     "Error. The MCU boot memory is not in AP mode!\nError. bad parameter 16384\n", 1),
    Connected("SpimBandNeedsASeriesWithSpim", kApModeTarget, {"-e", "--sec", "32768"}, "Error. The MCU does not support SPIM. \n", 0x33),
    Connected("RefusedSectorEraseReportedOnce", kHidProbe + ksim::Settings{{"fault_status", "B4.00,0x22"}}, {"-e", "--sec", "2-4"},
     Sectors("2-4", false), 0x33),
};
INSTANTIATE_TEST_SUITE_P(EraseSectors, ScenarioRun, testing::ValuesIn(kSectorRuns), ScenarioName);

const Scenario kBleRuns[] = {
    Connected("AllSpaces", kBleTarget, {"-eble", "--all"},
     "BLE module all space erase......\nBLE module all space erase succeed!\n" + kDone, 0, {{0, 0x28000, 0xFF}, {kFlash, 0x1000, 0x00}}),
    Connected("MainSpace", kBleTarget, {"-eble", "--all", "--main"}, BleSpace("main", true) + kDone, 0, {{0x1000, 0x1000, 0xFF}}),
    Connected("NvrSpace", kBleTarget, {"-eble", "--all", "--NVR"}, BleSpace("NVR", true) + kDone, 0, {{0x1000, 0x1000, 0x00}}),
    Connected("RdnSpace", kBleTarget, {"-eble", "--all", "--rdn"}, BleSpace("RDN", true) + kDone, 0, {{0x1000, 0x1000, 0x00}}),
    Connected("SectorsUpToTheLastPartialOne", kBleTarget, {"-eble", "--sec", "2-3", "--sec", "319"},
     BleSectors("2-3") + BleSectors("319") + kDone, 0,
     {{0, 1024, 0x00}, {1024, 1024, 0xFF}, {2048, 319 * 512 - 2048, 0x00}, {319 * 512, 512, 0xFF}}),
    Connected("RangeBeyondTheMainSpace", kBleTarget, {"-eble", "--sec", "0-320"},
     "Error, erase sectors cannot exceed BLE module main space range.\n", 0x38, {{0, 0x27FF8, 0x00}}),
    Connected("FailedSpaceSelectErasesNothing", kBleTarget + ksim::Settings{{"fault_status", "BE.01,0x22"}}, {"-eble", "--sec", "0-3"},
     "BLE module main space sector erase......0-3\n" + kBleSectorsFailed, 0x38, {{0, 2048, 0x00}}),
    Connected("AllSpaceUnplugged", kBleTarget + ksim::Settings{{"fault_unplug", "BE.01"}}, {"-eble", "--all"},
     "BLE module all space erase......\nError. BLE module all space erase failed!\n", 0x34),
    Connected("MainSpaceRefused", kBleTarget + ksim::Settings{{"fault_status", "BE.05,0x22"}}, {"-eble", "--all", "--main"},
     BleSpace("main", false), 0x35),
    Connected("NvrSpaceNoReply", kBleTarget + ksim::Settings{{"fault_no_reply", "BE.06"}}, {"-eble", "--all", "--nvr"},
     BleSpace("NVR", false), 0x36),
    Connected("RdnSpaceWrongEcho", kBleTarget + ksim::Settings{{"fault_wrong_echo", "BE.06"}}, {"-eble", "--all", "--rdn"},
     BleSpace("RDN", false), 0x37),
    Connected("SectorsRefused", kBleTarget + ksim::Settings{{"fault_status", "BE.06,0x22"}}, {"-eble", "--sec", "4-5"},
     "BLE module main space sector erase......4-5\n" + kBleSectorsFailed, 0x38),
    Connected("NeedsAConnectedModule", kHidProbe, {"-eble", "--all"}, "Error. Don't connect BLE module!\n", 2),
};
INSTANTIATE_TEST_SUITE_P(EraseBle, ScenarioRun, testing::ValuesIn(kBleRuns), ScenarioName);

}  // namespace
}  // namespace slice_test
