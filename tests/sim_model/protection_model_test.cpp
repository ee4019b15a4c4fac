// Access protection, the user system data block and erase/program protection, through the wire.
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

// Writes a whole 24-byte block (48 image bytes) through the write sequence, in one 48-byte write.
void writeUsd24(ProbeHarness &h, const std::string &image48)
{
    ASSERT_EQ(h.bulk("B3 05 01 00"), "B3 F1");
    ASSERT_EQ(h.bulk("B3 02 00 00 00 00 00 30 " + image48), "B3 F1");
    ASSERT_EQ(h.bulk("B3 05 01 01"), "B3 F1");
}

std::string usdWithEpp0(const std::string &epp0)
{
    std::string text = "A5 5A FF 00 FF 00 FF 00 " + epp0;
    for (int i = 5; i < 24; ++i)
        text += " FF 00";
    return text;
}

TEST(AccessProtection, ProtectedTargetRefusesReadsAndHidesItsSeries)
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
        {"status: not protected", "B1 00 01 A5", "B1 00 01 01"},
        {"the flash was mass-erased", "B2 00 08 00 00 10 00 01", "B2 00 08 00 00 10 00 01 FF"},
        {"the series is back", "B1 01", "B1 01 05 04 04 00 02 46"},
        {"an unknown protection code", "B5 00 01 12", "B5 F2"},
    });
}

TEST(AccessProtection, RemovalResetsTheUserSystemDataToFactoryState)
{
    ProbeHarness h;
    writeUsd24(h, usdWithEpp0("00 FF"));
    ASSERT_EQ(h.bulk("B5 00 01 FF"), "B5 F1");
    ASSERT_EQ(h.bulk("B5 00 01 A5"), "B5 F1");
    const std::string reply = h.bulk("B2 02 00 00 00 00 00 30");
    EXPECT_EQ(reply, "B2 02 00 00 00 00 00 30 " + factoryUsd24());
}

TEST(AccessProtection, Level2IsPermanentOnlyWhereTheSeriesSaysSo)
{
    ProbeHarness permanent({{"series", "ZR32_S15"}, {"pid", "00000240"}});
    permanent.expectExchanges({
        {"level 2", "B5 00 01 CC", "B5 F1"},
        {"status says protected, level 2 flag", "B1 00 01 A5", "B1 00 01 07"},
        {"removal refused", "B5 00 01 A5", "B5 FF"},
        {"lowering to level 1 refused", "B5 00 01 FF", "B5 FF"},
        {"still protected", "B1 00 01 A5", "B1 00 01 07"},
    });
    ProbeHarness removable({{"series", "9"}, {"pid", "00000240"}});
    removable.expectExchanges({
        {"level 2", "B5 00 01 CC", "B5 F1"},
        {"removal works", "B5 00 01 A5", "B5 F1"},
        {"not protected", "B1 00 01 A5", "B1 00 01 01"},
    });
}

TEST(AccessProtection, UndeterminedStatusClearsTheValidFlag)
{
    ProbeHarness h({{"status_valid", "0"}, {"protection", "1"}});
    EXPECT_EQ(h.bulk("B1 00 01 A5"), "B1 00 01 00");
    EXPECT_EQ(h.bulk("B1 00 01 00"), "B1 F2") << "the status request carries A5";
}

TEST(UserSystemData, FactoryBlockIsPairsOfByteAndComplement)
{
    ProbeHarness h;
    EXPECT_EQ(h.bulk("B2 02 00 00 00 00 00 30"), "B2 02 00 00 00 00 00 30 " + factoryUsd24());
    EXPECT_EQ(h.bulk("B2 02 00 00 00 2E 00 04"), "B2 F3 00 00 00 2E 00 04 FF FF FF FF") << "past 2L";
    for (auto [series, length] : {std::pair{"5", 512u}, {"9", 256u}, {"35", 128u}, {"7", 24u}}) {
        ProbeHarness other({{"series", series}});
        EXPECT_EQ(other.probe.target().userSystemData().image().size(), 2 * length) << "series " << series;
    }
    ProbeHarness s13({{"series", "13"}, {"pid", "00004240"}});
    EXPECT_EQ(s13.probe.target().userSystemData().logicalLength(), 2048u) << "4 KiB sectors";
}

