// The BLE module of ZR32_S17 behind a probe of hardware version 10 to 12, through the wire: what
// the console's BLE erase, download and protection runs (end to end) never send.
#include <cstdio>

#include "probe_harness.h"
#include "target/ble_module.h"

namespace ksim::test {
namespace {

const std::initializer_list<std::pair<std::string, std::string>> kModule = {{"series", "17"}, {"hw_version", "11"}, {"ble", "1"}};

TEST(BleModule, RegistersSpacesAndProtection)
{
    ProbeHarness h(kModule);
    h.expectExchanges({
        {"flash read before connecting", "BE 04 00 00 00 00 00 01", "BE F4 00 00 00 00 00 01 FF"},
        {"connection code 2", "BE 00 01 02", "BE F2"},
        {"connect", "BE 00 01 00", "BE F1"},
        {"register 5 says connected", "BE 09 05", "BE 09 05 32"},
        {"other registers hold what was written", "BE 08 07 5A", "BE F1"},
        {"read it", "BE 09 07", "BE 09 07 5A"},
        {"register 5 is read-only", "BE 08 05 00", "BE FF"},
        {"select NVR", "BE 01 01 01", "BE F1"},
        {"write NVR", "BE 03 00 00 02 00 00 02 AB CD", "BE F1"},
        {"AND programming", "BE 03 00 00 02 00 00 02 0F F0", "BE F1"},
        {"read NVR", "BE 04 00 00 02 00 00 02", "BE 04 00 00 02 00 00 02 0B C0"},
        {"select main", "BE 01 01 00", "BE F1"},
        {"main space untouched", "BE 04 00 00 02 00 00 02", "BE 04 00 00 02 00 00 02 FF FF"},
        {"space 3 does not exist", "BE 01 01 03", "BE F3"},
        {"past the space", "BE 03 00 02 80 00 00 01 00", "BE F3"},
        {"whole-space erase with an address", "BE 05 00 00 02 00 00 00", "BE F2"},
        {"protect", "BE 0C 01 FF", "BE F1"},
        {"read refused", "BE 04 00 00 00 00 00 01", "BE FE 00 00 00 00 00 01 FF"},
        {"protection code 00", "BE 0C 01 00", "BE F2"},
    });
}

TEST(BleModule, OnlyProbes10To12ReachIt)
{
    for (const char *hw : {"9", "13", "0"}) {
        ProbeHarness h({{"series", "17"}, {"hw_version", hw}, {"ble", "1"}});
        EXPECT_EQ(h.bulk("BE 00 01 00"), "BE F4") << "hardware " << hw;
        EXPECT_EQ(h.bulk("BE 09 05"), "BE F4 05 00") << "hardware " << hw;
    }
}

TEST(BleModule, CrcUnitIsCrc32Mpeg2OverLittleEndianWords)
{
    EXPECT_EQ(BleModule::wordCrc({0x61, 0x62, 0x63, 0x64}), 0xA62F1C36u);
    EXPECT_EQ(BleModule::wordCrc({0, 0, 0, 0}), 0xC704DD7Bu);
}

TEST(BleModule, CrcCheckComparesTheStoredValueWithTheMainSpace)
{
    ProbeHarness h(kModule);
    ASSERT_EQ(h.bulk("BE 00 01 00"), "BE F1");
    const uint32_t crc = BleModule::wordCrc(std::vector<uint8_t>(BleModule::kCodeSize, 0xFF));
    EXPECT_EQ(h.bulk("BE 0E"), "BE 0E 01 00") << "nothing stored yet";
    char store[64];
    std::snprintf(store, sizeof store, "BE 02 05 01 %02X %02X %02X %02X", crc >> 24, (crc >> 16) & 0xFF, (crc >> 8) & 0xFF, crc & 0xFF);
    ASSERT_EQ(h.bulk(store), "BE F1");
    EXPECT_EQ(h.bulk("BE 0E"), "BE 0E 01 01");
    ASSERT_EQ(h.bulk("BE 03 00 02 7F F0 00 01 00"), "BE F1");  // inside the checked range
    EXPECT_EQ(h.bulk("BE 0E"), "BE 0E 01 00");
}

}  // namespace
}  // namespace ksim::test
