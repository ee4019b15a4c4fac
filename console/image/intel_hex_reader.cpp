#include "intel_hex_reader.h"

#include "file_result.h"
#include "hex_digits.h"
#include "line_splitter.h"

#include <cstring>

// One record decoded from its line.
struct HexRecord {
    uint8_t count;
    uint8_t type;
    uint32_t offset;
    uint32_t dataSum; // sum of the data bytes
    uint8_t data[255];
};

namespace {

// Field positions of a record line, counted from the start code.
constexpr size_t kShortestRecordText = 8;   // count, offset and type after the ":"
constexpr size_t kChecksumLength = 2;
constexpr size_t kShortestLine = 1 + kShortestRecordText + kChecksumLength;
constexpr size_t kAddressBytes = 2;         // upper linear address of an "04" record

constexpr uint8_t kDataRecord = 0x00;
constexpr uint8_t kEndOfFileRecord = 0x01;
constexpr uint8_t kLinearAddressRecord = 0x04;
constexpr uint8_t kLastKnownType = 0x05;
// Each part costs at least one exchange with the probe, and its bookkeeping costs memory beside its
// bytes; no image for these targets comes near this many.
constexpr int kMostParts = 1 << 20;

// The common form of a record: nothing but digits, exactly as long as its count says. One table
// look-up per byte; false sends the line to the general decoder, which gives the verdict.
bool DecodeUsualRecord(const char* text, size_t size, HexRecord& record, bool& valid)
{
    const int16_t* pairs = HexPairTable();
    const int count = HexPairValue(pairs, text + 1);
    if (count < 0 || size != kShortestLine + 2 * static_cast<size_t>(count))
        return false;
    const int offsetHigh = HexPairValue(pairs, text + 3);
    const int offsetLow = HexPairValue(pairs, text + 5);
    const int type = HexPairValue(pairs, text + 7);
    const char* data = text + 1 + kShortestRecordText;
    const int checksum = HexPairValue(pairs, data + 2 * count);
    uint32_t dataSum = 0;
    if ((offsetHigh | offsetLow | type | checksum) < 0
        || !DecodeHexBytes(data, static_cast<size_t>(count), record.data, dataSum))
        return false;
    const uint32_t sum = dataSum + static_cast<uint32_t>(count + offsetHigh + offsetLow + type + checksum);
    record.dataSum = dataSum;
    record.count = static_cast<uint8_t>(count);
    record.type = static_cast<uint8_t>(type);
    record.offset = static_cast<uint32_t>(offsetHigh << 8 | offsetLow);
    valid = (sum & 0xFF) == 0;
    return true;
}

// Decodes a record. It must be well formed: the start code in the first position (fields are read
// at fixed positions), hexadecimal digits only, a byte count that matches its data, and a correct
// checksum. Blanks around the data and text after a second ":" are not part of the record.
bool DecodeRecord(const char* text, size_t size, bool cut, HexRecord& record)
{
    if (cut || size < kShortestLine || text[0] != ':')
        return false;
    bool valid = false;
    if (DecodeUsualRecord(text, size, record, valid))
        return valid;
    const char* body = text + 1;
    const auto* nextColon = static_cast<const char*>(std::memchr(body, ':', size - 1));
    const char* bodyEnd = nextColon ? nextColon : text + size;
    if (static_cast<size_t>(bodyEnd - body) < kShortestRecordText + kChecksumLength)
        return false;

    uint8_t offsetHigh = 0, offsetLow = 0, checksum = 0;
    if (!DecodeHexByte(body, record.count) || !DecodeHexByte(body + 2, offsetHigh)
        || !DecodeHexByte(body + 4, offsetLow) || !DecodeHexByte(body + 6, record.type)
        || !DecodeHexByte(bodyEnd - kChecksumLength, checksum))
        return false;

    const char* data = body + kShortestRecordText;
    const char* dataEnd = bodyEnd - kChecksumLength;
    while (data < dataEnd && IsAsciiBlank(*data))
        ++data;
    while (dataEnd > data && IsAsciiBlank(dataEnd[-1]))
        --dataEnd;
    const auto digits = static_cast<size_t>(dataEnd - data);
    if (digits % 2 != 0 || digits / 2 != record.count)
        return false;

    record.dataSum = 0;
    for (size_t i = 0; i < record.count; ++i) {
        if (!DecodeHexByte(data + 2 * i, record.data[i]))
            return false;
        record.dataSum += record.data[i];
    }
    record.offset = uint32_t{offsetHigh} << 8 | offsetLow;
    return ((record.dataSum + record.count + offsetHigh + offsetLow + record.type + checksum) & 0xFF) == 0;
}

// Lines are read as text, and a text reader drops a UTF-8 byte order mark: it is not part of the first record.
void SkipByteOrderMark(const char*& text, size_t& size)
{
    if (size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
        text += 3;
        size -= 3;
    }
}

} // namespace

