// Chunked transfers (chunk sizes, addresses, data placement, the stop at the first failing chunk),
// argument checks that send nothing, and how reply data is decoded.
#include "scripted_probe.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using korvex_test::Bytes;
using korvex_test::OpenProbe;
using ksim::Transport;

uint32_t be32(const Bytes &b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
uint16_t be16(const Bytes &b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }

// Memory contents the scripted probe serves: a pattern of the address, so misplaced data shows.
uint8_t patternAt(uint32_t address) { return static_cast<uint8_t>(address * 7 + 3); }

// A probe that serves reads from the pattern and acknowledges writes, in any memory form with a
// 4-byte address at offset 2 and a length at offset 6 (debug form: address at 3, length at 7).
struct MemoryProbe {
    static std::optional<Bytes> answer(const Bytes &r) {
        const bool debug = r[0] == 0xCF;
        const size_t a = debug ? 3 : 2;
        const bool read = r[0] == 0xB2 || (r[0] == 0xBE && r[1] == 0x04) || (debug && r[1] == 0x00);
        if (!read) return Bytes{r[0], 0xF1};
        const uint32_t address = be32(r, a);
        const uint16_t length = be16(r, a + 4);
        Bytes reply(r.begin(), r.begin() + a + 6);
        for (uint16_t i = 0; i < length; ++i) reply.push_back(patternAt(address + i));
        return reply;
    }
};

struct Chunk {
    uint32_t address;
    uint16_t length;
};

// The chunks a run of requests carried (address and length fields), with the HID padding ignored.
std::vector<Chunk> chunksOf(const std::vector<Bytes> &requests, bool debug = false) {
    const size_t a = debug ? 3 : 2;
    std::vector<Chunk> chunks;
    for (const Bytes &r : requests) chunks.push_back({be32(r, a), be16(r, a + 4)});
    return chunks;
}

bool operator==(const Chunk &x, const Chunk &y) { return x.address == y.address && x.length == y.length; }
std::ostream &operator<<(std::ostream &o, const Chunk &c) { return o << std::hex << c.address << "+" << std::dec << c.length; }

Bytes pattern(uint32_t address, size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = patternAt(static_cast<uint32_t>(address + i));
    return b;
}

Bytes counting(size_t n) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), uint8_t(1));
    return b;
}

struct ReadCase {
    const char *name;
    std::function<int(KORVEX_HANDLE, uint8_t *)> call;
    uint32_t address;
    size_t length;
    std::vector<Chunk> chunks;
    bool debug;
};

// 64-byte endpoints: memory reads carry 56 bytes, debug reads 55/54/52 by width.
const std::vector<ReadCase> kReads = {
    {"UPLoad_Target 120", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_UPLoad_Target(h, 0x08000000, 120, b); },
     0x08000000, 120, {{0x08000000, 56}, {0x08000038, 56}, {0x08000070, 8}}, false},
    {"UPLoad_Target 112", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_UPLoad_Target(h, 0x08400000, 112, b); },
     0x08400000, 112, {{0x08400000, 56}, {0x08400038, 56}}, false},
    {"ReadUserSystemData_Target 60",
     [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_ReadUserSystemData_Target(h, 60, b); }, 0, 60,
     {{0, 56}, {56, 4}}, false},
    {"ReadOTPData_Target 57", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_ReadOTPData_Target(h, 0x100, 57, b, 1); },
     0x100, 57, {{0x100, 56}, {0x138, 1}}, false},
    {"BLECHIP_ReadFlash 120", [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_BLECHIP_ReadFlash(h, 0x200, 120, b); },
     0x200, 120, {{0x200, 56}, {0x238, 56}, {0x270, 8}}, false},
    {"DebugReadMemory_Target 64 x32",
     [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_DebugReadMemory_Target(h, 0x20000000, 64, b, 32); },
     0x20000000, 64, {{0x20000000, 52}, {0x20000034, 12}}, true},
    {"DebugReadMemory_Target 110 x16",
     [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_DebugReadMemory_Target(h, 0x20000000, 110, b, 16); },
     0x20000000, 110, {{0x20000000, 54}, {0x20000036, 54}, {0x2000006C, 2}}, true},
    {"DebugReadMemory_Target 56 x8",
     [](KORVEX_HANDLE h, uint8_t *b) { return KORVEX_DebugReadMemory_Target(h, 0x20000001, 56, b, 8); },
     0x20000001, 56, {{0x20000001, 55}, {0x20000038, 1}}, true},
};

