// QSPI, stored offline projects, firmware updates: argument refusals that send nothing, and what
// reply fields turn into (verdicts, decoded values, the caller's buffer).
#include "scripted_probe.h"

#include <gtest/gtest.h>

namespace {

using korvex_test::Bytes;
using korvex_test::OpenProbe;
using ksim::Transport;

uint8_t scratch[256];

struct Refusal {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    int code;
};

const std::vector<Refusal> kRefusals = {
    {ON_HANDLE(KORVEX_WriteMainData_Device(h, 16, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_ReadMainData_Device(h, 16, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 16, 0, 4)), 33},
    {ON_HANDLE(KORVEX_WriteOPTData_Device(h, 16, 48, scratch)), 33},
    {ON_HANDLE(KORVEX_WriteOPTData_Device(h, 0, 47, scratch)), 33},
    {ON_HANDLE(KORVEX_ReadOPTData_Device(h, 16, 48, scratch)), 33},
    {ON_HANDLE(KORVEX_ReadOPTData_Device(h, 0, 49, scratch)), 33},
    {ON_HANDLE(KORVEX_WriteOPTDataExtend_Device(h, 16, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_ReadOPTDataExtend_Device(h, 16, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_WriteOTPData_Device(h, 16, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_SetOTPLockParameters_Device(h, 17, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_SetOTPWriteParameters_Device(h, 255, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Apart(h, 16, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Bpart(h, 0, 61, scratch)), 33},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Cpart(h, 0, -1, scratch)), 33},
    {ON_HANDLE(KORVEX_SetOfflineConfig_Dpart(h, 16, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_SetOfflineConfig_Apart(h, 0, 61, scratch)), 33},
    {ON_HANDLE(KORVEX_DebugReadMemory_Device(h, 0, 56, scratch)), 33},
    {ON_HANDLE(KORVEX_SetCodeNumber(h, 3)), 33},
    {ON_HANDLE(KORVEX_SetCodeNumber(h, 0)), 33},
    {ON_HANDLE(KORVEX_SetCodeNumber(h, 32)), 33},
    {ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xA5, 1)), 33},
    {ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xC0, 1)), 33},
    {ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xAF, 1)), 33},
    {ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xA0, 17)), 33},
    {"GetDownloadTimes sel A1", [](KORVEX_HANDLE h) { int n; return KORVEX_GetDownloadTimes(h, 0xA1, 1, 0, &n); }, 33},
    {"GetDownloadTimes n 17", [](KORVEX_HANDLE h) { int n; return KORVEX_GetDownloadTimes(h, 0xB0, 17, 0, &n); }, 33},
    {"GetDownloadTimes kind 3", [](KORVEX_HANDLE h) { int n; return KORVEX_GetDownloadTimes(h, 0xBF, 1, 3, &n); }, 33},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 2, 0, 100, 100)), 33},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 0, 2, 100, 100)), 33},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 1, 0, 9, 1000)), 33},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 1, 0, 10, 1001)), 33},
    {ON_HANDLE(KORVEX_QSPI_Config_Cmd_Parameter(h, 16, scratch)), 1},
    {ON_HANDLE(KORVEX_QSPI_Custom_Cmd_Parameter(h, 18, scratch)), 1},
    {ON_HANDLE(KORVEX_QSPI_SectorErase(h, 0, -1)), 33},
    {ON_HANDLE(KORVEX_QSPI_SectorErase(h, 0, 65536)), 33},
    {ON_HANDLE(KORVEX_QSPI_BlockErase(h, 0, 65537)), 33},
    {ON_HANDLE(KORVEX_QSPI_Upload(h, 0, -1, scratch)), 33},
    {ON_HANDLE(KORVEX_QSPI_DownLoad_Target(h, 0, -4, scratch)), 33},
    {ON_HANDLE(KORVEX_FWUpdate(h, 0, -1, scratch)), 33},
    {ON_HANDLE(KORVEX_LCDFWUpdate(h, -1, scratch)), 33},
    {ON_HANDLE(KORVEX_GetLCDFWVersion(h, 1, scratch)), 33},
};

TEST(ProbeConfigArguments, out_of_range_arguments_send_nothing) {
    OpenProbe p(Transport::Bulk);
    p.probe().respond([](const Bytes &r) { return std::optional<Bytes>(Bytes{r[0], 0xF1}); });
    for (const Refusal &r : kRefusals) EXPECT_EQ(r.call(p.handle()), r.code) << r.name;
    EXPECT_EQ(p.probe().requestCount(), 0u);
}

// The largest single packets: accepted, and one exchange each (64-byte endpoints).
struct Fullest {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    Bytes reply;
    size_t requestLength;
};

