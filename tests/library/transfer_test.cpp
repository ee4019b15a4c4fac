// Chunked transfers (chunk sizes, addresses, data placement, the stop at the first failing chunk),
// how reply data is decoded and judged, and how long each command waits.
#include "scripted_probe.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <numeric>
#include <thread>

namespace {

using korvex_test::be32;
using korvex_test::Bytes;
using korvex_test::OpenProbe;
using korvex_test::Outputs;
using korvex_test::pattern;
using korvex_test::serveMemory;
using ksim::Transport;

uint16_t be16(const Bytes &b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }

// Where a request names its chunk: memory form (address at 2, length at 6), debug form (address at
// 3, length at 7), probe firmware data (length + 4 at 2, address at 4), display data (n = length + 3
// at 2, the last flag at 3, offset at 4).
enum class Form { Memory, Debug, Firmware, Display };

using Chunk = std::array<uint32_t, 3>;  // address, length, the last flag (display data only)

Chunk chunkOf(Form form, const Bytes &r) {
    switch (form) {
    case Form::Memory: return {be32(r, 2), be16(r, 6)};
    case Form::Debug: return {be32(r, 3), be16(r, 7)};
    case Form::Firmware: return {be32(r, 4), be16(r, 2) - 4u};
    case Form::Display: return {be16(r, 4), r[2] - 3u, r[3]};
    }
    return {};
}

// The chunks a run of requests carried, with the HID padding ignored.
std::vector<Chunk> chunksOf(const std::vector<Bytes> &requests, Form form) {
    std::vector<Chunk> chunks;
    for (const Bytes &r : requests) chunks.push_back(chunkOf(form, r));
    return chunks;
}
size_t lengthOf(const std::vector<Chunk> &chunks) {
    return std::accumulate(chunks.begin(), chunks.end(), size_t{0}, [](size_t n, const Chunk &c) { return n + c[1]; });
}

// A transfer through a buffer, and the chunks its requests must carry.
struct ChunkCase {
    const char *name;
    std::function<int(KORVEX_HANDLE, uint8_t *)> call;
    Form form;
    std::vector<Chunk> chunks;  // their lengths add up to the call's
};

// 64-byte endpoints: memory reads carry 56 bytes, debug reads 55/54/52 by width.
const std::vector<ChunkCase> kReads = {
    {ON_BUFFER(KORVEX_UPLoad_Target(h, 0x08000000, 120, b)), Form::Memory,
     {{0x08000000, 56}, {0x08000038, 56}, {0x08000070, 8}}},
    {ON_BUFFER(KORVEX_UPLoad_Target(h, 0x08400000, 112, b)), Form::Memory, {{0x08400000, 56}, {0x08400038, 56}}},
    {ON_BUFFER(KORVEX_ReadUserSystemData_Target(h, 60, b)), Form::Memory, {{0, 56}, {56, 4}}},
    {ON_BUFFER(KORVEX_ReadOTPData_Target(h, 0x100, 57, b, 1)), Form::Memory, {{0x100, 56}, {0x138, 1}}},
    {ON_BUFFER(KORVEX_BLECHIP_ReadFlash(h, 0x200, 120, b)), Form::Memory, {{0x200, 56}, {0x238, 56}, {0x270, 8}}},
    {ON_BUFFER(KORVEX_QSPI_Upload(h, 0x200, 57, b)), Form::Memory, {{0x200, 56}, {0x238, 1}}},
    {ON_BUFFER(KORVEX_ReadMainData_Device(h, 4, 0x40, 112, b)), Form::Memory, {{0x40, 56}, {0x78, 56}}},
    {ON_BUFFER(KORVEX_ReadOPTDataExtend_Device(h, 1, 60, b)), Form::Memory, {{0, 56}, {56, 4}}},
    {ON_BUFFER(KORVEX_DebugReadMemory_Target(h, 0x20000000, 64, b, 32)), Form::Debug,
     {{0x20000000, 52}, {0x20000034, 12}}},
    {ON_BUFFER(KORVEX_DebugReadMemory_Target(h, 0x20000000, 110, b, 16)), Form::Debug,
     {{0x20000000, 54}, {0x20000036, 54}, {0x2000006C, 2}}},
    {ON_BUFFER(KORVEX_DebugReadMemory_Target(h, 0x20000001, 56, b, 8)), Form::Debug,
     {{0x20000001, 55}, {0x20000038, 1}}},
};

class Chunked : public ::testing::TestWithParam<Transport> {};

// Each read once answered in full, once with its second chunk failing.
TEST_P(Chunked, reads_split_at_the_packet_size_assemble_the_data_and_stop_at_the_first_failing_chunk) {
    OpenProbe p(GetParam());
    for (const ChunkCase &c : kReads) {
        p.probe().respond(serveMemory);
        p.probe().clearLog();
        const size_t length = lengthOf(c.chunks), first = c.chunks[0][1];
        Bytes buffer(length + 4, 0xAA);
        EXPECT_EQ(c.call(p.handle(), buffer.data()), 0) << c.name;
        EXPECT_EQ(chunksOf(p.probe().requests(), c.form), c.chunks) << c.name;
        Bytes expected = pattern(c.chunks[0][0], length);
        expected.resize(length + 4, 0xAA);
        EXPECT_EQ(buffer, expected) << c.name << ": wrong data or written past the length";

        auto calls = std::make_shared<int>(0);
        p.probe().respond([calls](const Bytes &r) -> std::optional<Bytes> {
            if (++*calls == 2) return Bytes{uint8_t(r[0] ^ 0x01), 0xF1};  // not an answer to this request
            return serveMemory(r);
        });
        p.probe().clearLog();
        buffer.assign(length, 0xAA);
        EXPECT_EQ(c.call(p.handle(), buffer.data()), TRANS_READ_PARAMS_ERROR) << c.name;
        EXPECT_EQ(p.probe().requests().size(), 2u) << c.name;
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + first), pattern(c.chunks[0][0], first)) << c.name;
        EXPECT_EQ(Bytes(buffer.begin() + first, buffer.end()), Bytes(length - first, 0xAA))
            << c.name << ": the failed chunk reached the caller";
    }
}

