#include "connection_check.h"

#include "console_output.h"
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
