// Access protection, the user system data block and erase/program protection: the refusals and side
// effects the console's protection commands do not show (their end-to-end tests check the levels).
#include "probe_harness.h"
#include "target/target_mcu.h"

namespace ksim::test {
namespace {

// The factory block of a 24-byte series: FAP A5, every other byte FF, each with its complement.
std::string factoryUsd24()
{
    std::string text = "A5 5A";
    for (int i = 1; i < 24; ++i)
        text += " FF 00";
    return text;
}

// A protected target refuses reads and hides its series. Afterwards a user system data sequence
// starts from an erased page and takes effect at its end; a protected block stays.
TEST(AccessProtection, ProtectedTargetRefusesReadsAndHidesItsSeriesAndUserSystemDataTakesEffectAtTheEnd)
{
    ProbeHarness h;
    h.expectExchanges({
        {"begin", "B3 03 01 00", "B3 F1"},
        {"program a byte", "B3 00 08 00 00 10 00 01 5A", "B3 F1"},
        {"level 1", "B5 00 01 FF", "B5 F1"},
        {"status: valid and protected", "B1 00 01 A5", "B1 00 01 03"},
        {"flash read refused in the memory form", "B2 00 08 00 00 10 00 02", "B2 FE 08 00 00 10 00 02 FF FF"},
        {"user system data read refused", "B2 02 00 00 00 00 00 02", "B2 FE 00 00 00 00 00 02 FF FF"},
        {"ID read refused, product ID still there", "B1 01", "B1 FE 05 00 04 00 02 46"},
        {"sector erase refused", "B4 00 08 00 00 00 00 01", "B4 FE"},
        {"debug read refused", "CF 00 20 20 00 00 00 00 04", "CF FE 20 20 00 00 00 00 04 FF FF FF FF"},
        {"the host supplies the ID", "B1 05 05 04 04 00 02 46", "B1 F1"},
        {"ID read gives it back", "B1 01", "B1 01 05 04 04 00 02 46"},
        {"removing protection", "B5 00 01 A5", "B5 F1"},
        {"the flash was mass-erased", "B2 00 08 00 00 10 00 01", "B2 00 08 00 00 10 00 01 FF"},
        {"the block is back to its factory state", "B2 02 00 00 00 00 00 30", "B2 02 00 00 00 00 00 30 " + factoryUsd24()},
        {"an unknown protection code", "B5 00 01 12", "B5 F2"},
        {"level 2 on a series that can undo it", "B5 00 01 CC", "B5 F1"},
        {"level 2 flag", "B1 00 01 A5", "B1 00 01 07"},
        {"its removal works", "B5 00 01 A5", "B5 F1"},
        {"begin", "B3 05 01 00", "B3 F1"},
        {"two pairs only", "B3 02 00 00 00 00 00 04 A5 5A 12 ED", "B3 F1"},
        {"end", "B3 05 01 01", "B3 F1"},
        {"bytes not written stay erased", "B2 02 00 00 00 00 00 06", "B2 02 00 00 00 00 00 06 A5 5A 12 ED FF FF"},
        {"past 2L", "B2 02 00 00 00 2E 00 04", "B2 F3 00 00 00 2E 00 04 FF FF FF FF"},
        {"begin again", "B3 05 01 00", "B3 F1"},
        {"FAP 00: protection on", "B3 02 00 00 00 00 00 30 00 FF" + factoryUsd24().substr(5), "B3 F1"},
        {"not before the end", "B1 00 01 A5", "B1 00 01 01"},
        {"end", "B3 05 01 01", "B3 F1"},
        {"protected now", "B1 00 01 A5", "B1 00 01 03"},
        {"a protected block cannot be rewritten", "B3 05 01 00", "B3 FE"},
    });
}

TEST(EraseProgramProtection, ClearedEppBitsRefuseEraseAndProgramOfTheirSectors)
{
    ProbeHarness h;  // 256 KiB in 2 KiB sectors: 2 sectors per EPP bit
    h.probe.target().userSystemData().setLogical(4, 0xFE);
    h.expectExchanges({
        {"sector 1 shares the bit of sector 0", "B4 00 08 00 08 00 00 01", "B4 FE"},
        {"sector 2 is free", "B4 00 08 00 10 00 00 01", "B4 F1"},
        {"a range over sector 1 is refused whole", "B4 00 08 00 08 00 00 02", "B4 FE"},
        {"whole flash refused", "B4 06 00 00 00 00 00 00", "B4 FE"},
        {"bank 1 refused", "B4 03 00 00 00 00 00 00", "B4 FE"},
        {"begin", "B3 03 01 00", "B3 F1"},
        {"program in sector 1 refused", "B3 00 08 00 0F FF 00 01 00", "B3 FE"},
        {"program in sector 2 accepted", "B3 00 08 00 10 00 00 01 00", "B3 F1"},
        {"a write across the border is refused", "B3 00 08 00 0F FF 00 02 00 00", "B3 FE"},
        {"all EPP off", "B5 01 04 00 00 00 00", "B5 F1"},
        {"sector 0 erase accepted", "B4 00 08 00 00 00 00 01", "B4 F1"},
        {"all EPP on (no sector list)", "B5 01 04 FF", "B5 F1"},
        {"sector 100 refused", "B4 00 08 03 20 00 00 01", "B4 FE"},
    });
}

// Which sectors one cleared bit covers, by layout: the last bit takes every sector from 31 times the
// sectors per bit; the 20-byte layout gives each upper bit 128 KiB.
TEST(EraseProgramProtection, EachBitCoversItsSectorsByLayout)
{
    struct Case {
        const char *series, *pid;
        uint32_t byte;
        uint8_t value;
        const char *erase;  // a one-sector erase request
        const char *reply;
    } cases[] = {
        {"4", "00000200", 7, 0x7F, "B4 00 08 01 EC 00 00 01", "B4 F1"},  // 1 KiB sectors, sector 123: bit 30
        {"4", "00000200", 7, 0x7F, "B4 00 08 01 F0 00 00 01", "B4 FE"},  // sector 124: the first of bit 31
        {"4", "00000200", 7, 0x7F, "B4 00 08 02 FC 00 00 01", "B4 FE"},  // the last sector
        {"14", "00003340", 10, 0xFE, "B4 00 08 01 F8 00 00 01", "B4 F1"},  // EPP4 bit 0: sectors 64 to 127
        {"14", "00003340", 10, 0xFE, "B4 00 08 02 00 00 00 01", "B4 FE"},
        {"14", "00003340", 10, 0xFE, "B4 00 08 03 F8 00 00 01", "B4 FE"},
        {"14", "00003340", 10, 0xFE, "B4 00 08 04 00 00 00 01", "B4 F1"},
        {"14", "00003340", 4, 0xFE, "B4 00 08 00 08 00 00 01", "B4 FE"},  // EPP0 bit 0: the first 4 KiB
        {"14", "00003340", 4, 0xFE, "B4 00 08 00 10 00 00 01", "B4 F1"},
    };
    for (const Case &c : cases) {
        ProbeHarness h({{"series", c.series}, {"pid", c.pid}});
        h.probe.target().userSystemData().setLogical(c.byte, c.value);
        EXPECT_EQ(h.bulk(c.erase), c.reply) << "series " << c.series << ": " << c.erase;
    }
}

}  // namespace
}  // namespace ksim::test
