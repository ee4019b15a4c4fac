// Saved state: a sequence of runs sees one device. And the documented text dump.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "probe_harness.h"
#include "target/target_mcu.h"

namespace ksim::test {
namespace {

namespace fs = std::filesystem;

class StateDir {
public:
    StateDir() : path_(fs::temp_directory_path() / ("simfw-state-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++))) {}
    ~StateDir() { fs::remove_all(path_); }
    std::string str() const { return path_.string(); }
    fs::path operator/(const char *name) const { return path_ / name; }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

std::string stateOf(const VirtualProbe &probe)
{
    std::ostringstream out;
    probe.dump(out);
    const std::string text = out.str();
    return text.substr(0, text.find("exchanges "));
}

TEST(DeviceState, SaveAndLoadRoundTripTheWholeDevice)
{
    StateDir dir;
    ProbeHarness first({{"series", "17"}, {"pid", "00000240"}, {"hw_version", "11"}, {"ble", "1"}, {"fw_version", "1.2.3"},
                        {"serial", "KV0000000099"}, {"ap_mode", "1"}});
    first.expectExchanges({
        {"SWD speed", "B0 04 04 00 00 27 10", "B0 F1"},
        {"begin", "B3 03 01 00", "B3 F1"},
        {"flash", "B3 00 08 00 10 00 00 03 01 02 03", "B3 F1"},
        {"boot memory", "B3 00 1F FF AC 00 00 02 0A 0B", "B3 F1"},
        {"SRAM", "CF 01 20 20 00 01 00 00 04 DE AD BE EF", "CF F1"},
        {"user system data", "B3 05 01 00", "B3 F1"},
        {"block start", "B3 02 00 00 00 00 00 04 A5 5A 12 ED", "B3 F1"},
        {"end", "B3 05 01 01", "B3 F1"},
        {"BLE connect", "BE 00 01 00", "BE F1"},
        {"BLE data", "BE 03 00 00 01 00 00 02 77 88", "BE F1"},
        {"BLE CRC", "BE 02 05 01 12 34 56 78", "BE F1"},
        {"BLE protect", "BE 0C 01 FF", "BE F1"},
        {"QSPI flash", "C2 06 00 00 00 10 00 02 0F F0", "C2 F1"},
        {"level 1", "B5 00 01 FF", "B5 F1"},
    });
    first.probe.target().supplyDeviceId({17, 0x240});
    std::string error;
    ASSERT_TRUE(first.probe.saveState(dir.str(), error)) << error;
    ASSERT_EQ(first.bulk("BE 00 01 01"), "BE F1") << "the module link is not part of the saved device";
    EXPECT_EQ(fs::file_size(dir / "main_flash.bin"), 0x1003u) << "cut after the last programmed byte";

    VirtualProbe second;
    ASSERT_TRUE(second.loadState(dir.str(), error)) << error;
    EXPECT_EQ(stateOf(second), stateOf(first.probe));
    EXPECT_EQ(second.target().protectionLevel(), 1);

    ProbeHarness spim;  // ZR32_S04 has a SPIM
    spim.expectExchanges({{"SPIM enabled", "B6 02 09 04 00 00 00 00 00 10 00 00", "B6 F1"},
                          {"SPIM writes", "B3 04 01 00", "B3 F1"},
                          {"SPIM byte", "B3 01 08 40 00 00 00 01 42", "B3 F1"}});
    StateDir spimDir;
    ASSERT_TRUE(spim.probe.saveState(spimDir.str(), error)) << error;
    VirtualProbe third;
    ASSERT_TRUE(third.loadState(spimDir.str(), error)) << error;
    EXPECT_EQ(stateOf(third), stateOf(spim.probe));
}

TEST(DeviceState, MissingOrDamagedStateIsReported)
{
    StateDir dir;
    VirtualProbe probe;
    std::string error;
    EXPECT_FALSE(probe.loadState(dir.str(), error));
    EXPECT_NE(error.find("no saved device"), std::string::npos) << error;
    struct Case {
        const char *file, *append, *error;  // appended to a freshly saved file; "" for any error
    } cases[] = {
        {"device.ini", "pid=xyz\n", "device.ini:"},
        {"device.ini", "pid=xyz\n", "pid: expected"},
        {"usd.bin", "short", "usd.bin holds 53 bytes"},
        {"boot_memory.bin", "x", ""},  // ZR32_S04 has no boot memory
    };
    for (const Case &c : cases) {
        fs::remove_all(dir.str());
        ASSERT_TRUE(probe.saveState(dir.str(), error)) << error;
        std::ofstream(dir / c.file, std::ios::binary | std::ios::app) << c.append;
        EXPECT_FALSE(probe.loadState(dir.str(), error)) << c.file;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

// Configuration files come back with their keys sorted by name: the order must not matter.
TEST(DeviceState, KeysGivenInNameOrderBuildTheSameBench)
{
    StateDir dir;
    fs::create_directories(dir.str());
    std::ofstream(dir / "boot.bin", std::ios::binary) << std::string("\xB0\x07", 2);
    std::ofstream(dir / "high.bin", std::ios::binary) << std::string("\x11", 1);
    ProbeHarness h({{"ap_mode", "1"},
                    {"flash_image", "1FFFE400:" + (dir / "boot.bin").string()},
                    {"flash_image", "080FFFFF:" + (dir / "high.bin").string()},
                    {"pid", "00003340"},
                    {"protection", "1"},
                    {"series", "9"}});
    EXPECT_EQ(h.probe.target().series(), 9);
    EXPECT_TRUE(h.probe.target().apMode());
    EXPECT_EQ(h.probe.target().protectionLevel(), 1) << "kept when the block grew to 256 bytes";
    EXPECT_EQ(h.probe.target().userSystemData().logicalLength(), 256u);
    EXPECT_EQ(h.probe.target().bootMemory().at(1), 0x07) << "loaded once the series had boot memory";
    EXPECT_EQ(h.probe.target().mainFlash().at(0xFFFFF), 0x11) << "loaded once the flash had 1 MiB";
}

TEST(DeviceDump, ShowsNonBlankRowsTheBlockAndTheExchanges)
{
    ProbeHarness h;
    h.bulk("B3 03 01 00");
    h.bulk("B3 00 08 00 00 12 00 02 AB CD");
    h.bulk("B0 7F");
    std::ostringstream out;
    h.probe.dump(out);
    const std::string text = out.str();
    EXPECT_NE(text.find("target attached=1 series=4 pid=0x04000246 flash=262144 sector=2048 protection=0"), std::string::npos) << text;
    EXPECT_NE(text.find("memory main_flash base=0x08000000 size=0x00040000\n"
                        "  08000010: FF FF AB CD FF FF FF FF FF FF FF FF FF FF FF FF\n"
                        "memory boot_memory"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("usd length=24\n  0000: A5 5A FF 00"), std::string::npos) << text;
    EXPECT_NE(text.find("exchanges 3\n  #1 bulk B3.03 main flash write sequence\n    > B3 03 01 00\n    < B3 F1\n"), std::string::npos)
        << text;
}

}  // namespace
}  // namespace ksim::test
