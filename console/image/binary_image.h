#pragma once

#include "file_info.h"

#include <cstddef>
#include <cstdint>

// Cuts the bytes of a binary file, in file order, into parts of 64 KiB: part k starts at the load
// address + k * 0x10000, whatever that address is, and the last part holds the remainder.
// Bytes may arrive in pieces of any size.
class BinaryImageBuilder {
public:
    // expectedSize, when known, lets every part take exactly the room its bytes need.
    BinaryImageBuilder(FileInfo& image, uint32_t loadAddress, uint64_t expectedSize = 0);

    void Append(const uint8_t* bytes, size_t size);
    // Sets size and checksum; false when the total does not fit size.
    bool Finish();

    uint64_t TotalSize() const { return total_; }

private:
    FileInfo& image_;
    uint32_t nextAddress_;
    uint64_t expectedSize_;
    ImagePart* open_ = nullptr; // the last part while it has room
    uint64_t total_ = 0;
    uint32_t sum_ = 0;
};

// The bytes of a whole binary file as parts at the load address; FILE_OPEN_EMPTY_ERROR when
// there are none. startAddress is not changed.
int CutIntoParts(const uint8_t* bytes, size_t size, uint32_t loadAddress, FileInfo& image);
