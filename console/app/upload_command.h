#pragma once

#include <cstdint>

// Which memory an upload's first sector lies in (the sector numbering of -e --sec).
enum class UploadKind {
    MAIN_FLASH = 1,
    BOOT_MEMORY = 2,
    SPIM = 3,
    NONE = 4,
};

// Addresses in 64 bits, so that no sector range can wrap around the 32-bit address space.
struct MemoryRange {
    uint64_t address = 0;
    uint64_t size = 0;
};

// The addresses of count sectors from first, numbered as -e --sec numbers them.
UploadKind GetAddrFromSectorNum(long long first, long long count, MemoryRange& range);

// The addresses of count BLE module sectors from first; false when first is not a sector of the
// BLE main space.
bool GetBLEAddrFromSectorNum(long long first, long long count, MemoryRange& range);
