// -enspim, -bmapm, the debug words, -wsn and -otp against the virtual probe: exact lines, exit
// codes, and what korvex-sim dump shows of the target (and WriteSN.ini) afterwards. An injected
// fault spoils the reply of a command the target carried out.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

namespace slice_test {
namespace {

const ksim::Settings kApOff = {{"series", "9"}, {"pid", "09001081"}, {"ap_mode", "0"}};
const ksim::Settings kOtp = {{"series", "25"}, {"pid", "19002103"}};

// A dump row: 16 bytes from address, the given ones first, then fill.
std::string Row(uint32_t address, std::vector<uint8_t> bytes, uint8_t fill = 0xFF)
{
    bytes.resize(16, fill);
    char text[16];
    std::snprintf(text, sizeof text, "  %08X:", address);
    std::string row = text;
    for (uint8_t byte : bytes) {
        std::snprintf(text, sizeof text, " %02X", byte);
        row += text;
    }
    return row;
}

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Spim(bool enabled, uint32_t size, unsigned config, uint32_t flashDa)
{
    char text[96];
    std::snprintf(text, sizeof text, "spim_enabled=%d spim_size=%u spim_config=0x%02X spim_limit=0x%08X", enabled, size, config, flashDa);
    return text;
}

std::string Dump(VirtualBench& bench)
{
    return bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) {
        std::ostringstream text;
        p.dump(text);
        return text.str();
    });
}

// A file of the records in `file` made by examples/make_otp_project.py ("+n"/"-n" pads or cuts the result).
void MakeOtpProject(const std::string& path, const std::string& file)
{
    std::vector<std::string> argv = {"/usr/bin/env", "python3", std::string(KORVEX_SOURCE_DIR) + "/examples/make_otp_project.py", path};
    std::istringstream records(file);
    std::string record;
    long long resize = 0;
    while (records >> record) {
        if (record[0] == '+' || record[0] == '-')
            resize = std::stoll(record);
        else
            argv.push_back(record);
    }
    const korvex_test::ProcessResult made = korvex_test::runProcess(argv);
    EXPECT_EQ(made.exitCode, 0) << made.err;
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(static_cast<long long>(std::filesystem::file_size(path)) + resize));
}

// After -connect on a programmed chip, WriteSN.ini among the row's files; UPLOAD names the file -u writes.
// out: after the connection lines ("!" first: the whole output, refused before anything ran). dump: text
// the dump holds afterwards ("!" first: does not hold; "FILE:" first: the file holds; "UPLOAD:" first: the
// uploaded file starts with; "NO UPLOAD": there is none). A *.zrtp file is made from the records in file.
Scenario Cmd(const char* name, const ksim::Settings& target, std::vector<std::string> line, const std::string& out, int exitCode,
             const std::vector<std::string>& dump, const std::string& fileName = "", const std::string& file = "")
{
    line.insert(line.begin(), "-connect");
    std::replace(line.begin(), line.end(), std::string("UPLOAD"), std::string("TEMP/upload.bin"));
    Scenario s{name, kHidProbe + target, line, out[0] == '!' ? out.substr(1) : ConnectLines(target) + out, exitCode};
    const bool otp = fileName.size() > 5 && fileName.substr(fileName.size() - 5) == ".zrtp";
    s.fileName = fileName;
    if (!otp && !fileName.empty())
        s.content = file;
    s.before = [otp, file](RowRun& row) {
        row.bench.testbed().withProbe(0, [](ksim::VirtualProbe& p) { // unerased sectors keep their bits
            ksim::TargetMcu& t = p.target();
            t.mainFlash().fill(0, t.mainFlash().size(), 0x00);
            t.bootMemory().fill(0, t.bootMemory().size(), 0x00);
            t.spim().fill(0, 0x10000, 0x00);
            return t.loadImage(0x08000000, {0x00, 0x10});
        });
        row.bench.environment["KORVEX_WRITESN_INI"] = row.files.path("WriteSN.ini");
        if (otp)
            MakeOtpProject(row.file, file);
    };
    s.checks = {[dump](RowRun& row) {
        const std::string text = Dump(row.bench);
        const std::string uploaded = row.files.path("upload.bin");
        for (const std::string& expected : dump) {
            if (expected[0] == '!')
                EXPECT_EQ(text.find(expected.substr(1)), std::string::npos) << expected;
            else if (expected.rfind("FILE:", 0) == 0)
                EXPECT_NE(ReadFile(row.file).find(expected.substr(5)), std::string::npos) << expected;
            else if (expected.rfind("UPLOAD:", 0) == 0)
                EXPECT_EQ(ReadFile(uploaded).substr(0, expected.size() - 7), expected.substr(7)) << expected;
            else if (expected == "NO UPLOAD")
                EXPECT_FALSE(std::filesystem::exists(uploaded));
            else
                EXPECT_NE(text.find(expected), std::string::npos) << expected;
        }
    }};
    return s;
}

