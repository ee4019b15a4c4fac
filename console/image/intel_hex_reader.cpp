#include "intel_hex_reader.h"

#include "file_result.h"
#include "hex_digits.h"
#include "line_splitter.h"

#include <cstring>

// One record decoded from its line.
struct HexRecord {
    uint8_t count = 0;
    uint32_t offset = 0;
    uint8_t data[255] = {};
};

namespace {

// Field positions of a record line, counted from the start code.
constexpr size_t kTypePosition = 7;
constexpr size_t kShortestRecordText = 8;   // count, offset and type after the ":"
constexpr size_t kChecksumLength = 2;
constexpr size_t kAddressBytes = 2;         // upper linear address of an "04" record

bool HasType(const char* text, size_t size, char high, char low)
{
    return size > kTypePosition + 1 && text[kTypePosition] == high && text[kTypePosition + 1] == low;
}

// Decodes a record that carries data or an address. It must be well formed: the start code in the first
// position (fields are read at fixed positions), hexadecimal digits only, a byte count that matches
// its data, and a correct checksum. Text after a second ":" is not part of the record.
bool DecodeRecord(const char* text, size_t size, bool cut, HexRecord& record)
{
    if (cut || size == 0 || text[0] != ':')
        return false;
    const char* body = text + 1;
    const auto* nextColon = static_cast<const char*>(std::memchr(body, ':', size - 1));
    const char* bodyEnd = nextColon ? nextColon : text + size;
    if (static_cast<size_t>(bodyEnd - body) < kShortestRecordText + kChecksumLength)
        return false;

    uint8_t offsetHigh = 0, offsetLow = 0, type = 0, checksum = 0;
    if (!DecodeHexByte(body, record.count) || !DecodeHexByte(body + 2, offsetHigh)
        || !DecodeHexByte(body + 4, offsetLow) || !DecodeHexByte(body + 6, type)
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

    uint32_t sum = record.count + offsetHigh + offsetLow + type + checksum;
    for (size_t i = 0; i < record.count; ++i) {
        if (!DecodeHexByte(data + 2 * i, record.data[i]))
            return false;
        sum += record.data[i];
    }
    record.offset = uint32_t{offsetHigh} << 8 | offsetLow;
    return (sum & 0xFF) == 0;
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

IntelHexReader::IntelHexReader(FileInfo& image) : image_(image)
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
    if (!sawFirstLine_) {
        sawFirstLine_ = true;
        SkipByteOrderMark(text, size);
        // A file must begin with an extended linear address record.
        if (!HasType(text, size, '0', '4'))
            return Reject();
    } else if (size == 0) {
        return true;
    }
    if (HasType(text, size, '0', '1')) {
        // The end record carries nothing, so only its type counts.
        HandleEndOfFile();
        return false;
    }
    const bool linearAddress = HasType(text, size, '0', '4');
    if (!linearAddress && !HasType(text, size, '0', '0'))
        return true; // segment addresses and start addresses are not used
    HexRecord record;
    if (!DecodeRecord(text, size, cut, record))
        return Reject();
    return linearAddress ? HandleExtendedLinearAddress(record) : HandleDataRecord(record);
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
    if (!open_ || address != expected_) {
        ClosePart();
        OpenPart(address);
    }
    if (open_->size + record.count > IMAGE_PART_CAPACITY)
        return Reject();

    uint32_t byteSum = 0;
    for (size_t i = 0; i < record.count; ++i)
        byteSum += record.data[i];
    std::memcpy(open_->bytes + open_->size, record.data, record.count);
    open_->size += record.count;
    open_->checksum += byteSum;
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
    open_ = &image_.parts.last();
}

void IntelHexReader::ClosePart()
{
    if (!open_)
        return;
    open_->endAddress = open_->startAddress + open_->size - 1;
    fileSum_ += open_->checksum;
    open_ = nullptr;
}

int IntelHexReader::Finish()
{
    // An empty file has no first line, so it does not begin with an "04" record either.
    if (rejected_ || !sawFirstLine_)
        return FILE_OPEN_FORMAT_ERROR;
    if (segmentPending_)
        ResolvePendingSegment(offset_);
    // A file that ends without an end-of-file record still keeps its last part.
    ClosePart();
    done_ = true;

    uint32_t totalSize = 0;
    for (const ImagePart& part : image_.parts)
        totalSize += part.size;
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
