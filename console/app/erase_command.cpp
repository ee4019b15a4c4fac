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
    return g_link.FlashErase(g_shareParameter.GetFlashSize()) == 0;
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
    if (!MCUHaveSPIM(shared.series)) {
        PrintLine("Error. The MCU does not support SPIM. ");
        return false;
    }
    if (!shared.spimEnabled) {
        PrintLine("Error. SPIM does not enabled. ");
        return false;
    }
    if (k >= ZRCHIP_SPIM_PAGE_BEGININDEX + SpimSectorCount()) {
        PrintLine("Error. Sectors can't exceed the SPIM range!");
        return false;
    }
    address = ZRCHIP_SPIM_BASE_ADDRESS +
              static_cast<uint32_t>(k - ZRCHIP_SPIM_PAGE_BEGININDEX) * static_cast<uint32_t>(shared.spimSectorSize);
    return true;
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
    return Report(g_link.SpimErase() == 0, "Error. SPIM full erase failed!", "SPIM full erase finished!");
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
    return Report(g_link.BootMemoryErase() == 0, "Error. Boot memory full erase failed!",
                  "Boot memory full erase finished!");
}

int AllErase()
{
    PrintLine("Erase all start ......");
    if (!Report(EraseWholeFlash(), "Error. Flash full erase failed!", "flash full erase succeed!"))
        return OP_MCU_ALLERASE_FLASH_FAILED;
    if (HasEnabledSpim() && !Report(g_link.SpimErase() == 0, "Error. SPIM full erase failed!",
                                    "SPIM full erase succeed!"))
        return OP_MCU_ALLERASE_SPIM_FAILED;
    if (HasBootMemoryInApMode() && !Report(g_link.BootMemoryErase() == 0,
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
