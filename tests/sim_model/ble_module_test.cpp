// The BLE module of ZR32_S17 behind a probe of hardware version 10 to 12, through the wire.
#include <cstdio>

#include "probe_harness.h"
#include "target/ble_module.h"

namespace ksim::test {
namespace {


TEST(BleModule, ConnectionShowsInRegister5)
{
    ProbeHarness h({{"series", "17"}, {"hw_version", "11"}, {"ble", "1"}});
    h.expectExchanges({
        {"register 5 before connecting", "BE 09 05", "BE 09 05 00"},
        {"flash read before connecting", "BE 04 00 00 00 00 00 01", "BE F4 00 00 00 00 00 01 FF"},
        {"connect", "BE 00 01 00", "BE F1"},
        {"register 5 says connected", "BE 09 05", "BE 09 05 32"},
        {"other registers hold what was written", "BE 08 07 5A", "BE F1"},
        {"read it", "BE 09 07", "BE 09 07 5A"},
        {"register 5 is read-only", "BE 08 05 00", "BE FF"},
        {"disconnect", "BE 00 01 01", "BE F1"},
        {"register 5 again", "BE 09 05", "BE 09 05 00"},
        {"connection code 2", "BE 00 01 02", "BE F2"},
    });
}

TEST(BleModule, OnlyProbes10To12WithAModuleReachIt)
{
    for (const char *hw : {"9", "13", "0"}) {
        ProbeHarness h({{"series", "17"}, {"hw_version", hw}, {"ble", "1"}});
        EXPECT_EQ(h.bulk("BE 00 01 00"), "BE F4") << "hardware " << hw;
        EXPECT_EQ(h.bulk("BE 09 05"), "BE F4 05 00") << "hardware " << hw;
    }
    ProbeHarness noModule({{"series", "17"}, {"hw_version", "10"}});
    EXPECT_EQ(noModule.bulk("BE 00 01 00"), "BE F4");
    ProbeHarness reaches({{"series", "17"}, {"hw_version", "12"}, {"ble", "1"}});
    EXPECT_EQ(reaches.bulk("BE 00 01 00"), "BE F1");
}

TEST(BleModule, ThreeSpacesKeepTheirOwnFlash)
{
    ProbeHarness h({{"series", "17"}, {"hw_version", "11"}, {"ble", "1"}});
    h.expectExchanges({
        {"connect", "BE 00 01 00", "BE F1"},
        {"main space at first", "BE 0B", "BE 0B 01 00"},
        {"select NVR", "BE 01 01 01", "BE F1"},
        {"NVR selected", "BE 0B", "BE 0B 01 01"},
        {"write NVR", "BE 03 00 00 02 00 00 02 AB CD", "BE F1"},
        {"AND programming", "BE 03 00 00 02 00 00 02 0F F0", "BE F1"},
        {"read NVR", "BE 04 00 00 02 00 00 02", "BE 04 00 00 02 00 00 02 0B C0"},
        {"select main", "BE 01 01 00", "BE F1"},
        {"main space untouched", "BE 04 00 00 02 00 00 02", "BE 04 00 00 02 00 00 02 FF FF"},
        {"space 3 does not exist", "BE 01 01 03", "BE F3"},
        {"select RDN", "BE 01 01 02", "BE F1"},
        {"RDN untouched", "BE 04 00 00 02 00 00 02", "BE 04 00 00 02 00 00 02 FF FF"},
        {"select NVR again", "BE 01 01 01", "BE F1"},
        {"erase the 512-byte sector at 0x200", "BE 06 00 00 02 00 00 01", "BE F1"},
        {"erased", "BE 04 00 00 02 00 00 02", "BE 04 00 00 02 00 00 02 FF FF"},
        {"last byte of the space", "BE 03 00 02 7F FF 00 01 00", "BE F1"},
        {"past the space", "BE 03 00 02 80 00 00 01 00", "BE F3"},
        {"whole-space erase", "BE 05 00 00 00 00 00 00", "BE F1"},
        {"whole-space erase with an address", "BE 05 00 00 02 00 00 00", "BE F2"},
    });
    EXPECT_EQ(h.probe.ble().space(BleModule::Nvr).allocatedPages(), 0u);
}

TEST(BleModule, ProtectionHidesTheFlash)
{
    ProbeHarness h({{"series", "17"}, {"hw_version", "11"}, {"ble", "1"}});
    h.expectExchanges({
        {"connect", "BE 00 01 00", "BE F1"},
        {"not protected", "BE 0D", "BE 0D 01 A5"},
        {"protect", "BE 0C 01 FF", "BE F1"},
        {"protected", "BE 0D", "BE 0D 01 FF"},
        {"read refused", "BE 04 00 00 00 00 00 01", "BE FE 00 00 00 00 00 01 FF"},
        {"unprotect", "BE 0C 01 A5", "BE F1"},
        {"readable", "BE 04 00 00 00 00 00 01", "BE 04 00 00 00 00 00 01 FF"},
        {"code 00", "BE 0C 01 00", "BE F2"},
    });
}

TEST(BleModule, CrcUnitIsCrc32Mpeg2OverLittleEndianWords)
{
    EXPECT_EQ(BleModule::wordCrc({0x61, 0x62, 0x63, 0x64}), 0xA62F1C36u);
    EXPECT_EQ(BleModule::wordCrc({0, 0, 0, 0}), 0xC704DD7Bu);
}

TEST(BleModule, CrcCheckComparesTheStoredValueWithTheMainSpace)
{
    ProbeHarness h({{"series", "17"}, {"hw_version", "11"}, {"ble", "1"}});
    ASSERT_EQ(h.bulk("BE 00 01 00"), "BE F1");
    ASSERT_EQ(h.bulk("BE 03 00 00 00 00 00 04 61 62 63 64"), "BE F1");
    std::vector<uint8_t> image(BleModule::kCodeSize, 0xFF);
    image[0] = 0x61, image[1] = 0x62, image[2] = 0x63, image[3] = 0x64;
    const uint32_t crc = BleModule::wordCrc(image);
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
