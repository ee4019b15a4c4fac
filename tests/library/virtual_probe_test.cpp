// The library against the virtual probe's own firmware, whose decoder was written apart from the
// library's command tables: every request must be understood and every reply parsed. Round trips
// of data through it are the end-to-end tests' work.
#include "packet_rows.h"

#include <gtest/gtest.h>


namespace {

using korvex_test::LibrarySession;
using korvex_test::PacketRow;

struct VirtualBench {
    explicit VirtualBench(ksim::Settings settings) {
        settings.emplace_back("serial", "KV-VIRTUAL");
        probe = &bench.addProbe(settings);
        library.emplace();
        library->list();
        handle = KORVEX_Open("KV-VIRTUAL");
    }
    std::vector<ksim::Exchange> exchanges() {
        return bench.withProbe(0, [](ksim::VirtualProbe &p) { return p.exchangeLog(); });
    }
    void clearLog() {
        bench.withProbe(0, [](ksim::VirtualProbe &p) { p.clearExchangeLog(); });
    }
    ksim::Testbed bench;
    ksim::VirtualProbe *probe = nullptr;
    std::optional<LibrarySession> library;
    KORVEX_HANDLE handle = KORVEX_INVALID_HANDLE;
};

// Targets ready for every command: SPIM fitted and enabled; a BLE module behind a version-10 probe.
const ksim::Settings kReadyTarget = {{"spim_enabled", "1"}, {"spim_size", "0x1000000"}, {"transport", "bulk"}};
const ksim::Settings kReadyBle = {{"hw_version", "10"}, {"ble", "1"}, {"series", "17"}, {"transport", "bulk"}};

bool isBleRow(const PacketRow &row) { return row.name.rfind("BLECHIP_", 0) == 0; }

// One case per command group, so that the benches are built side by side.
class VirtualProbeDecoding : public ::testing::TestWithParam<int> {};

TEST_P(VirtualProbeDecoding, accepts_every_request_the_library_builds) {
    const std::vector<PacketRow> *groups[] = {&korvex_test::probeInformationRows(), &korvex_test::targetRows(),
                                              &korvex_test::bleRows()};
    for (const PacketRow &row : *groups[GetParam()]) {
        VirtualBench v(isBleRow(row) ? kReadyBle : kReadyTarget);  // fresh: no command's effect decides another's
        ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
        if (isBleRow(row)) {
            ASSERT_EQ(KORVEX_BLECHIP_S17_Connect(v.handle), 0);
        }
        v.clearLog();
        const int result = row.call(v.handle);
        // Success, or a refusal by status byte for a state this bench lacks (a write outside its
        // begin/end bracket, an absent bank): never a reply the library cannot parse.
        EXPECT_TRUE(result == 0 || result >= 0xF0) << row.name << " result " << result;
        for (const ksim::Exchange &e : v.exchanges()) {
            EXPECT_EQ(e.diagnostic, "") << row.name << " (" << e.command << ") result " << result;
        }
    }
}

const char *const kGroupNames[] = {"ProbeInformation", "Target", "Ble"};
INSTANTIATE_TEST_SUITE_P(Library, VirtualProbeDecoding, ::testing::Values(0, 1, 2),
                         [](const auto &info) { return std::string(kGroupNames[info.param]); });

}  // namespace
