#include "download_plan.h"

#include "memory_map.h"

#include <algorithm>

namespace {

// One erasable memory: its address window, sector size and first sector number.
struct SectorBand {
    uint32_t base;
    uint64_t windowSize;
    uint32_t sectorSize;
    uint32_t firstNumber;

    bool Holds(uint32_t address) const
    {
        return address >= base && address - base < windowSize;
    }
    uint32_t NumberOf(uint32_t address) const { return firstNumber + (address - base) / sectorSize; }
    uint32_t StartOf(uint32_t number) const { return (number - firstNumber) * sectorSize + base; }
};

// Main flash first, then boot memory, then SPIM: the first window holding the address decides.
const SectorBand* BandOf(uint32_t address, const SectorBand (&bands)[3])
{
    for (const SectorBand& band : bands) {
        if (band.sectorSize != 0 && band.Holds(address))
            return &band;
    }
    return nullptr;
}

} // namespace

std::vector<TransferChunk> SplitIntoChunks(uint32_t address, uint32_t length, uint32_t chunkSize)
{
    std::vector<TransferChunk> chunks;
    if (chunkSize == 0)
        return chunks;
    for (uint32_t offset = 0; offset < length; offset += std::min(chunkSize, length - offset))
        chunks.push_back({address + offset, offset, std::min(chunkSize, length - offset)});
    return chunks;
}

std::vector<uint32_t> SectorsForImage(const QList<ImagePart>& parts, const EraseGeometry& geometry)
{
    const SectorBand bands[3] = {
        {ZRCHIP_FLASH_BASE_ADDRESS, ZRCHIP_FLASH_MAX_SIZE, geometry.flashSectorSize, ZRCHIP_FLASH_PAGE_BEGININDEX},
        {geometry.bootAddress, geometry.bootSize, geometry.flashSectorSize, ZRCHIP_SYS_PAGE_BEGININDEX},
        {ZRCHIP_SPIM_BASE_ADDRESS, ZRCHIP_SPIM_MAX_SIZE, ZRCHIP_SPIM_PAGE_SIZE, ZRCHIP_SPIM_PAGE_BEGININDEX},
    };
    std::vector<uint32_t> numbers;
    std::vector<uint32_t> addresses;
    for (const ImagePart& part : parts) {
        const SectorBand* band = BandOf(part.startAddress, bands);
        if (band == nullptr)
            continue;
        const uint64_t reach = (part.startAddress - band->base) % band->sectorSize + uint64_t{part.size()};
        const uint64_t count = (reach + band->sectorSize - 1) / band->sectorSize;
        const uint32_t first = band->NumberOf(part.startAddress);
        for (uint64_t i = 0; i < count; ++i) {
            const uint32_t number = first + static_cast<uint32_t>(i);
            if (std::find(numbers.begin(), numbers.end(), number) != numbers.end())
                continue;
            numbers.push_back(number);
            addresses.push_back(band->StartOf(number));
        }
    }
    return addresses;
}

std::vector<BracketCall> BeginCalls(ImageLocation position)
{
    switch (position) {
    case FILE_POS_IN_MAIN_FLASH:
    case FILE_POS_IN_BOOT_FLASH:
    case FILE_POS_IN_MAIN_BOOT_FLASH:
        return {BracketCall::MainFlash};
    case FILE_POS_IN_SPIM_FLASH:
        return {BracketCall::Spim};
    case FILE_POS_IN_BLE_FLASH:
        return {BracketCall::SelectBleMainSpace};
    case FILE_POS_IN_MAIN_BLE_FLASH:
    case FILE_POS_IN_BOOT_BLE_FLASH:
    case FILE_POS_IN_MAIN_BOOT_BLE_FLASH:
        return {BracketCall::MainFlash, BracketCall::SelectBleMainSpace};
    case FILE_POS_IN_MAIN_SPIM_FLASH:
        return {BracketCall::MainFlash, BracketCall::Spim};
    }
    return {};
}

std::vector<BracketCall> EndCalls(ImageLocation position)
{
    switch (position) {
    case FILE_POS_IN_MAIN_FLASH:
    case FILE_POS_IN_BOOT_FLASH:
    case FILE_POS_IN_MAIN_BOOT_FLASH:
    case FILE_POS_IN_MAIN_BLE_FLASH:
    case FILE_POS_IN_BOOT_BLE_FLASH:
    case FILE_POS_IN_MAIN_BOOT_BLE_FLASH:
        return {BracketCall::MainFlash};
    case FILE_POS_IN_SPIM_FLASH:
        return {BracketCall::Spim};
    case FILE_POS_IN_MAIN_SPIM_FLASH:
        return {BracketCall::MainFlash, BracketCall::Spim};
    case FILE_POS_IN_BLE_FLASH:
        return {};
    }
    return {};
}
