#include "intel_hex_writer.h"

#include "intel_hex_records.h"

#include <algorithm>

namespace {
constexpr char kLineEnd[] = "\n";
constexpr uint64_t kSegmentSize = 0x10000;
// Text is handed on every 4 KiB of data (256 whole records), so that writing a large block never
// holds more than a few KiB of text besides the block itself.
constexpr size_t kPieceSize = 0x1000;
} // namespace

bool WriteIntelHexText(const uint8_t* data, size_t size, uint32_t startAddress,
                       const std::function<bool(const std::string&)>& emit)
{
    std::string text;
    size_t done = 0;
    while (done < size) {
        const auto address = static_cast<uint32_t>(startAddress + done);
        const size_t room = static_cast<size_t>(kSegmentSize - (address & 0xFFFF));
        const size_t count = std::min(room, size - done);
        text.clear();
        AppendAddressRecord(text, HEX_RECORD_EXTENDED_LINEAR_ADDRESS, static_cast<uint16_t>(address >> 16), kLineEnd);
        for (size_t piece = 0; piece < count; piece += kPieceSize) {
            const size_t length = std::min(kPieceSize, count - piece);
            AppendDataRecords(text, static_cast<uint16_t>((address + piece) & 0xFFFF), data + done + piece, length,
                              kLineEnd);
            if (!emit(text))
                return false;
            text.clear();
        }
        done += count;
    }
    return emit(HEX_END_OF_FILE_RECORD);
}

std::string FormatIntelHex(const uint8_t* data, size_t size, uint32_t startAddress)
{
    std::string text;
    WriteIntelHexText(data, size, startAddress, [&text](const std::string& piece) {
        text += piece;
        return true;
    });
    return text;
}
