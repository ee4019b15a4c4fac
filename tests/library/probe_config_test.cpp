// QSPI, stored offline projects, firmware updates: argument refusals that send nothing, chunk
// boundaries, and what reply fields turn into (verdicts, decoded values, the caller's buffer).
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
    {"WriteMainData_Device index 16", [](KORVEX_HANDLE h) { return KORVEX_WriteMainData_Device(h, 16, 0, 4, scratch); }, 33},
    {"ReadMainData_Device index 16", [](KORVEX_HANDLE h) { return KORVEX_ReadMainData_Device(h, 16, 0, 4, scratch); }, 33},
    {"VerifyMainData_Device index 16", [](KORVEX_HANDLE h) { return KORVEX_VerifyMainData_Device(h, 16, 0, 4); }, 33},
    {"WriteOPTData_Device index 16", [](KORVEX_HANDLE h) { return KORVEX_WriteOPTData_Device(h, 16, 48, scratch); }, 33},
    {"WriteOPTData_Device len 47", [](KORVEX_HANDLE h) { return KORVEX_WriteOPTData_Device(h, 0, 47, scratch); }, 33},
    {"ReadOPTData_Device index 16", [](KORVEX_HANDLE h) { return KORVEX_ReadOPTData_Device(h, 16, 48, scratch); }, 33},
    {"ReadOPTData_Device len 49", [](KORVEX_HANDLE h) { return KORVEX_ReadOPTData_Device(h, 0, 49, scratch); }, 33},
    {"WriteOPTDataExtend_Device index 16",
     [](KORVEX_HANDLE h) { return KORVEX_WriteOPTDataExtend_Device(h, 16, 4, scratch); }, 33},
    {"ReadOPTDataExtend_Device index 16",
     [](KORVEX_HANDLE h) { return KORVEX_ReadOPTDataExtend_Device(h, 16, 4, scratch); }, 33},
    {"WriteOTPData_Device index 16", [](KORVEX_HANDLE h) { return KORVEX_WriteOTPData_Device(h, 16, 0, 4, scratch); }, 33},
    {"SetOTPLockParameters_Device index 17",
     [](KORVEX_HANDLE h) { return KORVEX_SetOTPLockParameters_Device(h, 17, 0, 4, scratch); }, 33},
    {"SetOTPWriteParameters_Device index 255",
     [](KORVEX_HANDLE h) { return KORVEX_SetOTPWriteParameters_Device(h, 255, 0, 4, scratch); }, 33},
    {"GetOfflineConfig_Apart index 16", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Apart(h, 16, 4, scratch); }, 33},
    {"GetOfflineConfig_Bpart len 61", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Bpart(h, 0, 61, scratch); }, 33},
    {"GetOfflineConfig_Cpart len -1", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Cpart(h, 0, -1, scratch); }, 33},
    {"SetOfflineConfig_Dpart index 16", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Dpart(h, 16, 4, scratch); }, 33},
    {"SetOfflineConfig_Apart len 61", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Apart(h, 0, 61, scratch); }, 33},
    {"DebugReadMemory_Device len 56", [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Device(h, 0, 56, scratch); }, 33},
    {"SetCodeNumber 3", [](KORVEX_HANDLE h) { return KORVEX_SetCodeNumber(h, 3); }, 33},
    {"SetCodeNumber 0", [](KORVEX_HANDLE h) { return KORVEX_SetCodeNumber(h, 0); }, 33},
    {"SetCodeNumber 32", [](KORVEX_HANDLE h) { return KORVEX_SetCodeNumber(h, 32); }, 33},
    {"DeleteOfflineConfIndex A5", [](KORVEX_HANDLE h) { return KORVEX_DeleteOfflineConfIndex(h, 0xA5, 1); }, 33},
    {"DeleteOfflineConfIndex C0", [](KORVEX_HANDLE h) { return KORVEX_DeleteOfflineConfIndex(h, 0xC0, 1); }, 33},
    {"DeleteOfflineConfIndex AF", [](KORVEX_HANDLE h) { return KORVEX_DeleteOfflineConfIndex(h, 0xAF, 1); }, 33},
    {"DeleteOfflineConfIndex n 17", [](KORVEX_HANDLE h) { return KORVEX_DeleteOfflineConfIndex(h, 0xA0, 17); }, 33},
    {"GetDownloadTimes sel A1", [](KORVEX_HANDLE h) { int n; return KORVEX_GetDownloadTimes(h, 0xA1, 1, 0, &n); }, 33},
    {"GetDownloadTimes n 17", [](KORVEX_HANDLE h) { int n; return KORVEX_GetDownloadTimes(h, 0xB0, 17, 0, &n); }, 33},
    {"GetDownloadTimes kind 3", [](KORVEX_HANDLE h) { int n; return KORVEX_GetDownloadTimes(h, 0xBF, 1, 3, &n); }, 33},
    {"SetMachineBurningState a 2", [](KORVEX_HANDLE h) { return KORVEX_SetMachineBurningState(h, 2, 0, 100, 100); }, 33},
    {"SetMachineBurningState b 2", [](KORVEX_HANDLE h) { return KORVEX_SetMachineBurningState(h, 0, 2, 100, 100); }, 33},
    {"SetMachineBurningState c 9", [](KORVEX_HANDLE h) { return KORVEX_SetMachineBurningState(h, 1, 0, 9, 1000); }, 33},
    {"SetMachineBurningState d 1001", [](KORVEX_HANDLE h) { return KORVEX_SetMachineBurningState(h, 1, 0, 10, 1001); }, 33},
    {"QSPI_Config_Cmd_Parameter len 16",
     [](KORVEX_HANDLE h) { return KORVEX_QSPI_Config_Cmd_Parameter(h, 16, scratch); }, 1},
    {"QSPI_Custom_Cmd_Parameter len 18",
     [](KORVEX_HANDLE h) { return KORVEX_QSPI_Custom_Cmd_Parameter(h, 18, scratch); }, 1},
    {"QSPI_SectorErase -1", [](KORVEX_HANDLE h) { return KORVEX_QSPI_SectorErase(h, 0, -1); }, 33},
    {"QSPI_SectorErase 65536", [](KORVEX_HANDLE h) { return KORVEX_QSPI_SectorErase(h, 0, 65536); }, 33},
    {"QSPI_BlockErase 65537", [](KORVEX_HANDLE h) { return KORVEX_QSPI_BlockErase(h, 0, 65537); }, 33},
    {"QSPI_Upload negative", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Upload(h, 0, -1, scratch); }, 33},
    {"QSPI_DownLoad_Target negative", [](KORVEX_HANDLE h) { return KORVEX_QSPI_DownLoad_Target(h, 0, -4, scratch); }, 33},
    {"FWUpdate negative", [](KORVEX_HANDLE h) { return KORVEX_FWUpdate(h, 0, -1, scratch); }, 33},
    {"LCDFWUpdate negative", [](KORVEX_HANDLE h) { return KORVEX_LCDFWUpdate(h, -1, scratch); }, 33},
    {"GetLCDFWVersion len 1", [](KORVEX_HANDLE h) { return KORVEX_GetLCDFWVersion(h, 1, scratch); }, 33},
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
    {"SetOfflineConfig_Apart 60 (OUT - 4)", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Apart(h, 0, 60, scratch); },
     {0xBD, 0xF1}, 64},
    {"GetOfflineConfig_Bpart 60 (IN - 4)", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Bpart(h, 0, 60, scratch); },
     padded({0xBC, 0x10, 0x00, 0x3C}, 64), 2},
    {"DebugReadMemory_Device 55 (IN - 9)",
     [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Device(h, 0, 55, scratch); },
     padded({0xCF, 0x02, 0x08, 0, 0, 0, 0, 0x00, 0x37}, 64), 9},
    {"ReadMainData_Device 56 (IN - 8)", [](KORVEX_HANDLE h) { return KORVEX_ReadMainData_Device(h, 0, 0, 56, scratch); },
     padded({0xB9, 0x00, 0, 0, 0, 0, 0x00, 0x38}, 64), 8},
    {"WriteMainData_Device 56 (OUT - 8)", [](KORVEX_HANDLE h) { return KORVEX_WriteMainData_Device(h, 0, 0, 56, scratch); },
     {0xB7, 0xF1}, 64},
    {"FWUpdate 56 (OUT - 8)", [](KORVEX_HANDLE h) { return KORVEX_FWUpdate(h, 0, 56, scratch); }, {0xC0, 0xF1}, 64},
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

