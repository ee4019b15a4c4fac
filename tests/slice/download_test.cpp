// -d against the virtual probe: exact lines, exit codes, and the target's memories afterwards.
#include "virtual_bench.h"

namespace slice_test {
namespace {

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
    Connected("BinGoesToTheFlashBaseAndErasesOnlyItsSectors", kHidProbe, {"-d", "--fn", "FILE", "--v"}, kOpened + kDownloaded, 0,
     {{kFlash + 3000, 2 * kSector - 3000, 0xFF}, {kFlash + 2 * kSector, kFlashSize - 2 * kSector, 0x00}}, {{kFlash, Pattern(3000, 1)}},
     true, "app.bin"),
    Connected("BinTakesItsAddressFromAnUpperCaseA", kHidProbe, {"-d", "--A", "8004000", "--FN", "FILE"},
     kOpened + kErased + kWritten + kDone, 0, {{kFlash, 0x4000, 0x00}}, {{0x08004000, Pattern(1500, 2)}}, true, "app.BIN"),
    Connected("HexWritesEverySegmentAndLeavesTheGapsErased", kHidProbe, {"-d", "--fn", "FILE", "--v"}, kOpened + kDownloaded, 0,
     {{kFlash, 0x100, 0xFF}, {0x0800022C, 0x800 - 0x22C, 0xFF}, {0x08000800, kSector, 0x00}, {0x08001064, kSector - 0x64, 0xFF},
      {0x08010000 + 1100, kSector - 1100, 0xFF}, {0x08010000 + kSector, 0x1000, 0x00}},
     {{0x08000100, Pattern(300, 3)}, {0x08001000, Pattern(100, 4)}, {0x08010000, Pattern(1100, 5)}}, true),
    // One part that starts in the 32 KiB flash and ends one byte beyond it: its end decides.
    Connected("OneByteBeyondTheFlashIsRefusedBeforeAnythingIsErased", kApModeTarget, {"-d", "--fn", "FILE"},
     kOpened + "Error. The download address or file size error, can't greater than flash size!!\n\n", 3, {{0x08007800, 0x800, 0x00}},
     {{0x08008000 - 16, Pattern(17, 6)}}),
    Connected("TheLastBytesOfTheFlashFit", kHidProbe, {"-d", "--fn", "FILE", "--v"}, kOpened + kDownloaded, 0, {},
     {{0x08040000 - 16, Pattern(16, 6)}}, true),
    Connected("SpimPartsNeedSpimEnabled", kHidProbe, {"-d", "--fn", "FILE"}, kOpened + "Error. SPIM does not enabled. \n", 3,
     {{kFlash, 64, 0x00}}, {{kFlash, Pattern(64, 7)}, {0x08400000, Pattern(64, 8)}}),
    Connected("BootMemoryAndMainFlashInApMode", kApModeTarget, {"-d", "--fn", "FILE", "--v"}, kOpened + kDownloaded, 0,
     {{kS09Boot, 0x200, 0xFF}, {kFlash, 0x800, 0x00}}, {{kS09Boot + 0x200, Pattern(600, 9)}, {kFlash + 0x800, Pattern(700, 10)}}, true),
    Connected("BootMemoryNeedsApMode", kApModeTarget + ksim::Settings{{"ap_mode", "0"}}, {"-d", "--fn", "FILE"},
     kOpened + "Error. The MCU boot memory is not in AP mode!\n", 3, {}, {{kS09Boot, Pattern(16, 9)}}),
    Connected("AnEarlierEraseOfTheRunReplacesTheSectorErase", kHidProbe, {"-e", "--sec", "0", "-d", "--fn", "FILE", "--v", "-r"},
     Sectors("0") + kOpened + kWritten + kVerified + kResetRun + kDone, 0, {}, {{kFlash, Pattern(100, 18)}}, true, "app.bin"),
    Connected("AFlashThatKeepsNothingFailsTheVerification", kHidProbe + ksim::Settings{{"ignore_writes", "1"}},
     {"-d", "--fn", "FILE", "--v"}, kOpened + kErased + kWritten + kVerifyFailed, 3, {}, {{kFlash, Pattern(300, 19)}}, false, "app.bin"),
    Connected("ReadErrorsThatCancelOutInTheSumStillFail", kHidProbe + ksim::Settings{{"fault_corrupt_read", "B2.00,0"}},
     {"-d", "--fn", "FILE", "--v"}, kOpened + kErased + kWritten + kVerifyFailed, 3, {}, {{kFlash, CancellingImage()}}, true, "app.bin"),
};
INSTANTIATE_TEST_SUITE_P(Download, ScenarioRun, testing::ValuesIn(kMainFlashRuns), ScenarioName);

// The BLE module's parts: written after its main space is erased, its checksum stored (RunScenario).
const Scenario kBleRuns[] = {
    Connected("ModuleAlone", kBleTarget, {"-d", "--fn", "FILE", "--v"}, kOpened + kBleErased + kWritten + kVerified + kDone, 0,
     {{0, 0x100, 0xFF}, {kFlash, 0x1000, 0x00}}, {{0x100, Pattern(600, 11)}, {0x27FF0, Pattern(8, 12)}}, true),
    Connected("MainFlashAndModule", kBleTarget, {"-d", "--fn", "FILE", "--v"},
     kOpened + kErased + kBleErased + kWritten + kVerified + kDone, 0, {}, {{kFlash, Pattern(2000, 13)}, {0x0, Pattern(1030, 14)}}, true),
    Connected("BootMemoryMainFlashAndModule", kBleTarget + ksim::Settings{{"ap_mode", "1"}}, {"-d", "--fn", "FILE", "--v"},
     kOpened + kErased + kBleErased + kWritten + kVerified + kDone, 0, {{0x1FFFAC00 + 0x1000, 0x800, 0xFF}},
     {{0x1FFFAC00 + 0x40, Pattern(200, 21)}, {kFlash + 0x1000, Pattern(300, 22)}, {0x8000, Pattern(400, 23)}}, true),
    Connected("AMainFlashImageNeverTouchesTheModuleChecksum", kBleTarget, {"-d", "--fn", "FILE"}, kOpened + kErased + kWritten + kDone, 0,
     {}, {{kFlash, Pattern(100, 15)}}, true, "app.bin"),
    // The module was erased by -eble earlier in the run: -d does not erase it again.
    Connected("AnEarlierBleEraseOfTheRunReplacesTheModuleErase", kBleTarget, {"-eble", "--all", "--main", "-d", "--fn", "FILE", "--v"},
     BleSpace("main") + kOpened + kWritten + kVerified + kDone, 0, {}, {{0x100, Pattern(600, 24)}}, true),
    Connected("NoEraseSkipsEveryErase", kBleTarget, {"-d", "--ne", "--fn", "FILE", "--v"}, kOpened + kWritten + kVerifyFailed, 3, {},
     {{kFlash, Pattern(64, 16)}, {0x0, Pattern(64, 17)}}),
};
INSTANTIATE_TEST_SUITE_P(DownloadBle, ScenarioRun, testing::ValuesIn(kBleRuns), ScenarioName);

// A later -d skips its own erase only where an earlier option of the run erased every byte it
// writes and nothing has written them since; otherwise it erases as if nothing had been erased.
// A .bin image goes where the last -d's --a puts it, and is checked there.
const Scenario kEarlierErases[] = {
    Connected("BareEraseErasesNothing", kHidProbe, {"-e", "-d", "--fn", "FILE"}, kOpened + kErased + kWritten + kDone, 0, {},
     {{kFlash, Pattern(3000, 30)}}, true),
    Connected("FewerSectorsThanTheImage", kHidProbe, {"-e", "--sec", "0-1", "-d", "--fn", "FILE"},
     Sectors("0-1") + kOpened + kErased + kWritten + kDone, 0, {}, {{kFlash, Pattern(3 * kSector, 31)}}, true),
    Connected("SectorsWrittenSince", kHidProbe, {"-e", "--sec", "0-1", "-d", "--fn", "FILE", "-d", "--a", "08000010", "--fn", "FILE"},
     Sectors("0-1") + kOpened + kWritten + kOpened + kErased + kWritten + kDone, 0, {}, {{kFlash + 0x10, Pattern(100, 32)}}, true,
     "app.bin"),
    Connected("BleOtherSpaceErased", kBleTarget, {"-eble", "--all", "--nvr", "-d", "--fn", "FILE"},
     BleSpace("NVR") + kOpened + kBleErased + kWritten + kDone, 0, {}, {{0x200, Pattern(300, 36)}}, true),
    Connected("BleMainSpaceWrittenSince", kBleTarget,
     {"-eble", "--all", "--main", "-d", "--a", "200", "--fn", "FILE", "-d", "--a", "300", "--fn", "FILE"},
     BleSpace("main") + kOpened + kWritten + kOpened + kBleErased + kWritten + kDone, 0, {{0x200, 0x100, 0xFF}},
     {{0x300, Pattern(300, 37)}}, true, "app.bin"),
    // The same .bin twice into one erased sector: both stay.
    Connected("TwoImagesInOneErasedSector", kHidProbe, {"-e", "--all", "-d", "--fn", "FILE", "-d", "--a", "08000200", "--fn", "FILE"},
     kErasedAll + kOpened + kWritten + kOpened + kWritten + kDone, 0, {}, {{0x08000200, Pattern(100, 34)}, {kFlash, Pattern(100, 34)}},
     true, "app.bin"),
};
INSTANTIATE_TEST_SUITE_P(EarlierErase, ScenarioRun, testing::ValuesIn(kEarlierErases), ScenarioName);


// A damaged image file is refused whole, before the probe is asked to erase or write anything:
// the run sends only what -connect sends, and the flash keeps what it held. The good file downloads.
const std::string kGood = IntelHex({{kFlash, Pattern(48, 20)}});
const size_t kEnd = kGood.rfind(":00000001FF");

std::string Changed(size_t at, char c)
{
    std::string text = kGood;
    text[at] = c;
    return text;
}

Scenario Damaged(const char* name, const std::string& content)
{
    Scenario s = Connected(name, kHidProbe, {"-d", "--fn", "FILE", "--v"},
                           "Download file opening......\nFile format error, please reselect!\nError. Open file failed!\n", 3,
                           {{kFlash, kFlashSize, 0x00}});
    s.content = content;
    s.checks = {[](RowRun& row) { EXPECT_EQ(row.bench.exchanges().size(), 6u); }}; // -connect's
    return s;
}

const Scenario kFiles[] = {
    Damaged("Empty", ""),
    Damaged("NoEndRecord", kGood.substr(0, kEnd)),
    Damaged("Cut", kGood.substr(0, kEnd - 6)),
    Damaged("RecordType06", Changed(kGood.rfind(':', kEnd - 1) + 8, '6')),
    Damaged("WrongChecksum", Changed(kEnd - 2, kGood[kEnd - 2] == '0' ? '1' : '0')),
    Connected("Good", kHidProbe, {"-d", "--fn", "FILE"}, kOpened + kErased + kWritten + kDone, 0, {}, {{kFlash, Pattern(48, 20)}}, true),
};
INSTANTIATE_TEST_SUITE_P(DownloadDamaged, ScenarioRun, testing::ValuesIn(kFiles), ScenarioName);

// The production job of the README, run exactly as written there, on the sample image, with the
// factory-default probe: both transports, the bulk one is used.
const std::string kSample = std::string(KORVEX_SOURCE_DIR) + "/examples/sample_app.hex";

const Scenario kJobs[] = {
    Scenario{"ConnectEraseDownloadVerifyRun", ksim::Settings{}, {"-connect", "-e", "--all", "-d", "--fn", kSample, "--v", "-r"},
             ProbeLines("Korvex-EZ", "(WinUSB)") + TargetLines("ZR32S04RCT6", "256KB") + "\n" + kErasedAll + kOpened + kWritten + kVerified +
                 kResetRun + kDone,
             0}
        .Also([](RowRun& row) { // with the gaps as an erased flash holds them
            const std::vector<uint8_t> bytes = Objcopied(kSample, "--gap-fill 0xFF");
            EXPECT_TRUE(!bytes.empty() && row.bench.read(kFlash, static_cast<uint32_t>(bytes.size())) == bytes);
            row.bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { EXPECT_EQ(p.target().runState(), 2); });
        }),
};
INSTANTIATE_TEST_SUITE_P(TypicalJob, ScenarioRun, testing::ValuesIn(kJobs), ScenarioName);

}  // namespace
}  // namespace slice_test