class ChunkedRead : public ::testing::TestWithParam<Transport> {};

TEST_P(ChunkedRead, splits_at_the_packet_size_and_assembles_the_data) {
    OpenProbe p(GetParam());
    p.probe().respond(MemoryProbe::answer);
    for (const ReadCase &c : kReads) {
        p.probe().clearLog();
        Bytes buffer(c.length + 4, 0xAA);
        EXPECT_EQ(c.call(p.handle(), buffer.data()), 0) << c.name;
        EXPECT_EQ(chunksOf(p.probe().requests(), c.debug), c.chunks) << c.name;
        Bytes expected = pattern(c.address, c.length);
        expected.resize(c.length + 4, 0xAA);
        EXPECT_EQ(buffer, expected) << c.name << ": wrong data or written past the length";
    }
}

TEST_P(ChunkedRead, stops_at_the_first_failing_chunk_keeping_the_chunks_read) {
    OpenProbe p(GetParam());
    for (const ReadCase &c : kReads) {
        auto calls = std::make_shared<int>(0);
        p.probe().respond([calls](const Bytes &r) -> std::optional<Bytes> {
            if (++*calls == 2) return Bytes{uint8_t(r[0] ^ 0x01), 0xF1};  // not an answer to this request
            return MemoryProbe::answer(r);
        });
        p.probe().clearLog();
        Bytes buffer(c.length, 0xAA);
        EXPECT_EQ(c.call(p.handle(), buffer.data()), TRANS_READ_PARAMS_ERROR) << c.name;
        EXPECT_EQ(p.probe().requestCount(), 2u) << c.name;
        const size_t first = c.chunks[0].length;
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + first), pattern(c.address, first)) << c.name;
        EXPECT_EQ(Bytes(buffer.begin() + first, buffer.end()), Bytes(c.length - first, 0xAA))
            << c.name << ": the failed chunk reached the caller";
    }
}

struct WriteCase {
    const char *name;
    std::function<int(KORVEX_HANDLE, const uint8_t *)> call;
    uint32_t address;
    size_t length;
    std::vector<Chunk> chunks;
    size_t header;  // request bytes before the data
};

// Writes carry 56 bytes (memory form), 48 (BLE) or 55/54/52 (debug form by width).
const std::vector<WriteCase> kWrites = {
    {"DownLoad_Target 120", [](KORVEX_HANDLE h, const uint8_t *d) { return KORVEX_DownLoad_Target(h, 0x08000000, 120, d); },
     0x08000000, 120, {{0x08000000, 56}, {0x08000038, 56}, {0x08000070, 8}}, 8},
    {"WriteUserSystemData_Target 56",
     [](KORVEX_HANDLE h, const uint8_t *d) { return KORVEX_WriteUserSystemData_Target(h, 56, d); }, 0, 56, {{0, 56}}, 8},
    {"DownloadOTPData_Target 58",
     [](KORVEX_HANDLE h, const uint8_t *d) { return KORVEXDevice_DownloadOTPData_Target(h, 0x40, 58, d, 0); }, 0x40,
     58, {{0x40, 56}, {0x78, 2}}, 8},
    {"BLECHIP_WriteFlash 100",
     [](KORVEX_HANDLE h, const uint8_t *d) { return KORVEX_BLECHIP_WriteFlash(h, 0, 100, d); }, 0, 100,
     {{0x0, 48}, {0x30, 48}, {0x60, 4}}, 8},
    {"DebugWriteMemory_Target 60 x32",
     [](KORVEX_HANDLE h, const uint8_t *d) { return KORVEX_DebugWriteMemory_Target(h, 0x20000000, 60, d, 32); },
     0x20000000, 60, {{0x20000000, 52}, {0x20000034, 8}}, 9},
    {"DebugWriteMemory_Target 56 x16",
     [](KORVEX_HANDLE h, const uint8_t *d) { return KORVEX_DebugWriteMemory_Target(h, 0x20000000, 56, d, 16); },
     0x20000000, 56, {{0x20000000, 54}, {0x20000036, 2}}, 9},
    {"DebugWriteMemory_Target 55 x8",
     [](KORVEX_HANDLE h, const uint8_t *d) { return KORVEX_DebugWriteMemory_Target(h, 0x20000000, 55, d, 8); },
     0x20000000, 55, {{0x20000000, 55}}, 9},
};

