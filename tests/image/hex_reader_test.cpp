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

std::string Linear(uint16_t upper)
{
    return Record(4, 0, {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper & 0xFF)});
}

std::string Data(uint32_t offset, const Bytes& data)
{
    return Record(0, offset, data);
}

const std::string kEnd = ":00000001FF";

// Records of 16 bytes from offset on, for the given bytes.
std::string DataRun(uint32_t offset, const Bytes& bytes)
{
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 16)
        text += Data(static_cast<uint32_t>(offset + i),
                     Bytes(bytes.begin() + i, bytes.begin() + std::min(bytes.size(), i + 16)));
    return text;
}

int Parse(const std::string& text, FileInfo& image)
{
    return ParseIntelHex(text.data(), text.size(), image);
}

void ExpectParts(const FileInfo& image, const std::vector<ExpectedPart>& expected)
{
    ASSERT_EQ(image.parts.size(), static_cast<int>(expected.size()));
    for (int i = 0; i < image.parts.size(); ++i) {
        const ImagePart& part = image.parts[i];
        const ExpectedPart& want = expected[static_cast<size_t>(i)];
        EXPECT_EQ(part.startAddress, want.start) << "part " << i;
        EXPECT_EQ(part.size(), want.bytes.size()) << "part " << i;
        EXPECT_EQ(part.endAddress, static_cast<uint32_t>(want.start + want.bytes.size() - 1)) << "part " << i;
        EXPECT_EQ(part.checksum, SumOf(want.bytes)) << "part " << i;
        EXPECT_EQ(PartBytes(part), want.bytes) << "part " << i;
    }
}

} // namespace

TEST(HexReaderParts, SixteenRecordsAfterOneAddressRecordMakeOnePart)
{
    const Bytes bytes = RandomBytes(256, 1);
    FileInfo image;
    ASSERT_EQ(Parse(Linear(0x0800) + DataRun(0, bytes) + kEnd, image), FILE_OPERATION_SUCCESS);
    ExpectParts(image, {{0x08000000, bytes}});
    EXPECT_EQ(image.startAddress, 0x08000000u);
    EXPECT_EQ(image.size, 256);
    EXPECT_EQ(static_cast<uint32_t>(image.checksum), SumOf(bytes));
}

TEST(HexReaderParts, GapAndBackwardRecordsStartNewPartsInFileOrder)
{
    const Bytes a = RandomBytes(32, 2), b = RandomBytes(16, 3), c = RandomBytes(48, 4);
    FileInfo image;
    ASSERT_EQ(Parse(Linear(0x0800) + DataRun(0x100, a) + DataRun(0x200, b) + DataRun(0x110, c) + kEnd, image),
              FILE_OPERATION_SUCCESS);
    ExpectParts(image, {{0x08000100, a}, {0x08000200, b}, {0x08000110, c}});
    EXPECT_EQ(image.size, 96);
    EXPECT_EQ(static_cast<uint32_t>(image.checksum), SumOf(a) + SumOf(b) + SumOf(c));
}

TEST(HexReaderParts, EveryAddressRecordEndsThePartEvenWhenTheDataContinues)
{
    const Bytes low = RandomBytes(32, 5), high = RandomBytes(32, 6);
    FileInfo image;
    ASSERT_EQ(Parse(Linear(0x0800) + DataRun(0xFFE0, low) + Linear(0x0801) + DataRun(0, high) + kEnd, image),
              FILE_OPERATION_SUCCESS);
    ExpectParts(image, {{0x0800FFE0, low}, {0x08010000, high}});
    EXPECT_EQ(image.parts[0].endAddress, 0x0800FFFFu);
}

TEST(HexReaderParts, AWholeSegmentIsOnePartOf65536BytesAndTheNextByteAnother)
{
    const Bytes segment = RandomBytes(0x10000, 7);
    const Bytes extra = {0x5A};
    FileInfo image;
    ASSERT_EQ(Parse(Linear(0x0800) + DataRun(0, segment) + Linear(0x0801) + DataRun(0, extra) + kEnd, image),
              FILE_OPERATION_SUCCESS);
    ExpectParts(image, {{0x08000000, segment}, {0x08010000, extra}});
    EXPECT_EQ(image.size, 0x10001);
}

