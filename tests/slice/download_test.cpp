// -d against the virtual probe: exact lines, exit codes, and the target's memories afterwards.
#include "virtual_bench.h"

namespace slice_test {
namespace {

const std::string kConnected = kConnectDefault + kOpened;
const std::string kDownloaded = kErased + kWritten + kVerified + kDone;

// Every read chunk of 56 bytes comes back with its first byte inverted: 0x10 becomes 0xEF and 0xEF
// becomes 0x10, which leaves the byte sum of the two chunks unchanged.
std::vector<uint8_t> CancellingImage()
{
    std::vector<uint8_t> image = Pattern(112, 20);
    image[0] = 0x10;
    image[56] = 0xEF;
    return image;
}

const Scenario kMainFlashRuns[] = {
    {"BinGoesToTheFlashBaseAndErasesOnlyItsSectors", kHidProbe, {"-connect", "-d", "--fn", "FILE", "--v"},
     kConnected + kDownloaded, 0, {{kFlash + 3000, 2 * kSector - 3000, 0xFF}, {kFlash + 2 * kSector, kFlashSize - 2 * kSector, 0x00}},
     {{kFlash, Pattern(3000, 1)}}, true, "app.bin"},
    {"BinTakesItsAddressFromAnUpperCaseA", kHidProbe, {"-connect", "-d", "--A", "8004000", "--FN", "FILE"},
     kConnected + kErased + kWritten + kDone, 0, {{kFlash, 0x4000, 0x00}}, {{0x08004000, Pattern(1500, 2)}}, true,
     "app.BIN"},
    {"HexWritesEverySegmentAndLeavesTheGapsErased", kHidProbe, {"-connect", "-d", "--fn", "FILE", "--v"},
     kConnected + kDownloaded, 0,
     {{kFlash, 0x100, 0xFF}, {0x0800022C, 0x800 - 0x22C, 0xFF}, {0x08000800, kSector, 0x00},
      {0x08001064, kSector - 0x64, 0xFF}, {0x08010000 + 1100, kSector - 1100, 0xFF}, {0x08010000 + kSector, 0x1000, 0x00}},
     {{0x08000100, Pattern(300, 3)}, {0x08001000, Pattern(100, 4)}, {0x08010000, Pattern(1100, 5)}}, true},
    // One part that starts in the 32 KiB flash and ends one byte beyond it: its end decides.
    {"OneByteBeyondTheFlashIsRefusedBeforeAnythingIsErased", kApModeTarget, {"-connect", "-d", "--fn", "FILE"},
     kApConnect + kOpened + "Error. The download address or file size error, can't greater than flash size!!\n\n", 3,
     {{0x08007800, 0x800, 0x00}}, {{0x08008000 - 16, Pattern(17, 6)}}},
    {"TheLastBytesOfTheFlashFit", kHidProbe, {"-connect", "-d", "--fn", "FILE", "--v"}, kConnected + kDownloaded, 0, {},
     {{0x08040000 - 16, Pattern(16, 6)}}, true},
    {"SpimPartsNeedSpimEnabled", kHidProbe, {"-connect", "-d", "--fn", "FILE"},
     kConnected + "Error. SPIM does not enabled. \n", 3, {{kFlash, 64, 0x00}},
     {{kFlash, Pattern(64, 7)}, {0x08400000, Pattern(64, 8)}}},
    {"BootMemoryAndMainFlashInApMode", kApModeTarget, {"-connect", "-d", "--fn", "FILE", "--v"},
     kApConnect + kOpened + kDownloaded, 0, {{kS09Boot, 0x200, 0xFF}, {kFlash, 0x800, 0x00}},
     {{kS09Boot + 0x200, Pattern(600, 9)}, {kFlash + 0x800, Pattern(700, 10)}}, true},
    {"BootMemoryNeedsApMode", kApModeTarget + ksim::Settings{{"ap_mode", "0"}}, {"-connect", "-d", "--fn", "FILE"},
     kApConnect + kOpened + "Error. The MCU boot memory is not in AP mode!\n", 3, {}, {{kS09Boot, Pattern(16, 9)}}},
    {"AnEarlierEraseOfTheRunReplacesTheSectorErase", kHidProbe,
     {"-connect", "-e", "--sec", "0", "-d", "--fn", "FILE", "--v", "-r"},
     kConnectDefault + "Flash sector erase......0\nFlash sector erase finished\n" + kOpened + kWritten + kVerified +
         kResetRun + kDone,
     0, {}, {{kFlash, Pattern(100, 18)}}, true, "app.bin"},
    {"AFlashThatKeepsNothingFailsTheVerification", kHidProbe + ksim::Settings{{"ignore_writes", "1"}},
     {"-connect", "-d", "--fn", "FILE", "--v"}, kConnected + kErased + kWritten + kVerifyFailed, 3, {},
     {{kFlash, Pattern(300, 19)}}, false, "app.bin"},
    {"ReadErrorsThatCancelOutInTheSumStillFail", kHidProbe + ksim::Settings{{"fault_corrupt_read", "B2.00,0"}},
     {"-connect", "-d", "--fn", "FILE", "--v"}, kConnected + kErased + kWritten + kVerifyFailed, 3, {},
     {{kFlash, CancellingImage()}}, true, "app.bin"},
};
INSTANTIATE_TEST_SUITE_P(Download, ScenarioRun, testing::ValuesIn(kMainFlashRuns), ScenarioName);

// The BLE module's parts: written after its main space is erased, its checksum stored (RunScenario).
const Scenario kBleRuns[] = {
    {"ModuleAlone", kBleTarget, {"-connect", "-d", "--fn", "FILE", "--v"},
     kBleConnect + kOpened + kBleErased + kWritten + kVerified + kDone, 0, {{0, 0x100, 0xFF}, {kFlash, 0x1000, 0x00}},
     {{0x100, Pattern(600, 11)}, {0x27FF0, Pattern(8, 12)}}, true},
    {"MainFlashAndModule", kBleTarget, {"-connect", "-d", "--fn", "FILE", "--v"},
     kBleConnect + kOpened + kErased + kBleErased + kWritten + kVerified + kDone, 0, {},
     {{kFlash, Pattern(2000, 13)}, {0x0, Pattern(1030, 14)}}, true},
    {"BootMemoryMainFlashAndModule", kBleTarget + ksim::Settings{{"ap_mode", "1"}},
     {"-connect", "-d", "--fn", "FILE", "--v"}, kBleConnect + kOpened + kErased + kBleErased + kWritten + kVerified + kDone,
     0, {{0x1FFFAC00 + 0x1000, 0x800, 0xFF}},
     {{0x1FFFAC00 + 0x40, Pattern(200, 21)}, {kFlash + 0x1000, Pattern(300, 22)}, {0x8000, Pattern(400, 23)}}, true},
    {"AMainFlashImageNeverTouchesTheModuleChecksum", kBleTarget, {"-connect", "-d", "--fn", "FILE"},
     kBleConnect + kOpened + kErased + kWritten + kDone, 0, {}, {{kFlash, Pattern(100, 15)}}, true, "app.bin"},
    // The module was erased by -eble earlier in the run: -d does not erase it again.
    {"AnEarlierBleEraseOfTheRunReplacesTheModuleErase", kBleTarget,
     {"-connect", "-eble", "--all", "--main", "-d", "--fn", "FILE", "--v"},
     kBleConnect + "BLE module main space erase ......\nBLE module main space erase finished!\n" + kOpened + kWritten +
         kVerified + kDone,
     0, {}, {{0x100, Pattern(600, 24)}}, true},
    {"NoEraseSkipsEveryErase", kBleTarget, {"-connect", "-d", "--ne", "--fn", "FILE", "--v"},
     kBleConnect + kOpened + kWritten + kVerifyFailed, 3, {}, {{kFlash, Pattern(64, 16)}, {0x0, Pattern(64, 17)}}},
};
INSTANTIATE_TEST_SUITE_P(DownloadBle, ScenarioRun, testing::ValuesIn(kBleRuns), ScenarioName);

// A later -d skips its own erase only where an earlier option of the run erased every byte it
// writes and nothing has written them since; otherwise it erases as if nothing had been erased.
// A .bin image goes where the last -d's --a puts it, and is checked there.
const std::string kSectors01 = "Flash sector erase......0-1\nFlash sector erase finished\n";
const Scenario kEarlierErases[] = {
    {"BareEraseErasesNothing", kHidProbe, {"-connect", "-e", "-d", "--fn", "FILE"},
     kConnected + kErased + kWritten + kDone, 0, {}, {{kFlash, Pattern(3000, 30)}}, true},
    {"FewerSectorsThanTheImage", kHidProbe, {"-connect", "-e", "--sec", "0-1", "-d", "--fn", "FILE"},
     kConnectDefault + kSectors01 + kOpened + kErased + kWritten + kDone, 0, {}, {{kFlash, Pattern(3 * kSector, 31)}},
     true},
    {"SectorsWrittenSince", kHidProbe,
     {"-connect", "-e", "--sec", "0-1", "-d", "--fn", "FILE", "-d", "--a", "08000010", "--fn", "FILE"},
     kConnectDefault + kSectors01 + kOpened + kWritten + kOpened + kErased + kWritten + kDone, 0, {},
     {{kFlash + 0x10, Pattern(100, 32)}}, true, "app.bin"},
    {"BleOtherSpaceErased", kBleTarget, {"-connect", "-eble", "--all", "--nvr", "-d", "--fn", "FILE"},
     kBleConnect + "BLE module NVR space erase ......\nBLE module NVR space erase finished!\n" + kOpened + kBleErased +
         kWritten + kDone,
     0, {}, {{0x200, Pattern(300, 36)}}, true},
    {"BleMainSpaceWrittenSince", kBleTarget,
     {"-connect", "-eble", "--all", "--main", "-d", "--a", "200", "--fn", "FILE", "-d", "--a", "300", "--fn", "FILE"},
     kBleConnect + "BLE module main space erase ......\nBLE module main space erase finished!\n" + kOpened + kWritten +
         kOpened + kBleErased + kWritten + kDone,
     0, {{0x200, 0x100, 0xFF}}, {{0x300, Pattern(300, 37)}}, true, "app.bin"},
    // The same .bin twice into one erased sector: both stay.
    {"TwoImagesInOneErasedSector", kHidProbe,
     {"-connect", "-e", "--all", "-d", "--fn", "FILE", "-d", "--a", "08000200", "--fn", "FILE"},
     kConnectDefault + kErasedAll + kOpened + kWritten + kOpened + kWritten + kDone, 0, {},
     {{0x08000200, Pattern(100, 34)}, {kFlash, Pattern(100, 34)}}, true, "app.bin"},
};
INSTANTIATE_TEST_SUITE_P(EarlierErase, ScenarioRun, testing::ValuesIn(kEarlierErases), ScenarioName);

}  // namespace
}  // namespace slice_test
