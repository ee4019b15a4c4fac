#include "image_memory.h"

#include "memory_map.h"

namespace {

// BLE module flash, from address 0.
constexpr uint32_t kBleFlashEnd = ZR32_S17_BLE_FLASH_ADDRESS + ZR32_S17_BLE_FLASH_SIZE;
constexpr uint32_t kMainFlashLast = ZRCHIP_FLASH_BASE_ADDRESS + ZRCHIP_FLASH_MAX_SIZE - 1;
constexpr uint32_t kSpimLast = ZRCHIP_SPIM_BASE_ADDRESS + ZRCHIP_SPIM_MAX_SIZE - 1;
// The boot memory window every series with boot memory shares; windows that start lower
// (a few series) are not counted as boot memory here.
constexpr uint32_t kBootFirst = 0x1FFFA400;
constexpr uint32_t kBootLast = 0x1FFFF3FF;
// The lowest start of a boot memory window in any series.
constexpr uint32_t kAnyBootFirst = 0x1FFF7C00;

struct MemoryFlags {
    bool main = false;
    bool spim = false;
    bool boot = false;
    bool ble = false;
};

MemoryFlags FlagsOf(const QList<ImagePart>& parts)
{
    MemoryFlags flags;
    for (const ImagePart& part : parts) {
        const uint32_t a = part.startAddress;
        flags.ble |= a < kBleFlashEnd;
        flags.main |= a >= ZRCHIP_FLASH_BASE_ADDRESS && a <= kMainFlashLast;
        flags.spim |= a >= ZRCHIP_SPIM_BASE_ADDRESS && a <= kSpimLast;
        flags.boot |= a >= kBootFirst && a <= kBootLast;
    }
    return flags;
}

} // namespace

ImageLocation ClassifyImageMemory(const QList<ImagePart>& parts)
{
    const MemoryFlags f = FlagsOf(parts);
    if (f.boot && f.main && f.ble)
        return FILE_POS_IN_MAIN_BOOT_BLE_FLASH;
    if (f.boot && f.ble)
        return FILE_POS_IN_BOOT_BLE_FLASH;
    if (f.main && f.spim)
        return FILE_POS_IN_MAIN_SPIM_FLASH;
    if (f.boot && f.main)
        return FILE_POS_IN_MAIN_BOOT_FLASH;
    if (f.main && f.ble)
        return FILE_POS_IN_MAIN_BLE_FLASH;
    if (f.ble)
        return FILE_POS_IN_BLE_FLASH;
    if (f.boot)
        return FILE_POS_IN_BOOT_FLASH;
    if (f.spim)
        return FILE_POS_IN_SPIM_FLASH;
    return FILE_POS_IN_MAIN_FLASH;
}

uint64_t MemoryRoomFrom(uint32_t address)
{
    if (address < kBleFlashEnd)
        return kBleFlashEnd - address;
    if (address >= ZRCHIP_FLASH_BASE_ADDRESS && address <= kSpimLast)
        return uint64_t{kSpimLast} + 1 - address;
    if (address >= kAnyBootFirst && address <= kBootLast)
        return uint64_t{kBootLast} + 1 - address;
    return 0;
}
