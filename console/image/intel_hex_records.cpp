#include "intel_hex_records.h"

#include "hex_digits.h"

#include <algorithm>

void AppendHexRecord(std::string& out, uint8_t type, uint16_t offset, const uint8_t* data, size_t size,
                     const char* lineEnd)
{
    const auto count = static_cast<uint8_t>(size);
    uint32_t sum = count + (offset >> 8) + (offset & 0xFF) + type;
    out.push_back(':');
    AppendHexByte(out, count);
    AppendHexWord(out, offset);
    AppendHexByte(out, type);
    for (size_t i = 0; i < size; ++i) {
        AppendHexByte(out, data[i]);
        sum += data[i];
    }
    AppendHexByte(out, static_cast<uint8_t>(0x100 - (sum & 0xFF)));
    out.append(lineEnd);
}

void AppendAddressRecord(std::string& out, uint8_t type, uint16_t value, const char* lineEnd)
{
    const uint8_t bytes[2] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value & 0xFF)};
    AppendHexRecord(out, type, 0, bytes, sizeof bytes, lineEnd);
}

void AppendDataRecords(std::string& out, uint16_t offset, const uint8_t* data, size_t size, const char* lineEnd)
{
    for (size_t done = 0; done < size; done += HEX_BYTES_PER_RECORD) {
        const size_t count = std::min(HEX_BYTES_PER_RECORD, size - done);
        AppendHexRecord(out, HEX_RECORD_DATA, static_cast<uint16_t>(offset + done), data + done, count, lineEnd);
    }
}
