// -e: erases the target MCU's memories as a whole or by sectors.
#include "erase_command.h"

#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "erase_walk.h"
#include "exit_codes.h"
#include "LinkInterface.h"
#include "McuIdentification.h"
#include "option_test.h"
#include "sector_range.h"
#include "ShareParameter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool Report(bool ok, const char* failure, const char* success)
{
    WriteInforAndWaitInput(ok ? success : failure);
    return ok;
}

bool EraseWholeFlash()
{
    return m_LinkInterface.FlashErase(g_shareParameter.GetFlashSize()) == 0;
}

bool HasEnabledSpim()
{
    return MCUHaveSPIM(g_shareParameter.ZR32DeviceSerial) && g_shareParameter.c_SPIMEnabled;
}

bool HasBootMemoryInApMode()
{
    return MCUHaveAPMode(g_shareParameter.ZR32DeviceSerial) && IsBootMemoryAPMode();
}

int EraseAllWithSelector(const char* next, bool& consumedNext)
{
    if (next == nullptr || Is_Option(next))
        return AllErase();
    if (!Is_SubOption(next))
        return BadParameter(next);
    const std::string selector = ShareParameter::ToLower(next);
    consumedNext = true;
    if (selector == "--flash")
        return MainFlashErase() ? OP_SUCCESS : OP_MCU_ALLERASE_FLASH_FAILD;
    if (selector == "--spim")
        return SPIMErase() ? OP_SUCCESS : OP_MCU_ALLERASE_SPIM_FAILD;
    if (selector == "--bootm")
        return BootMemoryErase() ? OP_SUCCESS : OP_MCU_ALLERASE_BOOTM_FAILD;
    return BadParameter(next);
}

// SPIM sectors of the enabled size, but never past the SPIM window: a larger --fs would send
// erases beyond the window and let a long range grow the list without bound.
long long SpimSectorCount()
{
    constexpr long long kWindowSectors = ZRCHIP_SPIM_MAX_SIZE / ZRCHIP_SPIM_PAGE_SIZE;
    return std::min(static_cast<long long>(g_shareParameter.c_SPIMSize) * 256, kWindowSectors);
}

// The start address of sector k, or false after printing why k cannot be sector-erased.
bool SectorAddress(long long k, uint32_t& address)
{
    const ShareParameter& shared = g_shareParameter;
    if (k < ZRCHIP_SYS_PAGE_BEGININDEX) {
        if (k >= MainFlashSectorCount()) {
            WriteInforAndWaitInput("Error. Sectors can't exceed the flash range!");
            return false;
        }
        address = ZRCHIP_FLASH_BASE_ADDRESS + static_cast<uint32_t>(k) * static_cast<uint32_t>(shared.FlashSectorSize);
        return true;
    }
    if (k < ZRCHIP_SPIM_PAGE_BEGININDEX) {
        WriteInforAndWaitInput(MCUHaveAPMode(shared.ZR32DeviceSerial)
                                   ? "Error. Boot memory does not support sector erase. "
                                   : "Error. The MCU does not support boot memory AP mode. ");
        return false;
    }
    if (!MCUHaveSPIM(shared.ZR32DeviceSerial)) {
        WriteInforAndWaitInput("Error. The MCU does not support SPIM. ");
        return false;
    }
    if (!shared.c_SPIMEnabled) {
        WriteInforAndWaitInput("Error. SPIM does not enabled. ");
        return false;
    }
    if (k >= ZRCHIP_SPIM_PAGE_BEGININDEX + SpimSectorCount()) {
        WriteInforAndWaitInput("Error. Sectors can't exceed the SPIM range!");
        return false;
    }
    address = ZRCHIP_SPIM_BASE_ADDRESS +
              static_cast<uint32_t>(k - ZRCHIP_SPIM_PAGE_BEGININDEX) * static_cast<uint32_t>(shared.Bank3SectorSize);
    return true;
}

// The whole range is checked before the first sector is erased.
int EraseSectors(const char* rangeText)
{
    if (IsMissingRangeText(rangeText))
        return BadParameter(rangeText);
    const SectorRange range = ParseSectorRange(rangeText);
    if (!IsSectorsValid(range.first, range.last))
        return BadParameter(rangeText);
    std::vector<uint32_t> addresses;
    for (long long k = range.first; k <= range.last; ++k) {
        uint32_t address = 0;
        if (!SectorAddress(k, address))
            return OP_MCU_SECERASE_FAILD;
        addresses.push_back(address);
    }
    WriteInforAndWaitInput(std::string("Flash sector erase......") + rangeText);
    if (m_LinkInterface.SectorErase(addresses.data(), static_cast<int>(addresses.size())) != 0) {
        WriteInforAndWaitInput("Error. Flash sector erase failed!");
        return OP_MCU_SECERASE_FAILD;
    }
    WriteInforAndWaitInput("Flash sector erase finished");
    return OP_SUCCESS;
}

} // namespace

int BadParameter(const char* text)
{
    WriteInforAndWaitInput(std::string("Error. bad parameter ") + (text != nullptr ? text : ""));
    return OP_BAD_PARAM;
}

bool IsMissingRangeText(const char* text)
{
    return text == nullptr || *text == '\0' || Is_Option(text) || Is_SubOption(text);
}

bool MainFlashErase()
{
    WriteInforAndWaitInput("Flash full erase ......");
    return Report(EraseWholeFlash(), "Error. Flash full erase failed!", "Flash full erase finished!");
}

bool SPIMErase()
{
    if (!MCUHaveSPIM(g_shareParameter.ZR32DeviceSerial)) {
        WriteInforAndWaitInput("Error. The MCU does not support SPIM!");
        return false;
    }
    WriteInforAndWaitInput("SPIM full erase ......");
    return Report(m_LinkInterface.ExtFlashErase() == 0, "Error. SPIM full erase failed!", "SPIM full erase finished!");
}

bool BootMemoryErase()
{
    if (!MCUHaveAPMode(g_shareParameter.ZR32DeviceSerial)) {
        WriteInforAndWaitInput("Error. The MCU does not support boot memory AP mode!");
        return false;
    }
    if (!IsBootMemoryAPMode()) {
        WriteInforAndWaitInput("Error. The MCU boot memory is not in AP mode!");
        return false;
    }
    WriteInforAndWaitInput("Boot memory full erase ......");
    return Report(m_LinkInterface.BootMemoryErase() == 0, "Error. Boot memory full erase failed!",
                  "Boot memory full erase finished!");
}

int AllErase()
{
    WriteInforAndWaitInput("Erase all start ......");
    if (!Report(EraseWholeFlash(), "Error. Flash full erase failed!", "flash full erase succeed!"))
        return OP_MCU_ALLERASE_FLASH_FAILD;
    if (HasEnabledSpim() && !Report(m_LinkInterface.ExtFlashErase() == 0, "Error. SPIM full erase failed!",
                                    "SPIM full erase succeed!"))
        return OP_MCU_ALLERASE_SPIM_FAILD;
    if (HasBootMemoryInApMode() && !Report(m_LinkInterface.BootMemoryErase() == 0,
                                           "Error. Boot memory full erase failed!", "Boot memory full erase finished!"))
        return OP_MCU_ALLERASE_BOOTM_FAILD;
    WriteInforAndWaitInput("Erase all finished!");
    return OP_SUCCESS;
}

int Erase(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILD;
    return RunEraseWalk(argc, argv, index, EraseActions{EraseAllWithSelector, EraseSectors});
}