// Option bytes of the default target (24 as byte/complement pairs): protection on, 1-15 cleared, the rest 0x12;
// past 24, 0xFF. A mismatched file has one complement byte flipped.
std::string UsdFile(size_t length = 24, bool mismatched = false)
{
    std::string bytes;
    for (size_t i = 0; i < length; ++i) {
        const auto value = static_cast<char>(i == 0 ? 0x55 : i < 16 ? 0x00 : i < 24 ? 0x12 : 0xFF);
        bytes += {value, static_cast<char>(~value ^ (mismatched && i == 20))};
    }
    return bytes;
}

// The default target's file as HEX: whole, or with its last 16 bytes in a second part after a gap.
std::string UsdHex(bool split)
{
    const std::string file = UsdFile();
    const std::vector<uint8_t> bytes(file.begin(), file.end());
    if (!split)
        return IntelHex({{0, bytes}});
    return IntelHex({{0, std::vector<uint8_t>(bytes.begin(), bytes.end() - 16)}, {0x100, std::vector<uint8_t>(bytes.end() - 16, bytes.end())}});
}

std::string Ini(const std::string& address, const std::string& serial, const std::string& step = "1")
{
    return "[SNOperation]\nWriteAddr=" + address + "\nCurrentSN=" + serial + "\nIncreaseStep=" + step + "\n";
}

// Records of no effect up to the last lock position, then one that locks one past it.
std::string LockPastTheLockArea()
{
    std::string records;
    for (int i = 0; i < 128; ++i)
        records += "0 ";
    return records + "0::lock";
}

const std::string kSpimBegin = "Begin Enable SPIM........\n";
const std::string kSpimOn = kSpimBegin + "Enable SPIM succeed!\n";
const std::string kSpimRefused = kSpimBegin + "Error. Enable SPIM failed!\n";
const std::string kNotSent = "!B6.02";
const std::string kSpimTooLarge = "Error. Upload sectors can't greater than SPIM size!\n";
const std::string kSpimOff = Spim(false, 0, 0, 0);
const std::string kApBegin = "Set boot memory AP mode.......\n";
const std::string kApFailed = kApBegin + "Error. Set boot memory AP mode failed!\n";
const std::string kNoAp = kApBegin + "Error. The MCU does not support boot memory AP mode. \n";
const std::string kUsdWritten = "  0020: 12 ED 12 ED 12 ED 12 ED 12 ED 12 ED 12 ED 12 ED";
const std::string kUsdForced = "  0000: A5 5A FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 FF 00";
const std::vector<std::string> kFdaLine = {"-enspim", "--fda", "1000", "-bmapm", "-usd", "--set", "--fn", "FILE"};
const std::string kApOn = kApBegin + "Set boot memory AP mode finished!\n";
const std::string kKeyError = kApBegin + "Error. Boot memory AP mode key error, must be 0x5C3E91B7!\n";
const std::string kFdaSizeError = kSpimBegin + kUsdOpened + kUsdSizeError;
const std::string kFdaLoaded = kSpimBegin + kUsdOpened + kUsdWrite + "Enable SPIM succeed!\n" + kNoAp;
const std::string kWriteBegin = "\r\nDebug write data begin......\n";
const std::string kReadBegin = "\r\nDebug read data begin......\n";
const std::string kWriteFailed = kWriteBegin + "Debug write failed!\n";
const std::string kReadFailed = kReadBegin + "Debug read failed!\n";
const std::string kSramBlank = "!  20000000:";
const std::string kSnBegin = "Write software serial number.......\n";
const std::string kSnWritten = kSnBegin + "SN write succeed!\n";
const std::string kSnConfig = kSnBegin + "Configuration parameter error.\n";
const std::string kSnFailed = kSnBegin + "Serial number write failed!\n";
const std::string kIni = Ini("0800F000", "12345678");
const std::string kSnBlank = Row(0x0800F000, {}, 0x00);
const std::string kRunning = "Set OTP data to device\nrunning...\n";
const std::string kOtpDone = kRunning + "set OTP data to device succeed!\n";
const std::string kOtpRefused = kRunning + "Get OTP data from the configuration file failed!\n";
const std::string kUnlocked = "memory otp_lock base=0x1FFFF500 size=0x00000080\nusd";
const std::string kOtpBlank = "memory otp_data base=0x1FFFF000 size=0x00000400\n" + kUnlocked;
const std::vector<std::string> kOtpLine = {"-otp", "--fn", "FILE"};
const std::string kSnKept = "FILE:CurrentSN=12345678";

