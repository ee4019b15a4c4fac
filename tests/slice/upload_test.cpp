// -u and -uble against the virtual probe: exact lines and exit codes, the file afterwards (the
// target's bytes, HEX text record by record, read back by objcopy as an independent reader), and
// an earlier file of the same name left alone by every failure.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace slice_test {
namespace {

const std::string kOld = "an earlier upload";
const std::string kUploaded = kUploadDone + kDone;
const std::string kReadFailed = kUploadRead + "Error. File uploading failed!\n";

// Only the BLE module answers: its target's product ID is unknown.
const ksim::Settings kBleModuleAlone = kBleTarget + ksim::Settings{{"pid", "11FFF2C5"}};

// After -connect, on a target whose memories all hold a pattern. The file holds `length` target bytes
// from `address` (as VirtualBench::read, also the first HEX address), or, without them, an earlier
// file of the same name is left alone. No temporary file stays behind.
Scenario Up(const char* name, const ksim::Settings& target, const ksim::Settings& extra, std::vector<std::string> arguments,
            const std::string& fileName, const std::string& out, int exitCode, uint32_t address = 0, uint32_t length = 0)
{
    arguments.insert(arguments.begin(), "-connect");
    Scenario s{name, target + extra, arguments, ConnectLines(target + extra) + out, exitCode};
    s.fileName = fileName;
    s.content = kOld;
    s.before = [](RowRun& row) { Program(row.bench); };
    s.checks.push_back([](RowRun& row) {
        const auto files = std::distance(std::filesystem::directory_iterator(row.files.path("")), {});
        EXPECT_EQ(files, std::filesystem::exists(row.file) ? 1 : 0) << "a temporary file was left behind";
    });
    if (address == 0 && length == 0) {
        s.checks.push_back(FileHolds(kOld));
        return s;
    }
    s.checks.push_back([address, length](RowRun& row) {
        const std::vector<uint8_t> expected = row.bench.read(address, length);
        ASSERT_EQ(expected.size(), length);
        const bool binary = row.file.substr(row.file.size() - 4) == ".bin";
        const std::string hex = IntelHex({{address, expected}}); // the console ends the file without a line end
        EXPECT_TRUE(ReadFile(row.file) == (binary ? std::string(expected.begin(), expected.end()) : hex.substr(0, hex.size() - 1)));
        EXPECT_TRUE(binary || expected.empty() || Objcopied(row.file) == expected); // objcopy refuses a file without data
    });
    return s;
}

const Scenario kUploads[] = {
    Up("TwoSectorsHex", kHidProbe, {}, {"-u", "--sec", "0-1", "--fn", "FILE"}, "up.hex", kUploaded, 0, kFlash, 4096),
    Up("OneSectorBinary", kHidProbe, {}, {"-u", "--sec", "5", "--fn", "FILE"}, "up.bin", kUploaded, 0, kFlash + 5 * kSector, 2048),
    Up("AcrossA64KBoundaryHex", kHidProbe, {}, {"-u", "--fn", "FILE", "--SEC", "63-64"}, "up.HEX", kUploaded, 0, kFlash + 63 * kSector, 4096),
    Up("LastSectorThenOption", kHidProbe, {}, {"-u", "--sec", "127", "--fn", "FILE", "-r"}, "up.bin",
     kUploadDone + kResetRun + kDone, 0, kFlash + 127 * kSector, 2048),
    Up("OneSectorPastTheFlash", kHidProbe, {}, {"-u", "--sec", "0-128", "--fn", "FILE"}, "up.bin", "bad parameter \"0-128\"\n", 1),
    Up("NoRangeHex", kHidProbe, {}, {"-u", "--fn", "FILE"}, "up.hex", kUploaded, 0, kFlash, 0),
    Up("NoRangeBinary", kHidProbe, {}, {"-u", "--fn", "FILE"}, "up.bin", kUploaded, 0, kFlash, 0),
    Up("NoFileName", kHidProbe, {}, {"-u", "--sec", "0"}, "up.bin", "Error. Save file failed!\n", 4),
    Up("FolderMissing", kHidProbe, {}, {"-u", "--sec", "0", "--fn", "FILE"}, "no/up.bin", kUploadRead + "Error. Save file failed!\n", 4),
    Up("BootMemoryInApMode", kApModeTarget, {}, {"-u", "--sec", "16384-16385", "--fn", "FILE"}, "up.hex", kUploaded, 0, kS09Boot, 1024),
    Up("WholeBootMemory", kApModeTarget, {}, {"-u", "--sec", "16384-16391", "--fn", "FILE"}, "up.bin", kUploaded, 0, kS09Boot, 4096),
    Up("OneSectorPastTheBootMemory", kApModeTarget, {}, {"-u", "--sec", "16384-16392", "--fn", "FILE"}, "up.bin",
     "Error. Upload sectors can't greater than boot memory size!\n", 4),
    Up("BootMemoryNotInApMode", kApModeTarget, {{"ap_mode", "0"}}, {"-u", "--sec", "16384-16385", "--fn", "FILE"}, "up.bin",
     "Error. The MCU boot memory is not in AP mode!\nbad parameter \"16384-16385\"\n", 1),
    Up("NoApModeOnTheSeries", kHidProbe, {}, {"-u", "--sec", "16384", "--fn", "FILE"}, "up.bin",
     "Error. The MCU does not support boot memory AP mode. \nbad parameter \"16384\"\n", 1),
    Up("SpimNotEnabled", kHidProbe, {}, {"-u", "--sec", "32768", "--fn", "FILE"}, "up.bin", "Error. SPIM does not enabled. \n", 4),
    Up("HugeSpimRangeNotEnabled", kHidProbe, {}, {"-u", "--sec", "32768-2147483647", "--fn", "FILE"}, "up.bin",
     "Error. SPIM does not enabled. \n", 4),
    Up("NoSpimOnTheSeries", kApModeTarget, {}, {"-u", "--sec", "32768", "--fn", "FILE"}, "up.bin",
     "Error. The MCU does not support SPIM. \n", 4),
    Up("BleMainSpace", kBleTarget, {}, {"-uble", "--sec", "0-319", "--fn", "FILE"}, "up.bin", kUploaded, 0, 0, 163840),
    Up("BleSectorsHex", kBleTarget, {}, {"-uble", "--sec", "2-3", "--fn", "FILE"}, "up.hex", kUploaded, 0, 1024, 1024),
    Up("BleModuleWithoutTarget", kBleModuleAlone, {}, {"-uble", "--sec", "4-7", "--fn", "FILE"}, "up.bin", kUploaded, 0, 2048, 2048),
    Up("BlePastTheMainSpace", kBleTarget, {}, {"-uble", "--sec", "0-320", "--fn", "FILE"}, "up.bin",
     "Error. Upload sectors cannot exceed BLE module main space range.\n", 5),
    Up("BleNoFileName", kBleTarget, {}, {"-uble", "--sec", "0"}, "up.bin", "Error. Save file failed!\n", 5),
    Up("BleWithoutModule", kHidProbe, {}, {"-uble", "--sec", "0", "--fn", "FILE"}, "up.bin", "Error. Don't connect BLE module!\n", 2),
    Up("ReadNoReply", kHidProbe, {{"fault_no_reply", "B2.00"}}, {"-u", "--sec", "0-3", "--fn", "FILE"}, "up.bin", kReadFailed, 4),
    Up("ReadRefused", kHidProbe, {{"fault_status", "B2.00,0x22"}}, {"-u", "--sec", "0-3", "--fn", "FILE"}, "up.hex", kReadFailed, 4),
    Up("ReadWrongEcho", kHidProbe, {{"fault_wrong_echo", "B2.00"}}, {"-u", "--sec", "0-3", "--fn", "FILE"}, "up.hex", kReadFailed, 4),
    Up("UnpluggedMidRead", kHidProbe, {{"fault_unplug", "B2.00"}}, {"-u", "--sec", "0-3", "--fn", "FILE"}, "up.bin", kReadFailed, 4),
    Up("BleReadRefused", kBleTarget, {{"fault_status", "BE.04,0x22"}}, {"-uble", "--sec", "0-3", "--fn", "FILE"}, "up.bin", kReadFailed, 5),
    Up("BleUnpluggedMidRead", kBleTarget, {{"fault_unplug", "BE.04"}}, {"-uble", "--sec", "0-3", "--fn", "FILE"}, "up.bin", kReadFailed, 5),
};
INSTANTIATE_TEST_SUITE_P(Upload, ScenarioRun, testing::ValuesIn(kUploads), ScenarioName);

// Upload, erase, download the file, upload again: the same file.
const Scenario kRoundTrip[] = {
    Scenario{"UploadEraseDownloadUpload", kHidProbe,
             {"-connect", "-u", "--sec", "30-33", "--fn", "FILE", "-e", "--all", "-d", "--fn", "FILE", "--v", "-u", "--sec", "30-33", "--fn",
              "TEMP/2.hex"},
             kConnectDefault + kUploadDone + kErasedAll + kOpened + kWritten + kVerified + kUploaded, 0, {}, {}, false, "1.hex", 0, {},
             [](RowRun& row) { Program(row.bench); }}
        .Also([](RowRun& row) {
            EXPECT_TRUE(ReadFile(row.files.path("2.hex")) == ReadFile(row.file));
            // Four sectors across a 64 KiB boundary: two address records, 512 data records, the end.
            EXPECT_EQ(ReadFile(row.file).size(), 2 * 16 + 512 * 44 + 11u);
        }),
};
INSTANTIATE_TEST_SUITE_P(UploadRoundTrip, ScenarioRun, testing::ValuesIn(kRoundTrip), ScenarioName);

}  // namespace
}  // namespace slice_test
