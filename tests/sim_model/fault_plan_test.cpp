// Injected faults: configured as data. The end-to-end fault tables apply each kind to a command.
#include "probe/fault_plan.h"

#include <cstdio>
#include <fstream>

#include "probe_harness.h"
#include "target/target_mcu.h"

namespace ksim::test {
namespace {

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

TEST(FaultPlan, TriggersParseOrAreRejectedWithAReason)
{
    struct Case {
        const char *text, *parsed, *error;  // parsed: the trigger's own text; error: how a refusal begins
    } cases[] = {
        {"#17", "#17", nullptr},
        {"b2", "B2", nullptr},
        {"B2.0", "B2.00", nullptr},
        {"*", "*", nullptr},
        {"B3.00@2", "B3.00@2", nullptr},
        {"B3@2+", "B3@2+", nullptr},
        {"#9223372036854775808", "#9223372036854775808", nullptr},
        {"#0", nullptr, "trigger #0 can never fire: requests are counted from 1"},
        {"#9223372036854775809", nullptr, "trigger #9223372036854775809 can never fire: requests are counted up to 2^63"},
        {"B3.00@0", nullptr, "trigger B3.00@0 can never fire: matches are counted from 1"},
        {"B3.00@-2+", nullptr, "trigger B3.00@-2+ can never fire: matches are counted from 1"},
        {"B3.00@9223372036854775809", nullptr, "trigger B3.00@9223372036854775809 can never fire"},
    };
    for (const Case &c : cases) {
        std::string error;
        const auto trigger = FaultTrigger::parse(c.text, error);
        EXPECT_EQ(trigger ? trigger->text() : "", c.parsed ? c.parsed : "") << c.text;
        if (c.error) {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave: " << error;
        }
    }
    for (const char *bad : {"#", "#x", "B2.", "B2.100", "XYZ", "", "123", "-1", "B3@", "B3@x", "B3@2++", "#+5"}) {
        std::string error;
        EXPECT_FALSE(FaultTrigger::parse(bad, error).has_value()) << bad;
        EXPECT_EQ(error.rfind("expected a trigger", 0), 0u) << bad << " gave: " << error;
    }
}

// A trigger naming a group alone counts every request of the group (the end-to-end download
// checks counted sub-command triggers).
TEST(FaultPlan, AGroupTriggerCountsEveryRequestOfTheGroup)
{
    ProbeHarness h({{"fault_status", "B0@4,EE"}});
    for (const char *hit : {"B0 F1", "B0 EE", "B0 F1"}) {
        h.bulk("B0 03");
        EXPECT_EQ(h.bulk("B0 04 04 00 00 00 64"), hit);
    }
}

// Each fault acts on its own requests: delays add up; a refusing probe leaves the target as it was
// (a reply lost after the command ran does not) and is logged; a replaced reply byte needs a reply
// that long.
TEST(FaultPlan, EachFaultActsOnItsOwnRequests)
{
    ProbeHarness h({{"reply_delay_ms", "5"}, {"fault_delay", "B2,3000"}, {"fault_refuse", "B0.04@1,FE"},
                    {"fault_reply_byte", "B0.00,2,04"}, {"fault_reply_byte", "B0.05,9,00"}});
    EXPECT_EQ(h.probe.handleRequest(hex("B2 00 08 00 00 00 00 01"), false).delayMs, 3005u);
    EXPECT_EQ(h.lastExchange().delayMs, 3005u);
    EXPECT_EQ(h.probe.handleRequest(hex("B0 03"), false).delayMs, 5u);
    EXPECT_EQ(h.bulk("B0 04 04 00 00 00 64"), "B0 FE");
    EXPECT_EQ(h.probe.settings().swdSpeed, 1000000u);
    EXPECT_EQ(h.lastExchange().faults, std::vector<std::string>{"refuse@B0.04@1"});
    EXPECT_EQ(h.lastExchange().command, "B0.04 write SWD speed");
    EXPECT_EQ(h.bulk("B0 00"), "B0 00 04 02 01 07 00 01");
    EXPECT_EQ(h.bulk("B0 05"), "B0 05 01 00");
    EXPECT_TRUE(h.lastExchange().faults.empty()) << "offset 9 is past a 4-byte reply";
}

TEST(Configuration, BadKeysAndValuesAreRefused)
{
    VirtualProbe probe;
    std::string error;
    const std::pair<const char *, const char *> cases[] = {
        {"colour", "red"}, {"fault_status", "B3"}, {"fault_status", "B3,1FF"}, {"fault_no_reply", "#0"},
        {"transport", "usb"}, {"fw_version", "1.2"}, {"series", "0"}, {"pid", "1FFFFFFFF"},
        {"protection", "3"}, {"spim_size", "0x1000001"}, {"flash_image", "08000000:/nonexistent/file.bin"},
        {"uid", "0011"}, {"stale_report", "B0 F"}, {"fault_no_reply", "B0,1"}, {"fault_reply_byte", "B0,64,00"},
        {"fault_refuse", "B4.00"}, {"usd", "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"}, {"usd_image", "/dev/zero"},
        {"flash_image", "08000000:/dev/zero"},
    };
    for (const auto &c : cases) {
        EXPECT_FALSE(probe.configure(c.first, c.second, error)) << c.first << "=" << c.second;
        EXPECT_FALSE(error.empty()) << c.first << "=" << c.second;
    }
}

TEST(Configuration, UserSystemDataFromLogicalBytesOrAStoredImage)
{
    ProbeHarness h({{"usd", "FF 12"}});
    EXPECT_EQ(h.probe.target().protectionLevel(), 1);
    EXPECT_EQ(hexText(std::vector<uint8_t>(h.probe.target().userSystemData().image().begin(),
                                           h.probe.target().userSystemData().image().begin() + 6)),
              "FF 00 12 ED FF 00");

    const std::string file = testing::TempDir() + "usd_image.bin";
    std::vector<uint8_t> image = h.probe.target().userSystemData().image();
    image[0] = 0xA5, image[1] = 0x5A;
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char *>(image.data()), static_cast<std::streamsize>(image.size()));
    h.set("usd_image", file);
    EXPECT_EQ(h.probe.target().protectionLevel(), 0);
    std::string error;
    std::ofstream(file, std::ios::binary) << "A5Z";
    EXPECT_FALSE(h.probe.configure("usd_image", file, error));
    EXPECT_NE(error.find("holds 3 bytes"), std::string::npos) << error;
    std::remove(file.c_str());
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
