// Fuzzes the Intel HEX reader: any text gives an error code or parts that keep their invariants,
// the same parts whole or in chunks, and parts that come back unchanged through the writer.
#include "file_result.h"
#include "intel_hex_reader.h"
#include "intel_hex_writer.h"
#include "line_splitter.h"
#include "fuzz_check.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* text = reinterpret_cast<const char*>(data);
    FileInfo whole, chunked;
    const int result = ParseIntelHex(text, size, whole);
    FUZZ_CHECK(result == FILE_OPERATION_SUCCESS || result == FILE_OPEN_FORMAT_ERROR || result == FILE_OPEN_EMPTY_ERROR);

    IntelHexReader reader(chunked);
    LineSplitter lines([&reader](const char* line, size_t length, bool cut) { return reader.AddLine(line, length, cut); });
    const size_t chunk = size == 0 ? 1 : 1 + data[size - 1] % 61;
    for (size_t at = 0; at < size; at += chunk)
        lines.Feed(text + at, std::min(chunk, size - at));
    lines.Finish();
    FUZZ_CHECK(reader.Finish() == result);
    if (result != FILE_OPERATION_SUCCESS)
        return 0;
    CheckImageInvariants(whole);
    FUZZ_CHECK(whole.parts.size() == chunked.parts.size());
    for (int i = 0; i < whole.parts.size(); ++i) {
        const ImagePart& part = whole.parts[i];
        FUZZ_CHECK(part.startAddress == chunked.parts[i].startAddress && part.bytes == chunked.parts[i].bytes);
        if (part.bytes.empty())
            continue;
        // Written out alone, a part reads back as the same bytes at the same address.
        const std::string again = FormatIntelHex(part.bytes.data(), part.size(), part.startAddress);
        FileInfo reread;
        FUZZ_CHECK(ParseIntelHex(again.data(), again.size(), reread) == FILE_OPERATION_SUCCESS);
        FUZZ_CHECK(reread.size == static_cast<int32_t>(part.size()));
        uint32_t at = 0;
        for (const ImagePart& piece : reread.parts) {
            FUZZ_CHECK(piece.startAddress == part.startAddress + at);
            FUZZ_CHECK(std::equal(piece.bytes.begin(), piece.bytes.end(), part.bytes.begin() + at));
            at += piece.size();
        }
    }
    return 0;
}
