// The probe's own settings and information, stored projects, firmware updates, tests and the QSPI
// controller, as the firmware decodes them: state written is read back (what it cannot accept is in the decoder's
// refusal table).
#include "probe_harness.h"

namespace ksim::test {
namespace {

// The QSPI controller keeps its register words; firmware updates refuse steps out of order; code
// indexes keep their projects apart.
TEST(ProbeConfigCommands, QspiUpdatesAndCodeIndexes)
{
    ProbeHarness h;
    h.expectExchanges({
        {"two words", "C2 00 A0 00 00 00 11 22 33 44 55 66 77 88", "C2 F1"},
        {"first word back", "C2 02 A0 00 00 00", "C2 02 A0 00 00 00 11 22 33 44"},
        {"one word", "C2 01 A0 00 00 04 01 02 03 04", "C2 F1"},
        {"it replaced the second", "C2 02 A0 00 00 04", "C2 02 A0 00 00 04 01 02 03 04"},
        {"a register never written", "C2 02 A0 00 01 00", "C2 02 A0 00 01 00 00 00 00 00"},
        {"write 2 bytes", "C2 06 00 00 00 10 00 02 0F F0", "C2 F1"},
        {"program by AND", "C2 06 00 00 00 10 00 02 3C 3C", "C2 F1"},
        {"read them", "C2 05 00 00 00 10 00 03", "C2 05 00 00 00 10 00 03 0C 30 FF"},
        {"chip erase", "C2 09 00 00 00 00 00 00", "C2 F1"},
        {"erased", "C2 05 00 00 00 10 00 01", "C2 05 00 00 00 10 00 01 FF"},
        {"begin before the update mode", "C0 01 00 02 A1 01", "C0 F4"},
        {"run what was never checked", "C0 06 00 01 A6", "C0 F4"},
        {"enter the update mode", "C0 00 00 01 A0", "C0 00 00 01 01"},
        {"begin", "C0 01 00 02 A1 01", "C0 F1"},
        {"range outside the probe's flash", "C0 02 00 09 A2 00 00 00 00 00 00 00 04", "C0 F3"},
        {"range", "C0 02 00 09 A2 08 00 00 00 00 00 00 02", "C0 F1"},
        {"data past the range", "C0 03 00 06 08 00 00 01 01 02", "C0 F3"},
        {"data", "C0 03 00 06 08 00 00 00 01 02", "C0 F1"},
        {"wrong sum", "C0 05 00 05 A5 00 00 00 04", "C0 05 00 00 01"},
        {"right sum", "C0 05 00 05 A5 00 00 00 03", "C0 05 00 00 00"},
        {"run", "C0 06 00 01 A6", "C0 F1"},
        {"the probe's flash holds it", "CF 02 08 08 00 00 00 00 03", "CF 02 08 08 00 00 00 00 03 01 02 FF"},
        {"display end without data", "C1 04 01 A2", "C1 F4"},
        {"index 0 image", "B7 00 00 00 00 00 00 02 AA BB", "B7 F1"},
        {"index 15 image", "B7 0F 00 00 00 00 00 02 CC DD", "B7 F1"},
        {"index 0 back", "B9 00 00 00 00 00 00 02", "B9 00 00 00 00 00 00 02 AA BB"},
        {"index 15 back", "B9 0F 00 00 00 00 00 02", "B9 0F 00 00 00 00 00 02 CC DD"},
        {"index 15 complete", "B7 1F 08 00 00 00 00 00 00 00 02", "B7 1F 01 00"},
        {"its times: one match", "BB 08 03 BF 01 00", "BB 08 04 00 00 00 01"},
        {"OTP lock of index 3", "B8 33 00 00 00 04 00 01 5A", "B8 F1"},
        {"part D of index 3", "BD 33 00 02 01 02", "BD F1"},
        {"part D back", "BC 33", "BC 33 00 02 01 02"},
        {"part D of index 4 is empty", "BC 34", "BC 34 00 00"},
        {"delete all", "BB 06 02 A0 10", "BB F1"},
        {"index 15 image gone", "B9 0F 00 00 00 00 00 02", "B9 0F 00 00 00 00 00 02 FF FF"},
    });
}

// Probe information and settings (group B0) and the encrypted-transfer switches (group BB): the
// setters the console's connection (checked end to end) does not use, and their refusals.
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