IntelHexReader::IntelHexReader(FileInfo& image) : image_(image), assembly_(IMAGE_PART_CAPACITY)
{
    image_.parts.clear();
}

bool IntelHexReader::Reject()
{
    rejected_ = true;
    return false;
}

bool IntelHexReader::AddLine(const char* text, size_t size, bool cut)
{
    if (done_ || rejected_)
        return false;
    const bool firstLine = !sawFirstLine_;
    if (firstLine) {
        sawFirstLine_ = true;
        SkipByteOrderMark(text, size);
    } else if (size == 0) {
        return true;
    }
    HexRecord record;
    // A line cut short, a wrong checksum or a type nobody defined means the file is damaged.
    if (!DecodeRecord(text, size, cut, record) || record.type > kLastKnownType)
        return Reject();
    // A file must begin with an extended linear address record.
    if (firstLine && record.type != kLinearAddressRecord)
        return Reject();
    switch (record.type) {
    case kDataRecord:
        return HandleDataRecord(record) && (image_.parts.size() <= kMostParts || Reject());
    case kEndOfFileRecord:
        HandleEndOfFile();
        return false;
    case kLinearAddressRecord:
        return HandleExtendedLinearAddress(record);
    default:
        return true; // segment addresses and start addresses are not used
    }
}

bool IntelHexReader::HandleExtendedLinearAddress(const HexRecord& record)
{
    // The part an "04" opens takes its offset from the next data record; a second "04" before
    // that record leaves the first one without data and address.
    if (segmentPending_ || record.count < kAddressBytes)
        return Reject();
    base_ = (uint32_t{record.data[0]} << 8 | record.data[1]) << 16;
    ClosePart();
    segmentPending_ = true;
    return true;
}

bool IntelHexReader::HandleDataRecord(const HexRecord& record)
{
    // A part never holds more than one 64 KiB segment.
    if (record.offset + record.count > IMAGE_PART_CAPACITY)
        return Reject();
    if (segmentPending_)
        ResolvePendingSegment(record.offset);
    const uint32_t address = base_ + record.offset;
    if (!partOpen_ || address != expected_) {
        ClosePart();
        OpenPart(address);
    }
    if (assembled_ + record.count > IMAGE_PART_CAPACITY)
        return Reject();

    std::memcpy(assembly_.data() + assembled_, record.data, record.count);
    assemblySum_ += record.dataSum;
    assembled_ += record.count;
    expected_ = address + record.count;
    return true;
}

void IntelHexReader::HandleEndOfFile()
{
    if (segmentPending_)
        ResolvePendingSegment(offset_);
    ClosePart();
    done_ = true;
}

void IntelHexReader::ResolvePendingSegment(uint32_t offset)
{
    offset_ = offset;
    expected_ = base_ + offset_;
    OpenPart(expected_);
    segmentPending_ = false;
}

void IntelHexReader::OpenPart(uint32_t address)
{
    ImagePart part;
    part.startAddress = address;
    image_.parts.append(part);
    partOpen_ = true;
    assembled_ = 0;
    assemblySum_ = 0;
}

void IntelHexReader::ClosePart()
{
    if (!partOpen_)
        return;
    // The part gets exactly its bytes, not a whole segment's room.
    ImagePart& part = image_.parts.last();
    part.bytes.assign(assembly_.data(), assembly_.data() + assembled_);
    part.checksum = assemblySum_;
    part.endAddress = part.startAddress + part.size() - 1;
    fileSum_ += assemblySum_;
    partOpen_ = false;
}

int IntelHexReader::Finish()
{
    // An empty file has no first line, so it does not begin with an "04" record either. A file
    // without its end-of-file record may have lost any number of records at its end.
    if (rejected_ || !sawFirstLine_ || !done_)
        return FILE_OPEN_FORMAT_ERROR;

    uint32_t totalSize = 0;
    for (const ImagePart& part : image_.parts)
        totalSize += part.size();
    image_.size = static_cast<int32_t>(totalSize);
    image_.checksum = static_cast<int32_t>(fileSum_);
    image_.startAddress = image_.parts.isEmpty() ? 0 : image_.parts.first().startAddress;
    return image_.parts.isEmpty() ? FILE_OPEN_EMPTY_ERROR : FILE_OPERATION_SUCCESS;
}

int ParseIntelHex(const char* text, size_t size, FileInfo& image)
{
    IntelHexReader reader(image);
    LineSplitter lines([&reader](const char* line, size_t length, bool cut) {
        return reader.AddLine(line, length, cut);
    });
    lines.Feed(text, size);
    lines.Finish();
    return reader.Finish();
}
