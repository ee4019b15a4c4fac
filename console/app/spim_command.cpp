// -enspim and -bmapm: switch on the SPIM and the boot memory AP mode of the connected MCU.
#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "sub_option_walk.h"
#include "share_parameter.h"
#include "usd_command.h"


namespace {
constexpr uint32_t kMegabyte = 1048576;
constexpr uint32_t kLargestFlashDa = 0x1000000;
constexpr uint8_t kDefaultSpimType = 1;
constexpr uint32_t kApModeKey = 0x5C3E91B7;

// What the probe accepts; anything else is refused here, before the option bytes are rewritten.
bool IsSpimSetupAccepted(uint32_t type, uint32_t flashDa)
{
    return (type == 1 || type == 2) && flashDa <= kLargestFlashDa;
}

// Enables SPIM with the run's settings: the user system data file of the line first when a
// FLASH_DA is set, and nothing more when that load fails.
bool HandleEnableSpim(uint32_t type)
{
    ShareParameter& shared = g_shareParameter;
    if (!IsSpimSetupAccepted(type, shared.spimFlashDa)) {
        PrintLine("Error. Enable SPIM failed!");
        return false;
    }
    if (shared.spimFlashDa != 0 && !LoadUserSystemDataFromFileToDeviceExceptFAP())
        return false;
    const int result = g_link.EnableBank3Function(shared.spimRemap ? 1 : 0, static_cast<uint8_t>(type),
                                                  shared.spimSizeMb * kMegabyte, shared.spimFlashDa);
    if (result != 0) {
        PrintLine("Error. Enable SPIM failed!");
        return false;
    }
    PrintLine("Enable SPIM succeed!");
    return true;
}
} // namespace

int EnableSPIM(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    PrintLine("Begin Enable SPIM........");
    ShareParameter& shared = g_shareParameter;
    if (!MCUHaveSPIM(shared.series)) {
        PrintLine("Error. The MCU does not support SPIM.");
        return OP_ENSPIM_FAILED;
    }
    // The type travels as one byte, but a typed 257 must not become type 1.
    uint32_t type = shared.spimFlashType == 0 ? kDefaultSpimType : shared.spimFlashType;
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
        if (step.name == "--ft") {
            type = step.number;
            shared.spimFlashType = static_cast<uint8_t>(step.number);
        } else if (step.name == "--fs") {
            shared.spimSizeMb = step.number;
        } else if (step.name == "--fda") {
            shared.spimFlashDa = step.number;
        } else {
            shared.spimNeedsRemap = shared.spimRemap = step.number != 0;
        }
    }
    if (walk.Result() != OP_SUCCESS)
        return walk.Result();
    if (shared.spimFlashDa != 0)
        GetUserSystemDataFile(argc, argv);
    if (!HandleEnableSpim(type))
        return OP_ENSPIM_FAILED;
    shared.spimEnabled = true;
    shared.hasOtherMemory = shared.spimSizeMb != 0;
    return OP_SUCCESS;
}

int BootMemoryAPMode(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    PrintLine("Set boot memory AP mode.......");
    if (!MCUHaveAPMode(g_shareParameter.series)) {
        PrintLine("Error. The MCU does not support boot memory AP mode. ");
        return OP_BMAPM_FAILED;
    }
    uint32_t key = 0;
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step))
        key = step.number;
    if (walk.Result() != OP_SUCCESS)
        return walk.Result();
    if (key != kApModeKey) {
        PrintLine("Error. Boot memory AP mode key error, must be 0x5C3E91B7!");
        return OP_BMAPM_FAILED;
    }
    if (g_link.SetBootMemoryApMode(key) != 0) {
        PrintLine("Error. Set boot memory AP mode failed!");
        return OP_BMAPM_FAILED;
    }
    PrintLine("Set boot memory AP mode finished!");
    return OP_SUCCESS;
}
