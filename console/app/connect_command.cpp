#include "connect_command.h"

#include "command_handlers.h"
#include "console_output.h"
#include "exit_codes.h"
#include "ShareParameter.h"

KORVEX_HANDLE m_handle = 0;

namespace {
void ClearBleGeometry()
{
    g_shareParameter.BLEFlashSectorSize = 0;
    g_shareParameter.BLEFlashSize = 0;
    g_shareParameter.BLEFlashAddress = 0;
}
} // namespace

int Connect(int, char*[], int& index)
{
    ShareParameter& shared = g_shareParameter;
    WriteInforAndWaitInput("Connect......");
    ++index;
    if (!KorvexConnect())
        return OP_CONNECT_FAILD;
    shared.m_ConnectFlag = LINK_CONNECTED;
    if (DeviceConnect())
        shared.m_ConnectFlag = LINK_MCU_CONNECTED;
    Korvex_BLEConnect();
    if (shared.ZR32DeviceSerial == ZR32_S17 && shared.m_ConnectFlag == LINK_MCU_CONNECTED)
        WriteInforAndWaitInput("Bluetooth module not connected");
    if (shared.m_ConnectFlag < LINK_MCU_CONNECTED) {
        WriteInforAndWaitInput("Error. Korvex connected, but target device connect failed.");
        return OP_CONNECT_FAILD;
    }
    WriteInforAndWaitInput("");
    return OP_SUCCESS;
}

// The probe library has no enumeration yet, so no probe is ever listed.
bool KorvexConnect()
{
    WriteInforAndWaitInput("Error. No Korvex device.");
    return false;
}

bool DeviceConnect()
{
    WriteInforAndWaitInput("MCU connect failed");
    return false;
}

void Korvex_BLEConnect()
{
    ClearBleGeometry();
}

void KorvexDisConnect()
{
    if (m_handle == 0)
        return;
    m_handle = 0;
}