// Writes carry 56 bytes (memory form, probe firmware), 48 (BLE), 55/54/52 (debug form by width) or
// 58 (display firmware, whose last packet is flagged).
const std::vector<ChunkCase> kWrites = {
    {ON_DATA(KORVEX_DownLoad_Target(h, 0x08000000, 120, d)), Form::Memory,
     {{0x08000000, 56}, {0x08000038, 56}, {0x08000070, 8}}},
    {ON_DATA(KORVEX_WriteUserSystemData_Target(h, 56, d)), Form::Memory, {{0, 56}}},
    {ON_DATA(KORVEXDevice_DownloadOTPData_Target(h, 0x40, 58, d, 0)), Form::Memory, {{0x40, 56}, {0x78, 2}}},
    {ON_DATA(KORVEX_BLECHIP_WriteFlash(h, 0, 100, d)), Form::Memory, {{0x0, 48}, {0x30, 48}, {0x60, 4}}},
    {ON_DATA(KORVEX_QSPI_DownLoad_Target(h, 0x10, 113, d)), Form::Memory, {{0x10, 56}, {0x48, 56}, {0x80, 1}}},
    {ON_DATA(KORVEX_WriteMainData_Device(h, 4, 0, 57, d)), Form::Memory, {{0, 56}, {56, 1}}},
    {ON_DATA(KORVEX_WriteOPTDataExtend_Device(h, 1, 56, d)), Form::Memory, {{0, 56}}},
    {ON_DATA(KORVEX_WriteOTPData_Device(h, 1, 8, 57, d)), Form::Memory, {{8, 56}, {64, 1}}},
    {ON_DATA(KORVEX_SetOTPLockParameters_Device(h, 1, 0, 100, d)), Form::Memory, {{0, 56}, {56, 44}}},
    {ON_DATA(KORVEX_SetOTPWriteParameters_Device(h, 1, 0, 56, d)), Form::Memory, {{0, 56}}},
    {ON_DATA(KORVEX_DebugWriteMemory_Target(h, 0x20000000, 60, d, 32)), Form::Debug,
     {{0x20000000, 52}, {0x20000034, 8}}},
    {ON_DATA(KORVEX_DebugWriteMemory_Target(h, 0x20000000, 56, d, 16)), Form::Debug,
     {{0x20000000, 54}, {0x20000036, 2}}},
    {ON_DATA(KORVEX_DebugWriteMemory_Target(h, 0x20000000, 55, d, 8)), Form::Debug, {{0x20000000, 55}}},
    {ON_DATA(KORVEX_FWUpdate(h, 0x08000000, 57, d)), Form::Firmware, {{0x08000000, 56}, {0x08000038, 1}}},
    {ON_DATA(KORVEX_LCDFWUpdate(h, 58, d)), Form::Display, {{0, 58, 1}}},
    {ON_DATA(KORVEX_LCDFWUpdate(h, 116, d)), Form::Display, {{0, 58}, {58, 58, 1}}},
    {ON_DATA(KORVEX_LCDFWUpdate(h, 120, d)), Form::Display, {{0, 58}, {58, 58}, {116, 4, 1}}},
};

