#pragma once

#include "FileInfo.h"
#include "FileResult.h"

#include <cstdint>
#include <string>

// Readers and writers of image files. The extension of the path (its last three characters,
// upper-cased) names the format: HEX for Intel HEX, BIN for raw binary. Every operation
// returns a FILE_* result code. There is no state: any instance serves.
class FileOperation {
public:
    // Dispatches on the extension of FilePath to OpenFile_Hex or OpenFile_Bin.
    int OpenFile(FileInfo& info);
    // Loads FilePath as raw bytes at StartAddress, in parts of 64 KiB.
    int OpenFile_Bin(FileInfo& info);
    // Loads FilePath as Intel HEX.
    int OpenFile_Hex(FileInfo& info);

    // Writes a contiguous block: Intel HEX when the path ends in HEX, else raw binary.
    int SaveFile(const std::string& path, const uint8_t* data, int32_t length, uint32_t startAddress);
    int SaveFile_Bin(const std::string& path, const uint8_t* data, int32_t length);
    int SaveFile_Hex(const std::string& path, const uint8_t* data, int32_t length, uint32_t startAddress);
};
