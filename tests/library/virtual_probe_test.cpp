// The library against the virtual probe's own firmware, whose decoder was written apart from the
// library's command tables: every request must be understood and every reply parsed. What the
// probe then does with the commands is the virtual probe's own tests' and the end-to-end tests' work.
#include "scripted_probe.h"

#include <gtest/gtest.h>

namespace {

using korvex_test::PacketRow;

// Targets ready for every command: SPIM fitted and enabled; a BLE module behind a version-10 probe.
const ksim::Settings kReadyTarget = {
    {"serial", "KV-V"}, {"transport", "bulk"}, {"spim_enabled", "1"}, {"spim_size", "0x1000000"}};
const ksim::Settings kReadyBle = {
    {"serial", "KV-V"}, {"transport", "bulk"}, {"hw_version", "10"}, {"ble", "1"}, {"series", "17"}};

// One case per command group, so that the benches are built side by side.
class VirtualProbeDecoding : public ::testing::TestWithParam<int> {};

TEST_P(VirtualProbeDecoding, accepts_every_request_the_library_builds) {
    for (const PacketRow &row : *korvex_test::allPacketGroups().at(GetParam())) {
        const bool ble = row.name.find("BLECHIP_") != std::string::npos;
        ksim::Testbed bench;  // fresh: no command's effect decides another's
        bench.addProbe(ble ? kReadyBle : kReadyTarget);
        korvex_test::LibrarySession library;
        library.list();
        const KORVEX_HANDLE h = KORVEX_Open("KV-V");
        ASSERT_NE(h, KORVEX_INVALID_HANDLE);
        if (ble) {
            ASSERT_EQ(KORVEX_BLECHIP_S17_Connect(h), 0);
        }
        bench.withProbe(0, [](ksim::VirtualProbe &p) { p.clearExchangeLog(); });
        const int result = row.call(h);
        // Success, or a refusal by status byte for a state this bench lacks (a write outside its
        // begin/end bracket, an absent bank): never a reply the library cannot parse.
        // A verify of data this bench never received reports the mismatch.
        EXPECT_TRUE(result == 0 || result >= 0xF0 || result == KORVEX_VERIFY_MISMATCH) << row.name << " result " << result;
        for (const ksim::Exchange &e : bench.withProbe(0, [](ksim::VirtualProbe &p) { return p.exchangeLog(); }))
            EXPECT_EQ(e.diagnostic, "") << row.name << " (" << e.command << ") result " << result;
    }
}

INSTANTIATE_TEST_SUITE_P(Library, VirtualProbeDecoding, ::testing::Range(0, 7),
                         [](const auto &info) { return std::string(korvex_test::kPacketGroupNames[info.param]); });

}  // namespace
