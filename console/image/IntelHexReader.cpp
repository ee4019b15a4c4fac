#include "IntelHexReader.h"

#include "FileResult.h"
#include "HexDigits.h"
#include "LineSplitter.h"

#include <algorithm>
#include <cstring>

namespace {

// Field positions of a record line, counted from the start code.
constexpr size_t kOffsetPosition = 3;
constexpr size_t kTypePosition = 7;
constexpr size_t kAddressFieldPosition = 9; // upper linear address of an "04" record
constexpr size_t kAddressFieldLength = 4;
constexpr size_t kShortestRecordText = 8;   // count, offset and type after the ":"
constexpr size_t kChecksumLength = 2;

bool HasType(const char* text, size_t size, char high, char low)
{
    return size > kTypePosition + 1 && text[kTypePosition] == high && text[kTypePosition + 1] == low;
}

} // namespace

IntelHexReader::IntelHexReader(FileInfo& image) : image_(image)
{
    image_.partInfo.clear();
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
        // A file must begin with an extended linear address record.
        if (!HasType(text, size, '0', '4'))
            return Reject();
    } else if (size == 0) {
        return true;
    }
    if (HasType(text, size, '0', '4'))
        return HandleExtendedLinearAddress(text, size);
    if (HasType(text, size, '0', '0'))
        return HandleDataRecord(text, size, cut);
    if (HasType(text, size, '0', '1')) {
        HandleEndOfFile();
        return false;
    }
    return true; // segment addresses and start addresses are not used
}

bool IntelHexReader::HandleExtendedLinearAddress(const char* text, size_t size)
{
    // The part an "04" opens takes its offset from the next data record; a second "04" before
    // that record leaves the first one without data and address.
    if (segmentPending_)
        return Reject();
    const size_t fieldLength = std::min(kAddressFieldLength, size - kAddressFieldPosition);
    const auto upper = static_cast<uint32_t>(LenientHexValue(text + kAddressFieldPosition, fieldLength));
    base_ = upper << 16;
    ClosePart();
    segmentPending_ = true;
    return true;
}

bool IntelHexReader::HandleDataRecord(const char* text, size_t size, bool cut)
{
    // Fields are read at fixed positions, so the record must start at the start of the line.
    if (cut || text[0] != ':')
        return Reject();
    const char* record = text + 1;
    const char* lineEnd = text + size;
    const auto* nextColon = static_cast<const char*>(std::memchr(record, ':', static_cast<size_t>(lineEnd - record)));
    const char* recordEnd = nextColon ? nextColon : lineEnd;
    if (static_cast<size_t>(recordEnd - record) < kShortestRecordText + kChecksumLength)
        return Reject();

    uint8_t count = 0, offsetHigh = 0, offsetLow = 0, checksum = 0;
    if (!DecodeHexByte(record, count) || !DecodeHexByte(text + kOffsetPosition, offsetHigh)
        || !DecodeHexByte(text + kOffsetPosition + 2, offsetLow)
        || !DecodeHexByte(recordEnd - kChecksumLength, checksum))
        return Reject();

    const char* data = record + kShortestRecordText;
    const char* dataEnd = recordEnd - kChecksumLength;
    while (data < dataEnd && IsAsciiBlank(*data))
        ++data;
    while (dataEnd > data && IsAsciiBlank(dataEnd[-1]))
        --dataEnd;
    const auto digits = static_cast<size_t>(dataEnd - data);
    if (digits % 2 != 0 || digits / 2 != count)
        return Reject();

    const uint32_t offset = uint32_t{offsetHigh} << 8 | offsetLow;
    // A part never holds more than one 64 KiB segment.
    if (offset + count > IMAGE_PART_CAPACITY)
        return Reject();
    if (segmentPending_)
        ResolvePendingSegment(offset);
    const uint32_t address = base_ + offset;
    if (!open_ || address != expected_) {
        ClosePart();
        OpenPart(address);
    }
    if (open_->PartSize + count > IMAGE_PART_CAPACITY)
        return Reject();

    uint8_t* out = open_->pData + open_->PartSize;
    uint32_t byteSum = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!DecodeHexByte(data + 2 * i, out[i]))
            return Reject();
        byteSum += out[i];
    }
    const uint32_t recordSum = count + offsetHigh + offsetLow + byteSum + checksum;
    if ((recordSum & 0xFF) != 0)
        return Reject();
    open_->PartSize += count;
    open_->PartChecksum += byteSum;
    expected_ = address + count;
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
    HEXFILEPARTINFO part;
    part.PartStartAddress = address;
    image_.partInfo.append(part);
    open_ = &image_.partInfo.last();
}

void IntelHexReader::ClosePart()
{
    if (!open_)
        return;
    open_->PartEndAddress = open_->PartStartAddress + open_->PartSize - 1;
    fileSum_ += open_->PartChecksum;
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
    for (const HEXFILEPARTINFO& part : image_.partInfo)
        totalSize += part.PartSize;
    image_.FileSize = static_cast<int32_t>(totalSize);
    image_.Filechecksum = static_cast<int32_t>(fileSum_);
    image_.StartAddress = image_.partInfo.isEmpty() ? 0 : image_.partInfo.first().PartStartAddress;
    return image_.partInfo.isEmpty() ? FILE_OPEN_EMPTY_ERROR : FILE_OPERATION_SUCCESS;
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
