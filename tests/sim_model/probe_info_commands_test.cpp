// Probe information and settings (group B0) and the encrypted-transfer switches (group BB).
#include "probe_harness.h"

namespace ksim::test {
namespace {

TEST(ProbeInfoCommands, FactoryProbeAnswersItsIdentity)
{
    ProbeHarness h;
    h.expectExchanges({
        {"version: fw 2.1.7, hw 0, application running", "B0 00", "B0 00 05 02 01 07 00 01"},
        {"probe ID: the serial's characters", "B0 07", "B0 07 0C 4B 56 30 30 30 30 30 30 30 30 30 31"},
        {"SWD speed", "B0 03", "B0 03 04 00 0F 42 40"},
        {"reset mode", "B0 05", "B0 05 01 00"},
        {"button state", "B0 08", "B0 08 01 00"},
        {"offline step state", "B0 0A", "B0 0A 01 00"},
        {"BLE SPI rate", "B0 26", "B0 26 01 00"},
        {"transfer key", "B0 01", "B0 01 04 00 00 00 00"},
    });
}

TEST(ProbeInfoCommands, ConfiguredVersionBytesComeBackInOrder)
{
    ProbeHarness h({{"fw_version", "3.4.5"}, {"hw_version", "11"}, {"app_state", "2"}});
    EXPECT_EQ(h.bulk("B0 00"), "B0 00 05 03 04 05 0B 02");
    EXPECT_EQ(h.hid("B0 00"), "B0 00 05 03 04 05 0B 02");
}

TEST(ProbeInfoCommands, SettersAreStoredAndReadBack)
{
    ProbeHarness h;
    h.expectExchanges({
        {"set SWD speed 1000000", "B0 04 04 00 0F 42 40", "B0 F1"},
        {"set SWD speed 4 MHz", "B0 04 04 00 3D 09 00", "B0 F1"},
        {"read it back", "B0 03", "B0 03 04 00 3D 09 00"},
        {"set reset mode 2", "B0 06 01 02", "B0 F1"},
        {"read reset mode", "B0 05", "B0 05 01 02"},
        {"reset mode 3 is refused", "B0 06 01 03", "B0 F2"},
        {"mode unchanged", "B0 05", "B0 05 01 02"},
        {"set button state", "B0 09 01 01", "B0 F1"},
        {"read button state", "B0 08", "B0 08 01 01"},
        {"button state 2 is refused", "B0 09 01 02", "B0 F2"},
        {"set key of 6 bytes", "B0 02 06 11 22 33 44 55 66", "B0 F1"},
        {"key read gives its first 4 bytes", "B0 01", "B0 01 04 11 22 33 44"},
        {"key of 5 bytes is refused", "B0 02 05 01 02 03 04 05", "B0 F2"},
        {"VKP version", "B0 23 04 00 02 03 21", "B0 F1"},
        {"SWD auto-detect", "B0 21 01 01", "B0 F1"},
        {"BLE SPI rate", "B0 27 01 03", "B0 F1"},
        {"BLE SPI rate read", "B0 26", "B0 26 01 03"},
        {"probe encrypted transfer off", "BB 00 01 02", "BB F1"},
        {"target encrypted transfer off", "BB 01 01 02", "BB F1"},
        {"encrypted transfer code 03", "BB 00 01 03", "BB F2"},
    });
    EXPECT_EQ(h.probe.settings().vkpVersion, 0x20321u);
    EXPECT_EQ(h.probe.settings().swdSpeed, 4000000u);
}

TEST(ProbeInfoCommands, AKeyOf24BytesFillsAWholeReport)
{
    ProbeHarness h;
    std::string key = "B0 02 18";
    for (int i = 0; i < 24; ++i)
        key += " A" + std::to_string(i % 10);
    EXPECT_EQ(h.bulk(key), "B0 F1");
    EXPECT_EQ(h.bulk("B0 01"), "B0 01 04 A0 A1 A2 A3");
    EXPECT_EQ(h.probe.settings().transferKey.size(), 24u);
}

}  // namespace
}  // namespace ksim::test