std::string OtpDataFailed(const char* low) { return "Write OTP data failed!Write address: 0x1ffff" + std::string(low) + "\n"; }

// A -wsn row with WriteSN.ini holding ini; an -otp row on the ZR32_S25 (plus fault) with the project of records.
Scenario Sn(const char* name, const ksim::Settings& target, const std::vector<std::string>& line, const std::string& out, int exitCode,
            const std::vector<std::string>& dump, const std::string& ini = kIni)
{
    return Cmd(name, target, line, out, exitCode, dump, "WriteSN.ini", ini);
}
Scenario Otp(const char* name, const ksim::Settings& fault, const std::vector<std::string>& line, const std::string& out, int exitCode,
             const std::vector<std::string>& dump, const std::string& records)
{
    return Cmd(name, kOtp + fault, line, out, exitCode, dump, "p.zrtp", records);
}

const Scenario kCases[] = {
    // -enspim: the setup request for every sub-option form, or nothing sent.
    Cmd("SpimBareEnablesType1", {}, {"-enspim"}, kSpimOn + kDone, 0, {Spim(true, 0, 0x04, 0)}),
    Cmd("SpimSizeTypeRemap", {}, {"-enspim", "--fs", "16", "--ft", "2", "--remap", "1"}, kSpimOn + kDone, 0, {Spim(true, 16 << 20, 0x09, 0)}),
    Cmd("SpimUpperCase", {}, {"-enspim", "--FS", "8"}, kSpimOn + kDone, 0, {Spim(true, 8 << 20, 0x04, 0)}),
    Cmd("SpimRepeated", {}, {"-enspim", "--fs", "1", "--ft", "2", "--fs", "2", "--ft", "1"}, kSpimOn + kDone, 0, {Spim(true, 2 << 20, 0x04, 0)}),
    Cmd("SpimFlashDaWithoutUsdGroup", {}, {"-enspim", "--fda", "0x1A"}, kSpimOn + kDone, 0, {Spim(true, 0, 0x04, 0x1A)}),
    Cmd("SpimLargestFlashDa", {}, {"-enspim", "--fda", "1000000"}, kSpimOn + kDone, 0, {Spim(true, 0, 0x04, 0x1000000)}),
    Cmd("SpimKeyIsNotItsOwn", {}, {"-enspim", "--key", "1"}, "!bad parameter \"--key\"\n", 1, {kNotSent}),
    Cmd("SpimStray", {}, {"-enspim", "8"}, "!bad parameter \"8\"\n", 1, {kNotSent}),
    Cmd("SpimMissingValue", {}, {"-enspim", "--fs"}, "!bad parameter \"\"\n", 1, {kNotSent}),
    Cmd("SpimSizeWouldWrap", {}, {"-enspim", "--fs", "4096"}, "!bad parameter \"4096\"\n", 1, {kNotSent}),
    Cmd("SpimType0", {}, {"-enspim", "--ft", "0"}, kSpimRefused, 8, {kNotSent, kSpimOff}),
    Cmd("SpimType3", {}, {"-enspim", "--ft", "3"}, kSpimRefused, 8, {kNotSent, kSpimOff}),
    Cmd("SpimType257", {}, {"-enspim", "--ft", "257"}, kSpimRefused, 8, {kNotSent, kSpimOff}),
    Cmd("SpimFlashDaTooLarge", {}, {"-enspim", "--fda", "2000000"}, kSpimRefused, 8, {kNotSent, kSpimOff}),
    Cmd("SpimSizeGoesToTheProbe", {}, {"-enspim", "--fs", "17", "-r"}, kSpimRefused, 8, {"B6.02 enable SPIM", kSpimOff}),
    Cmd("SpimSeriesWithout", kApOff, {"-enspim", "--fs", "1"}, kSpimBegin + "Error. The MCU does not support SPIM.\n", 8, {kNotSent}),
    Cmd("SpimUnanswered", {{"fault_no_reply", "B6.02"}}, {"-enspim"}, kSpimRefused, 8, {}),
    Cmd("SpimErrorStatus", {{"fault_status", "B6.02,0x22"}}, {"-enspim"}, kSpimRefused, 8, {}),
    Cmd("SpimWrongEcho", {{"fault_wrong_echo", "B6.02"}}, {"-enspim"}, kSpimRefused, 8, {}),
    // The probe leaves the bus after its reply: the next command fails, without a hang.
    Cmd("SpimUnplugged", {{"fault_unplug", "B6.02"}}, {"-enspim", "-r"}, kSpimOn + kResetLost, 12, {}),
    Cmd("SpimUsedInTheRun", {}, {"-enspim", "--fs", "1", "-e", "--all", "-d", "--fn", "FILE", "--v"},
     kSpimOn + "Erase all start ......\nflash full erase succeed!\nSPIM full erase succeed!\nErase all finished!\n" + kOpened + kWritten +
         kVerified + kDone, 0, {Row(0x08401000, Pattern(16, 7)), "!  08400000:"}, "spim.hex", IntelHex({{0x08401000, Pattern(16, 7)}})),
    Cmd("SpimUploadInTheRun", {}, {"-enspim", "--fs", "1", "-d", "--fn", "FILE", "-u", "--sec", "32769-32769", "--fn", "UPLOAD"},
     kSpimOn + kOpened + kErased + kWritten + kUploadDone + kDone, 0, {"UPLOAD:" + AsText(Pattern(16, 7)) + std::string(4, '\xFF')}, "spim.hex",
     IntelHex({{0x08401000, Pattern(16, 7)}})),
    Cmd("SpimEraseAllSpimOnly", {}, {"-enspim", "--fs", "1", "-e", "--all", "--spim"},
     kSpimOn + "SPIM full erase ......\nSPIM full erase finished!\n" + kDone, 0, {"!  08400000:", Row(0x08000000, {0x00, 0x10}, 0x00)}),
    Cmd("SpimSectorPastTheBand", {}, {"-enspim", "--fs", "1", "-e", "--sec", "33023-33024"},
     kSpimOn + "Error. Sectors can't exceed the SPIM range!\n", 0x33, {"!B4.01"}),
    Cmd("SpimSectorsUpToTheBandEnd", {}, {"-enspim", "--fs", "1", "-e", "--sec", "32769-32770", "--sec", "33023"},
     kSpimOn + Sectors("32769-32770") + Sectors("33023") + kDone, 0,
     {Row(0x08400FF0, {}, 0x00), "!  08401000:", "!  08402FF0:", Row(0x08403000, {}, 0x00)}),
    // Each part into its own memory, erasing only the sectors it touches.
    Cmd("SpimAndFlashImage", {}, {"-enspim", "--fs", "1", "-d", "--fn", "FILE", "--v"},
     kSpimOn + kOpened + kErased + kWritten + kVerified + kDone, 0,
     {Row(0x08000000, Pattern(16, 1)), Row(0x08000800, {}, 0x00), Row(0x08400FF0, {}, 0x00), "!  08401000:",
      Row(0x08401800, Pattern(16, 2)), Row(0x08402000, {}, 0x00)},
     "both.hex", IntelHex({{0x08000000, Pattern(16, 1)}, {0x08401800, Pattern(16, 2)}})),
    Cmd("SpimImagePastTheEnabledSize", {}, {"-enspim", "--fs", "1", "-d", "--fn", "FILE"},
     kSpimOn + kOpened + "Error. The download address or file size error, can't greater than flash size!!\n\n", 3,
     {"!B4.01", "!  084FFFF0:"}, "end.hex", IntelHex({{0x084FFFF0, Pattern(16, 3)}, {0x08500000, {4}}})),
    // Ranges bounded before anything is read, 16 MB wrapping nothing, one sector past the window.
    Cmd("SpimUploadOneSectorPast", {}, {"-enspim", "--fs", "1", "-u", "--sec", "32768-33024", "--fn", "UPLOAD"},
     kSpimOn + kSpimTooLarge, 4, {"NO UPLOAD"}),
    Cmd("SpimUploadHugeRange", {}, {"-enspim", "--fs", "1", "-u", "--sec", "32768-2147483647", "--fn", "UPLOAD"},
     kSpimOn + kSpimTooLarge, 4, {"NO UPLOAD"}),
    Cmd("SpimUploadWouldWrap", {}, {"-enspim", "--fs", "16", "-u", "--sec", "32768-1047551", "--fn", "UPLOAD"},
     kSpimOn + kSpimTooLarge, 4, {"NO UPLOAD"}),
    Cmd("SpimUploadPastTheWindow", {}, {"-enspim", "--fs", "16", "-u", "--sec", "36864", "--fn", "UPLOAD"},
     kSpimOn + kSpimTooLarge, 4, {"NO UPLOAD"}),
    // -enspim --fda: the -usd --set file of the line first, protection off and bytes 1-15 forced;
    // -bmapm fails on this target, so the -usd after it never runs.
    Cmd("FdaLoadsTheUsdFile", {}, kFdaLine, kFdaLoaded, 9, {kUsdForced, kUsdWritten, Spim(true, 0, 0x04, 0x1000)}, "o.bin", UsdFile()),
    Cmd("FdaFileTooShort", {}, kFdaLine, kFdaSizeError, 8, {kNotSent, "!" + kUsdWritten}, "o.bin", UsdFile(20)),
    Cmd("FdaWriteRefused", {{"fault_status", "B3.02,0x22"}}, kFdaLine,
     kSpimBegin + kUsdOpened + "Begin write user system data........\nError. User system data write failed!\n", 8, {kNotSent}, "o.bin", UsdFile()),
    Cmd("FdaRefusedSetupWritesNoOptionBytes", {}, {"-enspim", "--ft", "3", "--fda", "1000", "-bmapm", "-usd", "--set", "--fn", "FILE"},
     kSpimRefused, 8, {kNotSent, "!" + kUsdWritten}, "o.bin", UsdFile()),
    Cmd("FdaHexAnyCase", {}, {"-enspim", "--fda", "1000", "-bmapm", "-usd", "--SET", "--FN", "FILE"}, kFdaLoaded, 9,
     {kUsdForced, kUsdWritten}, "o.hex", UsdHex(false)),
    // Only the first part counts: 32 of the 48 bytes there would otherwise pass as a 16-byte block.
    Cmd("FdaFirstPartShort", {}, kFdaLine, kFdaSizeError, 8, {kNotSent, "!" + kUsdWritten}, "o.hex", UsdHex(true)),
    Cmd("FdaPairNotAComplement", {}, kFdaLine, kFdaSizeError, 8, {kNotSent, "!" + kUsdWritten}, "o.bin", UsdFile(24, true)),
    // Four 64 KiB parts: nothing past the first is read.
    Cmd("FdaLargerThanTwoParts", {}, kFdaLine, kFdaLoaded, 9, {kUsdForced, kUsdWritten}, "o.bin", UsdFile(100 * 1024)),
    Cmd("FdaZeroLoadsNothing", {}, {"-enspim", "--fda", "0", "-bmapm", "-usd", "--set", "--fn", "FILE"}, kSpimOn + kNoAp, 9,
     {"!" + kUsdWritten}, "o.bin", UsdFile()),
    // -bmapm: the key forms, and the key sent only when it is the one.
    Cmd("ApPrefixedKey", kApOff, {"-bmapm", "--key", "0x5C3E91B7"}, kApOn + kDone, 0, {"ap_mode=1"}),
    Cmd("ApLowerCaseKey", kApOff, {"-bmapm", "--KEY", "5c3e91b7"}, kApOn + kDone, 0, {"ap_mode=1"}),
    Cmd("ApNoKey", kApOff, {"-bmapm"}, kKeyError, 9, {"ap_mode=0", "!B5.0A"}),
    Cmd("ApWrongKey", kApOff, {"-bmapm", "--key", "5C3E91B6"}, kKeyError, 9, {"ap_mode=0", "!B5.0A"}),
    Cmd("ApLastKeyCounts", kApOff, {"-bmapm", "--key", "5C3E91B7", "--key", "0"}, kKeyError, 9, {"ap_mode=0", "!B5.0A"}),
    Cmd("ApKeyWithJunk", kApOff, {"-bmapm", "--key", "5C3E91B7x"}, "!bad parameter \"5C3E91B7x\"\n", 1, {"ap_mode=0"}),
    Cmd("ApSeriesWithout", {}, {"-bmapm", "--key", "5C3E91B7"}, kNoAp, 9, {"!B5.0A"}),
    Cmd("ApRefused", kApOff + ksim::Settings{{"fault_status", "B5.0A,0x22"}}, {"-bmapm", "--key", "5C3E91B7"}, kApFailed, 9, {"B5.0A"}),
    Cmd("ApUnanswered", kApOff + ksim::Settings{{"fault_no_reply", "B5.0A"}}, {"-bmapm", "--key", "5C3E91B7"}, kApFailed, 9, {}),
    Cmd("ApWrongEcho", kApOff + ksim::Settings{{"fault_wrong_echo", "B5.0A"}}, {"-bmapm", "--key", "5C3E91B7"}, kApFailed, 9, {}),
    Cmd("ApUnplugged", kApOff + ksim::Settings{{"fault_unplug", "B5.0A"}}, {"-bmapm", "--key", "5C3E91B7", "-r"}, kApOn + kResetLost, 12, {}),
    Cmd("ApThenBootDownload", kApOff, {"-bmapm", "--key", "5C3E91B7", "-d", "--fn", "FILE"},
     kApOn + kOpened + kErased + kWritten + kDone, 0, {Row(0x1FFFE400, Pattern(16, 3)), "!  1FFFE410:"}, "boot.hex",
     IntelHex({{0x1FFFE400, Pattern(16, 3)}})),
    // Debug words: most significant byte at the lowest address.
    Cmd("Word32ThenRead", {}, {"-w4", "20000000", "00112233", "-mem32", "20000000"},
     kWriteBegin + "Debug write finished! addr:20000000 value:00112233\n" + kReadBegin + "Debug read finished! value:00112233\n" + kDone,
     0, {Row(0x20000000, {0x00, 0x11, 0x22, 0x33}, 0x00)}),
    Cmd("Word16LowBits", {}, {"-w2", "20000004", "12345", "-mem16", "0x20000004"},
     kWriteBegin + "Debug write finished! addr:20000004 value:00012345\n" + kReadBegin + "Debug read finished! value:2345\n" + kDone,
     0, {Row(0x20000000, {0, 0, 0, 0, 0x23, 0x45}, 0x00)}),
    Cmd("Read16OnFlash", {}, {"-mem16", "08000000"}, kReadBegin + "Debug read finished! value:0010\n" + kDone, 0, {}),
    Cmd("WriteThenReset", {}, {"-w4", "0x20000000", "1", "-r"},
     kWriteBegin + "Debug write finished! addr:20000000 value:00000001\n" + kResetRun + kDone, 0,
     {Row(0x20000000, {0, 0, 0, 1}, 0x00)}),
    Cmd("StrayAfterTheValue", {}, {"-w4", "20000000", "1", "2"}, "!Error. bad parameter 2\n", 1, {kSramBlank}),
    Cmd("FlashTakesNoBusWrite", {}, {"-w4", "08000000", "1"}, kWriteFailed, 10, {}),
    Cmd("NothingMappedThere", {}, {"-mem32", "30000000"}, kReadFailed, 11, {}),
    Cmd("ReadWithoutAddress", {}, {"-mem32"}, "!bad parameter \"\"\n", 1, {}),
    Cmd("WriteWithOptionForValue", {}, {"-w2", "20000000", "-r"}, "!bad parameter \"-r\"\n", 1, {kSramBlank}),
    Cmd("ValuePast32Bits", {}, {"-w4", "20000000", "123456789"}, "!bad parameter \"123456789\"\n", 1, {kSramBlank}),
    Cmd("WriteRefused", {{"fault_status", "CF.01,0x22"}}, {"-w4", "20000000", "1"}, kWriteFailed, 10, {}),
    Cmd("WriteUnpluggedThenRead", {{"fault_unplug", "CF.01"}}, {"-w2", "20000000", "1", "-mem16", "20000000"},
     kWriteBegin + "Debug write finished! addr:20000000 value:00000001\n" + kReadFailed, 11, {}),
    Cmd("ReadWrongEcho", {{"fault_wrong_echo", "CF.00"}}, {"-mem32", "20000000"}, kReadFailed, 11, {}),
    Cmd("ReadUnanswered", {{"fault_no_reply", "CF.00"}}, {"-mem32", "20000000"}, kReadFailed, 11, {}),
    // -wsn: byte order, increment, the file advanced only after a good write.
    Sn("SnLastPairFirst", {}, {"-wsn"}, kSnWritten + kDone, 0, {Row(0x0800F000, {0xFF, 0, 0, 0}), "FILE:CurrentSN=00000100"},
       Ini("0800F000", "000000FF")),
    Sn("SnWrapsAround", {}, {"-wsn"}, kSnWritten + kDone, 0, {Row(0x0800F000, {0xFF, 0xFF, 0xFF, 0xFF, 0xFE}), "FILE:CurrentSN=00000001"},
       Ini("0x0800F004", "FFFFFFFE", "3")),
    Sn("SnTwiceInOneRun", {}, {"-wsn", "-wsn"}, kSnWritten + kSnWritten + kDone, 0,
       {Row(0x0800F000, {0x5D, 0x3C, 0x2B, 0x1A}), "FILE:CurrentSN=1a2b3c6d"}, Ini("0800F000", "1A2B3C4D", "10")),
    Sn("SnNoEraseOnProgrammed", {}, {"-wsn", "--NE"}, kSnFailed, 13, {kSnBlank, kSnKept}),
    Sn("SnNoEraseAfterErase", {}, {"-e", "--sec", "30", "-wsn", "--ne"}, Sectors("30") + kSnWritten + kDone, 0,
       {Row(0x0800F000, {0x78, 0x56, 0x34, 0x12}), "FILE:CurrentSN=12345679"}),
    Sn("SnSpimNotEnabled", {}, {"-wsn"}, kSnBegin + "Error. SPIM does not enabled. \n", 13, {kSnKept}, Ini("08400000", "12345678")),
    Sn("SnSpimEnabled", {}, {"-enspim", "--fs", "1", "-wsn"}, kSpimOn + kSnWritten + kDone, 0,
       {Row(0x08400010, {0x78, 0x56, 0x34, 0x12}), "FILE:CurrentSN=12345679"}, Ini("08400010", "12345678")),
    Sn("SnPastTheEnabledSpim", {}, {"-enspim", "--fs", "1", "-wsn"}, kSpimOn + kSnConfig, 13, {kSnKept}, Ini("08500000", "12345678")),
    Sn("SnAcrossTheFlashEnd", {}, {"-wsn"}, kSnConfig, 13, {Row(0x0803FFF0, {}, 0x00)}, Ini("0803FFFE", "12345678")),
    Sn("SnBootNotInApMode", kApOff, {"-wsn"}, kSnConfig, 13, {Row(0x1FFFE400, {}, 0x00)}, Ini("1FFFE400", "12345678")),
    Sn("SnSevenDigits", {}, {"-wsn"}, kSnConfig, 13, {kSnBlank}, Ini("0800F000", "1234567")),
    Sn("SnPrefixed", {}, {"-wsn"}, kSnConfig, 13, {kSnBlank}, Ini("0800F000", "0x12345678")),
    Sn("SnAddressNotHex", {}, {"-wsn"}, kSnConfig, 13, {kSnBlank}, Ini("0800F00G", "12345678")),
    Sn("SnNoStep", {}, {"-wsn"}, kSnConfig, 13, {kSnBlank}, "[SNOperation]\nWriteAddr=0800F000\nCurrentSN=12345678\n"),
    Cmd("SnNoFile", {}, {"-wsn"}, kSnBegin + "No configuration file with burning serial number.\n", 13, {kSnBlank}),
    Cmd("SnForeignSubOption", {}, {"-wsn", "--v"}, "!bad parameter \"--v\"\n", 1, {}),
    Sn("SnEraseRefused", {{"fault_status", "B4.00,0x22"}}, {"-wsn"}, kSnBegin + "Sector erase failed.\n", 13, {kSnKept}),
    Sn("SnWriteUnanswered", {{"fault_no_reply", "B3.00"}}, {"-wsn"}, kSnFailed, 13, {kSnKept}),
    Sn("SnReadBackWrongEcho", {{"fault_wrong_echo", "B2.00"}}, {"-wsn"}, kSnFailed, 13, {kSnKept}),
    Sn("SnUnpluggedAfterWrite", {{"fault_unplug", "B3.00"}}, {"-wsn"}, kSnFailed, 13, {kSnKept}),
    // -otp: data blocks before locks, lock byte at the record's place, whole files or nothing.
    Otp("OtpDataThenLocks", {}, kOtpLine, kOtpDone + kDone, 0,
        {Row(0x1FFFF000, {0x00, 0x11, 0x22, 0x33}), Row(0x1FFFF020, {0xDE, 0xAD, 0xBE, 0xEF}), Row(0x1FFFF500, {0x00, 0xFF, 0x00})},
        "0:00112233:lock 20:DEADBEEF 60::lock"),
    Otp("OtpLastBlock", {}, {"-otp", "--FN", "FILE"}, kOtpDone + kDone, 0, {Row(0x1FFFF3E0, {0x01, 0x02}), kUnlocked}, "3E0:0102"),
    Otp("OtpNothingToDo", {}, kOtpLine, kRunning + "No data needs to be written!\nset OTP data to device succeed!\n" + kDone, 0, {kOtpBlank},
        "0 20 40"),
    Otp("OtpSecondRunOnLockedBlock", {}, {"-otp", "--fn", "FILE", "-otp"}, kOtpDone + OtpDataFailed("000"), 64,
        {Row(0x1FFFF000, {0xAA}), Row(0x1FFFF500, {0x00})}, "0:AA:lock"),
    Otp("OtpCutFile", {}, kOtpLine, kOtpRefused, 64, {kOtpBlank}, "0:01 20:02 -1"),
    Otp("OtpFortyByteStride", {}, kOtpLine, kOtpRefused, 64, {kOtpBlank}, "0:01 20:02 +4"),
    Otp("OtpDataPastTheArea", {}, kOtpLine, kOtpRefused, 64, {kOtpBlank}, "0:01 3E1:02"),
    Otp("OtpOneBlockTwice", {}, kOtpLine, kOtpRefused, 64, {kOtpBlank}, "0:01 10:02"),
    Otp("OtpLockPastTheLockArea", {}, kOtpLine, kOtpRefused, 64, {kOtpBlank}, LockPastTheLockArea()),
    Cmd("OtpNameWithoutFolder", kOtp, {"-otp", "--fn", "p.zrtp"}, "!bad parameter \"p.zrtp\"\n", 1, {}),
    Cmd("OtpSeriesWithout", {}, kOtpLine, kRunning + "Error. The MCU has no OTP area.\n", 64, {}, "p.zrtp", "0:01"),
    Otp("OtpBeginRefused", {{"fault_status", "B3.06,0x22"}}, kOtpLine, kRunning + "Error. OTP write begin failed!\n", 64, {kOtpBlank}, "0:01:lock"),
    Otp("OtpDataUnanswered", {{"fault_no_reply", "B3.07"}}, kOtpLine, kRunning + OtpDataFailed("000"), 64, {kUnlocked}, "0:01:lock"),
    Otp("OtpLockWrongEcho", {{"fault_wrong_echo", "B3.08"}}, kOtpLine, kRunning + "Write OTP lock failed!\n", 64, {Row(0x1FFFF000, {0x01})},
        "0:01:lock"),
    Otp("OtpUnpluggedAtFirstBlock", {{"fault_unplug", "B3.07"}}, kOtpLine, kRunning + OtpDataFailed("020"), 64,
        {Row(0x1FFFF000, {0x01}), kUnlocked}, "0:01:lock 20:02"),
    Otp("OtpSecondBlockRefused", {{"fault_status", "B3.07@2,0x22"}}, kOtpLine, kRunning + OtpDataFailed("020"), 64, {kUnlocked},
        "0:01:lock 20:02:lock"),
    Otp("OtpEndRefused", {{"fault_status", "B3.06@2,0x22"}}, kOtpLine, kRunning + "Error. OTP write end failed!\n", 64, {kUnlocked}, "0:01"),
    // -u writes only the file of its own --fn, never the image -d just downloaded.
    Cmd("UploadWithoutItsOwnFile", {}, {"-d", "--fn", "FILE", "--v", "-u", "--sec", "0-1"},
     kOpened + kErased + kWritten + kVerified + "Error. Save file failed!\n", 4,
     {"FILE:" + IntelHex({{0x08000000, Pattern(4096, 3)}})}, "app.hex", IntelHex({{0x08000000, Pattern(4096, 3)}})),
};
INSTANTIATE_TEST_SUITE_P(TargetCommand, ScenarioRun, testing::ValuesIn(kCases), ScenarioName);