TEST(HexReaderParts, TheFirstDataRecordAfterAnAddressRecordGivesThePartItsStart)
{
    const Bytes bytes = RandomBytes(16, 8);
    FileInfo image;
    // Start address and segment records between the two are passed over.
    ASSERT_EQ(Parse(Linear(0x1FFF) + ":0400000508000000EF\n:020000021000EC\n" + Data(0xF000, bytes) + kEnd, image),
              FILE_OPERATION_SUCCESS);
    ExpectParts(image, {{0x1FFFF000, bytes}});
}

TEST(HexReaderParts, RecordsOfOtherTypesDoNotSplitAPart)
{
    const Bytes a = RandomBytes(16, 9), b = RandomBytes(16, 10);
    FileInfo image;
    ASSERT_EQ(Parse(Linear(0x0800) + Data(0, a) + ":020000021000EC\n" + Data(0x10, b) + kEnd, image),
              FILE_OPERATION_SUCCESS);
    Bytes both = a;
    both.insert(both.end(), b.begin(), b.end());
    ExpectParts(image, {{0x08000000, both}});
}

TEST(HexReaderParts, AnAddressRecordWithoutDataGivesAnEmptyPart)
{
    FileInfo image;
    ASSERT_EQ(Parse(Linear(0x0800) + kEnd, image), FILE_OPERATION_SUCCESS);
    ASSERT_EQ(image.parts.size(), 1);
    EXPECT_EQ(image.parts[0].startAddress, 0x08000000u);
    EXPECT_EQ(image.parts[0].size(), 0u);
    EXPECT_EQ(image.size, 0);
    EXPECT_EQ(image.startAddress, 0x08000000u);
}

TEST(HexReaderParts, LowerCaseDigitsCrLfLineEndsAndBlankLinesReadLikeTheUsualForm)
{
    const Bytes bytes = RandomBytes(64, 11);
    const std::string usual = Linear(0x0800) + DataRun(0x40, bytes) + kEnd;
    std::string relaxed;
    for (char c : usual)
        relaxed += c == '\n' ? std::string("\r\n\r\n") : std::string(1, static_cast<char>(std::tolower(c)));
    FileInfo image;
    ASSERT_EQ(Parse(relaxed, image), FILE_OPERATION_SUCCESS);
    ExpectParts(image, {{0x08000040, bytes}});
}

TEST(HexReaderParts, AByteOrderMarkBeforeTheFirstRecordIsIgnored)
{
    const Bytes bytes = RandomBytes(16, 12);
    FileInfo image;
    ASSERT_EQ(Parse("\xEF\xBB\xBF" + Linear(0x0800) + Data(0, bytes) + kEnd, image), FILE_OPERATION_SUCCESS);
    ExpectParts(image, {{0x08000000, bytes}});
}

TEST(HexReaderEndOfFile, RecordsAfterTheEndOfFileRecordChangeNothing)
{
    const Bytes bytes = RandomBytes(32, 13);
    const std::string file = Linear(0x0800) + DataRun(0, bytes) + kEnd + "\n";
    for (const std::string& after : {DataRun(0x20, RandomBytes(16, 14)), Linear(0x0900) + Linear(0x0901),
                                     std::string("garbage\n"), Data(0x20, {1, 2}).substr(0, 12) + "\n"}) {
        FileInfo image;
        ASSERT_EQ(Parse(file + after, image), FILE_OPERATION_SUCCESS) << after;
        ExpectParts(image, {{0x08000000, bytes}});
        EXPECT_EQ(image.size, 32);
    }
}

TEST(HexReaderRejects, AFileThatDoesNotBeginWithAnExtendedLinearAddressRecord)
{
    for (const std::string& text : {std::string(), std::string("\n") + Linear(0x0800), Data(0, {1}) + kEnd,
                                    ":020000021000EC\n" + Linear(0x0800), kEnd, std::string(" ") + Linear(0x0800)}) {
        FileInfo image;
        EXPECT_EQ(Parse(text, image), FILE_OPEN_FORMAT_ERROR) << text;
    }
}

