// Chunked memory reads and sector erases, both stoppable through the cancel flag.
#include "link_interface.h"

#include "download_plan.h"
#include "job_progress.h"
#include "link_results.h"
#include "share_parameter.h"

#include <algorithm>
#include <array>

namespace {
constexpr uint8_t kBleMainSpace = 0;

bool InBootMemory(uint32_t address)
{
    const ShareParameter& shared = g_shareParameter;
    return address >= shared.otp3Address &&
           uint64_t{address} < uint64_t{shared.otp3Address} + shared.otp3Size;
}
} // namespace

int CLinkInterface::ReadFromDevice(KORVEX_HANDLE, uint32_t addr, int len, uint8_t* buf)
{
    if (!HasHandle())
        return LINK_NO_HANDLE_BYTE;
    if (addr < ZRCHIP_FLASH_BASE_ADDRESS)
        return LowByte(KORVEX_BLECHIP_ReadFlash(handle_, addr, len, buf));
    return LowByte(KORVEX_UPLoad_Target(handle_, addr, len, buf));
}

int CLinkInterface::ReadMemory(uint32_t addr, int len, uint8_t* buf, int, int)
{
    if (!HasHandle())
        return LINK_NO_HANDLE_BYTE;
    if (len < 0 || (len > 0 && buf == nullptr)) // a length that cannot be read is no success
        return INPUT_PARAMS_ERROR;
    if (addr < ZRCHIP_FLASH_BASE_ADDRESS) {
        const int selected = SelectBleFlashSpace(kBleMainSpace);
        if (!Succeeded(selected))
            return LowByte(selected);
    }
    std::array<uint8_t, LINK_TRANSFER_CHUNK> block{};
    ProgressStep progress("read", static_cast<uint32_t>(len));
    for (const TransferChunk& chunk : SplitIntoChunks(addr, static_cast<uint32_t>(len))) {
        if (TakeCancel())
            return LINK_CANCELED_BYTE;
        const int result = ReadFromDevice(handle_, chunk.address, static_cast<int>(chunk.length), block.data());
        if (result != 0)
            return result;
        std::copy_n(block.begin(), chunk.length, buf + chunk.offset);
        progress.Advance(chunk.length);
    }
    return 0;
}

int CLinkInterface::SectorErase(const uint32_t* addresses, int count)
{
    if (!HasHandle())
        return LINK_NO_HANDLE_BYTE;
    if (count < 1)
        return 0;
    // Boot memory only erases as a whole, and that comes first.
    if (std::any_of(addresses, addresses + count, InBootMemory)) {
        const int result = BootMemoryErase();
        if (!Succeeded(result))
            return LowByte(result);
    }
    ProgressStep progress("erase", static_cast<uint64_t>(count), "sectors");
    for (int i = 0; i < count; ++i) {
        progress.Advance(i == 0 ? 0 : 1);
        if (InBootMemory(addresses[i]))
            continue;
        if (TakeCancel())
            return LINK_CANCELED_BYTE;
        const int result = KORVEX_SectorErase_Target(handle_, addresses[i], 1);
        if (!Succeeded(result))
            return LowByte(result);
    }
    progress.Advance(1);
    return 0;
}