class ChunkedWrite : public ::testing::TestWithParam<Transport> {};

TEST_P(ChunkedWrite, splits_at_the_packet_size_and_sends_the_data_in_order) {
    OpenProbe p(GetParam());
    p.probe().respond(MemoryProbe::answer);
    for (const WriteCase &c : kWrites) {
        p.probe().clearLog();
        const Bytes data = counting(c.length);
        EXPECT_EQ(c.call(p.handle(), data.data()), 0) << c.name;
        const std::vector<Bytes> requests = p.probe().requests();
        EXPECT_EQ(chunksOf(requests, c.header == 9), c.chunks) << c.name;
        Bytes sent;
        for (size_t i = 0; i < requests.size() && i < c.chunks.size(); ++i) {
            const auto begin = requests[i].begin() + c.header;
            sent.insert(sent.end(), begin, begin + c.chunks[i].length);
            if (!p.viaHid()) {
                EXPECT_EQ(requests[i].size(), c.header + c.chunks[i].length) << c.name;
            }
        }
        EXPECT_EQ(sent, data) << c.name;
    }
}

TEST_P(ChunkedWrite, stops_at_the_first_refused_chunk) {
    OpenProbe p(GetParam());
    for (const WriteCase &c : kWrites) {
        if (c.chunks.size() < 2) continue;
        auto calls = std::make_shared<int>(0);
        p.probe().respond([calls](const Bytes &r) -> std::optional<Bytes> {
            return Bytes{r[0], uint8_t(++*calls == 2 ? 0xF2 : 0xF1)};
        });
        p.probe().clearLog();
        const Bytes data = counting(c.length);
        EXPECT_EQ(c.call(p.handle(), data.data()), 0xF2) << c.name;
        EXPECT_EQ(p.probe().requestCount(), 2u) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Library, ChunkedRead, ::testing::Values(Transport::Hid, Transport::Bulk),
                         [](const auto &info) { return info.param == Transport::Hid ? "Hid" : "Bulk"; });
INSTANTIATE_TEST_SUITE_P(Library, ChunkedWrite, ::testing::Values(Transport::Hid, Transport::Bulk),
                         [](const auto &info) { return info.param == Transport::Hid ? "Hid" : "Bulk"; });

TEST(ChunkedTransfer, zero_length_sends_nothing) {
    OpenProbe p(Transport::Bulk);
    p.probe().respond(MemoryProbe::answer);
    uint8_t b[4] = {};
    EXPECT_EQ(KORVEX_UPLoad_Target(p.handle(), 0x08000000, 0, b), 0);
    EXPECT_EQ(KORVEX_DownLoad_Target(p.handle(), 0x08000000, 0, b), 0);
    EXPECT_EQ(KORVEX_BLECHIP_WriteFlash(p.handle(), 0, 0, b), 0);
    EXPECT_EQ(KORVEX_DebugReadMemory_Target(p.handle(), 0, 0, b, 32), 0);
    EXPECT_EQ(p.probe().requestCount(), 0u);
}

// ---------------------------------------------------------------- argument checks

struct Refusal {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    int code;
};

uint8_t scratch[128];
const std::vector<Refusal> kRefusals = {
    {"GetVersion len 1", [](KORVEX_HANDLE h) { return KORVEX_GetVersion(h, 1, scratch); }, 33},
    {"GetEncKey len 3", [](KORVEX_HANDLE h) { return KORVEX_GetEncKey(h, 3, scratch); }, 33},
    {"SetEncKey len 5", [](KORVEX_HANDLE h) { return KORVEX_SetEncKey(h, 5, scratch); }, 33},
    {"SetEncKey len 25", [](KORVEX_HANDLE h) { return KORVEX_SetEncKey(h, 25, scratch); }, 33},
    {"SetRsetMode 3", [](KORVEX_HANDLE h) { return KORVEX_SetRsetMode(h, 3); }, 33},
    {"GetLinkUID len 16", [](KORVEX_HANDLE h) { return KORVEX_GetLinkUID(h, 16, scratch); }, 33},
    {"SetButtonFreeState 2", [](KORVEX_HANDLE h) { return KORVEX_SetButtonFreeState(h, 2); }, 33},
    {"AccessProtect 0", [](KORVEX_HANDLE h) { return KORVEX_AccessProtect_Target(h, 0); }, 33},
    {"AccessProtect 3", [](KORVEX_HANDLE h) { return KORVEX_AccessProtect_Target(h, 3); }, 33},
    {"LockFlash 0", [](KORVEX_HANDLE h) { return KORVEX_LockFlash_Target(h, 0); }, 33},
    {"LockFlash 4", [](KORVEX_HANDLE h) { return KORVEX_LockFlash_Target(h, 4); }, 33},
    {"UnLockFlash 4", [](KORVEX_HANDLE h) { return KORVEX_UnLockFlash_Target(h, 4); }, 33},
    {"EnableSPIM remap 2", [](KORVEX_HANDLE h) { return KORVEX_EnableSPIM_Target(h, 2, 1, 0, 0); }, 33},
    {"EnableSPIM type 0", [](KORVEX_HANDLE h) { return KORVEX_EnableSPIM_Target(h, 0, 0, 0, 0); }, 33},
    {"EnableSPIM type 3", [](KORVEX_HANDLE h) { return KORVEX_EnableSPIM_Target(h, 0, 3, 0, 0); }, 33},
    {"EnableSPIM limit", [](KORVEX_HANDLE h) { return KORVEX_EnableSPIM_Target(h, 0, 1, 0, 0x1000001); }, 33},
    {"EnableSlib password 0", [](KORVEX_HANDLE h) { return KORVEX_EnableSlib_Target(h, 0, 1, 2, 3); }, 33},
    {"DisableSlib password FFFFFFFF", [](KORVEX_HANDLE h) { return KORVEX_DisableSlib_Target(h, 0xFFFFFFFF); }, 33},
    {"EnableSysSlib password 0", [](KORVEX_HANDLE h) { return KORVEX_EnableSysSlib_Target(h, 0, 1); }, 33},
    {"DisableSysSlib password FFFFFFFF", [](KORVEX_HANDLE h) { return KORVEX_DisableSysSlib_Target(h, 0xFFFFFFFF); }, 33},
    {"DebugRead odd x16", [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Target(h, 0, 3, scratch, 16); }, 33},
    {"DebugRead 62 x32", [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Target(h, 0, 62, scratch, 32); }, 33},
    {"DebugWrite 6 x32", [](KORVEX_HANDLE h) { return KORVEX_DebugWriteMemory_Target(h, 0, 6, scratch, 32); }, 33},
    {"DebugRead 6 x32 without a buffer",
     [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Target(h, 0, 6, nullptr, 32); }, 33},
    {"DebugWrite 3 x16 without data",
     [](KORVEX_HANDLE h) { return KORVEX_DebugWriteMemory_Target(h, 0, 3, nullptr, 16); }, 33},
    {"BLE SelectFlashSpace 3", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_SelectFlashSpace(h, 3); }, 33},
    {"UPLoad negative", [](KORVEX_HANDLE h) { return KORVEX_UPLoad_Target(h, 0x08000000, -1, scratch); }, 33},
    {"DownLoad negative", [](KORVEX_HANDLE h) { return KORVEX_DownLoad_Target(h, 0x08000000, -8, scratch); }, 33},
    {"BLE ReadFlash negative", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_ReadFlash(h, 0, -1, scratch); }, 33},
};

