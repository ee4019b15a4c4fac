// The optional memories of the target through the wire: what a host outside the console's own
// sequences meets (the console's OTP, boot memory, SPIM and debug commands run end to end).
#include "probe_harness.h"
#include "target/target_mcu.h"

namespace ksim::test {
namespace {

TEST(OtpArea, DataProgramsOnceAndLockedBlocksRefuseWrites)
{
    ProbeHarness h({{"series", "25"}, {"pid", "00000240"}});  // OTP data 1 KiB at 1FFFF000, locks at 1FFFF500
    h.expectExchanges({
        {"outside a sequence", "B3 07 1F FF F0 00 00 01 00", "B3 F4"},
        {"begin OTP writes", "B3 06 01 00", "B3 F1"},
        {"block 0 data", "B3 07 1F FF F0 00 00 04 11 22 33 44", "B3 F1"},
        {"same bytes again are harmless", "B3 07 1F FF F0 00 00 02 11 22", "B3 F1"},
        {"other bytes over programmed ones are refused", "B3 07 1F FF F0 00 00 01 10", "B3 FF"},
        {"an offset addresses the same area", "B2 03 00 00 00 00 00 02", "B2 03 00 00 00 00 00 02 11 22"},
        {"lock block 0", "B3 08 1F FF F5 00 00 01 00", "B3 F1"},
        {"blank bytes of a locked block are refused", "B3 07 1F FF F0 10 00 01 00", "B3 FE"},
        {"a write spanning into block 0 is refused", "B3 07 1F FF F0 1F 00 02 00 00", "B3 FE"},
        {"a lock cannot be undone", "B3 08 1F FF F5 00 00 01 FF", "B3 FF"},
        {"past the data area", "B3 07 1F FF F4 00 00 01 00", "B3 F3"},
    });
}

TEST(BootMemory, ApModeNeedsTheRightKeyAndGatesWritesAndErase)
{
    ProbeHarness h({{"series", "9"}, {"pid", "00000240"}});  // boot memory 4 KiB at 1FFFE400
    h.expectExchanges({
        {"begin", "B3 03 01 00", "B3 F1"},
        {"boot memory write refused", "B3 00 1F FF E4 00 00 01 00", "B3 FE"},
        {"boot memory erase refused", "B4 07 00 00 00 00 00 00", "B4 FE"},
        {"a wrong key", "B5 0A 04 5C 3E 91 B6", "B5 FF"},
        {"still off", "B5 09", "B5 09 01 00"},
        {"the key", "B5 0A 04 5C 3E 91 B7", "B5 F1"},
        {"last byte", "B3 00 1F FF F3 FF 00 01 00", "B3 F1"},
        {"past the end", "B3 00 1F FF F4 00 00 01 00", "B3 F3"},
        {"no SPIM on this series", "B6 02 09 01 00 00 00 00 00 10 00 00", "B6 F4"},
    });
}

// Debug access: widths, alignment and the bus map. The SPIM chip behind its window keeps its content
// when the window shrinks, and is allocated as used.
TEST(DebugAccessAndSpim, WidthsAlignmentTheBusMapAndTheSpimWindow)
{
    ProbeHarness h;
    h.expectExchanges({
        {"unaligned 32-bit read", "CF 00 20 20 00 00 02 00 04", "CF F2 20 20 00 00 02 00 04 FF FF FF FF"},
        {"odd length for 16 bits", "CF 01 10 20 00 00 00 00 01 00", "CF F2"},
        {"width 12 does not exist", "CF 00 0C 20 00 00 00 00 04", "CF F2 0C 20 00 00 00 00 04 FF FF FF FF"},
        {"a peripheral register keeps its value", "CF 01 20 40 02 10 00 00 04 00 00 00 11", "CF F1"},
        {"read the register", "CF 00 20 40 02 10 00 00 04", "CF 00 20 40 02 10 00 00 04 00 00 00 11"},
        {"a system register", "CF 01 20 E0 00 ED 0C 00 04 05 FA 00 04", "CF F1"},
        {"nothing past the SRAM", "CF 01 20 20 01 00 00 00 04 00 00 00 00", "CF FF"},
        {"55 bytes fit a reply", "CF 00 08 20 00 00 00 00 38", "CF F2"},
        {"ZR32_S04 has no OTP area", "B2 03 00 00 00 00 00 01", "B2 F4 00 00 00 00 00 01 FF"},
        {"nor an AP mode", "B5 0A 04 5C 3E 91 B7", "B5 F4"},
        {"read before enabling", "B2 01 08 40 00 00 00 01", "B2 F4 08 40 00 00 00 01 FF"},
        {"write sequence refused", "B3 04 01 00", "B3 F4"},
        {"erase refused", "B4 05 00 00 00 00 00 00", "B4 F4"},
        {"more than 16 MiB", "B6 02 09 01 00 00 00 00 01 00 00 01", "B6 F3"},
        {"enable 2 MiB", "B6 02 09 04 00 00 00 00 00 20 00 00", "B6 F1"},
        {"begin SPIM writes", "B3 04 01 00", "B3 F1"},
        {"write", "B3 01 08 50 00 00 00 01 5A", "B3 F1"},
        {"type 0 does not reach the SPIM", "B2 00 08 50 00 00 00 01", "B2 F3 08 50 00 00 00 01 FF"},
        {"shrink to 1 MiB", "B6 02 09 04 00 00 00 00 00 10 00 00", "B6 F1"},
        {"outside the window", "B2 01 08 50 00 00 00 01", "B2 F3 08 50 00 00 00 01 FF"},
        {"erases the window", "B4 05 00 00 00 00 00 00", "B4 F1"},
        {"back to 2 MiB", "B6 02 09 04 00 00 00 00 00 20 00 00", "B6 F1"},
        {"still on the chip", "B2 01 08 50 00 00 00 01", "B2 01 08 50 00 00 00 01 5A"},
        {"16 MiB", "B6 02 09 04 00 00 00 00 01 00 00 00", "B6 F1"},
        {"the last byte", "B3 01 09 3F FF FF 00 01 00", "B3 F1"},
    });
    EXPECT_EQ(h.probe.target().spim().allocatedPages(), 2u);
    ASSERT_EQ(h.bulk("B4 05 00 00 00 00 00 00"), "B4 F1");
    EXPECT_EQ(h.probe.target().spim().allocatedPages(), 0u);
}

}  // namespace
}  // namespace ksim::test
