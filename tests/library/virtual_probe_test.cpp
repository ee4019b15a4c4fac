// The library against the virtual probe's own firmware, whose decoder was written apart from the
// library's command tables: every request must be understood, every reply parsed, and data must
// survive a round trip.
#include "packet_rows.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using korvex_test::Bytes;
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

const ksim::Settings kWithBle = {{"hw_version", "10"}, {"ble", "1"}, {"series", "17"}};

// Targets ready for every command: SPIM fitted and enabled; a BLE module behind a version-10 probe.
const ksim::Settings kReadyTarget = {{"spim_enabled", "1"}, {"spim_size", "0x1000000"}, {"transport", "bulk"}};
const ksim::Settings kReadyBle = {{"hw_version", "10"}, {"ble", "1"}, {"series", "17"}, {"transport", "bulk"}};

bool isBleRow(const PacketRow &row) { return row.name.rfind("BLECHIP_", 0) == 0; }

// One case per command group, so that the benches are built side by side.
class VirtualProbeDecoding : public ::testing::TestWithParam<int> {};

TEST_P(VirtualProbeDecoding, accepts_every_request_the_library_builds) {
    for (const PacketRow &row : *korvex_test::allPacketGroups().at(GetParam())) {
        VirtualBench v(isBleRow(row) ? kReadyBle : kReadyTarget);  // fresh: no command's effect decides another's
        ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
        if (isBleRow(row)) {
            ASSERT_EQ(KORVEX_BLECHIP_S17_Connect(v.handle), 0);
        }
        v.clearLog();
        const int result = row.call(v.handle);
        // Success, or a refusal by status byte for a state this bench lacks (a write outside its
        // begin/end bracket, an absent bank): never a reply the library cannot parse.
        // A verify of data this bench never received reports the mismatch.
        EXPECT_TRUE(result == 0 || result >= 0xF0 || result == KORVEX_VERIFY_MISMATCH) << row.name << " result " << result;
        for (const ksim::Exchange &e : v.exchanges()) {
            EXPECT_EQ(e.diagnostic, "") << row.name << " (" << e.command << ") result " << result;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Library, VirtualProbeDecoding, ::testing::Range(0, 7),
                         [](const auto &info) { return std::string(korvex_test::kPacketGroupNames[info.param]); });

TEST(VirtualProbe, main_flash_download_and_upload_round_trip) {
    VirtualBench v(ksim::Settings{{"transport", "bulk"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    Bytes image(1000);
    std::iota(image.begin(), image.end(), uint8_t(7));
    ASSERT_EQ(KORVEX_SectorErase_Target(v.handle, 0x08000000, 1), 0);
    ASSERT_EQ(KORVEX_WriteMainFlashBegin_Target(v.handle), 0);
    ASSERT_EQ(KORVEX_DownLoad_Target(v.handle, 0x08000000, int(image.size()), image.data()), 0);
    ASSERT_EQ(KORVEX_WriteMainFlashEnd_Target(v.handle), 0);
    Bytes back(image.size());
    ASSERT_EQ(KORVEX_UPLoad_Target(v.handle, 0x08000000, int(back.size()), back.data()), 0);
    EXPECT_EQ(back, image);
}

TEST(VirtualProbe, ble_flash_round_trip) {
    VirtualBench v(kWithBle);
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    ASSERT_EQ(KORVEX_BLECHIP_S17_Connect(v.handle), 0);
    ASSERT_EQ(KORVEX_BLECHIP_EraseMainFlash(v.handle), 0);
    Bytes data(300);
    std::iota(data.begin(), data.end(), uint8_t(1));
    ASSERT_EQ(KORVEX_BLECHIP_WriteFlash(v.handle, 0x400, int(data.size()), data.data()), 0);
    Bytes back(data.size());
    ASSERT_EQ(KORVEX_BLECHIP_ReadFlash(v.handle, 0x400, int(back.size()), back.data()), 0);
    EXPECT_EQ(back, data);
}

TEST(VirtualProbe, stale_reports_queued_before_open_never_reach_a_command) {
    VirtualBench v(ksim::Settings{{"stale_reports", "3"}, {"fw_version", "2.1.7"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    uint8_t version[4] = {};
    ASSERT_EQ(KORVEX_GetVersion(v.handle, 4, version), 0);
    EXPECT_NE(version[1], 9) << "a stale version reply (fw 9.9.9) was taken for the answer";
}

TEST(VirtualProbe, upload_stops_at_the_chunk_the_probe_does_not_answer) {
    VirtualBench v(ksim::Settings{{"transport", "bulk"}, {"fault_no_reply", "#3"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    Bytes buffer(200, 0xAA);
    EXPECT_EQ(KORVEX_UPLoad_Target(v.handle, 0x08000000, 200, buffer.data()), TRANS_WRITE_ERROR);
    EXPECT_EQ(v.exchanges().size(), 3u);
}

TEST(VirtualProbe, a_refused_write_returns_the_probes_status) {
    VirtualBench v(ksim::Settings{{"fault_status", "B3,FE"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    const Bytes data(120, 0);
    EXPECT_EQ(KORVEX_DownLoad_Target(v.handle, 0x08000000, 120, data.data()), 254);
    EXPECT_EQ(v.exchanges().size(), 1u);
}

}  // namespace
