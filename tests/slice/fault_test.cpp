// Probes that stop answering, refuse, or leave the bus in the middle of a command: the command's
// error line and exit code, and no hang.
#include "virtual_bench.h"

namespace slice_test {
namespace {

const std::string kWriteFailed = "File downloading......\nError. File download failed!\n";
const std::string kVerifyLost = kErased + kWritten + kVerifyFailed;
const std::vector<Segment> kImage = {{kFlash, std::vector<uint8_t>(3000, 0x5A)}};
const std::vector<Segment> kBleImage = {{0x200, Pattern(64, 1)}};

ksim::Settings With(const char* key, const char* value)
{
    return kHidProbe + ksim::Settings{{key, value}};
}

// A -d of kImage that fails with these lines; two sector erases on a flash holding 0x3C.
Scenario LostDownload(const char* name, const ksim::Settings& settings, const std::vector<std::string>& arguments, const std::string& out)
{
    return Connected(name, settings, arguments, kOpened + out, 3, {}, kImage, false, "app.bin");
}
Scenario TwoErases(const char* name, const ksim::Settings& settings, const std::string& out, int exitCode, const std::vector<Fill>& after)
{
    return Connected(name, settings, {"-e", "--sec", "3", "-e", "--sec", "4"}, out, exitCode, after, {}, false, "app.hex", 0x3C);
}

const Scenario kFaults[] = {
    Connected("SectorEraseNoReply", With("fault_no_reply", "B4.00"), {"-e", "--sec", "3"}, Sectors("3", false), 0x33),
    Connected("SectorEraseWrongEcho", With("fault_wrong_echo", "B4.00"), {"-e", "--sec", "3"}, Sectors("3", false), 0x33),
    Connected("SectorEraseUnplugged", With("fault_unplug", "B4.00"), {"-e", "--sec", "3-5"}, Sectors("3-5", false), 0x33),
    Connected("FullEraseUnpluggedAfterBank1", With("fault_unplug", "B4.03"), {"-e", "--all", "-r"}, kErasedAll + kResetLost, 12),
    LostDownload("DownloadEraseRefused", With("fault_status", "B4.00,0x22"), {"-d", "--fn", "FILE"},
                 "Erase MCU sectors of file size......\nError. Erase sectors failed\n"),
    LostDownload("WriteBeginRefused", With("fault_status", "B3.03,0x22"), {"-d", "--fn", "FILE"}, kErased + kWriteFailed),
    LostDownload("WriteRefused", With("fault_status", "B3.00,0x22"), {"-d", "--fn", "FILE"}, kErased + kWriteFailed),
    LostDownload("WriteNoReply", With("fault_no_reply", "B3.00"), {"-d", "--fn", "FILE"}, kErased + kWriteFailed),
    LostDownload("WriteUnplugged", With("fault_unplug", "B3.00"), {"-d", "--fn", "FILE", "-r"}, kErased + kWriteFailed),
    LostDownload("VerifyReadNoReply", With("fault_no_reply", "B2.00"), {"-d", "--fn", "FILE", "--v"}, kVerifyLost),
    LostDownload("VerifyUnplugged", With("fault_unplug", "B2.00"), {"-d", "--fn", "FILE", "--v"}, kVerifyLost),
    Connected("ResetAfterUnplug", With("fault_unplug", "B4.00"), {"-e", "--sec", "0", "-r"}, Sectors("0") + kResetLost, 12),
    {"ProbeLeavesAfterItsVersion", With("fault_unplug", "B0"), {"-connect", "-e", "--all"},
     ProbeLines("Korvex-EZ") + "MCU connect failed\nError. Korvex connected, but target device connect failed.\n", 2},
    // No byte reaches the module once its space cannot be selected: it keeps its erased state.
    Connected("BleSelectFailsBeforeAnyByte", kBleTarget + ksim::Settings{{"fault_status", "BE.01,0x22"}}, {"-d", "--ne", "--fn", "FILE"},
     kOpened + kWriteFailed, 3, {{0x200, 64, 0xFF}}, kBleImage, false, "app.hex", 0xFF),
    // The programmer-version write gives up after 3 s; its reply comes half a second later, in the
    // middle of the job, and is never taken for the answer to the request then waiting.
    Connected("LateVersionWriteReply", With("fault_delay", "B0.23,3500"), {"-e", "--all", "-d", "--fn", "FILE", "--v", "-r"},
     kErasedAll + kOpened + kWritten + kVerified + kResetRun + kDone, 0, {}, {{kFlash, Pattern(24 * 1024, 3)}}, true, "app.bin"),
    Connected("BleChecksumStoreRefused", kBleTarget + ksim::Settings{{"fault_status", "BE.02,0x22"}}, {"-d", "--fn", "FILE"},
     kOpened + kBleErased + kWritten + "Error. BLE write CRC......failed!\n", 3, {}, kBleImage),
    // A probe that refuses leaves the flash as it was; a reply lost after the erase ran does not.
    TwoErases("SectorEraseRefused", With("fault_refuse", "B4.00,FE"), Sectors("3", false), 0x33, {{kFlash + 3 * kSector, 2 * kSector, 0x3C}}),
    TwoErases("SectorEraseReplyLost", With("fault_status", "B4.00,FE"), Sectors("3", false), 0x33,
              {{kFlash + 3 * kSector, kSector, 0xFF}, {kFlash + 4 * kSector, kSector, 0x3C}}),
    TwoErases("SecondSectorEraseRefused", With("fault_refuse", "B4.00@2,FE"), Sectors("3") + Sectors("4", false), 0x33,
              {{kFlash + 3 * kSector, kSector, 0xFF}, {kFlash + 4 * kSector, kSector, 0x3C}}),
    TwoErases("RefusedFromTheThirdEraseOn", With("fault_refuse", "B4.00@3+,FE"), Sectors("3") + Sectors("4") + kDone, 0,
              {{kFlash + 3 * kSector, 2 * kSector, 0xFF}}),
    // @K hits the K-th request of its command only, @K+ every one from the K-th; other commands do not count.
    Connected("CountedDelays", With("fault_delay", "B3.00@2,0") + ksim::Settings{{"fault_delay", "B3.00@4+,0"}}, {"-d", "--fn", "FILE"},
              kOpened + kErased + kWritten + kDone, 0, {}, {{kFlash, std::vector<uint8_t>(300, 0x5A)}}, true, "app.bin")
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
