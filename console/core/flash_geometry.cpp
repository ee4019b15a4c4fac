#include "mcu_identification.h"

#include <array>

namespace {
// Flash size in KB by flash size index (PID bits 10..6); indexes 23 to 31 have no entry.
constexpr std::array<int32_t, 23> kFlashSizeKB = {
    16, 24, 32, 48, 64, 72, 96, 128, 192, 256, 384, 512,
    768, 1024, 1536, 2048, 4096, 5120, 192, 960, 1984, 4032, 448,
};

int32_t FlashSizeIndex(int32_t pid) { return (pid & 0x7C0) >> 6; }
int32_t SectorSizeCode(int32_t pid) { return (pid & 0x7000) >> 12; }
} // namespace

int32_t FlashKilobytesOfPid(int32_t pid)
{
    const auto index = static_cast<size_t>(FlashSizeIndex(pid));
    return index < kFlashSizeKB.size() ? kFlashSizeKB[index] : 0;
}

int32_t SectorSizeOfPid(int32_t pid)
{
    switch (SectorSizeCode(pid)) {
    case 0: return FlashKilobytesOfPid(pid) < 256 ? 1024 : 2048; // code 0 follows the flash size
    case 1: return 512;
    case 2: return 1024;
    case 3: return 2048;
    case 4: return 4096;
    default: return 0;
    }
}