TEST(ArgumentChecks, out_of_range_arguments_send_nothing) {
    OpenProbe p(Transport::Bulk);
    p.probe().respond(MemoryProbe::answer);
    for (const Refusal &r : kRefusals) EXPECT_EQ(r.call(p.handle()), r.code) << r.name;
    EXPECT_EQ(p.probe().requestCount(), 0u);
}

// ---------------------------------------------------------------- reply decoding

TEST(ReplyData, getters_decode_big_endian_fields) {
    OpenProbe p(Transport::Bulk);
    uint8_t bytes[16] = {};

    p.probe().respondAlways({0xB0, 0x00, 0x05, 0x01, 0x02, 0x03, 0x04, 0x07});
    ASSERT_EQ(KORVEX_GetVersion(p.handle(), 4, bytes), 0);
    EXPECT_EQ(Bytes(bytes, bytes + 4), (Bytes{1, 2, 3, 4}));
    ASSERT_EQ(KORVEX_GetAppState(p.handle(), bytes), 0);
    EXPECT_EQ(bytes[0], 0x07);

    int speed = 0;
    p.probe().respondAlways({0xB0, 0x03, 0x04, 0x00, 0x0F, 0x42, 0x40});
    ASSERT_EQ(KORVEX_GetSWDSpeed(p.handle(), &speed), 0);
    EXPECT_EQ(speed, 1000000);

    int size = 0;
    p.probe().respondAlways({0xB1, 0x02, 0x02, 0x01, 0x02});
    ASSERT_EQ(KORVEX_GetFlashSize_Target(p.handle(), &size), 0);
    EXPECT_EQ(size, 0x102);

    uint8_t valid = 9, prot = 9, third = 9;
    p.probe().respondAlways({0xB1, 0x00, 0x01, 0x06});
    ASSERT_EQ(KORVEX_GetStatus_Target(p.handle(), &valid, &prot, &third), 0);
    EXPECT_EQ((Bytes{valid, prot, third}), (Bytes{0, 1, 1}));

    uint8_t state = 0;
    uint16_t w[4] = {};
    p.probe().respondAlways({0xB5, 0x02, 0x09, 0x03, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0});
    ASSERT_EQ(KORVEX_GetSlibState_Target(p.handle(), &state, w, w + 1, w + 2, w + 3), 0);
    EXPECT_EQ(state, 3);
    EXPECT_EQ((std::vector<uint16_t>(w, w + 4)), (std::vector<uint16_t>{0x1234, 0x5678, 0x9ABC, 0xDEF0}));

    p.probe().respondAlways({0xB5, 0x07, 0x02, 0x01, 0x5A});
    ASSERT_EQ(KORVEX_GetSysSlibState_Target(p.handle(), &state, w), 0);
    EXPECT_EQ(state, 1);
    EXPECT_EQ(w[0], 0x5A);

    uint32_t value = 0;
    p.probe().respondAlways({0xCF, 0x00, 0, 0, 0, 0, 0, 0x00, 0x04, 0x12, 0x34, 0x56, 0x78});
    ASSERT_EQ(KORVEX_DebugReadRegister_Target(p.handle(), 0xE000ED00, &value), 0);
    EXPECT_EQ(value, 0x12345678u);

    p.probe().respondAlways({0xB5, 0x06, 0x06, 0x00, 0x05, 0xDE, 0xAD, 0xBE, 0xEF});
    ASSERT_EQ(KORVEX_GetCRCValue_Target(p.handle(), 5, 1, &value), 0);
    EXPECT_EQ(value, 0xDEADBEEFu);
}

