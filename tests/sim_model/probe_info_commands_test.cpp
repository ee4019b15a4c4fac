// Probe information and settings (group B0) and the encrypted-transfer switches (group BB): the
// setters the console's connection (checked end to end) does not use, and their refusals.
#include "probe_harness.h"

namespace ksim::test {
namespace {

TEST(ProbeInfoCommands, SettersAreStoredAndReadBack)
{
    ProbeHarness h({{"app_state", "2"}});
    h.expectExchanges({
        {"application state", "B0 00", "B0 00 05 02 01 07 00 02"},
        {"set SWD speed 4 MHz", "B0 04 04 00 3D 09 00", "B0 F1"},
        {"read it back", "B0 03", "B0 03 04 00 3D 09 00"},
        {"set reset mode 2", "B0 06 01 02", "B0 F1"},
        {"reset mode 3 is refused", "B0 06 01 03", "B0 F2"},
        {"mode unchanged", "B0 05", "B0 05 01 02"},
        {"set button state", "B0 09 01 01", "B0 F1"},
        {"read button state", "B0 08", "B0 08 01 01"},
        {"button state 2 is refused", "B0 09 01 02", "B0 F2"},
        {"set key of 6 bytes", "B0 02 06 11 22 33 44 55 66", "B0 F1"},
        {"key read gives its first 4 bytes", "B0 01", "B0 01 04 11 22 33 44"},
        {"key of 5 bytes is refused", "B0 02 05 01 02 03 04 05", "B0 F2"},
        {"a key of 24 bytes fills a whole report", "B0 02 18 A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 A0 A1 A2 A3", "B0 F1"},
        {"its first 4 bytes", "B0 01", "B0 01 04 A0 A1 A2 A3"},
        {"VKP version", "B0 23 04 00 02 03 21", "B0 F1"},
        {"BLE SPI rate", "B0 27 01 03", "B0 F1"},
        {"BLE SPI rate read", "B0 26", "B0 26 01 03"},
        {"probe encrypted transfer off", "BB 00 01 02", "BB F1"},
        {"encrypted transfer code 03", "BB 00 01 03", "BB F2"},
    });
    EXPECT_EQ(h.probe.settings().vkpVersion, 0x20321u);
    EXPECT_EQ(h.probe.settings().transferKey.size(), 24u);
}

}  // namespace
}  // namespace ksim::test