// ---------------------------------------------------------------- chunk boundaries

// Where a request names its chunk: memory form (address at 2, length at 6), probe firmware data
// (length + 4 at 2, address at 4), display data (n = length + 3 at 2, last flag at 3, offset at 4).
enum class Form { Memory, Firmware, Display };

struct Piece {
    uint32_t at;
    size_t length;
    int last;  // display data only, else 0
    bool operator==(const Piece &o) const { return at == o.at && length == o.length && last == o.last; }
};
std::ostream &operator<<(std::ostream &o, const Piece &p) { return o << std::hex << p.at << std::dec << "+" << p.length << "/" << p.last; }

uint32_t be32(const Bytes &b, size_t i) { return uint32_t(b[i]) << 24 | uint32_t(b[i + 1]) << 16 | uint32_t(b[i + 2]) << 8 | b[i + 3]; }
size_t be16(const Bytes &b, size_t i) { return size_t(b[i]) << 8 | b[i + 1]; }

Piece pieceOf(Form form, const Bytes &r) {
    switch (form) {
    case Form::Memory: return {be32(r, 2), be16(r, 6), 0};
    case Form::Firmware: return {be32(r, 4), be16(r, 2) - 4, 0};
    case Form::Display: return {uint32_t(be16(r, 4)), size_t(r[2]) - 3, r[3]};
    }
    return {};
}
size_t headerOf(Form form) { return form == Form::Display ? 6 : 8; }

