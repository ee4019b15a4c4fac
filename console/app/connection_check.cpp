#include "connection_check.h"

#include "console_output.h"
#include "ShareParameter.h"

bool HasConnection(ConnectionNeed need)
{
    const DeviceConnectStatus state = g_shareParameter.m_ConnectFlag;
    switch (need) {
    case ConnectionNeed::Mcu:
        if (IsMcuConnected(state))
            return true;
        WriteInforAndWaitInput("Error. Don't connect MCU!");
        return false;
    case ConnectionNeed::Ble:
        if (IsBleConnected(state))
            return true;
        WriteInforAndWaitInput("Error. Don't connect BLE module!");
        return false;
    case ConnectionNeed::Target:
        if (state >= LINK_MCU_CONNECTED)
            return true;
        WriteInforAndWaitInput("Error. Don't connect device!");
        return false;
    }
    return false;
}
