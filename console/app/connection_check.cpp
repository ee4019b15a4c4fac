#include "connection_check.h"

#include "console_output.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "share_parameter.h"

bool HasConnection(ConnectionNeed need)
{
    const ConnectState state = g_shareParameter.connectState;
    switch (need) {
    case ConnectionNeed::Mcu:
        if (IsMcuConnected(state))
            return true;
        PrintLine("Error. Don't connect MCU!");
        return false;
    case ConnectionNeed::Ble:
        if (IsBleConnected(state))
            return true;
        PrintLine("Error. Don't connect BLE module!");
        return false;
    case ConnectionNeed::Target:
        if (state >= LINK_MCU_CONNECTED)
            return true;
        PrintLine("Error. Don't connect device!");
        return false;
    }
    return false;
}

bool BootMemoryReachable()
{
    if (!MCUHaveAPMode(g_shareParameter.series))
        return PrintFailure("Error. The MCU does not support boot memory AP mode. ");
    if (!IsBootMemoryAPMode())
        return PrintFailure("Error. The MCU boot memory is not in AP mode!");
    return true;
}

bool SpimReachable()
{
    if (!MCUHaveSPIM(g_shareParameter.series))
        return PrintFailure("Error. The MCU does not support SPIM. ");
    if (!g_shareParameter.spimEnabled)
        return PrintFailure("Error. SPIM does not enabled. ");
    return true;
}
