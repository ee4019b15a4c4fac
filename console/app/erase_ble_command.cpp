// -eble: erases the BLE module's flash spaces, or sectors of its main space.
#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "erase_walk.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "sector_range.h"
#include "share_parameter.h"

#include <string>

namespace {

constexpr uint8_t kMainSpace = 0;

// One whole-space erase with its lines and its failure code.
struct SpaceErase {
    const char* selector;
    const char* progress;
    int (CLinkInterface::*erase)();
    const char* failure;
    int failureCode;
    const char* success;
    bool erasesMainSpace;
};

const SpaceErase kAllSpace = {"", "BLE module all space erase......", &CLinkInterface::EraseBleAllSpaces,
                              "Error. BLE module all space erase failed!", OP_BL_ALLERASE_FAILED,
                              "BLE module all space erase succeed!", true};

const SpaceErase kOneSpace[] = {
    {"--main", "BLE module main space erase ......", &CLinkInterface::EraseBleMainSpace,
     "Error. BLE module main space erase failed!", OP_BL_ALLERASE_MAIN_FAILED, "BLE module main space erase finished!", true},
    {"--nvr", "BLE module NVR space erase ......", &CLinkInterface::EraseBleNvrSpace,
     "Error. BLE module NVR space erase failed!", OP_BL_ALLERASE_NVR_FAILED, "BLE module NVR space erase finished!", false},
    {"--rdn", "BLE module RDN space erase ......", &CLinkInterface::EraseBleRdnSpace,
     "Error. BLE module RDN space erase failed!", OP_BL_ALLERASE_RDN_FAILED, "BLE module RDN space erase finished!", false},
};

int RunSpaceErase(const SpaceErase& space)
{
    PrintLine(space.progress);
    if ((g_link.*space.erase)() != 0) {
        PrintLine(space.failure);
        return space.failureCode;
    }
    PrintLine(space.success);
    if (space.erasesMainSpace)
        g_shareParameter.bleMainSpaceErased = true;
    return OP_SUCCESS;
}

int EraseBleSpaces(const std::string& selector)
{
    if (selector.empty())
        return RunSpaceErase(kAllSpace);
    for (const SpaceErase& space : kOneSpace) {
        if (selector == space.selector)
            return RunSpaceErase(space);
    }
    return OP_BAD_PARAM; // the walk lets only the three selectors through
}

int EraseBleSectors(const WalkStep& range)
{
    if (!IsBLESectorsValid(range.first, range.last)) {
        PrintLine("Error, erase sectors cannot exceed BLE module main space range.");
        return OP_BL_SECERASE_FAILED;
    }
    PrintLine("BLE module main space sector erase......" + range.text);
    const ShareParameter& shared = g_shareParameter;
    const uint32_t start =
        shared.bleFlashAddress + static_cast<uint32_t>(range.first) * static_cast<uint32_t>(shared.bleFlashSectorSize);
    // Erasing after a failed select would hit whichever space was selected before.
    if (g_link.SelectBleFlashSpace(kMainSpace) != 0 ||
        g_link.BleSectorErase(start, range.last - range.first + 1) != 0) {
        PrintLine("Error. BLE module main space sector erase failed!");
        return OP_BL_SECERASE_FAILED;
    }
    PrintLine("BLE module main space sector erase finished");
    return OP_SUCCESS;
}

} // namespace

int EraseBLE(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Ble))
        return OP_CONNECT_FAILED;
    return RunEraseWalk(argc, argv, index, EraseActions{EraseBleSpaces, EraseBleSectors});
}
