// The Intel HEX reader on text in memory: how records become parts, and which input is refused.
#include "file_result.h"
#include "hex_digits.h"
#include "intel_hex_reader.h"
#include "line_splitter.h"
#include "image_test_support.h"

#include <gtest/gtest.h>

using namespace image_test;

namespace {

std::string Record(int type, uint32_t offset, const Bytes& data)
{
    return ReferenceRecord(type, offset, data.data(), data.size(), "\n");
}

std::string Linear(uint16_t upper) { return Record(4, 0, {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper)}); }
std::string Data(uint32_t offset, const Bytes& data) { return Record(0, offset, data); }
const std::string kEnd = ":00000001FF";
const std::string kStartAddress = ":0400000508000000EF\n", kSegment = ":020000021000EC\n";

// Records of 16 bytes from offset on, for the given bytes.
std::string DataRun(uint32_t offset, const Bytes& bytes)
{
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 16)
        text += Data(static_cast<uint32_t>(offset + i), Bytes(bytes.begin() + i, bytes.begin() + std::min(bytes.size(), i + 16)));
    return text;
}

int Parse(const std::string& text, FileInfo& image) { return ParseIntelHex(text.data(), text.size(), image); }

} // namespace

TEST(HexReader, RecordsBecomePartsInFileOrder)
{
    const Bytes a = RandomBytes(256, 1), b = RandomBytes(16, 3), c = RandomBytes(48, 4), d = RandomBytes(32, 5);
    const Bytes segment = RandomBytes(0x10000, 7);
    Bytes ab(a.begin(), a.begin() + 16);
    ab.insert(ab.end(), b.begin(), b.end());
    std::string relaxed; // lower case, CRLF and blank lines read like the usual form
    for (char ch : Linear(0x0800) + DataRun(0x40, a) + kEnd)
        relaxed += ch == '\n' ? std::string("\r\n\r\n") : std::string(1, static_cast<char>(std::tolower(ch)));
    const struct {
        const char* name;
        std::string text;
        std::vector<ExpectedPart> parts;
    } rows[] = {
        {"one run", Linear(0x0800) + DataRun(0, a) + kEnd, {{0x08000000, a}}},
        {"gap and backward", Linear(0x0800) + DataRun(0x100, c) + DataRun(0x200, b) + DataRun(0x110, d) + kEnd,
         {{0x08000100, c}, {0x08000200, b}, {0x08000110, d}}},
        {"address record ends a part", Linear(0x0800) + DataRun(0xFFE0, d) + Linear(0x0801) + DataRun(0, b) + kEnd,
         {{0x0800FFE0, d}, {0x08010000, b}}},
        {"whole segment", Linear(0x0800) + DataRun(0, segment) + Linear(0x0801) + Data(0, {0x5A}) + kEnd,
         {{0x08000000, segment}, {0x08010000, {0x5A}}}},
        {"other types between", Linear(0x1FFF) + kStartAddress + kSegment + Data(0xF000, b) + kEnd, {{0x1FFFF000, b}}},
        {"other types inside", Linear(0x0800) + Data(0, Bytes(a.begin(), a.begin() + 16)) + kSegment + Data(0x10, b) + kEnd,
         {{0x08000000, ab}}},
        {"relaxed form", relaxed, {{0x08000040, a}}},
        {"byte order mark", "\xEF\xBB\xBF" + Linear(0x0800) + DataRun(0, b) + kEnd, {{0x08000000, b}}},
        {"segment end", Linear(0x0800) + Data(0xFFF0, b) + kEnd, {{0x0800FFF0, b}}},
        {"after the end", Linear(0x0800) + DataRun(0, b) + kEnd + "\n" + DataRun(0x20, d) + Linear(0x0900) + Linear(0x0901)
                              + "garbage\n" + Data(0x20, {1, 2}).substr(0, 12) + "\n", {{0x08000000, b}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FileInfo image;
        ASSERT_EQ(Parse(row.text, image), FILE_OPERATION_SUCCESS);
        ExpectParts(image, row.parts);
    }
    FileInfo empty; // an address record without data gives an empty part
    ASSERT_EQ(Parse(Linear(0x0800) + kEnd, empty), FILE_OPERATION_SUCCESS);
    ASSERT_EQ(empty.parts.size(), 1);
    EXPECT_EQ(empty.parts[0].size(), 0u);
    EXPECT_EQ(empty.startAddress, 0x08000000u);
}

// Each of these is refused whole, however much of it looked right. (A missing end record, a cut
// last line, a record type 06 and a wrong data checksum are refused end to end.)
TEST(HexReader, RefusesMalformedFiles)
{
    const std::string head = Linear(0x0800) + DataRun(0, RandomBytes(48, 15));
    const std::string last = Data(0x30, RandomBytes(16, 16)), body = last.substr(0, last.size() - 1);
    const std::string good = Data(0x10, {1, 2, 3, 4}).substr(0, 19); // ":0400100001020304E2"
    const std::string data = Data(0, {1, 2}) + kEnd;
    std::vector<std::string> files = {
        "", "\n" + Linear(0x0800), Data(0, {1}) + kEnd, kSegment + Linear(0x0800), kEnd, " " + Linear(0x0800), // no 04 first
        Linear(0x0800) + Linear(0x0801) + Data(0, {1}) + kEnd,                  // two address records before data
        Linear(0x0800) + kStartAddress + "\n" + Linear(0x0801) + kEnd,
        head + Linear(0x0801) + Linear(0x0802) + kEnd,
        head + good.substr(0, 9) + "01G20304E2\n" + kEnd,                        // data digit
        head + ":04001G0001020304E2\n" + kEnd,                                   // offset digit
        head + ":0G00100001020304E2\n" + kEnd,                                   // count digit
        head + ":0500100001020304E2\n" + kEnd,                                   // count larger than the data
        head + good + "00\n" + kEnd,                                             // trailing characters
        head + good.substr(0, 18) + "\n" + kEnd,                                 // half a byte
        head + ":00001000\n" + kEnd, head + ":00001:00\n" + kEnd,                // no checksum, too short
        head + " " + good + "\n" + kEnd, head + "0400100001020304E2 :\n" + kEnd, // shifted, no start code
        ":020000040800F3\n" + data, ":0200000408G0F2\n" + data,                 // address record: checksum, digit
        ":0100000408F3\n" + data, ":020000040800\n" + data,                      // one address byte, no checksum
        head + ":020000040801F2\n" + data,                                      // wrong checksum, later
        head + last + body.substr(0, 9) + "\n" + kEnd,                          // cut after its type
        Linear(0x0800), head + last + ":00000001FE", head + last + ":00000001", // end record alone, sum, short
        head + last + kEnd + "\x1A",
        head + ":0400000508000000EE\n" + kEnd, head + ":020000021000ED\n" + kEnd, // other records' checksums
        head + ":0400001008000000E4\n" + kEnd,                                  // record type 10
        head + body.substr(0, 7) + "0G" + body.substr(9) + "\n" + kEnd,         // type digit
        Linear(0x0800) + Data(0xFFF8, RandomBytes(16, 16)) + kEnd,              // runs past its segment
    };
    // Characters that are no digit, or become one when their case bit is set, at both ends of the data.
    for (const char wrong : {'G', 'g', '@', '`', '/', ':', '\x10', '\x19', '\xC1'})
        for (const size_t at : {size_t{9}, size_t{40}}) {
            std::string record = last;
            record[at] = wrong;
            files.push_back(head + record + kEnd);
        }
    const std::string padding(LineSplitter::kDefaultLineLimit, '0'); // overlong lines of any type
    files.push_back(head + ":020000000102" + padding + "FB\n" + kEnd);
    files.push_back(head + ":02000005" + padding + "FB\n" + kEnd);
    for (const std::string& text : files) {
        FileInfo image;
        EXPECT_EQ(Parse(text, image), FILE_OPEN_FORMAT_ERROR) << text;
    }
    FileInfo whole;
    EXPECT_EQ(Parse(head + last + Data(0x40, {1, 2, 3, 4}) + kEnd, whole), FILE_OPERATION_SUCCESS);
}

// One-byte records two addresses apart each start a part; more than 2^20 parts are refused rather
// than let a file of them take memory without bound.
TEST(HexReader, RefusesMoreThanAMillionParts)
{
    const uint32_t parts = (1u << 20) + 1;
    std::string text;
    text.reserve(parts * 14 + parts / 32768 * 16);
    for (uint32_t i = 0; i < parts; ++i)
        text += (i % 0x8000 == 0 ? Linear(static_cast<uint16_t>(0x0800 + i / 0x8000)) : "")
                + Data(2 * i % 0x10000, {static_cast<uint8_t>(i)});
    FileInfo image;
    EXPECT_EQ(Parse(text + kEnd, image), FILE_OPEN_FORMAT_ERROR);
}

TEST(HexReader, ChunksOfAnySizeGiveTheSamePartsAsTheWholeText)
{
    const std::string text = Linear(0x0800) + DataRun(0xFF00, RandomBytes(0x100, 17)) + "\r\n" + Linear(0x0801)
                             + DataRun(0x0, RandomBytes(40, 18)) + ":0400000508000000EF\r\n" + DataRun(0x80, {9}) + kEnd;
    FileInfo whole;
    ASSERT_EQ(Parse(text, whole), FILE_OPERATION_SUCCESS);
    std::vector<ExpectedPart> expected;
    for (const ImagePart& part : whole.parts)
        expected.push_back({part.startAddress, part.bytes});
    for (size_t chunk = 1; chunk <= 64; ++chunk) {
        FileInfo image;
        IntelHexReader reader(image);
        LineSplitter lines([&reader](const char* line, size_t size, bool cut) { return reader.AddLine(line, size, cut); });
        for (size_t at = 0; at < text.size(); at += chunk)
            lines.Feed(text.data() + at, std::min(chunk, text.size() - at));
        lines.Finish();
        ASSERT_EQ(reader.Finish(), FILE_OPERATION_SUCCESS) << "chunk " << chunk;
        ExpectParts(image, expected);
    }
}

// The decoder of long digit runs against the one-digit rule: every character at every position
// of a 48-digit run (a block of 16 bytes and a tail) is taken exactly when it is a digit, as its value.
TEST(HexDigits, EveryCharacterAtEveryPositionOfARunDecodesLikeOneDigit)
{
    const std::string run = "0123456789abcdefABCDEF0011223344556677889900aAfF";
    for (size_t at = 0; at < run.size(); ++at)
        for (int c = 0; c < 256; ++c) {
            std::string text = run;
            text[at] = static_cast<char>(c);
            uint8_t out[24];
            uint32_t sum = 0, expectedSum = 0;
            const bool decoded = DecodeHexBytes(text.data(), sizeof out, out, sum);
            ASSERT_EQ(decoded, HexDigitValue(static_cast<char>(c)) >= 0) << at << " " << c;
            for (size_t i = 0; decoded && i < sizeof out; ++i) {
                ASSERT_EQ(out[i], HexDigitValue(text[2 * i]) << 4 | HexDigitValue(text[2 * i + 1])) << at << " " << c;
                expectedSum += out[i];
            }
            ASSERT_EQ(sum, decoded ? expectedSum : sum);
        }
}
