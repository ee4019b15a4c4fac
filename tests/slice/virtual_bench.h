// A bench session for end-to-end runs: emulated probes on a umockdev bus, the real Korvex_Console
// run against them as a child process, and the probe's memories read back afterwards.
#pragma once

#include "run_process.h"
#include "target/ble_module.h"
#include "target/target_mcu.h"
#include "usb/testbed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace slice_test {

// Settings of the emulated parts used across the tests (keys of ksim::VirtualProbe::configure).
// (inline, so that the tables of other files can copy them during static initialisation).
// The default target (ZR32_S04: SPIM, no AP mode) over HID.
inline const ksim::Settings kHidProbe = {{"transport", "hid"}};
// ZR32_S09 with its boot memory in AP mode.
inline const ksim::Settings kApModeTarget = {{"transport", "hid"}, {"series", "9"}, {"pid", "09001081"}, {"ap_mode", "1"}};
// ZR32_S17 with a BLE module, probe hardware 11.
inline const ksim::Settings kBleTarget = {{"transport", "hid"}, {"series", "17"}, {"pid", "110022C5"},
                                          {"hw_version", "11"}, {"ble", "1"}};

ksim::Settings operator+(ksim::Settings a, const ksim::Settings& b);

// What the console printed after its banner, its exit code, and whether it had to be killed.
struct ConsoleRun {
    std::string out;
    int exitCode = -1;
    bool timedOut = false;
    std::string err;
};

class VirtualBench {
public:
    explicit VirtualBench(const ksim::Settings& settings = kHidProbe, size_t probes = 1);

    // launcher: a program (with its options) that starts the console, e.g. to drop privileges.
    ConsoleRun console(const std::vector<std::string>& arguments, int timeoutMs = 60000,
                       const std::vector<std::string>& launcher = {});
    // Added to the console's environment.
    std::map<std::string, std::string> environment;

    // By absolute address: main flash, SPIM, boot memory; below the flash, the BLE module's main space.
    std::vector<uint8_t> read(uint32_t address, uint32_t length);
    // Fills main flash (and boot memory, SPIM, BLE main space) with a pattern, as left by earlier work.
    void fillEverything(uint8_t value);
    std::vector<ksim::Exchange> exchanges();

    ksim::Testbed& testbed() { return testbed_; }

private:
    ksim::Testbed testbed_;
};

// Temporary files that go away with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string dir_;
};

// Image files written independently of the console's own writers.
struct Segment {
    uint32_t address;
    std::vector<uint8_t> bytes;
};
std::string IntelHex(const std::vector<Segment>& segments);
std::vector<uint8_t> Pattern(size_t length, uint32_t seed);
std::string ReadFile(const std::string& path);
// What the console printed after the connection lines.
std::string AfterConnect(const std::string& out);

// Afterwards the target holds `length` bytes of `value` from `address` (as VirtualBench::read).
struct Fill {
    uint32_t address;
    uint32_t length;
    uint8_t value;
};

// A row's bench and files, for the steps a row adds before and after the console's run.
struct RowRun {
    VirtualBench& bench;
    const TempDir& files;
    std::string file;               // what FILE stands for
    std::vector<uint8_t> usdBefore; // the target's stored user system data before the run
};
using RowStep = std::function<void(RowRun&)>;

// One end-to-end run on a bench whose memories all hold `fill` first (or as `before` leaves them):
// the arguments (FILE stands for the file `fileName`, TEMP/name for another file beside it), the
// whole output after the banner (or after the connection lines, afterConnect), the exit code, and
// the target afterwards: every segment of the image in place when imageInTarget, each of `after`,
// and what `checks` look at (Also adds one). After a successful download the BLE module's stored
// checksum matches its main space when the image reached it, and nothing is stored when it did not.
struct Scenario {
    const char* name;
    ksim::Settings settings;
    std::vector<std::string> arguments;
    std::string out;
    int exitCode;
    std::vector<Fill> after = {};
    std::vector<Segment> image = {};
    bool imageInTarget = false;
    std::string fileName = "app.hex"; // a .bin file holds the first segment's bytes alone
    uint8_t fill = 0x00;
    std::optional<std::string> content = {}; // without an image, the file holds this (when its folder exists)
    RowStep before = {};
    std::vector<RowStep> checks = {};
    bool afterConnect = false;

