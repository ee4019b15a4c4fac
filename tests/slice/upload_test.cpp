// -u and -uble against the virtual probe: exact lines and exit codes, the file afterwards (the
// target's bytes, HEX text record by record, read back by objcopy as an independent reader), and
// an earlier file of the same name left alone by every failure.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace slice_test {
namespace {

// The target bytes the file holds: length bytes from address (as VirtualBench::read), also the
// address of the first byte in a HEX file. {}: the earlier file must be unchanged.
struct Region {
    uint32_t address = 0;
    uint32_t length = 0;
};

struct UploadCase {
    const char* name;
    const ksim::Settings* target; // another file's settings: taken when the test runs
    ksim::Settings extra;
    std::vector<std::string> arguments; // after -connect; FILE stands for the file's path
    std::string fileName;
    std::string out; // after the connection lines
    int exitCode;
    Region file;
};

void PrintTo(const UploadCase& c, std::ostream* os) { *os << c.name; }

const std::string kOld = "an earlier upload";
const std::string kRead = "Upload file opening......\nFile uploading......\n";
const std::string kUploaded = kRead + "File uploading finished!\n" + kDone;
const std::string kReadFailed = kRead + "Error. File uploading failed!\n";

// Only the BLE module answers: its target's product ID is unknown.
const ksim::Settings kBleModuleAlone = kBleTarget + ksim::Settings{{"pid", "11FFF2C5"}};

std::string Connected(const ksim::Settings& settings)
{
    if (settings == kBleModuleAlone)
        return kBleConnect.substr(0, kBleConnect.find("MCU")) +
               "This version of VKP Programmer does not support the connected MCU.\nBluetooth module connected\n\n";
    for (const auto& [key, value] : settings) {
        if (key == "ble")
            return kBleConnect;
        if (key == "ap_mode")
            return kApConnect;
    }
    return kConnectDefault;
}

// Every memory holds a pattern, as left by earlier work.
void Program(VirtualBench& bench)
{
    bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
        ksim::TargetMcu& t = p.target();
        for (ksim::SparseMemory* m : {&t.mainFlash(), &t.bootMemory(), &t.spim(), &p.ble().space(0)}) {
            const std::vector<uint8_t> bytes = Pattern(m->size(), m->size());
            m->store(0, bytes.data(), m->size());
        }
    });
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

class Upload : public testing::TestWithParam<UploadCase> {};

TEST_P(Upload, writes_exactly_the_target_bytes_or_leaves_the_file_alone)
{
    const UploadCase& c = GetParam();
    const ksim::Settings settings = *c.target + c.extra;
    VirtualBench bench(settings);
    Program(bench);
    TempDir dir;
    TempDir oracle;
    const std::string path = dir.path(c.fileName);
    if (std::filesystem::is_directory(std::filesystem::path(path).parent_path()))
        dir.write(c.fileName, kOld);
    std::vector<std::string> arguments = {"-connect"};
    for (const std::string& argument : c.arguments)
        arguments.push_back(argument == "FILE" ? path : argument);

    const ConsoleRun run = bench.console(arguments, 30000);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.out, Connected(settings) + c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);

    const size_t filesLeft = static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir.path("")),
                                                               std::filesystem::directory_iterator()));
    EXPECT_EQ(filesLeft, std::filesystem::exists(path) ? 1u : 0u) << "a temporary file was left behind";
    if (c.file.address == 0 && c.file.length == 0) {
        if (std::filesystem::exists(path)) {
            EXPECT_EQ(ReadFile(path), kOld);
        }
        return;
    }
    const std::vector<uint8_t> expected = bench.read(c.file.address, c.file.length);
    ASSERT_EQ(expected.size(), c.file.length);
    if (path.size() > 4 && path.substr(path.size() - 4) == ".bin") {
        EXPECT_TRUE(Bytes(ReadFile(path)) == expected);
        return;
    }
    std::string text = IntelHex({{c.file.address, expected}});
    text.pop_back(); // no line end after the end-of-file record
    EXPECT_TRUE(ReadFile(path) == text);
    if (!expected.empty()) { // objcopy refuses a file without data; it is an independent reader
        const std::string bin = oracle.path("objcopy.bin");
        EXPECT_EQ(std::system(("objcopy -I ihex -O binary '" + path + "' '" + bin + "'").c_str()), 0);
        EXPECT_TRUE(Bytes(ReadFile(bin)) == expected);
    }
}