// Serves reads from a pattern (byte = low byte of its address) and acknowledges everything else.
std::optional<Bytes> serve(const Bytes &r) {
    const bool read = r[0] == 0xB9 || (r[0] == 0xBA && r[1] >= 0x10) || (r[0] == 0xC2 && r[1] == 0x05);
    if (!read) return Bytes{r[0], 0xF1};
    Bytes reply(r.begin(), r.begin() + 8);
    for (size_t i = 0; i < be16(r, 6); ++i) reply.push_back(uint8_t(be32(r, 2) + i));
    return reply;
}

struct ChunkCase {
    const char *name;
    std::function<int(KORVEX_HANDLE, uint8_t *)> call;
    Form form;
    bool read;
    size_t length;
    std::vector<Piece> pieces;
};

// 64-byte endpoints: 56 bytes per memory or probe firmware packet, 58 per display packet.
const std::vector<ChunkCase> kChunks = {
    {"QSPI_Upload 56 in one exchange", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_QSPI_Upload(h, 0x200, 56, b); },
     Form::Memory, true, 56, {{0x200, 56, 0}}},
    {"QSPI_Upload 57", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_QSPI_Upload(h, 0x200, 57, b); }, Form::Memory, true,
     57, {{0x200, 56, 0}, {0x238, 1, 0}}},
    {"QSPI_DownLoad_Target 113", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_QSPI_DownLoad_Target(h, 0x10, 113, b); },
     Form::Memory, false, 113, {{0x10, 56, 0}, {0x48, 56, 0}, {0x80, 1, 0}}},
    {"ReadMainData_Device 112", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_ReadMainData_Device(h, 4, 0x40, 112, b); },
     Form::Memory, true, 112, {{0x40, 56, 0}, {0x78, 56, 0}}},
    {"WriteMainData_Device 57", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_WriteMainData_Device(h, 4, 0, 57, b); },
     Form::Memory, false, 57, {{0, 56, 0}, {56, 1, 0}}},
    {"ReadOPTDataExtend_Device 60", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_ReadOPTDataExtend_Device(h, 1, 60, b); },
     Form::Memory, true, 60, {{0, 56, 0}, {56, 4, 0}}},
    {"WriteOPTDataExtend_Device 56",
     [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_WriteOPTDataExtend_Device(h, 1, 56, b); }, Form::Memory, false, 56,
     {{0, 56, 0}}},
    {"WriteOTPData_Device 57", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_WriteOTPData_Device(h, 1, 8, 57, b); },
     Form::Memory, false, 57, {{8, 56, 0}, {64, 1, 0}}},
    {"SetOTPLockParameters_Device 100",
     [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_SetOTPLockParameters_Device(h, 1, 0, 100, b); }, Form::Memory, false,
     100, {{0, 56, 0}, {56, 44, 0}}},
    {"SetOTPWriteParameters_Device 56",
     [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_SetOTPWriteParameters_Device(h, 1, 0, 56, b); }, Form::Memory, false,
     56, {{0, 56, 0}}},
    {"FWUpdate 57", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_FWUpdate(h, 0x08000000, 57, b); }, Form::Firmware,
     false, 57, {{0x08000000, 56, 0}, {0x08000038, 1, 0}}},
    {"LCDFWUpdate 58", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_LCDFWUpdate(h, 58, b); }, Form::Display, false, 58,
     {{0, 58, 1}}},
    {"LCDFWUpdate 116", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_LCDFWUpdate(h, 116, b); }, Form::Display, false,
     116, {{0, 58, 0}, {58, 58, 1}}},
    {"LCDFWUpdate 120", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_LCDFWUpdate(h, 120, b); }, Form::Display, false,
     120, {{0, 58, 0}, {58, 58, 0}, {116, 4, 1}}},
};

