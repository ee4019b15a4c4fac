#include "connect_command.h"

#include "command_handlers.h"
#include "console_output.h"
#include "exit_codes.h"
#include "LinkInterface.h"
#include "McuIdentification.h"
#include "probe_description.h"
#include "ShareParameter.h"

#include <cstring>
#include <string>

KORVEX_HANDLE m_handle = 0;

namespace {
constexpr uint8_t kProbeListCapacity = 99;
constexpr int kSerialBufferSize = 99;
constexpr uint32_t kProgrammerVersion = 0x20321;
constexpr uint8_t kPrepareForProgramming = 1;

void SetBleGeometry(int32_t sectorSize, uint32_t size, uint32_t address)
{
    g_shareParameter.BLEFlashSectorSize = sectorSize;
    g_shareParameter.BLEFlashSize = size;
    g_shareParameter.BLEFlashAddress = address;
}

bool Fail(const char* line)
{
    WriteInforAndWaitInput(line);
    return false;
}

// Exactly one probe must be on the bus; the console never picks one by serial number.
bool OpenTheOnlyProbe()
{
    KORVEX_Init();
    uint8_t count = kProbeListCapacity;
    tagKORVEXDeviceInfo list{};
    KORVEX_GetKorvexDeviceList(&count, &list.deviceInfo[0][0]);
    if (count == 0)
        return Fail("Error. No Korvex device.");
    if (count > 1)
        return Fail("Error. Multiple Korvex devices detected, please select one of them to connect.");
    m_handle = KORVEX_Open(nullptr);
    if (m_handle == KORVEX_INVALID_HANDLE) {
        // Nothing is open, so nothing is left for the disconnect to close.
        m_handle = 0;
        KORVEX_Exit();
        return Fail("Error. Open Korvex device failed.");
    }
    m_LinkInterface.SetLinkHandle(m_handle);
    return true;
}

// Protected targets do not give their series away; -device supplies it to the probe.
bool IdentifyProtectedTarget(int& pid, int& series)
{
    m_LinkInterface.ReadPIDInfo(pid);
    if (m_LinkInterface.ReadUIDInfo(series) != 0)
        return true;
    series = g_shareParameter.ZR32DeviceSerial;
    return m_LinkInterface.KORVEXSetTargetDeviceID(static_cast<uint8_t>(series), pid) == 0;
}
} // namespace

int Connect(int, char*[], int& index)
{
    ShareParameter& shared = g_shareParameter;
    WriteInforAndWaitInput("Connect......");
    ++index;
    // The probe list must not be rebuilt under an open handle: a second -connect starts afresh.
    if (m_handle != 0) {
        KorvexDisConnect();
        shared.m_ConnectFlag = DISCONNECTED;
    }
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

bool KorvexConnect()
{
    if (!OpenTheOnlyProbe())
        return false;
    char serial[kSerialBufferSize + 1] = {};
    if (KORVEX_GetSerialNumber(m_handle, serial, kSerialBufferSize) != 0)
        return Fail("Error. Get Korvex serial number failed.");
    g_shareParameter.KorvexSerialsNumber = std::string(serial, strnlen(serial, kSerialBufferSize));
    uint8_t version[4] = {};
    if (KORVEX_GetVersion(m_handle, sizeof version, version) != 0)
        return Fail("Error. Get Korvex version failed.");
    g_shareParameter.KorvexType = static_cast<KorvexHWVerison>(version[3]);
    uint8_t transport = 0;
    m_LinkInterface.KORVEX_GetTransType_Interface(transport);
    WriteInforAndWaitInput(ProbeLine(version, g_shareParameter.KorvexSerialsNumber, transport));
    KORVEX_SetVKPVersion(m_handle, kProgrammerVersion);
    WriteInforAndWaitInput("Korvex connected");
    return true;
}

bool DeviceConnect()
{
    ShareParameter& shared = g_shareParameter;
    if (m_LinkInterface.SetTargetState(kPrepareForProgramming) != 0)
        return Fail("MCU connect failed");
    int level = 0;
    if (m_LinkInterface.IsAccessProtected(level) != 0 || level == -1)
        return Fail("MCU connect failed");
    int pid = 0;
    int series = 0;
    const bool isProtected = level == 1 || level == 2;
    if (isProtected) {
        if (!IdentifyProtectedTarget(pid, series))
            return Fail("MCU connect failed");
    } else {
        m_LinkInterface.ReadPIDInfo(pid);
        if (m_LinkInterface.ReadUIDInfo(series) == 0)
            return Fail("MCU connect failed");
    }
    const std::string flashSize = std::to_string(UpdataFlashSize(pid)) + "KB";
    const std::string partNumber = UpdataPartNumber(pid, series);
    if (partNumber.empty())
        return Fail("This version of VKP Programmer does not support the connected MCU.");
    ShareParameter::GetBootMemoryInfo(static_cast<MCUSERIALS>(series), shared.ZRCHIP_OTP3_ADDRESS,
                                      shared.ZRCHIP_OTP3_SIZE);
    shared.FlashSize = flashSize;
    shared.FlashSectorSize = UpdataFlashSectorSize(pid);
    WriteInforAndWaitInput("MCU Part Number:   " + partNumber + "        Flash size: " + flashSize);
    WriteInforAndWaitInput("MCU connected");
    if (isProtected)
        WriteInforAndWaitInput("MCU flash access protected");
    shared.ZR32Device = partNumber;
    shared.ZR32DeviceSerial = static_cast<MCUSERIALS>(series);
    return true;
}

void Korvex_BLEConnect()
{
    ShareParameter& shared = g_shareParameter;
    if (!ProbeReachesBle(static_cast<uint8_t>(shared.KorvexType)))
        return;
    const bool mayTry = shared.m_ConnectFlag != LINK_MCU_CONNECTED || shared.ZR32DeviceSerial == ZR32_S17;
    if (mayTry && m_LinkInterface.KORVEX_Connect_BLETarget()) {
        SetBleGeometry(ZR32_S17_BLE_SECTOR_SIZE, ZR32_S17_BLE_FLASH_SIZE, ZR32_S17_BLE_FLASH_ADDRESS);
        shared.m_ConnectFlag = shared.m_ConnectFlag == LINK_CONNECTED ? LINK_BLE_CONNECTED : LINK_MCU_BLE_CONNECTED;
        WriteInforAndWaitInput("Bluetooth module connected");
        return;
    }
    SetBleGeometry(0, 0, 0);
}

void KorvexDisConnect()
{
    if (m_handle == 0)
        return;
    KORVEX_Close(m_handle);
    KORVEX_Exit();
    m_LinkInterface.SetLinkHandle(0);
    m_handle = 0;
}
