// The library frame through the real libusb on emulated probes: enumeration, the HID/bulk rule,
// opening and closing, and shutdown.
#include "scripted_probe.h"
#include "usb_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <set>
#include <thread>

namespace {

using korvex_test::Bytes;
using korvex_test::LibrarySession;
using korvex_test::probeIdentity;
using korvex_test::ScriptedProbe;
using ksim::Transport;

const Bytes kVersionReply = {0xB0, 0x00, 0x05, 0x01, 0x02, 0x03, 0x04, 0x01};

// Probes answering every request with their version, and the library's list of them.
struct Bench {
    ksim::Testbed bench;
    std::vector<ScriptedProbe> probes;
    std::optional<LibrarySession> library;
    explicit Bench(std::vector<std::string> serials = {}, Transport transport = Transport::Both) {
        for (const std::string &serial : serials) add(serial, transport);
    }
    void add(const std::string &serial, Transport transport = Transport::Both) {
        probes.emplace_back();
        probes.back().respondAlways(kVersionReply);
        bench.addDevice(probeIdentity(serial, transport), probes.back().handler());
    }
    std::vector<std::string> list() {
        if (!library) library.emplace();
        return library->list();
    }
    KORVEX_HANDLE open(const char *serial) {
        if (!library) library.emplace();
        return library->open(serial);
    }
};

int version(KORVEX_HANDLE h, Bytes *out = nullptr) {
    Bytes v(4, 0);
    const int rc = KORVEX_GetVersion(h, 4, v.data());
    if (out) *out = v;
    return rc;
}

uint8_t transType(KORVEX_HANDLE h) {
    uint8_t type = 0xEE;
    EXPECT_EQ(KORVEX_GetTransType(h, &type), 0);
    return type;
}

std::string serialOf(KORVEX_HANDLE h) {
    char serial[32] = {};
    EXPECT_EQ(KORVEX_GetSerialNumber(h, serial, sizeof serial), 0);
    return serial;
}

// ---------------------------------------------------------------- enumeration

TEST(Enumeration, without_init_or_probes_nothing_is_listed_and_open_fails) {
    uint8_t count = 99;
    tagKORVEXDeviceInfo info{};
    {
        Bench b({"KV-A"});
        EXPECT_EQ(KORVEX_GetKorvexDeviceList(&count, &info.deviceInfo[0][0]), 0);
        EXPECT_EQ(count, 0) << "listed without KORVEX_Init";
    }
    Bench none;
    EXPECT_TRUE(none.list().empty());
    EXPECT_EQ(KORVEX_Open(nullptr), KORVEX_INVALID_HANDLE);
    EXPECT_EQ(KORVEX_GetKorvexDeviceList(nullptr, info.deviceInfo[0]), INPUT_PARAMS_ERROR);
    count = 1;
    EXPECT_EQ(KORVEX_GetKorvexDeviceList(&count, nullptr), INPUT_PARAMS_MEMORY_ALLOCATION_ERROR);
}

// A serial longer than a row (99 bytes with its terminator) is cut to fit.
TEST(Enumeration, probes_are_listed_last_found_first_in_the_callers_rows_only) {
    Bench b({"KV-A", std::string(120, 'S'), "KV-C"});
    std::vector<std::string> expected = ksim_test::UsbContext().probeSerials();
    ASSERT_EQ(expected.size(), 3u);
    std::reverse(expected.begin(), expected.end());
    for (std::string &serial : expected) serial.resize(std::min<size_t>(serial.size(), 98));
    uint8_t count = 0;
    b.library.emplace();
    EXPECT_EQ(b.library->list(99, &count), expected);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(b.library->list(3, &count), expected) << "a capacity equal to the probe count reports them all";
    tagKORVEXDeviceInfo info{};
    std::memset(&info, '#', sizeof info);
    count = 2;
    EXPECT_EQ(KORVEX_GetKorvexDeviceList(&count, &info.deviceInfo[0][0]), 0);
    EXPECT_EQ(count, 0) << "more probes than rows";
    EXPECT_EQ(std::string(info.deviceInfo[0]), expected[0]);
    EXPECT_EQ(std::string(info.deviceInfo[1]), expected[1]);
    EXPECT_EQ(info.deviceInfo[2][0], '#') << "a row beyond the capacity was written";
}

// ---------------------------------------------------------------- HID / bulk rule, busy probes

// Another program's claim on an interface (3 HID, 0xFF bulk), through a libusb context of its own.
struct OtherProgram {
    explicit OtherProgram(uint8_t interfaceClass) : channel(usb.get(), interfaceClass) {}
    int claimError() const { return channel.error(); }
    ksim_test::UsbContext usb;
    ksim_test::ProbeChannel channel;
};

struct OpenCase {
    const char *name;
    Transport offered;
    uint8_t rule;
    uint8_t heldClass;     // the interface another program holds (3 HID, 0xFF bulk); 0: none
    uint8_t expectedType;  // 0 HID, 1 bulk
};

class TransportRule : public ::testing::TestWithParam<OpenCase> {};

// The rule chooses the interface of a probe that offers both. Whichever interface another program
// holds, the probe stays listed (so the one-probe rule counts it) and is not opened through another
// interface: the open fails and says why, and leaves the probe free once the other program lets go.
TEST_P(TransportRule, chooses_the_interface_and_a_held_probe_is_busy) {
    const OpenCase c = GetParam();
    ksim::Testbed bench;
    ScriptedProbe probe;
    bool sawHid = false, sawBulk = false;
    bench.addDevice(probeIdentity("KV-RULE", c.offered), [&, h = probe.handler()](const Bytes &p, bool viaHid) {
        (viaHid ? sawHid : sawBulk) = true;
        return h(p, viaHid);
    });
    probe.respondAlways(kVersionReply);
    std::optional<OtherProgram> other;
    if (c.heldClass) {
        other.emplace(c.heldClass);
        ASSERT_EQ(other->claimError(), 0);
    }
    LibrarySession library;
    KORVEX_SetTransTypeRule(c.rule);
    EXPECT_EQ(library.list(), std::vector<std::string>{"KV-RULE"});
    KORVEX_SetTransTypeRule(1);
    if (other) {
        errno = 0;
        EXPECT_EQ(KORVEX_Open(nullptr), KORVEX_INVALID_HANDLE);
        EXPECT_EQ(errno, EBUSY);
        other.reset();
    }
    KORVEX_HANDLE h = KORVEX_Open(nullptr);
    ASSERT_NE(h, KORVEX_INVALID_HANDLE) << "a failed open left the device open";
    EXPECT_EQ(transType(h), c.expectedType);
    char product[64];
    EXPECT_EQ(KORVEX_GetProduct(h, product, sizeof product), 0);
    EXPECT_STREQ(product, c.expectedType == 0 ? "Korvex HID" : "Korvex Bulk");
    EXPECT_EQ(version(h), 0);
    EXPECT_EQ(sawHid, c.expectedType == 0);
    EXPECT_EQ(sawBulk, c.expectedType == 1);
}

const OpenCase kOpenCases[] = {
    {"BothRule1", Transport::Both, 1, 0, 1},           {"BothRule0", Transport::Both, 0, 0, 0},
    {"BothRule7", Transport::Both, 7, 0, 1},           {"HidRule1", Transport::Hid, 1, 0, 0},
    {"HidRule0", Transport::Hid, 0, 0, 0},             {"BulkRule0", Transport::Bulk, 0, 0, 1},
    {"BulkRule1", Transport::Bulk, 1, 0, 1},           {"BulkHeld", Transport::Bulk, 1, 0xFF, 1},
    {"BothBulkHeld", Transport::Both, 1, 0xFF, 1},     {"BothHidHeld", Transport::Both, 1, 3, 1},
    {"BothBulkHeldHidPreferred", Transport::Both, 0, 0xFF, 0},
};
INSTANTIATE_TEST_SUITE_P(Library, TransportRule, ::testing::ValuesIn(kOpenCases),
                         [](const ::testing::TestParamInfo<OpenCase> &info) { return info.param.name; });

// Opening uses the last list, made under the rule of its day; an open handle outlives that list.
TEST(TransportRule, takes_effect_at_the_next_enumeration_and_open_handles_keep_theirs) {
    Bench b({"KV-A"});
    b.list();
    b.add("KV-LATE");
    EXPECT_EQ(KORVEX_Open("KV-LATE"), KORVEX_INVALID_HANDLE) << "opening enumerated";
    KORVEX_SetTransTypeRule(0);
    KORVEX_HANDLE bulk = KORVEX_Open("KV-A");
    EXPECT_EQ(transType(bulk), 1);
    b.list();  // frees the list the handle was opened from
    KORVEX_SetTransTypeRule(1);
    EXPECT_EQ(version(bulk), 0);
    EXPECT_EQ(transType(bulk), 1);
    EXPECT_EQ(serialOf(bulk), "KV-A");
    KORVEX_Close(bulk);
    EXPECT_EQ(transType(KORVEX_Open("KV-A")), 0);
    EXPECT_NE(KORVEX_Open("KV-LATE"), KORVEX_INVALID_HANDLE);
}

// ---------------------------------------------------------------- open and close

TEST(Open, by_exact_serial_or_the_first_listed_only_once_holding_every_interface) {
    Bench b({"KV-Case", "KV-B"});
    const std::vector<std::string> rows = b.list();
    EXPECT_EQ(KORVEX_Open("kv-case"), KORVEX_INVALID_HANDLE);
    EXPECT_EQ(KORVEX_Open("KV-Cas"), KORVEX_INVALID_HANDLE);
    KORVEX_HANDLE first = KORVEX_Open(nullptr);
    ASSERT_NE(first, KORVEX_INVALID_HANDLE);
    EXPECT_NE(first, 0u);
    EXPECT_EQ(serialOf(first), rows.front());
    EXPECT_EQ(KORVEX_Open(rows.front().c_str()), KORVEX_INVALID_HANDLE) << "opened twice";
    EXPECT_EQ(version(first), 0);
    KORVEX_HANDLE second = KORVEX_Open(rows.back().c_str());
    ASSERT_NE(second, KORVEX_INVALID_HANDLE);
    EXPECT_EQ(serialOf(second), rows.back());
    // Both went over bulk, and hold the HID interface too until they are closed.
    EXPECT_EQ(OtherProgram(3).claimError(), LIBUSB_ERROR_BUSY) << "the unused HID interface was left free";
    KORVEX_Close(first);
    KORVEX_Close(second);
    EXPECT_EQ(OtherProgram(3).claimError(), 0);
    EXPECT_EQ(OtherProgram(0xFF).claimError(), 0);
}

TEST(Open, stale_replies_are_drained_before_the_first_command) {
    Bench b({"KV-STALE"}, Transport::Bulk);
    ScriptedProbe &probe = b.probes[0];
    KORVEX_HANDLE h = b.open("KV-STALE");
    // A reply that comes after the library gave up stays queued in the probe.
    probe.respondAlways({0xB0, 0x00, 0x05, 0x09, 0x09, 0x09, 0x09, 0x01});
    probe.delayNextReply(400);
    EXPECT_EQ(version(h), TRANS_READ_ERROR);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    KORVEX_Close(h);

    probe.respondAlways(kVersionReply);
    h = b.open("KV-STALE");
    Bytes v;
    EXPECT_EQ(version(h, &v), 0);
    EXPECT_EQ(v, (Bytes{1, 2, 3, 4})) << "the stale reply was taken for the new command's";
}

// Exit twice or without Init is harmless; Exit closes the handles still open; a second Init keeps
// the open probes.
TEST(Close, first_of_two_leaves_the_second_usable_and_the_first_unknown_and_exit_closes_the_rest) {
    KORVEX_Exit();
    KORVEX_Exit();
    Bench b({"KV-A", "KV-B"});
    KORVEX_HANDLE a = b.open("KV-A");
    KORVEX_HANDLE bh = b.open("KV-B");
    EXPECT_NE(a, bh);
    KORVEX_Close(a);
    EXPECT_EQ(version(a), TRANS_HANDLE_NO_DEVICE_ERROR);
    EXPECT_EQ(version(bh), 0);
    KORVEX_Close(KORVEX_INVALID_HANDLE);
    KORVEX_Close(a);
    EXPECT_EQ(version(bh), 0);
    // The closed probe can be opened again, under a new handle; the old one stays dead.
    const KORVEX_HANDLE again = KORVEX_Open("KV-A");
    EXPECT_NE(again, KORVEX_INVALID_HANDLE);
    EXPECT_NE(again, a);
    EXPECT_EQ(version(a), TRANS_HANDLE_NO_DEVICE_ERROR);
    EXPECT_EQ(version(again), 0);

    b.library.reset();  // KORVEX_Exit with handles open
    EXPECT_EQ(version(again), TRANS_HANDLE_NO_DEVICE_ERROR);
    EXPECT_EQ(version(bh), TRANS_HANDLE_NO_DEVICE_ERROR);
    KORVEX_HANDLE reopened = b.open("KV-A");  // fails while the old context still claims the interface
    EXPECT_EQ(KORVEX_Init(), 0);
    EXPECT_EQ(version(reopened), 0);
}

// ---------------------------------------------------------------- strings

// A probe without strings lists and reads as UNKNOWN.
TEST(UsbStrings, are_copied_with_their_terminator_when_they_fit_and_missing_ones_read_as_unknown) {
    Bench b({"KV-STRINGS"}, Transport::Bulk);
    b.bench.addDevice({"", "", "", "", "", Transport::Bulk}, b.probes[0].handler());
    const std::vector<std::string> rows = b.list();
    EXPECT_EQ(std::set<std::string>(rows.begin(), rows.end()), (std::set<std::string>{"KV-STRINGS", "UNKNOWN"}));
    const KORVEX_HANDLE h = b.open("KV-STRINGS"), unknown = b.open("UNKNOWN");
    char text[11];
    EXPECT_EQ(KORVEX_GetManufacturer(unknown, text, 8), 0);
    EXPECT_STREQ(text, "UNKNOWN");
    EXPECT_EQ(KORVEX_GetProduct(unknown, text, 8), 0);
    EXPECT_STREQ(text, "UNKNOWN");
    EXPECT_EQ(KORVEX_GetSerialNumber(h, text, 11), 0);
    EXPECT_STREQ(text, "KV-STRINGS");
    EXPECT_EQ(KORVEX_GetSerialNumber(h, text, 10), INPUT_PARAMS_ERROR);
    EXPECT_EQ(KORVEX_GetManufacturer(h, text, 7), 0);
    EXPECT_STREQ(text, "Korvex");
    EXPECT_EQ(KORVEX_GetManufacturer(h, text, 6), INPUT_PARAMS_ERROR);
    EXPECT_EQ(KORVEX_GetProduct(h, text, 0), INPUT_PARAMS_ERROR);
    EXPECT_EQ(KORVEX_GetProduct(h, text, -5), INPUT_PARAMS_ERROR);
    EXPECT_EQ(KORVEX_SetNonblocking(h, 1), 0);
    EXPECT_EQ(b.probes[0].requests().size(), 0u) << "no string getter talks to the probe";
}

}  // namespace