TEST(ReplyData, echoed_positions_must_match_the_request) {
    OpenProbe p(Transport::Bulk);
    uint32_t crc = 0;
    p.probe().respondAlways({0xB5, 0x06, 0x06, 0x00, 0x06, 0xDE, 0xAD, 0xBE, 0xEF});
    EXPECT_EQ(KORVEX_GetCRCValue_Target(p.handle(), 5, 1, &crc), TRANS_READ_PARAMS_ERROR);
    EXPECT_EQ(KORVEX_GetSectorCRCValue_Target(p.handle(), 5, &crc), TRANS_READ_PARAMS_ERROR);
    EXPECT_EQ(crc, 0u);

    uint8_t data[2] = {0xAA, 0xAA};
    p.probe().respondAlways({0xBE, 0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x02, 7, 8});
    EXPECT_EQ(KORVEX_BLECHIP_ReadFlash(p.handle(), 0x100, 2, data), TRANS_READ_PARAMS_ERROR);
    EXPECT_EQ(data[0], 0xAA) << "a reply for another address was copied";

    uint8_t reg = 0;
    p.probe().respondAlways({0xBE, 0x09, 0x05, 0x32});
    EXPECT_EQ(KORVEX_BLECHIP_ReadReg(p.handle(), 5, &reg), 0);
    EXPECT_EQ(reg, 0x32);
    p.probe().respondAlways({0xBE, 0xFE, 0x05, 0x32});
    EXPECT_EQ(KORVEX_BLECHIP_ReadReg(p.handle(), 5, &reg), 254);
}