TEST(UserSystemData, AWrittenBlockTakesEffectAtTheEndOfTheSequence)
{
    ProbeHarness h;
    std::string block = "00 FF";  // FAP 00: protection on
    for (int i = 1; i < 24; ++i)
        block += " FF 00";
    ASSERT_EQ(h.bulk("B3 05 01 00"), "B3 F1");
    ASSERT_EQ(h.bulk("B3 02 00 00 00 00 00 30 " + block), "B3 F1");
    EXPECT_EQ(h.bulk("B1 00 01 A5"), "B1 00 01 01") << "not before the end";
    ASSERT_EQ(h.bulk("B3 05 01 01"), "B3 F1");
    EXPECT_EQ(h.bulk("B1 00 01 A5"), "B1 00 01 03");
    EXPECT_EQ(h.bulk("B3 05 01 00"), "B3 FE") << "a protected block cannot be rewritten";
}

TEST(UserSystemData, ASequenceStartsFromAnErasedPage)
{
    ProbeHarness h;
    ASSERT_EQ(h.bulk("B3 05 01 00"), "B3 F1");
    ASSERT_EQ(h.bulk("B3 02 00 00 00 00 00 02 A5 5A"), "B3 F1");
    ASSERT_EQ(h.bulk("B3 05 01 01"), "B3 F1");
    EXPECT_EQ(h.bulk("B2 02 00 00 00 00 00 04"), "B2 02 00 00 00 00 00 04 A5 5A FF FF")
        << "bytes not written in the sequence stay erased";
}

TEST(EraseProgramProtection, ClearedEppBitsRefuseEraseAndProgramOfTheirSectors)
{
    ProbeHarness h;  // 256 KiB in 2 KiB sectors: 2 sectors per EPP bit
    writeUsd24(h, usdWithEpp0("FE 01"));
    h.expectExchanges({
        {"sector 0 erase refused", "B4 00 08 00 00 00 00 01", "B4 FE"},
        {"sector 1 shares the bit", "B4 00 08 00 08 00 00 01", "B4 FE"},
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

TEST(EraseProgramProtection, Bit31CoversEverySectorFrom31TimesSectorsPerBit)
{
    ProbeHarness h({{"pid", "00000200"}});  // 192 KiB in 1 KiB sectors: 4 sectors per bit
    std::string block = "A5 5A FF 00 FF 00 FF 00 FF 00 FF 00 FF 00 7F 80";
    for (int i = 8; i < 24; ++i)
        block += " FF 00";
    writeUsd24(h, block);
    h.expectExchanges({
        {"sector 123 is under bit 30", "B4 00 08 01 EC 00 00 01", "B4 F1"},
        {"sector 124 is the first under bit 31", "B4 00 08 01 F0 00 00 01", "B4 FE"},
        {"the last sector too", "B4 00 08 02 FC 00 00 01", "B4 FE"},
    });
}

TEST(EraseProgramProtection, TwentyByteLayoutProtects128KiBPerUpperBit)
{
    ProbeHarness h({{"series", "14"}, {"pid", "00003340"}});  // 1024 KiB, 2 KiB sectors, 256-byte block
    auto &usd = h.probe.target().userSystemData();
    usd.setLogical(10, 0xFE);  // EPP4 bit 0: sectors 64 to 127
    EXPECT_EQ(h.bulk("B4 00 08 01 F8 00 00 01"), "B4 F1") << "sector 63";
    EXPECT_EQ(h.bulk("B4 00 08 02 00 00 00 01"), "B4 FE") << "sector 64";
    EXPECT_EQ(h.bulk("B4 00 08 03 F8 00 00 01"), "B4 FE") << "sector 127";
    EXPECT_EQ(h.bulk("B4 00 08 04 00 00 00 01"), "B4 F1") << "sector 128";
    usd.setLogical(4, 0xFE);  // EPP0 bit 0: the first 4 KiB, sectors 0 and 1
    EXPECT_EQ(h.bulk("B4 00 08 00 08 00 00 01"), "B4 FE") << "sector 1";
    EXPECT_EQ(h.bulk("B4 00 08 00 10 00 00 01"), "B4 F1") << "sector 2";
}

}  // namespace
}  // namespace ksim::test
