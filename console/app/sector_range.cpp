#include "sector_range.h"

#include "connection_check.h"
#include "console_output.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "share_parameter.h"

namespace {
constexpr int kBootBandFirst = ZRCHIP_SYS_PAGE_BEGININDEX;
constexpr int kSpimBandFirst = ZRCHIP_SPIM_PAGE_BEGININDEX;
} // namespace

int MainFlashSectorCount()
{
    const ShareParameter& shared = g_shareParameter;
    if (shared.flashSectorSize <= 0)
        return 0;
    return static_cast<int>(shared.GetFlashSize() / static_cast<uint32_t>(shared.flashSectorSize));
}

bool IsSectorsValid(int first, int last)
{
    if (first > last || first < 0 || last < 0)
        return false;
    if (first >= kSpimBandFirst)
        return true; // each SPIM sector is checked when the list is built
    if (first >= kBootBandFirst)
        return BootMemoryReachable();
    const int count = MainFlashSectorCount();
    return first < count && last < count;
}

bool IsBLESectorsValid(int first, int last)
{
    if (first > last || first < 0 || last < 0)
        return false;
    const ShareParameter& shared = g_shareParameter;
    if (shared.bleFlashSectorSize <= 0)
        return false;
    const long long lastSector = shared.bleFlashSize / static_cast<uint32_t>(shared.bleFlashSectorSize);
    return first <= lastSector && last <= lastSector;
}
