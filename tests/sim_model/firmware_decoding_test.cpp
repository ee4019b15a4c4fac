// The firmware's decoder: lengths come from the request layout (bulk gives exact bytes, HID a
// zero-padded 64-byte report), and anything it cannot decode gets the BadRequest status and a
// diagnostic naming what arrived and what was expected.
#include <random>

#include "probe_harness.h"

namespace ksim::test {
namespace {

TEST(FirmwareDecoding, HidReportsAndBulkPacketsGetTheSameReplies)
{
    const char *requests[] = {
        "B0 00", "B0 04 04 00 0F 42 40", "B0 03", "B1 00 01 A5", "B1 01", "B3 03 01 00",
        "B3 00 08 00 00 00 00 03 01 02 03", "B2 00 08 00 00 00 00 04", "B4 00 08 00 08 00 00 01",
        "B5 00 01 FF", "B1 00 01 A5", "B5 00 01 A5", "CF 00 20 20 00 00 00 00 04",
    };
    ProbeHarness overBulk;
    ProbeHarness overHid;
    for (const char *request : requests) {
        SCOPED_TRACE(request);
        const std::string reply = overBulk.bulk(request);
        EXPECT_EQ(overHid.hid(request), reply);
        EXPECT_TRUE(overHid.lastExchange().diagnostic.empty()) << overHid.lastExchange().diagnostic;
    }
}

TEST(FirmwareDecoding, UnknownCommandsAreRefusedWithADiagnostic)
{
    ProbeHarness h;
    EXPECT_EQ(h.bulk("A0 00"), "A0 F2");
    EXPECT_NE(h.lastExchange().diagnostic.find("unknown command group A0"), std::string::npos) << h.lastExchange().diagnostic;
    EXPECT_EQ(h.bulk("B0 7F"), "B0 F2");
    EXPECT_NE(h.lastExchange().diagnostic.find("unknown sub-command 7F of group B0"), std::string::npos);
    EXPECT_NE(h.lastExchange().diagnostic.find("expected one of 00 01 02 03 04 05 06 07 08 09 0A 21 23 26 27"), std::string::npos)
        << h.lastExchange().diagnostic;
    EXPECT_EQ(h.bulk("B4 02 00 00 00 00 00 00"), "B4 F2") << "erase type 2 does not exist";
    EXPECT_EQ(h.bulk("B4 09 00 00 00 00 00 00"), "B4 F2") << "nor does type 9";
    EXPECT_EQ(h.bulk("B0"), "B0 F2") << "one byte";
    EXPECT_EQ(hexText(h.probe.handleRequest({}, false).reply), "00 F2") << "an empty packet still gets an answer";
}

TEST(FirmwareDecoding, BulkRequestsMustHaveExactlyTheirLayoutLength)
{
    ProbeHarness h;
    EXPECT_EQ(h.bulk("B0 04 04 00 0F 42"), "B0 F2");
    const std::string &why = h.lastExchange().diagnostic;
    EXPECT_NE(why.find("received 6 bytes: B0 04 04 00 0F 42"), std::string::npos) << why;
    EXPECT_NE(why.find("expected B0 04 04 speed(4) (7 bytes)"), std::string::npos) << why;
    EXPECT_EQ(h.bulk("B0 00 00"), "B0 F2") << "a trailing byte";
    EXPECT_EQ(h.bulk("B0 04 03 00 0F 42"), "B0 F2") << "a wrong parameter count";
    EXPECT_NE(h.lastExchange().diagnostic.find("parameter count 03"), std::string::npos);
    EXPECT_EQ(h.bulk("B3 00 08 00 00 00 00 04 01 02 03"), "B3 F2") << "data shorter than the length field";
    EXPECT_EQ(h.bulk("B5 01 04 00"), "B5 F2") << "an EPP clear needs its four zero bytes";
    EXPECT_EQ(h.probe.settings().swdSpeed, 1000000u) << "refused requests change nothing";
}

TEST(FirmwareDecoding, HidReportsAreDecodedFromTheLayoutAndTheirPaddingMustBeZero)
{
    ProbeHarness h;
    Bytes report = hidReport(hex("B0 04 04 00 0F 42 40"));
    EXPECT_EQ(hexText(h.probe.handleRequest(report, true).reply), "B0 F1");
    report[7] = 0x01;
    EXPECT_EQ(hexText(h.probe.handleRequest(report, true).reply), "B0 F2");
    EXPECT_NE(h.lastExchange().diagnostic.find("non-zero byte at offset 7 after the 7-byte request"), std::string::npos)
        << h.lastExchange().diagnostic;
    EXPECT_EQ(hexText(h.probe.handleRequest(hex("B0 00"), true).reply), "B0 F2") << "a short HID report";
    // A write whose length field asks for more than one report can hold.
    EXPECT_EQ(h.hid("B3 03 01 00"), "B3 F1");
    EXPECT_EQ(h.hid("B3 00 08 00 00 00 00 39"), "B3 F2");
    EXPECT_NE(h.lastExchange().diagnostic.find("more than one report"), std::string::npos);
    EXPECT_EQ(h.hid("B3 00 08 00 00 00 00 38"), "B3 F1") << "56 data bytes fill the report exactly";
}

TEST(FirmwareDecoding, TheLogNamesEveryCommand)
{
    ProbeHarness h;
    h.bulk("B0 00");
    h.hid("B4 06 00 00 00 00 00 00");
    ASSERT_EQ(h.probe.exchangeLog().size(), 2u);
    const Exchange &first = h.probe.exchangeLog()[0];
    EXPECT_EQ(first.index, 1u);
    EXPECT_FALSE(first.viaHid);
    EXPECT_EQ(first.command, "B0.00 version and application state");
    EXPECT_EQ(hexText(first.request), "B0 00");
    EXPECT_EQ(hexText(first.reply), "B0 00 05 02 01 07 00 01");
    const Exchange &second = h.probe.exchangeLog()[1];
    EXPECT_TRUE(second.viaHid);
    EXPECT_EQ(second.command, "B4.06 erase main flash");
    EXPECT_EQ(second.request.size(), 64u);
    EXPECT_EQ(h.probe.requestCount(), 2u);
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
