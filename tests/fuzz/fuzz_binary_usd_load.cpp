// Fuzzes the binary load path and the user system data code behind it: cutting bytes into parts,
// taking a block out of a loaded file, the block model with its EPP map, and the user system
// data HEX text read back through the image reader.
#include "binary_image.h"
#include "file_result.h"
#include "intel_hex_reader.h"
#include "user_system_data.h"
#include "user_system_data_file.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kLengths[] = {24, 128, 256, 512, 2048};
constexpr McuSeries kSeries[] = {ZR32_S01, ZR32_S05, ZR32_S09, ZR32_S13, ZR32_S14, ZR32_S35, ZR32ErrorMCU1};
constexpr int kSectorSizes[] = {0, 512, 1024, 2048, 4096, 8192};

uint32_t Word(const uint8_t* data, size_t size)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && i < size; ++i)
        value = value << 8 | data[i];
    return value;
}

void CheckBinaryLoad(const uint8_t* data, size_t size)
{
    const uint32_t loadAddress = Word(data, size);
    FileInfo image;
    image.startAddress = loadAddress; // chosen before reading, as OpenFile does
    const int result = CutIntoParts(data, size, loadAddress, image);
    FUZZ_CHECK(result == (size == 0 ? FILE_OPEN_EMPTY_ERROR : FILE_OPERATION_SUCCESS));
    CheckImageInvariants(image);
    FUZZ_CHECK(static_cast<size_t>(image.parts.size()) == (size + IMAGE_PART_CAPACITY - 1) / IMAGE_PART_CAPACITY);
    for (int i = 0; i < image.parts.size(); ++i)
        FUZZ_CHECK(image.parts[i].startAddress == loadAddress + static_cast<uint32_t>(i) * IMAGE_PART_CAPACITY);

    for (int length : kLengths) {
        std::vector<uint8_t> block;
        const bool accepted = BlockFromImageFile(image, length, block);
        FUZZ_CHECK(accepted == (size >= 2 * static_cast<size_t>(length)));
        for (size_t i = 0; accepted && i < block.size(); ++i)
            FUZZ_CHECK(block[i] == data[2 * i]);
    }
}

void CheckHexRoundTrip(const uint8_t* data, size_t size)
{
    const size_t contentSize = std::min<size_t>(size, 4096);
    const std::string text = FormatUserSystemDataHex(data, contentSize);
    FileInfo image;
    FUZZ_CHECK(ParseIntelHex(text.data(), text.size(), image) == FILE_OPERATION_SUCCESS);
    FUZZ_CHECK(image.parts.size() == 1 && image.parts[0].startAddress == 0);
    FUZZ_CHECK(image.parts[0].size() == contentSize);
    FUZZ_CHECK(std::equal(image.parts[0].bytes.begin(), image.parts[0].bytes.end(), data));
}

void CheckBlockModel(const uint8_t* data, size_t size)
{
    if (size < 4)
        return;
    const McuSeries series = kSeries[data[0] % (sizeof kSeries / sizeof kSeries[0])];
    const int sectorSize = kSectorSizes[data[1] % (sizeof kSectorSizes / sizeof kSectorSizes[0])];
    const int sectors = data[2] * 4;
    const auto sectorsPerBit = static_cast<uint8_t>(data[3] % 5);
    std::vector<uint8_t> block(data + 4, data + size);
    CUserSystemData usd(series, sectors, sectorsPerBit, block.data(), static_cast<int>(block.size()), false, sectorSize);
    for (size_t i = 4; i + 1 < size; i += 2) {
        const int sector = static_cast<int8_t>(data[i]) * 97 + data[i + 1];
        usd.SetEPP(sector, data[i + 1] & 1);
    }
    std::vector<uint8_t> out;
    const int length = usd.GetUserSystemDataArrays(out);
    FUZZ_CHECK(length == static_cast<int>(out.size()) && length >= 24 && length <= 2048);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckBinaryLoad(data, size);
    CheckHexRoundTrip(data, size);
    CheckBlockModel(data, size);
    return 0;
}