// Each write once acknowledged in full, once with its second chunk refused.
TEST_P(Chunked, writes_split_at_the_packet_size_send_the_data_in_order_and_stop_at_the_first_refused_chunk) {
    OpenProbe p(GetParam());
    for (const ChunkCase &c : kWrites) {
        p.probe().respond(serveMemory);
        p.probe().clearLog();
        Bytes data = pattern(1, lengthOf(c.chunks));
        EXPECT_EQ(c.call(p.handle(), data.data()), 0) << c.name;
        const std::vector<Bytes> requests = p.probe().requests();
        EXPECT_EQ(chunksOf(requests, c.form), c.chunks) << c.name;
        const size_t header = c.form == Form::Display ? 6 : c.form == Form::Debug ? 9 : 8;
        Bytes sent;
        for (size_t i = 0; i < requests.size() && i < c.chunks.size(); ++i) {
            const auto begin = requests[i].begin() + header;
            sent.insert(sent.end(), begin, begin + c.chunks[i][1]);
            if (!p.viaHid()) {
                EXPECT_EQ(requests[i].size(), header + c.chunks[i][1]) << c.name;
            }
        }
        EXPECT_EQ(sent, data) << c.name;
        if (c.chunks.size() < 2) continue;

        auto calls = std::make_shared<int>(0);
        p.probe().respond([calls](const Bytes &r) -> std::optional<Bytes> {
            return Bytes{r[0], uint8_t(++*calls == 2 ? 0xF2 : 0xF1)};
        });
        p.probe().clearLog();
        EXPECT_EQ(c.call(p.handle(), data.data()), 0xF2) << c.name;
        EXPECT_EQ(p.probe().requests().size(), 2u) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Library, Chunked, ::testing::Values(Transport::Hid, Transport::Bulk),
                         [](const auto &info) { return info.param == Transport::Hid ? "Hid" : "Bulk"; });

uint8_t scratch[256];
uint16_t words[4];
uint32_t word;
int numbers[2];

// ---------------------------------------------------------------- reply decoding

// Before each call every byte of its outputs is EE, so an output not written reads EE, EEEE or EEEEEEEE.
constexpr uint64_t kE8 = 0xEE, kE16 = 0xEEEE, kE32 = 0xEEEEEEEE;

struct Decoding {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    Bytes reply;
    std::function<Outputs()> read;
    Outputs expected;
    int result = 0;
};

Bytes padded(Bytes head, size_t total) {
    head.resize(total, 0x3C);
    return head;
}

const Bytes kCrcReply = {0xB5, 0x06, 0x06, 0x00, 0x05, 0xDE, 0xAD, 0xBE, 0xEF};
// A checksum reply that names another sector than the one asked for.
const Bytes kCrcOfSector6 = {0xB5, 0x06, 0x06, 0x00, 0x06, 0xDE, 0xAD, 0xBE, 0xEF};
const uint8_t *const s = scratch;

// Fields are big-endian; data fills the caller's buffer up to the length it gave, whatever the reply
// carries; a refused reply hands over nothing, except the device ID, which is handed over anyway.
// The getters of the probe's settings read back what the virtual probe stored (virtual_probe_test).
const std::vector<Decoding> kDecodings = {
    {ON_HANDLE(KORVEX_GetVersion(h, 4, scratch)), {0xB0, 0x00, 0x05, 1, 2, 3, 4, 7}, OUTPUTS(s[0], s[1], s[2], s[3], s[4]),
     {1, 2, 3, 4, kE8}},
    {ON_HANDLE(KORVEX_GetAppState(h, scratch)), {0xB0, 0x00, 0x05, 1, 2, 3, 4, 7}, OUTPUTS(s[0], s[1]), {7, kE8}},
    {ON_HANDLE(KORVEX_GetSWDSpeed(h, numbers)), {0xB0, 0x03, 0x04, 0x00, 0x0F, 0x42, 0x40}, OUTPUTS(numbers[0]), {1000000}},
    {ON_HANDLE(KORVEX_GetRsetMode(h, scratch)), {0xB0, 0x05, 0x01, 0x02}, OUTPUTS(s[0], s[1]), {2, kE8}},
    {ON_HANDLE(KORVEX_GetFlashSize_Target(h, numbers)), {0xB1, 0x02, 0x02, 0x01, 0x02}, OUTPUTS(numbers[0]), {0x102}},
    {ON_HANDLE(KORVEX_GetStatus_Target(h, scratch, scratch + 1, scratch + 2)), {0xB1, 0x00, 0x01, 0x06},
     OUTPUTS(s[0], s[1], s[2]), {0, 1, 1}},
    {ON_HANDLE(KORVEX_GetDeviceID_Target(h, scratch)), {0xB1, 0x09, 0x05, 0x11, 0x22, 0x33, 0x44, 0x55},
     OUTPUTS(s[0], s[4], s[5]), {0x11, 0x55, kE8}, TRANS_READ_PARAMS_ERROR},
    {ON_HANDLE(KORVEX_GetSlibState_Target(h, scratch, words, words + 1, words + 2, words + 3)),
     {0xB5, 0x02, 0x09, 0x03, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0},
     OUTPUTS(s[0], words[0], words[1], words[2], words[3]), {3, 0x1234, 0x5678, 0x9ABC, 0xDEF0}},
    {ON_HANDLE(KORVEX_GetSysSlibState_Target(h, scratch, words)), {0xB5, 0x07, 0x02, 0x01, 0x5A},
     OUTPUTS(s[0], words[0]), {1, 0x5A}},
    {ON_HANDLE(KORVEX_DebugReadRegister_Target(h, 0xE000ED00, &word)),
     {0xCF, 0x00, 0, 0, 0, 0, 0, 0x00, 0x04, 0x12, 0x34, 0x56, 0x78}, OUTPUTS(word), {0x12345678}},
    {ON_HANDLE(KORVEX_GetCRCValue_Target(h, 5, 1, &word)), kCrcReply, OUTPUTS(word), {0xDEADBEEF}},
    {ON_HANDLE(KORVEX_GetCRCValue_Target(h, 5, 1, &word)), kCrcOfSector6, OUTPUTS(word), {kE32}, 4},
    {ON_HANDLE(KORVEX_GetSectorCRCValue_Target(h, 5, &word)), kCrcOfSector6, OUTPUTS(word), {kE32}, 4},
    {ON_HANDLE(KORVEX_BLECHIP_ReadReg(h, 5, scratch)), {0xBE, 0x09, 0x05, 0x32}, OUTPUTS(s[0]), {0x32}},
    {ON_HANDLE(KORVEX_BLECHIP_GetProtectStatus(h, scratch)), {0xBE, 0x0D, 0x01, 0xA5}, OUTPUTS(s[0]), {0}},
    {ON_HANDLE(KORVEX_BLECHIP_GetProtectStatus(h, scratch)), {0xBE, 0x0D, 0x01, 0xFF}, OUTPUTS(s[0]), {1}},
    {ON_HANDLE(KORVEX_BLECHIP_ReadFlash(h, 0x100, 2, scratch)), {0xBE, 0x04, 0, 0, 0x02, 0, 0x00, 0x02, 7, 8},
     OUTPUTS(s[0]), {kE8}, 4},
    {ON_HANDLE(KORVEX_GetVoltageLevelValue(h, 1, words)), {0xB0, 0x0E, 0x03, 0x02, 0x13, 0x88}, OUTPUTS(words[0]),
     {kE16}, 4},
    {ON_HANDLE(KORVEX_GetDownloadTimes(h, 0xB3, 1, 2, numbers)), {0xBB, 0x08, 0x04, 0, 0, 0x01, 0x07},
     OUTPUTS(numbers[0]), {0x107}},
    {ON_HANDLE(KORVEX_PinTestMode(h, &word)), {0xCF, 0x04, 0x04, 0x00, 0xFF, 0x01, 0x02}, OUTPUTS(word), {0xFF0102}},
    {ON_HANDLE(KORVEX_GetLCDFWVersion(h, 2, scratch)), {0xB0, 0x22, 0x02, 1, 5}, OUTPUTS(s[0], s[1], s[2]),
     {1, 5, kE8}},
    {ON_HANDLE(KORVEX_GetLCDFWVersion(h, 4, scratch)), {0xB0, 0x22, 0x02, 1, 2}, OUTPUTS(s[0]), {kE8}, 4},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Dpart(h, 2, 3, scratch)), {0xBC, 0x32, 0x00, 0x03, 7, 8, 9},
     OUTPUTS(s[0], s[2], s[3]), {7, 9, kE8}},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Apart(h, 0, 2, scratch)), {0xBC, 0x00, 0x00, 0x04, 1, 2, 3, 4}, OUTPUTS(s[0]),
     {kE8}, 4},
    {ON_HANDLE(KORVEX_ReadOPTData_Device(h, 0, 48, scratch)),
     [] { Bytes b{0xBA, 0x00, 0x00, 0x31}; b.resize(52, 0x77); return b; }(), OUTPUTS(s[0]), {kE8}, 4},
    // The fullest single packets: one exchange each.
    {ON_HANDLE(KORVEX_GetOfflineConfig_Bpart(h, 0, 60, scratch)), padded({0xBC, 0x10, 0x00, 0x3C}, 64),
     OUTPUTS(s[0], s[59], s[60]), {0x3C, 0x3C, kE8}},
    {ON_HANDLE(KORVEX_DebugReadMemory_Device(h, 0, 55, scratch)), padded({0xCF, 0x02, 0x08, 0, 0, 0, 0, 0x00, 0x37}, 64),
     OUTPUTS(s[0], s[54], s[55]), {0x3C, 0x3C, kE8}},
    {ON_HANDLE(KORVEX_SetOfflineConfig_Apart(h, 0, 60, scratch)), {0xBD, 0xF1}, OUTPUTS(), {}},
    // Verdicts: the reply's verdict byte decides the result.
    {ON_HANDLE(KORVEX_FWUpdateVerify(h, 1)), {0xC0, 0x05, 0, 0, 0x01}, OUTPUTS(), {}, KORVEX_VERIFY_MISMATCH},
    {ON_HANDLE(KORVEX_FWUpdateVerify(h, 1)), {0xC0, 0x05, 0, 0, 0x00}, OUTPUTS(), {}},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 2, 0, 4)), {0xB7, 0x12, 0x01, 0x02}, OUTPUTS(), {}, KORVEX_VERIFY_MISMATCH},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 2, 0, 4)), {0xB7, 0x12, 0x01, 0x00}, OUTPUTS(), {}},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 2, 0, 4)), {0xB7, 0x13, 0x01, 0x00}, OUTPUTS(), {}, 0x13},
};