TEST(SerialNumberFile, a_file_that_cannot_be_written_fails_the_run_after_the_device_write)
{
    VirtualBench bench;
    TempDir files;
    const std::string ini = files.write("WriteSN.ini", kIni);
    ASSERT_EQ(chmod(ini.c_str(), 0444), 0);
    bench.environment["KORVEX_WRITESN_INI"] = ini;
    const ConsoleRun run = bench.console({"-connect", "-wsn"}, 60000, AsOrdinaryUser()); // root writes whatever the mode says
    EXPECT_EQ(run.out, kConnectDefault + kSnWritten + "Error. Serial number file update failed!\n");
    EXPECT_EQ(run.exitCode, 13);
    EXPECT_EQ(ReadFile(ini), kIni);
    EXPECT_NE(Dump(bench).find(Row(0x0800F000, {0x78, 0x56, 0x34, 0x12})), std::string::npos);
}

TEST(SerialNumberFile, two_stations_sharing_one_program_folder_never_write_one_number_twice)
{
    TempDir folder;
    const std::string program = folder.path("Korvex_Console");
    std::filesystem::copy_file(korvex_test::builtProgram("Korvex_Console"), program);
    const std::string ini = folder.write("WriteSN.ini", Ini("0800F000", "00000010"));
    korvex_test::ProcessOptions options;
    options.unsetEnv = {"KORVEX_WRITESN_INI"};
    korvex_test::ProcessResult runs[2];
    std::thread stations[2];
    for (int i = 0; i < 2; ++i) {
        // A slow write keeps each station between reading and advancing the file for a while.
        stations[i] = std::thread([&, i] {
            runs[i] = korvex_test::runProcess({korvex_test::builtProgram("korvex-sim"), "--set", "transport=hid", "--set",
                                               "fault_delay=B3.00,400", "--state", folder.path("station" + std::to_string(i)),
                                               "--", program, "-connect", "-wsn"},
                                              options);
        });
    }
    std::string serials;
    for (int i = 0; i < 2; ++i) {
        stations[i].join();
        EXPECT_EQ(runs[i].exitCode, 0) << runs[i].out << runs[i].err;
        const korvex_test::ProcessResult dump = korvex_test::runProcess(
            {korvex_test::builtProgram("korvex-sim"), "dump", "--state", folder.path("station" + std::to_string(i))});
        std::smatch match;
        serials += std::regex_search(dump.out, match, std::regex("0800F000: (\\w\\w) 00 00 00")) ? match[1].str() : "??";
    }
    EXPECT_TRUE(serials == "1011" || serials == "1110") << serials;
    EXPECT_NE(ReadFile(ini).find("CurrentSN=00000012"), std::string::npos);
}

} // namespace
} // namespace slice_test
