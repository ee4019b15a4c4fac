// Every probe command on the wire, byte for byte, over HID and bulk, and what each kind of bad or
// missing reply turns into. The rows live in packet_rows.cpp, one table per command group.
#include "scripted_probe.h"

#include <gtest/gtest.h>

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

TEST_P(Wire, every_request_reaches_the_probe_exactly) {
    OpenProbe p(GetParam());
    ASSERT_NE(p.handle(), KORVEX_INVALID_HANDLE);
    forEachRow([&](const PacketRow &row) {
        p.probe().clearLog();
        if (row.reply.empty())  // its command awaits no reply
            p.probe().staySilent();
        else
            p.probe().respondAlways(row.reply);
        EXPECT_EQ(row.call(p.handle()), 0) << row.name;
        std::vector<Bytes> expected;
        for (const Bytes &r : row.requests) expected.push_back(p.onWire(r));
        EXPECT_EQ(p.probe().requests(), expected) << row.name;
    });
}

INSTANTIATE_TEST_SUITE_P(Library, Wire, ::testing::Values(Transport::Hid, Transport::Bulk),
                         [](const auto &info) { return info.param == Transport::Hid ? "Hid" : "Bulk"; });

// The replies a row's reply form must reject, with the result each one gives.
struct BadReply {
    std::string what;
    Bytes reply;
    int result;
};

std::vector<BadReply> badRepliesFor(const PacketRow &row) {
    const Bytes good = row.reply;
    auto with = [&](size_t i, uint8_t v) {
        Bytes b = good;
        b[i] = v;
        return b;
    };
    if (row.kind == ReplyKind::None) return {};  // nothing is read, so nothing can be wrong
    std::vector<BadReply> bad = {
        {"wrong command echo", with(0, static_cast<uint8_t>(good[0] ^ 0x01)), TRANS_READ_PARAMS_ERROR},
        {"one byte short", Bytes(good.begin(), good.end() - 1), TRANS_READ_PARAMS_ERROR},
    };
    switch (row.kind) {
    case ReplyKind::Status:
        bad.push_back({"status FF", with(1, 0xFF), 255});
        bad.push_back({"status FE", with(1, 0xFE), 254});
        bad.push_back({"status F2", with(1, 0xF2), 242});
        bad.push_back({"status 00 is no success", with(1, 0x00), TRANS_READ_PARAMS_ERROR});
        break;
    case ReplyKind::Data:
        bad.push_back({"wrong sub", with(1, static_cast<uint8_t>(good[1] + 1)), TRANS_READ_PARAMS_ERROR});
        bad.push_back({"wrong count", with(2, static_cast<uint8_t>(good[2] + 1)), TRANS_READ_PARAMS_ERROR});
        break;
    case ReplyKind::DataSubResult:
        bad.push_back({"refusal in the sub byte", with(1, 0xFE), 254});
        bad.push_back({"sub byte 00 is no success", with(1, 0x00), TRANS_READ_PARAMS_ERROR});
        bad.push_back({"wrong count or echo", with(2, static_cast<uint8_t>(good[2] + 1)), TRANS_READ_PARAMS_ERROR});
        break;
    case ReplyKind::DataSubIgnored:
        bad.push_back({"sub not compared", with(1, 0x77), 0});
        bad.push_back({"wrong count", with(2, static_cast<uint8_t>(good[2] + 1)), TRANS_READ_PARAMS_ERROR});
        break;
    case ReplyKind::Memory:
        bad.push_back({"type echo is the result", with(1, 0xFF), 255});
        if (good[1] != 0) bad.push_back({"type echo 00 is no success", with(1, 0x00), TRANS_READ_PARAMS_ERROR});
        bad.push_back({"length echo differs", with(7, static_cast<uint8_t>(good[7] + 1)), TRANS_READ_PARAMS_ERROR});
        break;
    case ReplyKind::Debug:
        bad.push_back({"sub echo is the result", with(1, 0x05), 5});
        bad.push_back({"length echo differs", with(8, static_cast<uint8_t>(good[8] + 1)), TRANS_READ_PARAMS_ERROR});
        break;
    case ReplyKind::EchoResult:
    case ReplyKind::EchoLength:
        bad.push_back({"refusal in the echo byte", with(1, 0xFE), 254});
        bad.push_back({"echo byte 00 is no success", with(1, 0x00), TRANS_READ_PARAMS_ERROR});
        if (row.kind == ReplyKind::EchoLength)
            bad.push_back({"length echo differs", with(3, static_cast<uint8_t>(good[3] + 1)), TRANS_READ_PARAMS_ERROR});
        else
            bad.push_back({"fields not compared", with(2, static_cast<uint8_t>(good[2] + 1)), 0});
        break;
    case ReplyKind::Header:
        bad.push_back({"wrong sub", with(1, static_cast<uint8_t>(good[1] + 1)), TRANS_READ_PARAMS_ERROR});
        bad.push_back({"fields not compared", with(2, static_cast<uint8_t>(good[2] + 1)), 0});
        break;
    case ReplyKind::None: break;
    }
    return bad;
}

