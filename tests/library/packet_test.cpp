// Every probe command on the wire, byte for byte, over HID and bulk, and what each kind of bad or
// missing reply turns into. The rows live in packet_rows.cpp, one table per command group.
#include "scripted_probe.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using korvex_test::Bytes;
using korvex_test::OpenProbe;
using korvex_test::PacketRow;
using korvex_test::ReplyKind;
using ksim::Transport;

using korvex_test::allPacketGroups;

template <typename Fn>
void forEachRow(Fn fn) {
    for (const auto *group : allPacketGroups())
        for (const PacketRow &row : *group) fn(row);
}

class Wire : public ::testing::TestWithParam<Transport> {};

// Every request reaches the probe exactly; once the probe is gone a failed send is 2 for every
// command, also for those whose silent probe gives 3.
TEST_P(Wire, every_request_reaches_the_probe_exactly_until_it_is_gone) {
    OpenProbe p(GetParam());
    forEachRow([&](const PacketRow &row) {
        p.probe().clearLog();
        if (row.reply.empty())  // its command awaits no reply
            p.probe().respond(nullptr);
        else
            p.probe().respondAlways(row.reply);
        EXPECT_EQ(row.call(p.handle()), 0) << row.name;
        std::vector<Bytes> expected;
        for (Bytes r : row.requests) {
            if (p.viaHid()) r.resize(64, 0);  // a HID report, zero-padded
            expected.push_back(r);
        }
        EXPECT_EQ(p.probe().requests(), expected) << row.name;
    });
    p.bench().unplug(0);
    forEachRow([&](const PacketRow &row) { EXPECT_EQ(row.call(p.handle()), TRANS_WRITE_ERROR) << row.name; });
}

INSTANTIATE_TEST_SUITE_P(Library, Wire, ::testing::Values(Transport::Hid, Transport::Bulk),
                         [](const auto &info) { return info.param == Transport::Hid ? "Hid" : "Bulk"; });

// What a reply form must make of one byte of a good reply set to `value` (kNext: moved on by one).
// Every form also refuses a wrong command echo and a reply one byte short.
constexpr int kNext = -1;
constexpr int R4 = TRANS_READ_PARAMS_ERROR;
struct Change {
    const char *what;
    size_t at;
    int value;
    int result;
};
const std::map<ReplyKind, std::vector<Change>> kChanges = {
    {ReplyKind::Status,
     {{"status FF", 1, 0xFF, 255}, {"status FE", 1, 0xFE, 254}, {"status F2", 1, 0xF2, 242},
      {"status 00 is no success", 1, 0x00, R4}}},
    {ReplyKind::Data, {{"wrong sub", 1, kNext, R4}, {"wrong count", 2, kNext, R4}}},
    {ReplyKind::DataSubResult,
     {{"refusal in the sub byte", 1, 0xFE, 254}, {"sub byte 00 is no success", 1, 0x00, R4},
      {"wrong count or echo", 2, kNext, R4}}},
    {ReplyKind::DataSubIgnored, {{"sub not compared", 1, 0x77, 0}, {"wrong count", 2, kNext, R4}}},
    {ReplyKind::Memory,
     {{"type echo is the result", 1, 0xFF, 255}, {"type echo 00 is no success", 1, 0x00, R4},
      {"length echo differs", 7, kNext, R4}}},
    {ReplyKind::Debug, {{"sub echo is the result", 1, 0x05, 5}, {"length echo differs", 8, kNext, R4}}},
    {ReplyKind::EchoResult,
     {{"refusal in the echo byte", 1, 0xFE, 254}, {"echo byte 00 is no success", 1, 0x00, R4},
      {"fields not compared", 2, kNext, 0}}},
    {ReplyKind::EchoLength,
     {{"refusal in the echo byte", 1, 0xFE, 254}, {"echo byte 00 is no success", 1, 0x00, R4},
      {"length echo differs", 3, kNext, R4}}},
    {ReplyKind::Header, {{"wrong sub", 1, kNext, R4}, {"fields not compared", 2, kNext, 0}}},
    {ReplyKind::None, {}},
};

// Bulk keeps reply lengths exact (a HID report is always 64 bytes, so a short reply looks whole;
// that the library cuts each report to its reply's length, the Wire test over HID shows).
// Status, memory and debug replies are judged by their form alone: one single-exchange row per form
// and group stands for the others. Data replies carry each command's own count and echo rule.
TEST(ReplyChecks, every_bad_reply_gives_its_code) {
    OpenProbe p(Transport::Bulk);
    for (const auto *group : allPacketGroups()) {
        std::set<ReplyKind> formsSeen;
        for (const PacketRow &row : *group) {
            const bool byForm =
                row.kind == ReplyKind::Status || row.kind == ReplyKind::Memory || row.kind == ReplyKind::Debug;
            if (byForm && row.requests.size() == 1 && !formsSeen.insert(row.kind).second) continue;
            if (row.kind == ReplyKind::None) continue;  // nothing is read, so nothing can be wrong
            auto expect = [&](const Bytes &bad, int result, const std::string &what) {
                p.probe().clearLog();
                p.probe().respondAlways(bad);
                EXPECT_EQ(row.call(p.handle()), result) << row.name << ": " << what;
                EXPECT_EQ(p.probe().requests().size(), result == 0 ? row.requests.size() : 1u)
                    << row.name << ": " << what << " must stop at the first exchange";
            };
            expect(Bytes(row.reply.begin(), row.reply.end() - 1), R4, "one byte short");
            std::vector<Change> changes = kChanges.at(row.kind);
            changes.push_back({"wrong command echo", 0, kNext, R4});
            for (const Change &c : changes) {
                Bytes bad = row.reply;
                bad[c.at] = static_cast<uint8_t>(c.value == kNext ? bad[c.at] + 1 : c.value);
                if (bad != row.reply) expect(bad, c.result, c.what);  // a byte already so is no change
            }
        }
    }
}

// One case per command group, so that the waits run side by side.
class SilentProbe : public ::testing::TestWithParam<size_t> {};

TEST_P(SilentProbe, gives_each_commands_receive_code) {
    OpenProbe p(Transport::Bulk);
    p.probe().respond(nullptr);
    for (const PacketRow &row : *allPacketGroups().at(GetParam())) {
        if (row.silentResult == korvex_test::kNotWaitedFor) continue;
        p.probe().clearLog();
        EXPECT_EQ(row.call(p.handle()), row.silentResult) << row.name;
        EXPECT_EQ(p.probe().requests().size(), 1u) << row.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Library, SilentProbe, ::testing::Range<size_t>(0, 7),
                         [](const auto &info) { return std::string(korvex_test::kPacketGroupNames[info.param]); });

}  // namespace