Bytes padded(Bytes head, size_t total) {
    head.resize(total, 0x3C);
    return head;
}

const std::vector<Fullest> kFullest = {
    {ON_HANDLE(KORVEX_SetOfflineConfig_Apart(h, 0, 60, scratch)), {0xBD, 0xF1}, 64},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Bpart(h, 0, 60, scratch)), padded({0xBC, 0x10, 0x00, 0x3C}, 64), 2},
    {ON_HANDLE(KORVEX_DebugReadMemory_Device(h, 0, 55, scratch)),
     padded({0xCF, 0x02, 0x08, 0, 0, 0, 0, 0x00, 0x37}, 64), 9},
};

TEST(ProbeConfigArguments, the_fullest_packets_go_in_one_exchange) {
    OpenProbe p(Transport::Bulk);
    for (const Fullest &f : kFullest) {
        p.probe().clearLog();
        p.probe().respondAlways(f.reply);
        EXPECT_EQ(f.call(p.handle()), 0) << f.name;
        const std::vector<Bytes> requests = p.probe().requests();
        ASSERT_EQ(requests.size(), 1u) << f.name;
        EXPECT_EQ(requests[0].size(), f.requestLength) << f.name;
    }
}

// ---------------------------------------------------------------- reply fields

struct Verdict {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    Bytes reply;
    int result;
};

const std::vector<Verdict> kVerdicts = {
    {ON_HANDLE(KORVEX_FWUpdateVerify(h, 1)), {0xC0, 0x05, 0, 0, 0x01}, -96},
    {ON_HANDLE(KORVEX_FWUpdateVerify(h, 1)), {0xC0, 0x05, 0, 0, 0x00}, 0},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 2, 0, 4)), {0xB7, 0x12, 0x01, 0x02}, -96},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 2, 0, 4)), {0xB7, 0x12, 0x01, 0x00}, 0},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 2, 0, 4)), {0xB7, 0x13, 0x01, 0x00}, 0x13},
    {"GetVoltageLevelValue for another selector",
     [](KORVEX_HANDLE h) { uint16_t v; return KORVEX_GetVoltageLevelValue(h, 1, &v); },
     {0xB0, 0x0E, 0x03, 0x02, 0x13, 0x88}, 4},
    {ON_HANDLE(KORVEX_GetLCDFWVersion(h, 4, scratch)), {0xB0, 0x22, 0x02, 1, 2}, 4},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Apart(h, 0, 2, scratch)), {0xBC, 0x00, 0x00, 0x04, 1, 2, 3, 4}, 4},
    {ON_HANDLE(KORVEX_ReadOPTData_Device(h, 0, 48, scratch)),
     [] { Bytes b{0xBA, 0x00, 0x00, 0x31}; b.resize(52, 0x77); return b; }(), 4},
};

TEST(ProbeConfigReplies, verdicts_and_echoes_decide_the_result_and_a_refused_reply_copies_nothing) {
    OpenProbe p(Transport::Bulk);
    for (const Verdict &v : kVerdicts) {
        std::fill(std::begin(scratch), std::end(scratch), 0x5A);
        p.probe().respondAlways(v.reply);
        EXPECT_EQ(v.call(p.handle()), v.result) << v.name;
        if (v.result != 0) {
            EXPECT_EQ(scratch[0], 0x5A) << v.name << ": data of a refused reply was copied";
        }
    }
}

// The values themselves round-trip through the virtual probe (virtual_probe_test.cpp); here the
// caller's buffer: filled up to the length it gave, whatever the reply carries.
TEST(ProbeConfigReplies, data_lands_in_the_callers_buffer_and_no_further) {
    OpenProbe p(Transport::Hid);
    // A reply with more than the caller asked for fills the caller's buffer and no more.
    uint8_t version[4] = {0, 0, 0xEE, 0xEE};
    p.probe().respondAlways({0xB0, 0x22, 0x02, 1, 5, 7, 7});
    ASSERT_EQ(KORVEX_GetLCDFWVersion(p.handle(), 2, version), 0);
    EXPECT_EQ(Bytes(version, version + 4), (Bytes{1, 5, 0xEE, 0xEE}));

    uint8_t part[5] = {0, 0, 0, 0xEE, 0xEE};
    p.probe().respondAlways({0xBC, 0x32, 0x00, 0x03, 7, 8, 9});
    ASSERT_EQ(KORVEX_GetOfflineConfig_Dpart(p.handle(), 2, 3, part), 0);
    EXPECT_EQ(Bytes(part, part + 5), (Bytes{7, 8, 9, 0xEE, 0xEE}));
}

}  // namespace
