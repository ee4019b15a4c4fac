// -e: erases the target MCU's memories as a whole or by sectors.
#include "erase_command.h"

#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "erase_walk.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "sector_range.h"
#include "share_parameter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool Report(bool ok, const char* failure, const char* success)
{
    PrintLine(ok ? success : failure);
    return ok;
}

bool EraseWholeFlash()
{
    ShareParameter& shared = g_shareParameter;
    if (g_link.FlashErase(shared.GetFlashSize()) != 0)
        return false;
    shared.erasedInRun.NoteErased(ZRCHIP_FLASH_BASE_ADDRESS, shared.GetFlashSize());
    return true;
}

// The SPIM erase takes the enabled size, never more than the SPIM window.
bool EraseWholeSpim()
{
    ShareParameter& shared = g_shareParameter;
    if (g_link.SpimErase() != 0)
        return false;
    const uint64_t size = std::min<uint64_t>(uint64_t{shared.spimSizeMb} * 1048576, ZRCHIP_SPIM_MAX_SIZE);
    shared.erasedInRun.NoteErased(ZRCHIP_SPIM_BASE_ADDRESS, size);
    return true;
}

bool EraseWholeBootMemory()
{
    ShareParameter& shared = g_shareParameter;
    if (g_link.BootMemoryErase() != 0)
        return false;
    shared.erasedInRun.NoteErased(shared.otp3Address, shared.otp3Size);
    return true;
}

bool HasEnabledSpim()
{
    return MCUHaveSPIM(g_shareParameter.series) && g_shareParameter.spimEnabled;
}

bool HasBootMemoryInApMode()
{
    return MCUHaveAPMode(g_shareParameter.series) && IsBootMemoryAPMode();
}

int EraseAllWithSelector(const std::string& selector)
{
    if (selector.empty())
        return AllErase();
    if (selector == "--flash")
        return MainFlashErase() ? OP_SUCCESS : OP_MCU_ALLERASE_FLASH_FAILED;
    if (selector == "--spim")
        return SPIMErase() ? OP_SUCCESS : OP_MCU_ALLERASE_SPIM_FAILED;
    return BootMemoryErase() ? OP_SUCCESS : OP_MCU_ALLERASE_BOOTM_FAILED;
}

// SPIM sectors of the enabled size, but never past the SPIM window: a larger --fs would send
// erases beyond the window and let a long range grow the list without bound.
long long SpimSectorCount()
{
    constexpr long long kWindowSectors = ZRCHIP_SPIM_MAX_SIZE / ZRCHIP_SPIM_PAGE_SIZE;
    return std::min(static_cast<long long>(g_shareParameter.spimSizeMb) * 256, kWindowSectors);
}

// The start address of sector k, or false after printing why k cannot be sector-erased.
bool SectorAddress(long long k, uint32_t& address)
{
    const ShareParameter& shared = g_shareParameter;
    if (k < ZRCHIP_SYS_PAGE_BEGININDEX) {
        if (k >= MainFlashSectorCount()) {
            PrintLine("Error. Sectors can't exceed the flash range!");
            return false;
        }
        address = ZRCHIP_FLASH_BASE_ADDRESS + static_cast<uint32_t>(k) * static_cast<uint32_t>(shared.flashSectorSize);
        return true;
    }
    if (k < ZRCHIP_SPIM_PAGE_BEGININDEX) {
        PrintLine(MCUHaveAPMode(shared.series)
                                   ? "Error. Boot memory does not support sector erase. "
                                   : "Error. The MCU does not support boot memory AP mode. ");
        return false;
    }
    if (!SpimReachable())
        return false;
    if (k >= ZRCHIP_SPIM_PAGE_BEGININDEX + SpimSectorCount()) {
        PrintLine("Error. Sectors can't exceed the SPIM range!");
        return false;
    }
    address = ZRCHIP_SPIM_BASE_ADDRESS +
              static_cast<uint32_t>(k - ZRCHIP_SPIM_PAGE_BEGININDEX) * static_cast<uint32_t>(shared.spimSectorSize);
    return true;
}

void NoteSectorsErased(const std::vector<uint32_t>& addresses)
{
    ShareParameter& shared = g_shareParameter;
    for (uint32_t address : addresses) {
        const int32_t size = address >= ZRCHIP_SPIM_BASE_ADDRESS ? shared.spimSectorSize : shared.flashSectorSize;
        shared.erasedInRun.NoteErased(address, static_cast<uint32_t>(size));
    }
}

// The whole range is checked before the first sector is erased.
int EraseSectors(const WalkStep& range)
{
    if (!IsSectorsValid(range.first, range.last)) {
        PrintErrorBadParameter(range.text.c_str());
        return OP_BAD_PARAM;
    }
    std::vector<uint32_t> addresses;
    for (long long k = range.first; k <= range.last; ++k) {
        uint32_t address = 0;
        if (!SectorAddress(k, address))
            return OP_MCU_SECERASE_FAILED;
        addresses.push_back(address);
    }
    PrintLine("Flash sector erase......" + range.text);
    if (g_link.SectorErase(addresses.data(), static_cast<int>(addresses.size())) != 0) {
        PrintLine("Error. Flash sector erase failed!");
        return OP_MCU_SECERASE_FAILED;
    }
    PrintLine("Flash sector erase finished");
    NoteSectorsErased(addresses);
    return OP_SUCCESS;
}

} // namespace

bool MainFlashErase()
{
    PrintLine("Flash full erase ......");
    return Report(EraseWholeFlash(), "Error. Flash full erase failed!", "Flash full erase finished!");
}

bool SPIMErase()
{
    if (!MCUHaveSPIM(g_shareParameter.series)) {
        PrintLine("Error. The MCU does not support SPIM!");
        return false;
    }
    PrintLine("SPIM full erase ......");
    return Report(EraseWholeSpim(), "Error. SPIM full erase failed!", "SPIM full erase finished!");
}

bool BootMemoryErase()
{
    if (!MCUHaveAPMode(g_shareParameter.series)) {
        PrintLine("Error. The MCU does not support boot memory AP mode!");
        return false;
    }
    if (!IsBootMemoryAPMode()) {
        PrintLine("Error. The MCU boot memory is not in AP mode!");
        return false;
    }
    PrintLine("Boot memory full erase ......");
    return Report(EraseWholeBootMemory(), "Error. Boot memory full erase failed!",
                  "Boot memory full erase finished!");
}

int AllErase()
{
    PrintLine("Erase all start ......");
    if (!Report(EraseWholeFlash(), "Error. Flash full erase failed!", "flash full erase succeed!"))
        return OP_MCU_ALLERASE_FLASH_FAILED;
    if (HasEnabledSpim() && !Report(EraseWholeSpim(), "Error. SPIM full erase failed!",
                                    "SPIM full erase succeed!"))
        return OP_MCU_ALLERASE_SPIM_FAILED;
    if (HasBootMemoryInApMode() && !Report(EraseWholeBootMemory(),
                                           "Error. Boot memory full erase failed!", "Boot memory full erase finished!"))
        return OP_MCU_ALLERASE_BOOTM_FAILED;
    PrintLine("Erase all finished!");
    return OP_SUCCESS;
}

int Erase(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    return RunEraseWalk(argc, argv, index, EraseActions{EraseAllWithSelector, EraseSectors});
}
