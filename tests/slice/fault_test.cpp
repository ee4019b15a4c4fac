// Probes that stop answering, refuse, or leave the bus in the middle of a command: the command's
// error line and exit code, and no hang.
#include "virtual_bench.h"

namespace slice_test {
namespace {

const std::string kWriteFailed = "File downloading......\nError. File download failed!\n";
const std::string kVerifyLost = kOpened + kErased + kWritten + kVerifyFailed;
const std::vector<Segment> kImage = {{kFlash, std::vector<uint8_t>(3000, 0x5A)}};
const std::vector<Segment> kBleImage = {{0x200, Pattern(64, 1)}};

const std::vector<std::string> kTwoErases = {"-connect", "-e", "--sec", "3", "-e", "--sec", "4"};
std::string SectorErased(const char* sector) { return "Flash sector erase......" + std::string(sector) + "\nFlash sector erase finished\n"; }
std::string SectorFailed(const char* sector) { return "Flash sector erase......" + std::string(sector) + "\nError. Flash sector erase failed!\n"; }

ksim::Settings With(const char* key, const char* value)
{
    return kHidProbe + ksim::Settings{{key, value}};
}

const Scenario kFaults[] = {
    {"SectorEraseNoReply", With("fault_no_reply", "B4.00"), {"-connect", "-e", "--sec", "3"},
     kConnectDefault + "Flash sector erase......3\nError. Flash sector erase failed!\n", 0x33},
    {"SectorEraseWrongEcho", With("fault_wrong_echo", "B4.00"), {"-connect", "-e", "--sec", "3"},
     kConnectDefault + "Flash sector erase......3\nError. Flash sector erase failed!\n", 0x33},
    {"SectorEraseUnplugged", With("fault_unplug", "B4.00"), {"-connect", "-e", "--sec", "3-5"},
     kConnectDefault + "Flash sector erase......3-5\nError. Flash sector erase failed!\n", 0x33},
    {"FullEraseUnpluggedAfterBank1", With("fault_unplug", "B4.03"), {"-connect", "-e", "--all", "-r"},
     kConnectDefault + kErasedAll + "Reset and run......\nReset and run failed!\n", 12},
    {"DownloadEraseRefused", With("fault_status", "B4.00,0x22"), {"-connect", "-d", "--fn", "FILE"},
     kConnectDefault + kOpened + "Erase MCU sectors of file size......\nError. Erase sectors failed\n", 3, {}, kImage,
     false, "app.bin"},
    {"WriteBeginRefused", With("fault_status", "B3.03,0x22"), {"-connect", "-d", "--fn", "FILE"},
     kConnectDefault + kOpened + kErased + kWriteFailed, 3, {}, kImage, false, "app.bin"},
    {"WriteRefused", With("fault_status", "B3.00,0x22"), {"-connect", "-d", "--fn", "FILE"},
     kConnectDefault + kOpened + kErased + kWriteFailed, 3, {}, kImage, false, "app.bin"},
    {"WriteNoReply", With("fault_no_reply", "B3.00"), {"-connect", "-d", "--fn", "FILE"},
     kConnectDefault + kOpened + kErased + kWriteFailed, 3, {}, kImage, false, "app.bin"},
    {"WriteUnplugged", With("fault_unplug", "B3.00"), {"-connect", "-d", "--fn", "FILE", "-r"},
     kConnectDefault + kOpened + kErased + kWriteFailed, 3, {}, kImage, false, "app.bin"},
    {"VerifyReadNoReply", With("fault_no_reply", "B2.00"), {"-connect", "-d", "--fn", "FILE", "--v"},
     kConnectDefault + kVerifyLost, 3, {}, kImage, false, "app.bin"},
    {"VerifyUnplugged", With("fault_unplug", "B2.00"), {"-connect", "-d", "--fn", "FILE", "--v"},
     kConnectDefault + kVerifyLost, 3, {}, kImage, false, "app.bin"},
    {"ResetAfterUnplug", With("fault_unplug", "B4.00"), {"-connect", "-e", "--sec", "0", "-r"},
     kConnectDefault + "Flash sector erase......0\nFlash sector erase finished\nReset and run......\nReset and run failed!\n",
     12},
    {"ProbeLeavesAfterItsVersion", With("fault_unplug", "B0"), {"-connect", "-e", "--all"},
     "Connect......\nKorvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)\nKorvex connected\n"
     "MCU connect failed\nError. Korvex connected, but target device connect failed.\n", 2},
    // No byte reaches the module once its space cannot be selected: it keeps its erased state.
    {"BleSelectFailsBeforeAnyByte", kBleTarget + ksim::Settings{{"fault_status", "BE.01,0x22"}},
     {"-connect", "-d", "--ne", "--fn", "FILE"}, kBleConnect + kOpened + kWriteFailed, 3, {{0x200, 64, 0xFF}}, kBleImage,
     false, "app.hex", 0xFF},
    // The programmer-version write gives up after 3 s; its reply comes half a second later, in the
    // middle of the job, and is never taken for the answer to the request then waiting.
    {"LateVersionWriteReply", With("fault_delay", "B0.23,3500"),
     {"-connect", "-e", "--all", "-d", "--fn", "FILE", "--v", "-r"},
     kConnectDefault + kErasedAll + kOpened + kWritten + kVerified + kResetRun + kDone, 0, {}, {{kFlash, Pattern(24 * 1024, 3)}}, true,
     "app.bin"},
    {"BleChecksumStoreRefused", kBleTarget + ksim::Settings{{"fault_status", "BE.02,0x22"}},
     {"-connect", "-d", "--fn", "FILE"},
     kBleConnect + kOpened + kBleErased + kWritten + "Error. BLE write CRC......failed!\n", 3, {}, kBleImage},
    // A probe that refuses leaves the flash as it was; a reply lost after the erase ran does not.
    {"SectorEraseRefused", With("fault_refuse", "B4.00,FE"), kTwoErases, kConnectDefault + SectorFailed("3"), 0x33,
     {{kFlash + 3 * kSector, 2 * kSector, 0x3C}}, {}, false, "app.hex", 0x3C},
    {"SectorEraseReplyLost", With("fault_status", "B4.00,FE"), kTwoErases, kConnectDefault + SectorFailed("3"), 0x33,
     {{kFlash + 3 * kSector, kSector, 0xFF}, {kFlash + 4 * kSector, kSector, 0x3C}}, {}, false, "app.hex", 0x3C},
    {"SecondSectorEraseRefused", With("fault_refuse", "B4.00@2,FE"), kTwoErases,
     kConnectDefault + SectorErased("3") + SectorFailed("4"), 0x33,
     {{kFlash + 3 * kSector, kSector, 0xFF}, {kFlash + 4 * kSector, kSector, 0x3C}}, {}, false, "app.hex", 0x3C},
    {"RefusedFromTheThirdEraseOn", With("fault_refuse", "B4.00@3+,FE"), kTwoErases,
     kConnectDefault + SectorErased("3") + SectorErased("4") + kDone, 0, {{kFlash + 3 * kSector, 2 * kSector, 0xFF}}, {}, false,
     "app.hex", 0x3C},
    // @K hits the K-th request of its command only, @K+ every one from the K-th; other commands do not count.
    Scenario{"CountedDelays", With("fault_delay", "B3.00@2,0") + ksim::Settings{{"fault_delay", "B3.00@4+,0"}},
             {"-connect", "-d", "--fn", "FILE"}, kConnectDefault + kOpened + kErased + kWritten + kDone, 0, {},
             {{kFlash, std::vector<uint8_t>(300, 0x5A)}}, true, "app.bin"}
        .Also([](RowRun& row) {
            std::vector<std::string> hits; // per B3.00 write, in order
            for (const ksim::Exchange& e : row.bench.exchanges())
                if (e.command.rfind("B3.00", 0) == 0)
                    hits.push_back(e.faults.empty() ? "-" : e.faults.back());
            EXPECT_EQ(hits, (std::vector<std::string>{"-", "delay@B3.00@2", "-", "delay@B3.00@4+", "delay@B3.00@4+", "delay@B3.00@4+"}));
        }),
};
INSTANTIATE_TEST_SUITE_P(Faults, ScenarioRun, testing::ValuesIn(kFaults), ScenarioName);

}  // namespace
}  // namespace slice_test
