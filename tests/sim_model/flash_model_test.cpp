// Main flash physics through the wire: programming by AND, write sequences, bounds, bank erase, lock,
// CRC, and a probe without a target. Downloads and erases are checked byte by byte end to end.
#include "probe_harness.h"
#include "target/target_mcu.h"

namespace ksim::test {
namespace {

TEST(FlashProgramming, BitsOnlyGoFromOneToZeroInsideTheFlashAndASequenceAndNotWhenLocked)
{
    ProbeHarness h;
    h.expectExchanges({
        {"a write outside a write sequence is refused", "B3 00 08 00 00 00 00 02 12 34", "B3 F4"},
        {"begin main flash writes", "B3 03 01 00", "B3 F1"},
        {"program", "B3 00 08 00 00 00 00 04 00 FF 0F F0", "B3 F1"},
        {"program over it", "B3 00 08 00 00 00 00 04 F0 F0 F0 F0", "B3 F1"},
        {"the result is old AND new", "B2 00 08 00 00 00 00 04", "B2 00 08 00 00 00 00 04 00 F0 00 F0"},
        {"last 2 bytes of the 256 KiB", "B3 00 08 03 FF FE 00 02 11 22", "B3 F1"},
        {"one byte past the end", "B3 00 08 03 FF FF 00 02 11 22", "B3 F3"},
        {"below the flash", "B3 00 07 FF FF FF 00 01 11", "B3 F3"},
        {"read past the end", "B2 00 08 04 00 00 00 01", "B2 F3 08 04 00 00 00 01 FF"},
        {"end the sequence", "B3 03 01 01", "B3 F1"},
        {"writes are refused again", "B3 00 08 00 00 10 00 01 00", "B3 F4"},
        {"a 256 KiB flash has no bank 2", "B4 04 00 00 00 00 00 00", "B4 F3"},
        {"lock main flash", "B6 01 01 01", "B6 F1"},
        {"begin", "B3 03 01 00", "B3 F1"},
        {"write refused", "B3 00 08 00 00 00 00 01 00", "B3 FE"},
        {"erase refused", "B4 00 08 00 00 00 00 01", "B4 FE"},
        {"unlock", "B6 00 01 01", "B6 F1"},
        {"write accepted", "B3 00 08 00 00 00 00 01 00", "B3 F1"},
        {"lock kind 4 does not exist", "B6 01 01 04", "B6 F2"},
    });
}

TEST(FlashErase, Bank1IsTheFirst512KiBAndBank2TheRest)
{
    ProbeHarness h({{"pid", "00003340"}});  // 1024 KiB in 2 KiB sectors
    h.expectExchanges({
        {"begin", "B3 03 01 00", "B3 F1"},
        {"last byte of bank 1", "B3 00 08 07 FF FF 00 01 00", "B3 F1"},
        {"first byte of bank 2", "B3 00 08 08 00 00 00 01 00", "B3 F1"},
        {"erase bank 1", "B4 03 00 00 00 00 00 00", "B4 F1"},
        {"bank 1 erased", "B2 00 08 07 FF FF 00 01", "B2 00 08 07 FF FF 00 01 FF"},
        {"bank 2 kept", "B2 00 08 08 00 00 00 01", "B2 00 08 08 00 00 00 01 00"},
        {"erase bank 2", "B4 04 00 00 00 00 00 00", "B4 F1"},
        {"bank 2 erased", "B2 00 08 08 00 00 00 01", "B2 00 08 08 00 00 00 01 FF"},
    });
}

TEST(FlashCrc, SectorCrcEchoesTheStartSector)
{
    ProbeHarness h;
    // CRC-32 (the zlib one) of an erased 2 KiB sector.
    const std::string one = h.bulk("B5 06 02 00 05");
    EXPECT_EQ(one, "B5 06 06 00 05 3F 55 D1 7F");
    EXPECT_EQ(h.bulk("B5 06 04 00 05 00 01"), one);
    EXPECT_EQ(h.bulk("B5 06 04 00 7F 00 02"), "B5 F3") << "sectors 127 and 128 of a 128-sector flash";
    h.bulk("B3 03 01 00");
    h.bulk("B3 00 08 00 28 00 00 01 00");
    EXPECT_NE(h.bulk("B5 06 02 00 05"), one) << "the CRC follows the content";
}

TEST(TargetAttachment, WithoutATargetEveryTargetCommandFailsButTheProbeAnswers)
{
    ProbeHarness h({{"target", "0"}});
    h.expectExchanges({
        {"the probe itself", "B0 00", "B0 00 05 02 01 07 00 01"},
        {"prepare fails", "B1 03 01 01", "B1 FF"},
        {"status cannot tell", "B1 00 01 A5", "B1 00 01 00"},
        {"no ID", "B1 01", "B1 FF 05 00 00 00 00 00"},
        {"no reads", "B2 00 08 00 00 00 00 01", "B2 FF 08 00 00 00 00 01 FF"},
        {"no erase", "B4 06 00 00 00 00 00 00", "B4 FF"},
        {"no protection change", "B5 00 01 FF", "B5 FF"},
    });
}

}  // namespace
}  // namespace ksim::test
