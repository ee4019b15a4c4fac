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
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t loadAddress = 0;
    for (size_t i = 0; i < 4 && i < size; ++i)
        loadAddress = loadAddress << 8 | data[i];
    FileInfo image;
    image.startAddress = loadAddress; // chosen before reading, as OpenFile does
    FUZZ_CHECK(CutIntoParts(data, size, loadAddress, image) == (size == 0 ? FILE_OPEN_EMPTY_ERROR : FILE_OPERATION_SUCCESS));
    CheckImageInvariants(image);
    FUZZ_CHECK(static_cast<size_t>(image.parts.size()) == (size + IMAGE_PART_CAPACITY - 1) / IMAGE_PART_CAPACITY);
    for (int i = 0; i < image.parts.size(); ++i)
        FUZZ_CHECK(image.parts[i].startAddress == loadAddress + static_cast<uint32_t>(i) * IMAGE_PART_CAPACITY);
    for (int length : {24, 128, 256, 512, 2048}) {
        std::vector<uint8_t> block;
        const bool accepted = BlockFromImageFile(image, length, block);
        FUZZ_CHECK(accepted == (size >= 2 * static_cast<size_t>(length)));
        for (size_t i = 0; accepted && i < block.size(); ++i)
            FUZZ_CHECK(block[i] == data[2 * i]);
    }

    const size_t contentSize = std::min<size_t>(size, 4096);
    const std::string text = FormatUserSystemDataHex(data, contentSize);
    FileInfo reread;
    FUZZ_CHECK(ParseIntelHex(text.data(), text.size(), reread) == FILE_OPERATION_SUCCESS);
    FUZZ_CHECK(reread.parts.size() == 1 && reread.parts[0].startAddress == 0 && reread.parts[0].size() == contentSize);
    FUZZ_CHECK(std::equal(reread.parts[0].bytes.begin(), reread.parts[0].bytes.end(), data));

    if (size < 4)
        return 0;
    constexpr McuSeries kSeries[] = {ZR32_S01, ZR32_S05, ZR32_S09, ZR32_S13, ZR32_S14, ZR32_S35, ZR32ErrorMCU1};
    constexpr int kSectorSizes[] = {0, 512, 1024, 2048, 4096, 8192};
    std::vector<uint8_t> block(data + 4, data + size);
    CUserSystemData usd(kSeries[data[0] % std::size(kSeries)], data[2] * 4, static_cast<uint8_t>(data[3] % 5),
                        block.data(), static_cast<int>(block.size()), false, kSectorSizes[data[1] % std::size(kSectorSizes)]);
    for (size_t i = 4; i + 1 < size; i += 2)
        usd.SetEPP(static_cast<int8_t>(data[i]) * 97 + data[i + 1], data[i + 1] & 1);
    std::vector<uint8_t> out;
    const int length = usd.GetUserSystemDataArrays(out);
    FUZZ_CHECK(length == static_cast<int>(out.size()) && length >= 24 && length <= 2048);
    return 0;
}
