#include "user_system_data_file.h"

#include "file_io.h"
#include "file_name.h"
#include "intel_hex_records.h"
#include "user_system_data.h"
#include "user_system_data_length.h"

#include <exception>

namespace {
constexpr char kLineEnd[] = "\r\n";
// Offsets of one segment are all a user system data file can address.
constexpr size_t kLargestContent = 0x10000;

bool WriteContent(const std::string& path, const void* bytes, size_t size)
{
    SafeFileWriter file(path);
    return file.Open() && file.Write(bytes, size) && file.Commit();
}
} // namespace

std::vector<uint8_t> ToDeviceImage(const uint8_t* block, int length)
{
    std::vector<uint8_t> image;
    image.reserve(2 * static_cast<size_t>(std::max(length, 0)));
    for (int i = 0; i < length; ++i) {
        image.push_back(block[i]);
        image.push_back(static_cast<uint8_t>(block[i] ^ 0xFF));
    }
    return image;
}

bool BlockFromImageFile(const FileInfo& image, int length, std::vector<uint8_t>& block)
{
    if (length < 0 || image.size < 2 * length || image.parts.isEmpty())
        return false;
    const ImagePart& first = image.parts.first();
    if (first.size() < 2 * static_cast<uint32_t>(length))
        return false;
    block.resize(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        block[static_cast<size_t>(i)] = first.bytes[2 * i];
    return true;
}

bool UserSystemDataBlockFromFile(const FileInfo& image, McuSeries series, int minimumLength, bool wholeFirstPart,
                                 std::vector<uint8_t>& block)
{
    if (minimumLength < 0 || image.parts.isEmpty())
        return false;
    const ImagePart& first = image.parts.first();
    const uint32_t pairsInPart = first.size() / 2;
    if (pairsInPart < static_cast<uint32_t>(minimumLength))
        return false;
    const uint32_t pairs = wholeFirstPart ? pairsInPart : static_cast<uint32_t>(minimumLength);
    const bool zeroedPairsAllowed = HasExtendedEpp(series);
    for (uint32_t i = 0; i < pairs; ++i) {
        const uint8_t value = first.bytes[2 * i];
        const uint8_t complement = first.bytes[2 * i + 1];
        const bool zeroed = zeroedPairsAllowed && (i == 36 || i == 37) && value == 0 && complement == 0;
        if ((value ^ complement) != 0xFF && !zeroed)
            return false;
    }
    block.resize(pairs);
    for (uint32_t i = 0; i < pairs; ++i)
        block[i] = first.bytes[2 * i];
    return true;
}

std::string FormatUserSystemDataHex(const uint8_t* content, size_t size)
{
    std::string text;
    AppendAddressRecord(text, HEX_RECORD_EXTENDED_LINEAR_ADDRESS, 0, kLineEnd);
    AppendAddressRecord(text, HEX_RECORD_EXTENDED_SEGMENT_ADDRESS, 0, kLineEnd);
    AppendDataRecords(text, 0, content, size, kLineEnd);
    text += HEX_END_OF_FILE_RECORD;
    return text;
}

bool CUserSystemData::SaveUserSystemDataToFile(const std::string& path, const uint8_t* data, int length)
{
    if (path.empty() || !data || length < 0 || static_cast<size_t>(length) > kLargestContent)
        return false;
    try {
        const auto size = static_cast<size_t>(length);
        if (ExtensionOf(path) != "HEX")
            return WriteContent(path, data, size);
        const std::string text = FormatUserSystemDataHex(data, size);
        return WriteContent(path, text.data(), text.size());
    } catch (const std::exception&) {
        return false;
    }
}