TEST(ReplyData, device_id_is_handed_over_even_with_a_bad_header) {
    OpenProbe p(Transport::Bulk);
    uint8_t id[5] = {};
    p.probe().respondAlways({0xB1, 0x09, 0x05, 0x11, 0x22, 0x33, 0x44, 0x55});
    EXPECT_EQ(KORVEX_GetDeviceID_Target(p.handle(), id), TRANS_READ_PARAMS_ERROR);
    EXPECT_EQ(Bytes(id, id + 5), (Bytes{0x11, 0x22, 0x33, 0x44, 0x55}));
}

TEST(ReplyData, ble_protection_reads_a5_as_unprotected) {
    OpenProbe p(Transport::Hid);
    uint8_t on = 9;
    p.probe().respondAlways({0xBE, 0x0D, 0x01, 0xA5});
    ASSERT_EQ(KORVEX_BLECHIP_GetProtectStatus(p.handle(), &on), 0);
    EXPECT_EQ(on, 0);
    p.probe().respondAlways({0xBE, 0x0D, 0x01, 0xFF});
    ASSERT_EQ(KORVEX_BLECHIP_GetProtectStatus(p.handle(), &on), 0);
    EXPECT_EQ(on, 1);
}

TEST(ReplyData, ble_nvr_erase_stops_at_the_first_refusal) {
    OpenProbe p(Transport::Bulk);
    p.probe().respondInTurn({{0xBE, 0xF1}, {0xBE, 0xFF}, {0xBE, 0xF1}});
    EXPECT_EQ(KORVEX_BLECHIP_EraseNVRFlash(p.handle()), 255);
    EXPECT_EQ(p.probe().requestCount(), 2u);
}

// ---------------------------------------------------------------- time-outs by command

struct LateReply {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    unsigned delayMs;  // with the test's twentyfold shorter time-outs
    int result;
    Bytes reply;       // empty: a status reply acknowledging the request
};

const Bytes kCrcReply = {0xB5, 0x06, 0x06, 0x00, 0x05, 0xDE, 0xAD, 0xBE, 0xEF};

