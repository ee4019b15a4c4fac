#include "file_operation.h"

#include "binary_image.h"
#include "file_io.h"
#include "file_name.h"
#include "image_memory.h"
#include "intel_hex_reader.h"
#include "intel_hex_writer.h"
#include "line_splitter.h"

#include <exception>

namespace {

constexpr size_t kReadChunkSize = 64 * 1024; // small enough to stay in cache while it is parsed

bool IsUsableBlock(const uint8_t* data, int32_t length)
{
    return length == 0 || (length > 0 && data != nullptr);
}

int ReadBinary(FileInfo& info)
{
    // A file longer than the memory at its load address is refused before a byte of it is read.
    const uint64_t fileSize = FileSizeOf(info.path);
    if (fileSize > MemoryRoomFrom(info.startAddress))
        return FILE_OPEN_FORMAT_ERROR;
    BinaryImageBuilder builder(info, info.startAddress, fileSize);
    const FileReadResult read = ReadFileInChunks(info.path, kReadChunkSize, [&](const char* bytes, size_t size) {
        builder.Append(reinterpret_cast<const uint8_t*>(bytes), size);
        return builder.TotalSize() <= fileSize; // a file that grows while it is read is not taken
    });
    if (read == FileReadResult::CannotOpen)
        return FILE_OPEN_EMPTY_ERROR;
    if (read != FileReadResult::Complete || !builder.Finish())
        return FILE_OPEN_FORMAT_ERROR;
    return builder.TotalSize() == 0 ? FILE_OPEN_EMPTY_ERROR : FILE_OPERATION_SUCCESS;
}

int ReadIntelHex(FileInfo& info)
{
    IntelHexReader reader(info);
    LineSplitter lines([&reader](const char* line, size_t length, bool cut) {
        return reader.AddLine(line, length, cut);
    });
    const FileReadResult read = ReadFileInChunks(info.path, kReadChunkSize, [&lines](const char* bytes, size_t size) {
        return lines.Feed(bytes, size);
    });
    if (read == FileReadResult::CannotOpen)
        return FILE_OPEN_EMPTY_ERROR;
    if (read == FileReadResult::ReadFailed)
        return FILE_OPEN_FORMAT_ERROR;
    lines.Finish();
    return reader.Finish();
}

int WriteWhole(const std::string& path, const std::function<bool(SafeFileWriter&)>& writeContent)
{
    SafeFileWriter file(path);
    if (!file.Open())
        return FILE_SAVE_NOT_FOUND_ERROR;
    if (!writeContent(file) || !file.Commit())
        return FILE_SAVE_FORMAT_ERROR;
    return FILE_OPERATION_SUCCESS;
}

} // namespace

int FileOperation::OpenFile(FileInfo& info)
{
    const std::string extension = ExtensionOf(info.path);
    if (extension == "HEX")
        return OpenHexFile(info);
    if (extension == "BIN")
        return OpenBinaryFile(info);
    return FILE_OPEN_FORMAT_ERROR;
}

int FileOperation::OpenBinaryFile(FileInfo& info)
{
    if (ExtensionOf(info.path) != "BIN")
        return FILE_OPEN_FORMAT_ERROR;
    try {
        info.parts.clear();
        if (!FileExists(info.path))
            return FILE_OPEN_NOT_FOUND_ERROR;
        const int result = ReadBinary(info);
        info.fileName = FileNameOf(info.path);
        return result;
    } catch (const std::exception&) {
        return FILE_OPEN_FORMAT_ERROR;
    }
}

int FileOperation::OpenHexFile(FileInfo& info)
{
    if (!FileExists(info.path))
        return FILE_OPEN_NOT_FOUND_ERROR;
    if (ExtensionOf(info.path) != "HEX")
        return FILE_OPEN_FORMAT_ERROR;
    try {
        return ReadIntelHex(info);
    } catch (const std::exception&) {
        return FILE_OPEN_FORMAT_ERROR;
    }
}

int FileOperation::SaveFile(const std::string& path, const uint8_t* data, int32_t length, uint32_t startAddress)
{
    if (ExtensionOf(path) == "HEX")
        return SaveHexFile(path, data, length, startAddress);
    return SaveBinaryFile(path, data, length);
}

int FileOperation::SaveBinaryFile(const std::string& path, const uint8_t* data, int32_t length)
{
    if (ExtensionOf(path) != "BIN" || !IsUsableBlock(data, length))
        return FILE_SAVE_FORMAT_ERROR;
    try {
        return WriteWhole(path, [&](SafeFileWriter& file) { return file.Write(data, static_cast<size_t>(length)); });
    } catch (const std::exception&) {
        return FILE_SAVE_FORMAT_ERROR;
    }
}

int FileOperation::SaveHexFile(const std::string& path, const uint8_t* data, int32_t length, uint32_t startAddress)
{
    if (ExtensionOf(path) != "HEX" || !IsUsableBlock(data, length))
        return FILE_SAVE_FORMAT_ERROR;
    try {
        return WriteWhole(path, [&](SafeFileWriter& file) {
            return WriteIntelHexText(data, static_cast<size_t>(length), startAddress, [&file](const std::string& text) {
                return file.Write(text.data(), text.size());
            });
        });
    } catch (const std::exception&) {
        return FILE_SAVE_FORMAT_ERROR;
    }
}