const UploadCase kUploads[] = {
    {"TwoSectorsHex", &kHidProbe, {}, {"-u", "--sec", "0-1", "--fn", "FILE"}, "up.hex", kUploaded, 0,
     {0x08000000, 4096}},
    {"OneSectorBinary", &kHidProbe, {}, {"-u", "--sec", "5", "--fn", "FILE"}, "up.bin", kUploaded, 0,
     {0x08000000 + 5 * 2048, 2048}},
    {"AcrossA64KBoundaryHex", &kHidProbe, {}, {"-u", "--fn", "FILE", "--SEC", "63-64"}, "up.HEX", kUploaded, 0,
     {0x08000000 + 63 * 2048, 4096}},
    {"LastSectorThenOption", &kHidProbe, {}, {"-u", "--sec", "127", "--fn", "FILE", "-r"}, "up.bin",
     kRead + "File uploading finished!\nReset and run......\nReset and run finished!\n\n" + kDone, 0,
     {0x08000000 + 127 * 2048, 2048}},
    {"OneSectorPastTheFlash", &kHidProbe, {}, {"-u", "--sec", "0-128", "--fn", "FILE"}, "up.bin", "bad parameter \"0-128\"\n", 1,
     {}},
    {"NoRangeHex", &kHidProbe, {}, {"-u", "--fn", "FILE"}, "up.hex", kUploaded, 0, {0x08000000, 0}},
    {"NoRangeBinary", &kHidProbe, {}, {"-u", "--fn", "FILE"}, "up.bin", kUploaded, 0, {0x08000000, 0}},
    {"NoFileName", &kHidProbe, {}, {"-u", "--sec", "0"}, "up.bin", "Error. Save file failed!\n", 4, {}},
    {"FolderMissing", &kHidProbe, {}, {"-u", "--sec", "0", "--fn", "FILE"}, "no/up.bin", kRead + "Error. Save file failed!\n", 4,
     {}},
    {"BootMemoryInApMode", &kApModeTarget, {}, {"-u", "--sec", "16384-16385", "--fn", "FILE"}, "up.hex", kUploaded, 0,
     {kS09Boot, 1024}},
    {"WholeBootMemory", &kApModeTarget, {}, {"-u", "--sec", "16384-16391", "--fn", "FILE"}, "up.bin", kUploaded, 0,
     {kS09Boot, 4096}},
    {"OneSectorPastTheBootMemory", &kApModeTarget, {}, {"-u", "--sec", "16384-16392", "--fn", "FILE"}, "up.bin",
     "Error. Upload sectors can't greater than boot memory size!\n", 4, {}},
    {"BootMemoryNotInApMode", &kApModeTarget, {{"ap_mode", "0"}}, {"-u", "--sec", "16384-16385", "--fn", "FILE"}, "up.bin",
     "Error. The MCU boot memory is not in AP mode!\nbad parameter \"16384-16385\"\n", 1, {}},
    {"NoApModeOnTheSeries", &kHidProbe, {}, {"-u", "--sec", "16384", "--fn", "FILE"}, "up.bin",
     "Error. The MCU does not support boot memory AP mode. \nbad parameter \"16384\"\n", 1, {}},
    {"SpimNotEnabled", &kHidProbe, {}, {"-u", "--sec", "32768", "--fn", "FILE"}, "up.bin", "Error. SPIM does not enabled. \n", 4,
     {}},
    {"HugeSpimRangeNotEnabled", &kHidProbe, {}, {"-u", "--sec", "32768-2147483647", "--fn", "FILE"}, "up.bin",
     "Error. SPIM does not enabled. \n", 4, {}},
    {"NoSpimOnTheSeries", &kApModeTarget, {}, {"-u", "--sec", "32768", "--fn", "FILE"}, "up.bin",
     "Error. The MCU does not support SPIM. \n", 4, {}},
    {"BleMainSpace", &kBleTarget, {}, {"-uble", "--sec", "0-319", "--fn", "FILE"}, "up.bin", kUploaded, 0,
     {0, 163840}},
    {"BleSectorsHex", &kBleTarget, {}, {"-uble", "--sec", "2-3", "--fn", "FILE"}, "up.hex", kUploaded, 0,
     {1024, 1024}},
    {"BleModuleWithoutTarget", &kBleModuleAlone, {}, {"-uble", "--sec", "4-7", "--fn", "FILE"}, "up.bin", kUploaded, 0,
     {2048, 2048}},
    {"BlePastTheMainSpace", &kBleTarget, {}, {"-uble", "--sec", "0-320", "--fn", "FILE"}, "up.bin",
     "Error. Upload sectors cannot exceed BLE module main space range.\n", 5, {}},
    {"BleNoFileName", &kBleTarget, {}, {"-uble", "--sec", "0"}, "up.bin", "Error. Save file failed!\n", 5, {}},
    {"BleWithoutModule", &kHidProbe, {}, {"-uble", "--sec", "0", "--fn", "FILE"}, "up.bin", "Error. Don't connect BLE module!\n",
     2, {}},
    {"ReadNoReply", &kHidProbe, {{"fault_no_reply", "B2.00"}}, {"-u", "--sec", "0-3", "--fn", "FILE"}, "up.bin", kReadFailed, 4,
     {}},
    {"ReadRefused", &kHidProbe, {{"fault_status", "B2.00,0x22"}}, {"-u", "--sec", "0-3", "--fn", "FILE"}, "up.hex", kReadFailed, 4,
     {}},
    {"ReadWrongEcho", &kHidProbe, {{"fault_wrong_echo", "B2.00"}}, {"-u", "--sec", "0-3", "--fn", "FILE"}, "up.hex", kReadFailed,
     4, {}},
    {"UnpluggedMidRead", &kHidProbe, {{"fault_unplug", "B2.00"}}, {"-u", "--sec", "0-3", "--fn", "FILE"}, "up.bin", kReadFailed, 4,
     {}},
    {"BleReadRefused", &kBleTarget, {{"fault_status", "BE.04,0x22"}},
     {"-uble", "--sec", "0-3", "--fn", "FILE"}, "up.bin", kReadFailed, 5, {}},
    {"BleUnpluggedMidRead", &kBleTarget, {{"fault_unplug", "BE.04"}},
     {"-uble", "--sec", "0-3", "--fn", "FILE"}, "up.bin", kReadFailed, 5, {}},
};
INSTANTIATE_TEST_SUITE_P(Rows, Upload, testing::ValuesIn(kUploads),
                         [](const testing::TestParamInfo<UploadCase>& info) { return info.param.name; });

TEST(UploadRoundTrip, upload_erase_download_upload_gives_the_same_file)
{
    VirtualBench bench;
    Program(bench);
    TempDir dir;
    const std::string first = dir.path("first.hex"), second = dir.path("second.hex");
    const ConsoleRun run = bench.console({"-connect", "-u", "--sec", "30-33", "--fn", first, "-e", "--all", "-d",
                                          "--fn", first, "--v", "-u", "--sec", "30-33", "--fn", second});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_TRUE(ReadFile(second) == ReadFile(first));
    // Four sectors across a 64 KiB boundary: two address records, 512 data records, the end.
    EXPECT_EQ(ReadFile(first).size(), 2 * 16 + 512 * 44 + 11u);
}

}  // namespace
}  // namespace slice_test