// Bulk keeps reply lengths exact (a HID report is always 64 bytes, so a short reply looks whole).
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
            for (const BadReply &bad : badRepliesFor(row)) {
                p.probe().clearLog();
                p.probe().respondAlways(bad.reply);
                EXPECT_EQ(row.call(p.handle()), bad.result) << row.name << ": " << bad.what;
                EXPECT_EQ(p.probe().requestCount(), bad.result == 0 ? row.requests.size() : 1u)
                    << row.name << ": " << bad.what << " must stop at the first exchange";
            }
        }
    }
}

TEST(ReplyChecks, hid_reports_are_cut_to_the_expected_length) {
    OpenProbe p(Transport::Hid);
    p.probe().respondAlways({0xB0, 0xF1, 0xEE, 0xEE});
    EXPECT_EQ(KORVEX_SetRsetMode(p.handle(), 1), 0);
    p.probe().respondAlways({0xB0, 0x05, 0x01, 0x02});
    uint8_t mode = 0;
    EXPECT_EQ(KORVEX_GetRsetMode(p.handle(), &mode), 0);
    EXPECT_EQ(mode, 2);
}

// One case per command group, so that the waits run side by side.
class SilentProbe : public ::testing::TestWithParam<size_t> {};

TEST_P(SilentProbe, gives_each_commands_receive_code) {
    OpenProbe p(Transport::Bulk);
    p.probe().staySilent();
    for (const PacketRow &row : *allPacketGroups().at(GetParam())) {
        if (row.silentResult == korvex_test::kNotWaitedFor) continue;
        p.probe().clearLog();
        EXPECT_EQ(row.call(p.handle()), row.silentResult) << row.name;
        EXPECT_EQ(p.probe().requestCount(), 1u) << row.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Library, SilentProbe, ::testing::Range<size_t>(0, 7),
                         [](const auto &info) { return std::string(korvex_test::kPacketGroupNames[info.param]); });

// A failed send is 2 for every command, also for those whose silent probe gives 3.
class GoneProbe : public ::testing::TestWithParam<Transport> {};

TEST_P(GoneProbe, every_send_fails_with_2) {
    OpenProbe p(GetParam());
    ASSERT_NE(p.handle(), KORVEX_INVALID_HANDLE);
    p.bench().unplug(0);
    forEachRow([&](const PacketRow &row) { EXPECT_EQ(row.call(p.handle()), TRANS_WRITE_ERROR) << row.name; });
}

INSTANTIATE_TEST_SUITE_P(Library, GoneProbe, ::testing::Values(Transport::Hid, Transport::Bulk),
                         [](const auto &info) { return info.param == Transport::Hid ? "Hid" : "Bulk"; });

}  // namespace
