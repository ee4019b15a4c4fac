// Which communication times each export moves, export by export. The library reads the wall clock
// through time(); this binary defines time() itself, as the wall clock plus a skew that the test
// advances, so that every case sees a new second without waiting for one.
#include "scripted_probe.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <ctime>

namespace {

std::atomic<time_t> g_skew{0};

}  // namespace

extern "C" time_t time(time_t *out) noexcept {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const time_t seconds = now.tv_sec + g_skew.load();
    if (out) *out = seconds;
    return seconds;
}

namespace {

using korvex_test::Bytes;
using korvex_test::ExportCall;
using korvex_test::OpenProbe;
using korvex_test::Stamps;
using ksim::Transport;

using Times = std::array<int64_t, 3>;  // the probe's, the target's and the BLE module's

Times timesOf(KORVEX_HANDLE h) {
    Times t{};
    EXPECT_EQ(KORVEX_GetLastKorvexCommunicationTimes(h, &t[0]), 0);
    EXPECT_EQ(KORVEX_GetLastTargetCommunicationTimes(h, &t[1]), 0);
    EXPECT_EQ(KORVEX_GetLastBLECommunicationTimes(h, &t[2]), 0);
    return t;
}

// Moves the clock a long way on; the new current time.
int64_t nextMoment() {
    g_skew += 1000;
    int64_t now = 0;
    KORVEX_GetCurrentTimeSeconds(&now);
    return now;
}

// Opening sets all three to the same moment.
TEST(TimestampsByExport, each_export_moves_the_probe_time_and_its_own_parts_only) {
    const int64_t opening = nextMoment();
    OpenProbe p(Transport::Bulk);
    const Times opened = timesOf(p.handle());
    EXPECT_GE(opened[0], opening);
    EXPECT_EQ(opened, (Times{opened[0], opened[0], opened[0]}));
    // Status commands succeed, the others fail on the short reply at once: either way the
    // exchange happened, and that is what the times record.
    p.probe().respond([](const Bytes &r) { return std::optional<Bytes>(Bytes{r[0], 0xF1}); });
    for (const ExportCall &e : korvex_test::everyHandleExport()) {
        const Times before = timesOf(p.handle());
        const int64_t start = nextMoment();
        e.call(p.handle());
        const Times after = timesOf(p.handle());
        auto expectMoved = [&](bool moved, int64_t was, int64_t is, const char *which) {
            if (moved)
                EXPECT_GE(is, start) << e.name << " must move the " << which << " time";
            else
                EXPECT_EQ(is, was) << e.name << " must leave the " << which << " time";
        };
        expectMoved(e.stamps != Stamps::None, before[0], after[0], "probe");
        expectMoved(e.stamps == Stamps::LinkTarget, before[1], after[1], "target");
        expectMoved(e.stamps == Stamps::LinkBle, before[2], after[2], "BLE");
    }
}

}  // namespace
