// Injected faults: configured as data. The end-to-end fault tables apply each kind to a command.
#include "probe/fault_plan.h"
#include "probe_harness.h"
#include "target/target_mcu.h"

namespace ksim::test {
namespace {

TEST(FaultPlan, NoReplyToACommandStillCarriesItOut)
{
    ProbeHarness h({{"fault_no_reply", "B0.04"}});
    EXPECT_EQ(h.bulk("B0 04 04 00 00 00 64"), "");
    EXPECT_EQ(h.probe.settings().swdSpeed, 100u) << "the reply is lost, not the command";
    EXPECT_EQ(h.bulk("B0 03"), "B0 03 04 00 00 00 64");
}

TEST(FaultPlan, DelaysAddUp)
{
    ProbeHarness h({{"reply_delay_ms", "5"}, {"fault_delay", "B2,3000"}});
    EXPECT_EQ(h.probe.handleRequest(hex("B0 00"), false).delayMs, 5u);
    EXPECT_EQ(h.probe.handleRequest(hex("B2 00 08 00 00 00 00 01"), false).delayMs, 3005u);
    EXPECT_EQ(h.lastExchange().delayMs, 3005u);
}

TEST(FaultPlan, StaleReportsAreHandedOutOnce)
{
    ProbeHarness h({{"stale_reports", "2"}, {"stale_report", "B0 F1"}});
    const auto reports = h.probe.takeUnsolicitedReports();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(hexText(reports[0]), "B0 00 05 09 09 09 09 00");
    EXPECT_EQ(hexText(reports[2]), "B0 F1");
    EXPECT_TRUE(h.probe.takeUnsolicitedReports().empty());
    ASSERT_EQ(h.probe.exchangeLog().size(), 3u);
    EXPECT_EQ(h.probe.exchangeLog()[0].index, 0u);
    EXPECT_EQ(h.probe.requestCount(), 0u);
}

TEST(FaultPlan, FaultsClearDropsEveryRule)
{
    ProbeHarness h({{"fault_no_reply", "*"}});
    EXPECT_EQ(h.bulk("B0 05"), "");
    h.set("faults_clear", "1");
    EXPECT_EQ(h.bulk("B0 05"), "B0 05 01 00");
}

TEST(FaultPlan, TriggersParseOrAreRejected)
{
    EXPECT_EQ(FaultTrigger::parse("#17")->text(), "#17");
    EXPECT_EQ(FaultTrigger::parse("b2")->text(), "B2");
    EXPECT_EQ(FaultTrigger::parse("B2.0")->text(), "B2.00");
    EXPECT_EQ(FaultTrigger::parse("*")->text(), "*");
    for (const char *bad : {"#0", "#", "#x", "B2.", "B2.100", "XYZ", "", "123"})
        EXPECT_FALSE(FaultTrigger::parse(bad).has_value()) << bad;
}

TEST(Configuration, BadKeysAndValuesAreRefused)
{
    VirtualProbe probe;
    std::string error;
    const std::pair<const char *, const char *> cases[] = {
        {"colour", "red"}, {"fault_status", "B3"}, {"fault_status", "B3,1FF"}, {"fault_no_reply", "#0"},
        {"transport", "usb"}, {"fw_version", "1.2"}, {"series", "0"}, {"pid", "1FFFFFFFF"},
        {"protection", "3"}, {"spim_size", "0x1000001"}, {"flash_image", "08000000:/nonexistent/file.bin"},
        {"uid", "0011"}, {"stale_report", "B0 F"},
    };
    for (const auto &c : cases) {
        EXPECT_FALSE(probe.configure(c.first, c.second, error)) << c.first << "=" << c.second;
        EXPECT_FALSE(error.empty()) << c.first << "=" << c.second;
    }
}

TEST(Configuration, SeriesByNameAndIdentityStrings)
{
    ProbeHarness h({{"series", "ZR32_S07"}, {"serial", "KV0000000042"}, {"transport", "hid"}, {"uid", "00112233445566778899AABB"}});
    EXPECT_EQ(h.probe.target().series(), 7);
    EXPECT_EQ(h.probe.usbIdentity().serial, "KV0000000042");
    EXPECT_EQ(h.probe.usbIdentity().transport, Transport::Hid);
    EXPECT_EQ(h.bulk("B0 07"), "B0 07 0C 00 11 22 33 44 55 66 77 88 99 AA BB");
    h.set("series", "s18");
    EXPECT_EQ(h.probe.target().series(), 18);
}

}  // namespace
}  // namespace ksim::test
