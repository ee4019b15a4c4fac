// The firmware's decoder: lengths come from the request layout (bulk gives exact bytes, HID a
// zero-padded 64-byte report), and anything it cannot decode gets the BadRequest status. The
// console's runs over HID and over bulk check the requests it can decode.
#include <random>

#include "probe_harness.h"

namespace ksim::test {
namespace {

// Requests the firmware cannot take: unknown groups and sub-commands, wrong lengths and counts,
// values out of range, a HID report with non-zero padding or a length field beyond one report. Each
// is refused with a diagnostic and none changes anything.
TEST(FirmwareDecoding, UndecodableRequestsAreRefused)
{
    const WireCase refused[] = {
        {"unknown group", "A0 00", "A0 F2"},
        {"unknown sub-command", "B0 7F", "B0 F2"},
        {"erase type 2", "B4 02 00 00 00 00 00 00", "B4 F2"},
        {"erase type 9", "B4 09 00 00 00 00 00 00", "B4 F2"},
        {"one byte", "B0", "B0 F2"},
        {"short bulk request", "B0 04 04 00 0F 42", "B0 F2"},
        {"a trailing byte", "B0 00 00", "B0 F2"},
        {"a wrong parameter count", "B0 04 03 00 0F 42", "B0 F2"},
        {"data shorter than the length field", "B3 00 08 00 00 00 00 04 01 02 03", "B3 F2"},
        {"an EPP clear without its four zero bytes", "B5 01 04 00", "B5 F2"},
        {"a status request without A5", "B1 00 01 00", "B1 F2"},
        {"target state 3", "B1 03 01 03", "B1 F2"},
        {"a read of 57 bytes does not fit a reply", "B2 00 08 03 FF C8 00 39", "B2 F2"},
        {"factory reset without its confirmation code", "CF 03 00 04 00 00 00 00", "CF F2"},
        {"factory reset with a short code", "CF 03 00 02 52 53", "CF F2"},
        {"code number 3", "BB 03 01 03", "BB F2"},
        {"delete with selector A5", "BB 06 02 A5 01", "BB F2"},
        {"machine programming time 9", "B0 1E 0A 01 00 00 00 00 09 00 00 03 E8", "B0 F2"},
        {"target stable time 0", "B0 0D 04 00 00 00 00", "B0 F2"},
        {"firmware begin with the wrong marker", "C0 01 00 02 A0 01", "C0 F2"},
        {"option block of 47 bytes", "B8 00 00 2F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", "B8 F2"},
        {"area above the OTP write parameters", "B8 50 00 00 00 00 00 01 11", "B8 F2"},
        {"chip erase with a count", "C2 09 00 00 00 00 00 01", "C2 F2"},
        {"QSPI block of 16 bytes", "C2 0A 10 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", "C2 F2"},
        {"unknown settings sub-command", "B0 2F", "B0 F2"},
        {"unknown group C3", "C3 00", "C3 F2"},
        {"pin test code 12", "CF 04 01 12", "CF F2"},
    };
    ProbeHarness h;
    for (const WireCase &c : refused) {
        EXPECT_EQ(h.bulk(c.request), hexText(hex(c.reply))) << c.what;
        EXPECT_NE(h.lastExchange().diagnostic, "") << c.what;
    }
    EXPECT_EQ(hexText(h.probe.handleRequest({}, false).reply), "00 F2") << "an empty packet still gets an answer";
    EXPECT_EQ(h.probe.settings().swdSpeed, 1000000u) << "refused requests change nothing";

    Bytes report = hidReport(hex("B0 04 04 00 0F 42 40"));
    report[7] = 0x01;
    EXPECT_EQ(hexText(h.probe.handleRequest(report, true).reply), "B0 F2") << "non-zero padding";
    EXPECT_EQ(hexText(h.probe.handleRequest(hex("B0 00"), true).reply), "B0 F2") << "a short HID report";
    EXPECT_EQ(h.hid("B3 03 01 00"), "B3 F1");
    EXPECT_EQ(h.hid("B3 00 08 00 00 00 00 39"), "B3 F2") << "more than one report";
    EXPECT_EQ(h.hid("B3 00 08 00 00 00 00 38"), "B3 F1") << "56 data bytes fill the report exactly";
}

TEST(FirmwareDecoding, RandomPacketsAlwaysGetAnAnswerWithTheirCommandByte)
{
    ProbeHarness h({{"series", "17"}, {"hw_version", "11"}, {"ble", "1"}});
    std::mt19937 random(20240601);
    const uint8_t groups[] = {0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xBB, 0xBE, 0xCF, 0x00, 0xFF};
    for (int i = 0; i < 3000; ++i) {
        const bool viaHid = i % 2 == 0;
        Bytes packet(viaHid ? 64 : 1 + random() % 64);
        for (uint8_t &b : packet)
            b = static_cast<uint8_t>(random() % 4 == 0 ? 0 : random());
        packet[0] = groups[random() % std::size(groups)];
        if (packet.size() > 1)
            packet[1] = static_cast<uint8_t>(random() % 16);
        const FirmwareAction action = h.probe.handleRequest(packet, viaHid);
        ASSERT_TRUE(action.reply.has_value()) << hexText(packet);
        ASSERT_GE(action.reply->size(), 2u);
        ASSERT_LE(action.reply->size(), 64u);
        ASSERT_EQ((*action.reply)[0], packet[0]);
    }
}

}  // namespace
}  // namespace ksim::test