// 3 s commands give up at 150 ms, 10 s ones at 500 ms, 30 s ones at 1.5 s, 300 s ones at 15 s.
// A reply later than a command's time-out gives its receive code; one in time gives 0.
const std::vector<LateReply> kLateReplies = {
    {"SectorErase (3 s)", [](KORVEX_HANDLE h) { return KORVEX_SectorErase_Target(h, 0x08000000, 1); }, 400, 2, {}},
    {"SetSWDAutoDetect (10 s)", [](KORVEX_HANDLE h) { return KORVEX_SetSWDAutoDetect(h); }, 250, 0, {}},
    {"MainFlashAllErase (30 s)", [](KORVEX_HANDLE h) { return KORVEX_MainFlashAllErase_Target(h); }, 800, 0, {}},
    {"Bank1AllErase (30 s)", [](KORVEX_HANDLE h) { return KORVEX_Bank1AllErase_Target(h); }, 800, 0, {}},
    {"Bank2AllErase (30 s)", [](KORVEX_HANDLE h) { return KORVEX_Bank2AllErase_Target(h); }, 800, 0, {}},
    {"SPIMAllErase (300 s)", [](KORVEX_HANDLE h) { return KORVEX_SPIMAllErase_Target(h); }, 2500, 0, {}},
    {"SysMemoryAllErase (300 s)", [](KORVEX_HANDLE h) { return KORVEX_SysMemoryAllErase_Target(h); }, 2500, 0, {}},
    {"WriteUserSystemData (30 s)",
     [](KORVEX_HANDLE h) { return KORVEX_WriteUserSystemData_Target(h, 4, scratch); }, 800, 0, {}},
    {"DownLoad (3 s)", [](KORVEX_HANDLE h) { return KORVEX_DownLoad_Target(h, 0x08000000, 4, scratch); }, 400, 2, {}},
    {"DownloadOTPData (3 s)",
     [](KORVEX_HANDLE h) { return KORVEXDevice_DownloadOTPData_Target(h, 0, 4, scratch, 0); }, 400, 2, {}},
    {"SetEncKey (30 s)", [](KORVEX_HANDLE h) { return KORVEX_SetEncKey(h, 6, scratch); }, 800, 0, {}},
    {"AccessProtect (3 s)", [](KORVEX_HANDLE h) { return KORVEX_AccessProtect_Target(h, 1); }, 400, 2, {}},
    {"UnAccessProtect (30 s)", [](KORVEX_HANDLE h) { return KORVEX_UnAccessProtect_Target(h); }, 800, 0, {}},
    {"EnableSlib (30 s)", [](KORVEX_HANDLE h) { return KORVEX_EnableSlib_Target(h, 0x12345678, 1, 2, 3); }, 800, 0, {}},
    {"DisableSlib (30 s)", [](KORVEX_HANDLE h) { return KORVEX_DisableSlib_Target(h, 0x12345678); }, 800, 0, {}},
    {"EnableSysSlib (3 s)", [](KORVEX_HANDLE h) { return KORVEX_EnableSysSlib_Target(h, 0x12345678, 1); }, 400, 3, {}},
    {"GetCRCValue (10 s)",
     [](KORVEX_HANDLE h) { uint32_t crc; return KORVEX_GetCRCValue_Target(h, 5, 1, &crc); }, 250, 0, kCrcReply},
    {"GetSectorCRCValue (3 s)",
     [](KORVEX_HANDLE h) { uint32_t crc; return KORVEX_GetSectorCRCValue_Target(h, 5, &crc); }, 400, 3, kCrcReply},
    {"DebugWriteMemory (30 s)",
     [](KORVEX_HANDLE h) { return KORVEX_DebugWriteMemory_Target(h, 0x20000000, 4, scratch, 32); }, 800, 0, {}},
    {"DebugWriteRegister (3 s)",
     [](KORVEX_HANDLE h) { return KORVEX_DebugWriteRegister_Target(h, 0x20000000, 1); }, 400, 2, {}},
    {"BLECHIP_EraseMainFlash (3 s)", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_EraseMainFlash(h); }, 400, 2, {}},
    {"QSPI_Set_State (3 s)", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Set_State(h, 1); }, 400, 2, {}},
    {"QSPI_SectorErase (30 s)", [](KORVEX_HANDLE h) { return KORVEX_QSPI_SectorErase(h, 0, 1); }, 800, 0, {}},
    {"QSPI_BlockErase (30 s)", [](KORVEX_HANDLE h) { return KORVEX_QSPI_BlockErase(h, 0, 1); }, 800, 0, {}},
    {"QSPI_ChipErase (300 s)", [](KORVEX_HANDLE h) { return KORVEX_QSPI_ChipErase(h); }, 2500, 0, {}},
    {"SetTargetStableTime (30 s)", [](KORVEX_HANDLE h) { return KORVEX_SetTargetStableTime(h, 5); }, 800, 0, {}},
    {"GetTargetStableTime (3 s)", [](KORVEX_HANDLE h) { uint32_t t; return KORVEX_GetTargetStableTime(h, &t); }, 400, 3,
     {0xB0, 0x0C, 0x04, 0, 0, 0, 5}},
    {"SetMachineBurningState (3 s)", [](KORVEX_HANDLE h) { return KORVEX_SetMachineBurningState(h, 0, 0, 10, 10); }, 400,
     3, {}},
    {"SetOfflineConfig_Apart (3 s)", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Apart(h, 0, 4, scratch); },
     400, 2, {}},
    {"SetCodeNumber (30 s)", [](KORVEX_HANDLE h) { return KORVEX_SetCodeNumber(h, 2); }, 800, 0, {}},
    {"VerifyMainData_Device (30 s)", [](KORVEX_HANDLE h) { return KORVEX_VerifyMainData_Device(h, 3, 0, 4); }, 800, 0,
     {0xB7, 0x13, 0x01, 0x00}},
    {"EnterFWUpdateMode (3 s)", [](KORVEX_HANDLE h) { return KORVEX_EnterFWUpdateMode(h, scratch); }, 400, 2,
     {0xC0, 0x00, 0x00, 0x01, 0x01}},
    {"FWUpdateSetCodeRange (30 s)", [](KORVEX_HANDLE h) { return KORVEX_FWUpdateSetCodeRange(h, 0, 4); }, 800, 0, {}},
    {"FWUpdateVerify (30 s)", [](KORVEX_HANDLE h) { return KORVEX_FWUpdateVerify(h, 4); }, 800, 0,
     {0xC0, 0x05, 0x00, 0x00, 0x00}},
    {"LCDFWUpdateSetCodeSize (30 s)", [](KORVEX_HANDLE h) { return KORVEX_LCDFWUpdateSetCodeSize(h, 4); }, 800, 0, {}},
    {"LCDFWUpdateEnd (10 s)", [](KORVEX_HANDLE h) { return KORVEX_LCDFWUpdateEnd(h); }, 250, 0, {}},
    {"FactoryDataReset (30 s)", [](KORVEX_HANDLE h) { return KORVEX_FactoryDataReset(h); }, 800, 0, {}},
    {"PinTestMode (10 s)", [](KORVEX_HANDLE h) { uint32_t v; return KORVEX_PinTestMode(h, &v); }, 250, 0,
     {0xCF, 0x04, 0x04, 0, 0, 0, 1}},
    {"PROLCDTestMode (30 s)", [](KORVEX_HANDLE h) { return KORVEX_PROLCDTestMode(h); }, 800, 0, {}},
};

// One case per row, so that the waits run side by side.
class TimeOuts : public ::testing::TestWithParam<LateReply> {};

TEST_P(TimeOuts, each_command_waits_as_long_as_its_row_says) {
    const LateReply &c = GetParam();
    OpenProbe p(Transport::Bulk);  // a fresh probe: a late reply must not reach the next case
    const Bytes reply = c.reply;
    p.probe().respond([reply](const Bytes &r) {
        return std::optional<Bytes>(reply.empty() ? Bytes{r[0], 0xF1} : reply);
    });
    p.probe().delayNextReply(c.delayMs);
    EXPECT_EQ(c.call(p.handle()), c.result) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Library, TimeOuts, ::testing::ValuesIn(kLateReplies));

}  // namespace