    Scenario Also(RowStep check) const { Scenario row = *this; row.checks.push_back(std::move(check)); return row; }
};
// A run that starts with -connect: the arguments and lines after it, on a target ConnectLines knows.
Scenario Connected(const char* name, const ksim::Settings& settings, std::vector<std::string> arguments, const std::string& out,
                   int exitCode, std::vector<Fill> after = {}, std::vector<Segment> image = {}, bool imageInTarget = false,
                   std::string fileName = "app.hex", uint8_t fill = 0x00);
void PrintTo(const Scenario& s, std::ostream* os);
std::string ScenarioName(const testing::TestParamInfo<Scenario>& info);
void RunScenario(const Scenario& s);
// TEST_P in erase_test.cpp; every file instantiates it with its own rows.
class ScenarioRun : public testing::TestWithParam<Scenario> {};

// Steps rows share: every memory holds a pattern, as left by earlier work; the file is unchanged;
// the target's access protection level afterwards.
void Program(VirtualBench& bench);
RowStep FileHolds(const std::string& content);
RowStep Level(int level);
// HEX text and bytes, read back by objcopy as an independent reader (with its options).
std::vector<uint8_t> Objcopied(const std::string& hexFile, const std::string& options = "");

// Lines the console prints for the usual steps.
std::string ProbeLines(const std::string& name, const std::string& transport = "(HID)", const std::string& firmware = "2.1.7");
std::string TargetLines(const std::string& part, const std::string& flash);
inline const std::string kConnectDefault = ProbeLines("Korvex-EZ") + TargetLines("ZR32S04RCT6", "256KB") + "\n";
inline const std::string kDone = "\r\nDone!\n";
inline const std::string kErasedAll = "Erase all start ......\nflash full erase succeed!\nErase all finished!\n";
inline const std::string kOpened = "Download file opening......\nOpen file succeed!\n";
inline const std::string kErased = "Erase MCU sectors of file size......\nErase sectors finished\n";
inline const std::string kWritten = "File downloading......\nFile download finished!\n";
inline const std::string kVerified = "Read memory and Verification.......\nVerification finished!\n";
inline const std::string kVerifyFailed = "Read memory and Verification.......\nError. Verification failed!\n";
inline const std::string kBleErased = "Erase BLE module main space......\nErase BLE module main space finished\n";
inline const std::string kResetRun = "Reset and run......\nReset and run finished!\n\n";
inline const std::string kUploadRead = "Upload file opening......\nFile uploading......\n";
inline const std::string kUploadDone = kUploadRead + "File uploading finished!\n";
inline const std::string kUsdSaved = // -usd --get
    "Begin read user system data........\nSave user system data to file succeed!\nUser system data read succeed!\n";
inline const std::string kResetLost = "Reset and run......\nReset and run failed!\n";
inline const std::string kUsdOpened = "User system data file opening......\nOpen file succeed!\n";
inline const std::string kUsdWrite = "Begin write user system data........\nUser system data write succeed!\n";
inline const std::string kUsdSizeError = "Error. User system data file size error, please check the file of loaded!\n";
inline const std::string kDepp = "Disable erase and program protection ......\n";
inline const std::string kEepp = "Enable erase and program protection for sector codes ......\n";
inline const std::string kEeppDone = kEepp + "Enable erase and program protection for sector codes finished!\n";
// -e --sec of a range, and -eble --all of one BLE space ("main", "NVR", "RDN"), finished or failed.
std::string Sectors(const std::string& range, bool ok = true);
std::string BleSpace(const std::string& space, bool ok = true);
constexpr uint32_t kFlash = 0x08000000;
constexpr uint32_t kFlashSize = 256 * 1024; // the default target
constexpr uint32_t kSector = 2048;
constexpr uint32_t kS09Boot = 0x1FFFE400;   // kApModeTarget's boot memory, 4 KiB
// A launcher that makes root open files by their mode, as an ordinary user (nothing when not root).
std::vector<std::string> AsOrdinaryUser();
// What -connect prints on a HID probe with the target of these settings: the default target, a
// ZR32_S09 (kApModeTarget's), a BLE module with its target or alone (unknown product ID), a ZR32_S25.
std::string ConnectLines(const ksim::Settings& settings);

}  // namespace slice_test