TEST(HexReaderRejects, AnAddressRecordFollowedByAnotherBeforeAnyData)
{
    for (const std::string& text : {Linear(0x0800) + Linear(0x0801) + Data(0, {1}) + kEnd,
                                    Linear(0x0800) + ":0400000508000000EF\n\n" + Linear(0x0801) + kEnd,
                                    Linear(0x0800) + Data(0, {1}) + Linear(0x0801) + Linear(0x0802) + kEnd}) {
        FileInfo image;
        EXPECT_EQ(Parse(text, image), FILE_OPEN_FORMAT_ERROR) << text;
    }
}

TEST(HexReaderRejects, CorruptedDataRecords)
{
    const std::string good = Data(0x10, {0x01, 0x02, 0x03, 0x04}); // ":0400100001020304E2\n"
    const std::string body = good.substr(0, good.size() - 1);
    const std::vector<std::string> corrupted = {
        body.substr(0, body.size() - 2) + "E3",              // wrong checksum
        body.substr(0, 9) + "01G20304" + body.substr(17),    // a data digit that is not hexadecimal
        ":04001G00010203" + body.substr(15),                 // an offset digit that is not hexadecimal
        ":0G" + body.substr(3),                              // a count digit that is not hexadecimal
        ":0500100001020304E2",                               // count says 5, four bytes and a checksum
        body + "00",                                         // trailing characters
        body.substr(0, body.size() - 1),                     // half a byte
        ":00001000",                                         // no checksum
        ":00001:00",                                         // shorter than a record
        " " + body,                                          // fields shifted off their positions
        "0400100001020304E2 :",                              // no start code
    };
    for (const std::string& record : corrupted) {
        FileInfo image;
        EXPECT_EQ(Parse(Linear(0x0800) + record + "\n" + kEnd, image), FILE_OPEN_FORMAT_ERROR) << record;
    }
    FileInfo image;
    EXPECT_EQ(Parse(Linear(0x0800) + good + kEnd, image), FILE_OPERATION_SUCCESS);
}

TEST(HexReaderRejects, CorruptedAddressRecords)
{
    // The address record decides where every following byte lands, so it is checked like data.
    const std::string data = Data(0, {1, 2}) + kEnd;
    const std::vector<std::string> files = {
        ":020000040800F3\n" + data,                     // wrong checksum, first line
        ":0200000408G0F2\n" + data,                     // an address digit that is not hexadecimal
        ":0100000408F3\n" + data,                       // one address byte
        ":020000040800\n" + data,                       // no checksum
        Linear(0x0800) + Data(0, {1}) + ":020000040801F2\n" + data, // wrong checksum, later
    };
    for (const std::string& text : files) {
        FileInfo image;
        EXPECT_EQ(Parse(text, image), FILE_OPEN_FORMAT_ERROR) << text;
    }
}

// Files damaged in transfer or by hand: each one is refused whole, however much of it looked right.
TEST(HexReaderRejects, DamagedFiles)
{
    const std::string data = Linear(0x0800) + DataRun(0, RandomBytes(48, 15));
    const std::string lastLine = Data(0x30, RandomBytes(16, 16));
    std::vector<std::string> files = {
        data + lastLine,                                          // no end-of-file record
        data + lastLine.substr(0, lastLine.size() - 5),           // cut inside its last line
        data + lastLine.substr(0, 9) + "\n" + kEnd,               // a data record cut after its type
        Linear(0x0800),                                           // an address record alone
        data + ":00000001FE",                                     // end record with a wrong checksum
        data + ":00000001",                                       // end record without its checksum
        data + ":00000001FF\x1A",                                 // end record with a character after it
        data + ":0400000508000000EE\n" + kEnd,                    // start address with a wrong checksum
        data + ":020000021000ED\n" + kEnd,                        // segment address with a wrong checksum
        data + ":0400000608000000EE\n" + kEnd,                    // record type 06
        data + ":0400001008000000E4\n" + kEnd,                    // record type 10
        data + lastLine.substr(0, 7) + "0G" + lastLine.substr(9) + kEnd, // a type digit that is not hexadecimal
    };
    // Characters that are no digit, or become one when their case bit is set, at both ends of the data.
    for (const char wrong : {'G', 'g', '@', '`', '/', ':', '\x10', '\x19', '\xC1'})
        for (const size_t at : {size_t{9}, size_t{40}}) {
            std::string record = lastLine;
            record[at] = wrong;
            files.push_back(data + record + kEnd);
        }
    for (const std::string& text : files) {
        FileInfo image;
        EXPECT_EQ(Parse(text, image), FILE_OPEN_FORMAT_ERROR) << text;
    }
    FileInfo whole;
    EXPECT_EQ(Parse(data + lastLine + kEnd, whole), FILE_OPERATION_SUCCESS);
}