TEST(ReplyData, each_reply_gives_its_result_and_outputs) {
    OpenProbe p(Transport::Bulk);
    for (const Decoding &d : kDecodings) {
        std::fill(std::begin(scratch), std::end(scratch), 0xEE);
        std::fill(std::begin(words), std::end(words), kE16);
        word = kE32;
        std::fill(std::begin(numbers), std::end(numbers), int(kE32));
        p.probe().respondAlways(d.reply);
        EXPECT_EQ(d.call(p.handle()), d.result) << d.name;
        EXPECT_EQ(d.read(), d.expected) << d.name;
    }
}

// ---------------------------------------------------------------- time-outs by command

struct LateReply {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    unsigned delayMs;  // with the test's twentyfold shorter time-outs
    int result;
    Bytes reply;       // empty: a status reply acknowledging the request (or the data of a read)
};

// 3 s commands give up at 150 ms, 10 s ones at 500 ms, 30 s ones at 1.5 s, 300 s ones at 15 s.
// A reply later than a command's time-out gives its receive code; one in time gives 0. The 3 s
// rows are the commands that share their request with a longer-waiting one.
const std::vector<LateReply> kLateReplies = {
    {ON_HANDLE(KORVEX_SectorErase_Target(h, 0x08000000, 1)), 400, 2, {}},
    {ON_HANDLE(KORVEX_SetSWDAutoDetect(h)), 250, 0, {}},
    {ON_HANDLE(KORVEX_MainFlashAllErase_Target(h)), 800, 0, {}},
    {ON_HANDLE(KORVEX_Bank1AllErase_Target(h)), 800, 0, {}},
    {ON_HANDLE(KORVEX_Bank2AllErase_Target(h)), 800, 0, {}},
    {ON_HANDLE(KORVEX_SPIMAllErase_Target(h)), 2500, 0, {}},
    {ON_HANDLE(KORVEX_SysMemoryAllErase_Target(h)), 2500, 0, {}},
    {ON_HANDLE(KORVEX_WriteUserSystemData_Target(h, 4, scratch)), 800, 0, {}},
    {ON_HANDLE(KORVEX_DownLoad_Target(h, 0x08000000, 4, scratch)), 400, 2, {}},
    {ON_HANDLE(KORVEX_SetEncKey(h, 6, scratch)), 800, 0, {}},
    {ON_HANDLE(KORVEX_UnAccessProtect_Target(h)), 800, 0, {}},
    {ON_HANDLE(KORVEX_EnableSlib_Target(h, 0x12345678, 1, 2, 3)), 800, 0, {}},
    {ON_HANDLE(KORVEX_GetCRCValue_Target(h, 5, 1, &word)), 250, 0, kCrcReply},
    {ON_HANDLE(KORVEX_GetSectorCRCValue_Target(h, 5, &word)), 400, 3, kCrcReply},
    {ON_HANDLE(KORVEX_DebugWriteMemory_Target(h, 0x20000000, 4, scratch, 32)), 800, 0, {}},
    {ON_HANDLE(KORVEX_DebugWriteRegister_Target(h, 0x20000000, 1)), 400, 2, {}},
    {ON_HANDLE(KORVEX_QSPI_SectorErase(h, 0, 1)), 800, 0, {}},
    {ON_HANDLE(KORVEX_QSPI_BlockErase(h, 0, 1)), 800, 0, {}},
    {ON_HANDLE(KORVEX_QSPI_ChipErase(h)), 2500, 0, {}},
    {ON_HANDLE(KORVEX_SetTargetStableTime(h, 5)), 800, 0, {}},
    {ON_HANDLE(KORVEX_SetCodeNumber(h, 2)), 800, 0, {}},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 3, 0, 4)), 800, 0, {0xB7, 0x13, 0x01, 0x00}},
    {ON_HANDLE(KORVEX_FWUpdateSetCodeRange(h, 0, 4)), 800, 0, {}},
    {ON_HANDLE(KORVEX_FWUpdateVerify(h, 4)), 800, 0, {0xC0, 0x05, 0x00, 0x00, 0x00}},
    {ON_HANDLE(KORVEX_LCDFWUpdateSetCodeSize(h, 4)), 800, 0, {}},
    {ON_HANDLE(KORVEX_LCDFWUpdateEnd(h)), 250, 0, {}},
    {ON_HANDLE(KORVEX_FactoryDataReset(h)), 800, 0, {}},
    {ON_HANDLE(KORVEX_PinTestMode(h, &word)), 250, 0, {0xCF, 0x04, 0x04, 0, 0, 0, 1}},
    {ON_HANDLE(KORVEX_PROLCDTestMode(h)), 800, 0, {}},
};

