#include "FileOperation.h"

#include "BinaryImage.h"
#include "FileIo.h"
#include "FileName.h"
#include "IntelHexReader.h"
#include "IntelHexWriter.h"
#include "LineSplitter.h"

#include <exception>

namespace {

constexpr size_t kReadChunkSize = 256 * 1024;

bool IsUsableBlock(const uint8_t* data, int32_t length)
{
    return length == 0 || (length > 0 && data != nullptr);
}

int ReadBinary(FileInfo& info)
{
    BinaryImageBuilder builder(info, info.StartAddress);
    const FileReadResult read = ReadFileInChunks(info.FilePath, kReadChunkSize, [&builder](const char* bytes, size_t size) {
        builder.Append(reinterpret_cast<const uint8_t*>(bytes), size);
        return true;
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
    const FileReadResult read = ReadFileInChunks(info.FilePath, kReadChunkSize, [&lines](const char* bytes, size_t size) {
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
        return FILE_SAVE_NOT_EXISTES_ERROR;
    if (!writeContent(file) || !file.Commit())
        return FILE_SAVE_FORMAT_ERROR;
    return FILE_OPERATION_SUCCESS;
}

} // namespace

int FileOperation::OpenFile(FileInfo& info)
{
    const std::string extension = ExtensionOf(info.FilePath);
    if (extension == "HEX")
        return OpenFile_Hex(info);
    if (extension == "BIN")
        return OpenFile_Bin(info);
    return FILE_OPEN_FORMAT_ERROR;
}

int FileOperation::OpenFile_Bin(FileInfo& info)
{
    if (ExtensionOf(info.FilePath) != "BIN")
        return FILE_OPEN_FORMAT_ERROR;
    try {
        info.partInfo.clear();
        if (!FileExists(info.FilePath))
            return FILE_OPEN_NOT_EXISTES_ERROR;
        const int result = ReadBinary(info);
        info.LoadFileType = FileNameOf(info.FilePath);
        return result;
    } catch (const std::exception&) {
        return FILE_OPEN_FORMAT_ERROR;
    }
}

int FileOperation::OpenFile_Hex(FileInfo& info)
{
    if (!FileExists(info.FilePath))
        return FILE_OPEN_NOT_EXISTES_ERROR;
    if (ExtensionOf(info.FilePath) != "HEX")
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
        return SaveFile_Hex(path, data, length, startAddress);
    return SaveFile_Bin(path, data, length);
}

int FileOperation::SaveFile_Bin(const std::string& path, const uint8_t* data, int32_t length)
{
    if (ExtensionOf(path) != "BIN" || !IsUsableBlock(data, length))
        return FILE_SAVE_FORMAT_ERROR;
    try {
        return WriteWhole(path, [&](SafeFileWriter& file) { return file.Write(data, static_cast<size_t>(length)); });
    } catch (const std::exception&) {
        return FILE_SAVE_FORMAT_ERROR;
    }
}

int FileOperation::SaveFile_Hex(const std::string& path, const uint8_t* data, int32_t length, uint32_t startAddress)
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
