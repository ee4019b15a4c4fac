#pragma once

#include "file_info.h"
#include "file_result.h"

#include <cstdint>
#include <string>

// Readers and writers of image files. The extension of the path (its last three characters,
// upper-cased) names the format: HEX for Intel HEX, BIN for raw binary. Every operation
// returns a FILE_* result code. There is no state: any instance serves.
class FileOperation {
public:
    // Dispatches on the extension of path to OpenHexFile or OpenBinaryFile.
    int OpenFile(FileInfo& info);
    // Loads path as raw bytes at startAddress, in parts of 64 KiB.
    int OpenBinaryFile(FileInfo& info);
    // Loads path as Intel HEX.
    int OpenHexFile(FileInfo& info);

    // Writes a contiguous block: Intel HEX when the path ends in HEX, else raw binary.
    int SaveFile(const std::string& path, const uint8_t* data, int32_t length, uint32_t startAddress);
    int SaveBinaryFile(const std::string& path, const uint8_t* data, int32_t length);
    int SaveHexFile(const std::string& path, const uint8_t* data, int32_t length, uint32_t startAddress);
};