// One case per row, so that the waits run side by side.
class TimeOuts : public ::testing::TestWithParam<LateReply> {};

TEST_P(TimeOuts, each_command_waits_as_long_as_its_row_says) {
    const LateReply &c = GetParam();
    OpenProbe p(Transport::Bulk);  // a fresh probe: a late reply must not reach the next case
    p.probe().respond(serveMemory);
    if (!c.reply.empty()) p.probe().respondAlways(c.reply);
    p.probe().delayNextReply(c.delayMs);
    EXPECT_EQ(c.call(p.handle()), c.result) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Library, TimeOuts, ::testing::ValuesIn(kLateReplies));

// ---------------------------------------------------------------- late replies

struct LateCase {
    const char *name;
    Transport transport;
    unsigned pauseMs;  // after the time-out: 600 lets the late reply arrive before the next request
};

class LateReplies : public ::testing::TestWithParam<LateCase> {};

// A refusal that comes after its request gave up (150 ms here) is never taken for the answer to a
// later request. Already waiting, it is drained before the next request goes out, so even a
// request answered in the very same form (a B0 status) gets its own reply. Arriving during a later
// wait, it does not fit the request waiting (another length, group or sub-command) and is dropped.
TEST_P(LateReplies, are_never_the_answer_to_a_later_request) {
    const LateCase &c = GetParam();
    OpenProbe p(c.transport);
    const Bytes version = {0xB0, 0x00, 0x05, 0x01, 0x02, 0x03, 0x04, 0x01};
    p.probe().respond([version](const Bytes &r) {
        if (r[0] == 0xB0 && r[1] == 0x00) return std::optional<Bytes>(version);
        return std::optional<Bytes>(Bytes{r[0], uint8_t(r[1] == 0x23 ? 0xFF : 0xF1)});
    });
    p.probe().delayNextReply(400);
    EXPECT_EQ(KORVEX_SetVKPVersion(p.handle(), 0x20321), TRANS_WRITE_ERROR);
    std::this_thread::sleep_for(std::chrono::milliseconds(c.pauseMs));
    if (c.pauseMs > 0) {
        EXPECT_EQ(KORVEX_SetSWDSpeed(p.handle(), 1000000), 0);
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    for (int i = 0; std::chrono::steady_clock::now() < until; ++i) {
        Bytes out(4, 0);
        ASSERT_EQ(KORVEX_GetVersion(p.handle(), 4, out.data()), 0) << "request " << i;
        ASSERT_EQ(out, (Bytes{1, 2, 3, 4})) << "request " << i;
        ASSERT_EQ(KORVEX_SetState_Target(p.handle(), 1), 0) << "request " << i;
    }
}

const LateCase kLateCases[] = {
    {"BulkWaiting", Transport::Bulk, 600},
    {"BulkArrivingLater", Transport::Bulk, 0},
    {"HidWaiting", Transport::Hid, 600},
    {"HidArrivingLater", Transport::Hid, 0},
};
INSTANTIATE_TEST_SUITE_P(Library, LateReplies, ::testing::ValuesIn(kLateCases),
                         [](const ::testing::TestParamInfo<LateCase> &info) { return info.param.name; });

}  // namespace
