// Fuzzes the Intel HEX reader: any text must give either an error code or parts that keep their
// invariants, the same parts whether the text arrives whole or in chunks, and parts that come
// back unchanged through the writer.
#include "file_result.h"
#include "intel_hex_reader.h"
#include "intel_hex_writer.h"
#include "line_splitter.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstring>

namespace {

int ParseInChunks(const char* text, size_t size, size_t chunk, FileInfo& image)
{
    IntelHexReader reader(image);
    LineSplitter lines([&reader](const char* line, size_t length, bool cut) { return reader.AddLine(line, length, cut); });
    for (size_t at = 0; at < size; at += chunk)
        lines.Feed(text + at, std::min(chunk, size - at));
    lines.Finish();
    return reader.Finish();
}

void CheckSameParts(const FileInfo& a, const FileInfo& b)
{
    FUZZ_CHECK(a.parts.size() == b.parts.size());
    for (int i = 0; i < a.parts.size(); ++i) {
        const ImagePart& x = a.parts[i];
        const ImagePart& y = b.parts[i];
        FUZZ_CHECK(x.startAddress == y.startAddress && x.bytes == y.bytes);
    }
}

// A part written out alone reads back as the same bytes at the same address.
void CheckRewrite(const ImagePart& part)
{
    if (part.bytes.empty())
        return;
    const std::string text = FormatIntelHex(part.bytes.data(), part.size(), part.startAddress);
    FileInfo again;
    FUZZ_CHECK(ParseIntelHex(text.data(), text.size(), again) == FILE_OPERATION_SUCCESS);
    FUZZ_CHECK(again.size == static_cast<int32_t>(part.size()));
    uint32_t at = 0;
    for (const ImagePart& piece : again.parts) {
        FUZZ_CHECK(piece.startAddress == part.startAddress + at);
        FUZZ_CHECK(std::equal(piece.bytes.begin(), piece.bytes.end(), part.bytes.begin() + at));
        at += piece.size();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* text = reinterpret_cast<const char*>(data);
    FileInfo whole;
    const int result = ParseIntelHex(text, size, whole);
    FUZZ_CHECK(result == FILE_OPERATION_SUCCESS || result == FILE_OPEN_FORMAT_ERROR || result == FILE_OPEN_EMPTY_ERROR);

    const size_t chunk = size == 0 ? 1 : 1 + data[size - 1] % 61;
    FileInfo chunked;
    FUZZ_CHECK(ParseInChunks(text, size, chunk, chunked) == result);
    if (result != FILE_OPERATION_SUCCESS)
        return 0;
    CheckImageInvariants(whole);
    CheckSameParts(whole, chunked);
    for (const ImagePart& part : whole.parts)
        CheckRewrite(part);
    return 0;
}
