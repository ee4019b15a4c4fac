// A bench session for end-to-end runs: emulated probes on a umockdev bus, the real Korvex_Console
// run against them as a child process, and the probe's memories read back afterwards.
#pragma once

#include "run_process.h"
#include "target/ble_module.h"
#include "target/target_mcu.h"
#include "usb/testbed.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace slice_test {

// Settings of the emulated parts used across the tests (keys of ksim::VirtualProbe::configure).
extern const ksim::Settings kHidProbe;         // the default target (ZR32_S04: SPIM, no AP mode) over HID
extern const ksim::Settings kApModeTarget;     // ZR32_S09 with its boot memory in AP mode
extern const ksim::Settings kBleTarget;        // ZR32_S17 with a BLE module, probe hardware 11

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

    ConsoleRun console(const std::vector<std::string>& arguments, int timeoutMs = 60000);
    // Added to the console's environment, and put before its path on its command line.
    std::map<std::string, std::string> environment;
    std::vector<std::string> launcher;

    std::vector<uint8_t> mainFlash(uint32_t address, uint32_t length);
    std::vector<uint8_t> bootMemory(uint32_t address, uint32_t length);
    std::vector<uint8_t> spim(uint32_t address, uint32_t length);
    std::vector<uint8_t> bleMain(uint32_t address, uint32_t length);
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
// Data records (types 00 and 04 only) as one segment per record.
std::vector<Segment> ParseIntelHex(const std::string& text);
std::string ReadFile(const std::string& path);

// Lines the console prints for the usual steps.
inline const std::string kConnectDefault = // -connect on the default HID probe and target
    "Connect......\n"
    "Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)\n"
    "Korvex connected\n"
    "MCU Part Number:   ZR32S04RCT6        Flash size: 256KB\n"
    "MCU connected\n"
    "\n";
inline const std::string kDone = "\r\nDone!\n";
inline const std::string kApConnect = // -connect on kApModeTarget
    "Connect......\n"
    "Korvex-EZ  FW: V2.1.7    Serials: KV0000000001      (HID)\n"
    "Korvex connected\n"
    "MCU Part Number:   ZR32S09F6T6        Flash size: 32KB\n"
    "MCU connected\n"
    "\n";
inline const std::string kBleConnect = // -connect on kBleTarget
    "Connect......\n"
    "Korvex-EZ BLE  FW: V2.1.7    Serials: KV0000000001      (HID)\n"
    "Korvex connected\n"
    "MCU Part Number:   ZR32S17CEU6        Flash size: 512KB\n"
    "MCU connected\n"
    "Bluetooth module connected\n"
    "\n";

}  // namespace slice_test