class ProbeConfigChunks : public ::testing::TestWithParam<Transport> {};

TEST_P(ProbeConfigChunks, split_at_the_packet_size_with_the_data_in_place) {
    OpenProbe p(GetParam());
    p.probe().respond(serve);
    for (const ChunkCase &c : kChunks) {
        p.probe().clearLog();
        Bytes buffer(c.length + 4);
        for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = uint8_t(0xA0 ^ i);
        const Bytes before = buffer;
        EXPECT_EQ(c.call(p.handle(), buffer.data()), 0) << c.name;
        std::vector<Piece> pieces;
        Bytes carried;
        for (const Bytes &r : p.probe().requests()) {
            pieces.push_back(pieceOf(c.form, r));
            if (!c.read) carried.insert(carried.end(), r.begin() + headerOf(c.form), r.begin() + headerOf(c.form) + pieces.back().length);
        }
        EXPECT_EQ(pieces, c.pieces) << c.name;
        if (c.read) {
            for (size_t i = 0; i < c.length; ++i) EXPECT_EQ(buffer[i], uint8_t(c.pieces[0].at + i)) << c.name << " byte " << i;
        } else {
            EXPECT_EQ(carried, Bytes(before.begin(), before.begin() + c.length)) << c.name;
        }
        EXPECT_EQ(Bytes(buffer.begin() + c.length, buffer.end()), Bytes(before.begin() + c.length, before.end()))
            << c.name << ": written past the length";
    }
}

INSTANTIATE_TEST_SUITE_P(Library, ProbeConfigChunks, ::testing::Values(Transport::Hid, Transport::Bulk),
                         [](const auto &info) { return info.param == Transport::Hid ? "Hid" : "Bulk"; });

// ---------------------------------------------------------------- reply fields

struct Verdict {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    Bytes reply;
    int result;
};

const std::vector<Verdict> kVerdicts = {
    {"FWUpdateVerify mismatch", [](KORVEX_HANDLE h) { return KORVEX_FWUpdateVerify(h, 1); }, {0xC0, 0x05, 0, 0, 0x01}, -96},
    {"FWUpdateVerify match", [](KORVEX_HANDLE h) { return KORVEX_FWUpdateVerify(h, 1); }, {0xC0, 0x05, 0, 0, 0x00}, 0},
    {"VerifyMainData_Device mismatch", [](KORVEX_HANDLE h) { return KORVEX_VerifyMainData_Device(h, 2, 0, 4); },
     {0xB7, 0x12, 0x01, 0x02}, -96},
    {"VerifyMainData_Device match", [](KORVEX_HANDLE h) { return KORVEX_VerifyMainData_Device(h, 2, 0, 4); },
     {0xB7, 0x12, 0x01, 0x00}, 0},
    {"VerifyMainData_Device for another index", [](KORVEX_HANDLE h) { return KORVEX_VerifyMainData_Device(h, 2, 0, 4); },
     {0xB7, 0x13, 0x01, 0x00}, 0x13},
    {"GetVoltageLevelValue for another selector",
     [](KORVEX_HANDLE h) { uint16_t v; return KORVEX_GetVoltageLevelValue(h, 1, &v); }, {0xB0, 0x0E, 0x03, 0x02, 0x13, 0x88}, 4},
    {"GetLCDFWVersion shorter than asked", [](KORVEX_HANDLE h) { return KORVEX_GetLCDFWVersion(h, 4, scratch); },
     {0xB0, 0x22, 0x02, 1, 2}, 4},
    {"GetOfflineConfig_Apart longer than asked", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Apart(h, 0, 2, scratch); },
     {0xBC, 0x00, 0x00, 0x04, 1, 2, 3, 4}, 4},
    {"ReadOPTData_Device of another block length", [](KORVEX_HANDLE h) { return KORVEX_ReadOPTData_Device(h, 0, 48, scratch); },
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