// One-byte records two addresses apart each start a part; more than 2^20 parts are refused rather
// than let a file of them take memory without bound.
TEST(HexReaderRejects, MoreThanAMillionParts)
{
    const uint32_t parts = (1u << 20) + 1;
    std::string text;
    text.reserve(parts * 14 + parts / 32768 * 16);
    for (uint32_t i = 0; i < parts; ++i) {
        if (i % 0x8000 == 0)
            text += Linear(static_cast<uint16_t>(0x0800 + i / 0x8000));
        text += Data(2 * i % 0x10000, {static_cast<uint8_t>(i)});
    }
    FileInfo image;
    EXPECT_EQ(Parse(text + kEnd, image), FILE_OPEN_FORMAT_ERROR);
}

TEST(HexReaderRejects, ARecordThatRunsPastTheEndOfItsSegment)
{
    FileInfo image;
    EXPECT_EQ(Parse(Linear(0x0800) + Data(0xFFF8, RandomBytes(16, 16)) + kEnd, image), FILE_OPEN_FORMAT_ERROR);
    FileInfo exact;
    EXPECT_EQ(Parse(Linear(0x0800) + Data(0xFFF0, RandomBytes(16, 16)) + kEnd, exact), FILE_OPERATION_SUCCESS);
    EXPECT_EQ(exact.parts[0].endAddress, 0x0800FFFFu);
}

TEST(HexReaderStreaming, ChunksOfAnySizeGiveTheSamePartsAsTheWholeText)
{
    const std::string text = Linear(0x0800) + DataRun(0xFF00, RandomBytes(0x100, 17)) + "\r\n" + Linear(0x0801)
                             + DataRun(0x0, RandomBytes(40, 18)) + ":0400000508000000EF\r\n" + DataRun(0x80, {9}) + kEnd;
    FileInfo whole;
    ASSERT_EQ(Parse(text, whole), FILE_OPERATION_SUCCESS);
    for (size_t chunk = 1; chunk <= 64; ++chunk) {
        FileInfo image;
        IntelHexReader reader(image);
        LineSplitter lines([&reader](const char* line, size_t size, bool cut) { return reader.AddLine(line, size, cut); });
        for (size_t at = 0; at < text.size(); at += chunk)
            lines.Feed(text.data() + at, std::min(chunk, text.size() - at));
        lines.Finish();
        ASSERT_EQ(reader.Finish(), FILE_OPERATION_SUCCESS) << "chunk " << chunk;
        std::vector<ExpectedPart> expected;
        for (const ImagePart& part : whole.parts)
            expected.push_back({part.startAddress, PartBytes(part)});
        ExpectParts(image, expected);
    }
}

TEST(HexReaderStreaming, AnOverlongLineIsRefusedWhateverItsType)
{
    const std::string padding(LineSplitter::kDefaultLineLimit, '0');
    for (const char* start : {":020000000102", ":02000005"}) {
        FileInfo image;
        EXPECT_EQ(Parse(Linear(0x0800) + start + padding + "FB\n" + kEnd, image), FILE_OPEN_FORMAT_ERROR) << start;
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
            uint32_t sum = 0;
            const bool decoded = DecodeHexBytes(text.data(), sizeof out, out, sum);
            ASSERT_EQ(decoded, HexDigitValue(static_cast<char>(c)) >= 0) << at << " " << c;
            if (!decoded)
                continue;
            uint32_t expectedSum = 0;
            for (size_t i = 0; i < sizeof out; ++i) {
                ASSERT_EQ(out[i], HexDigitValue(text[2 * i]) << 4 | HexDigitValue(text[2 * i + 1])) << at << " " << c;
                expectedSum += out[i];
            }
            ASSERT_EQ(sum, expectedSum);
        }
}
