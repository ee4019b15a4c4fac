// Fuzzes the Intel HEX reader: any text must give either an error code or parts that keep their
// invariants, the same parts whether the text arrives whole or in chunks, and parts that come
// back unchanged through the writer.
#include "FileResult.h"
#include "IntelHexReader.h"
#include "IntelHexWriter.h"
#include "LineSplitter.h"
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
    FUZZ_CHECK(a.partInfo.size() == b.partInfo.size());
    for (int i = 0; i < a.partInfo.size(); ++i) {
        const HEXFILEPARTINFO& x = a.partInfo[i];
        const HEXFILEPARTINFO& y = b.partInfo[i];
        FUZZ_CHECK(x.PartStartAddress == y.PartStartAddress && x.PartSize == y.PartSize);
        FUZZ_CHECK(std::memcmp(x.pData, y.pData, x.PartSize) == 0);
    }
}

// A part written out alone reads back as the same bytes at the same address.
void CheckRewrite(const HEXFILEPARTINFO& part)
{
    if (part.PartSize == 0)
        return;
    const std::string text = FormatIntelHex(part.pData, part.PartSize, part.PartStartAddress);
    FileInfo again;
    FUZZ_CHECK(ParseIntelHex(text.data(), text.size(), again) == FILE_OPERATION_SUCCESS);
    FUZZ_CHECK(again.FileSize == static_cast<int32_t>(part.PartSize));
    uint32_t at = 0;
    for (const HEXFILEPARTINFO& piece : again.partInfo) {
        FUZZ_CHECK(piece.PartStartAddress == part.PartStartAddress + at);
        FUZZ_CHECK(std::memcmp(piece.pData, part.pData + at, piece.PartSize) == 0);
        at += piece.PartSize;
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
    for (const HEXFILEPARTINFO& part : whole.partInfo)
        CheckRewrite(part);
    return 0;
}
