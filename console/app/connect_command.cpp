#include "connect_command.h"

#include "command_handlers.h"
#include "console_output.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "probe_description.h"
#include "share_parameter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

KORVEX_HANDLE g_probeHandle = 0;

namespace {
constexpr uint8_t kProbeListCapacity = 99;
constexpr int kSerialBufferSize = 99;
constexpr uint32_t kProgrammerVersion = 0x20321;
constexpr uint8_t kPrepareForProgramming = 1;

void SetBleGeometry(int32_t sectorSize, uint32_t size, uint32_t address)
{
    g_shareParameter.bleFlashSectorSize = sectorSize;
    g_shareParameter.bleFlashSize = size;
    g_shareParameter.bleFlashAddress = address;
}

// Why the probe could not be opened, when the user can do something about it.
void ExplainOpenFailure(int reason)
{
    if (reason == EBUSY)
        PrintHint("The Korvex probe is in use by another program; wait for it to finish or close it.");
    else if (reason == EACCES)
        PrintHint("No permission to open the Korvex probe: install the probe's udev rule (see README).");
}

std::string SerialList(const tagKORVEXDeviceInfo& list, uint8_t count)
{
    std::string serials;
    for (uint8_t i = 0; i < count; ++i)
        serials += (i ? ", " : "") + std::string(list.deviceInfo[i]);
    return serials;
}

bool Listed(const tagKORVEXDeviceInfo& list, uint8_t count, const std::string& serial)
{
    for (uint8_t i = 0; i < count; ++i)
        if (serial == list.deviceInfo[i])
            return true;
    return false;
}

// Exactly one probe must be on the bus, unless KORVEX_PROBE names the one to use, so that a
// station with several probes can program several boards at once.
bool OpenTheOnlyProbe()
{
    KORVEX_Init();
    uint8_t count = kProbeListCapacity;
    tagKORVEXDeviceInfo list{};
    KORVEX_GetKorvexDeviceList(&count, &list.deviceInfo[0][0]);
    const char* chosen = std::getenv("KORVEX_PROBE");
    const std::string wanted = chosen != nullptr ? chosen : "";
    if (!wanted.empty() && !Listed(list, count, wanted)) {
        PrintFailure("Error. No Korvex device.");
        PrintHint("no probe has the serial number " + wanted + " that KORVEX_PROBE asks for; " +
                  (count ? "connected: " + SerialList(list, count) : "none is connected"));
        return false;
    }
    if (count == 0)
        return PrintFailure("Error. No Korvex device.");
    if (count > 1 && wanted.empty()) {
        PrintFailure("Error. Multiple Korvex devices detected, please select one of them to connect.");
        PrintHint("connected probes: " + SerialList(list, count) +
                  "; choose one with KORVEX_PROBE=<serial> in the environment (korvex-probes lists them)");
        return false;
    }
    g_probeHandle = KORVEX_Open(wanted.empty() ? nullptr : wanted.c_str());
    if (g_probeHandle == KORVEX_INVALID_HANDLE) {
        const int reason = errno;  // the library's reason, before anything else can change it
        // Nothing is open, so nothing is left for the disconnect to close.
        g_probeHandle = 0;
        KORVEX_Exit();
        PrintFailure("Error. Open Korvex device failed.");
        ExplainOpenFailure(reason);
        return false;
    }
    g_link.SetLinkHandle(g_probeHandle);
    return true;
}

// An access-protected target that was not named: say how to name it. Always false.
bool HintDevice()
{
    if (g_shareParameter.series == ZR32ErrorMCU2)
        PrintHint("the target is access-protected and does not report its part: name it with "
                  "-device PART before -connect (docs/parts.md lists the parts)");
    return false;
}

// Protected targets do not give their series away; -device supplies it to the probe.
bool IdentifyProtectedTarget(int& pid, int& series)
{
    g_link.ReadPIDInfo(pid);
    if (g_link.ReadUIDInfo(series) != 0)
        return true;
    series = g_shareParameter.series;
    return g_link.SetTargetDeviceId(static_cast<uint8_t>(series), pid) == 0;
}
} // namespace

int Connect(int, char*[], int& index)
{
    ShareParameter& shared = g_shareParameter;
    PrintLine("Connect......");
    ++index;
    // The probe list must not be rebuilt under an open handle: a second -connect starts afresh.
    if (g_probeHandle != 0) {
        KorvexDisConnect();
        shared.connectState = DISCONNECTED;
    }
    if (!KorvexConnect())
        return OP_CONNECT_FAILED;
    shared.connectState = LINK_CONNECTED;
    if (DeviceConnect())
        shared.connectState = LINK_MCU_CONNECTED;
    ConnectBle();
    if (shared.series == ZR32_S17 && shared.connectState == LINK_MCU_CONNECTED)
        PrintLine("Bluetooth module not connected");
    if (shared.connectState < LINK_MCU_CONNECTED) {
        PrintLine("Error. Korvex connected, but target device connect failed.");
        return OP_CONNECT_FAILED;
    }
    PrintLine("");
    return OP_SUCCESS;
}

bool KorvexConnect()
{
    if (!OpenTheOnlyProbe())
        return false;
    char serial[kSerialBufferSize + 1] = {};
    if (KORVEX_GetSerialNumber(g_probeHandle, serial, kSerialBufferSize) != 0)
        return PrintFailure("Error. Get Korvex serial number failed.");
    g_shareParameter.probeSerialNumber = std::string(serial, strnlen(serial, kSerialBufferSize));
    uint8_t version[4] = {};
    if (KORVEX_GetVersion(g_probeHandle, sizeof version, version) != 0)
        return PrintFailure("Error. Get Korvex version failed.");
    g_shareParameter.probeHardware = static_cast<ProbeHardwareVersion>(version[3]);
    uint8_t transport = 0;
    g_link.GetTransportType(transport);
    PrintLine(ProbeLine(version, g_shareParameter.probeSerialNumber, transport));
    KORVEX_SetVKPVersion(g_probeHandle, kProgrammerVersion);
    PrintLine("Korvex connected");
    return true;
}

bool DeviceConnect()
{
    ShareParameter& shared = g_shareParameter;
    if (g_link.SetTargetState(kPrepareForProgramming) != 0)
        return PrintFailure("MCU connect failed");
    int level = 0;
    if (g_link.IsAccessProtected(level) != 0 || level == -1)
        return PrintFailure("MCU connect failed");
    int pid = 0;
    int series = 0;
    const bool isProtected = level == 1 || level == 2;
    if (isProtected) {
        if (!IdentifyProtectedTarget(pid, series))
            return PrintFailure("MCU connect failed") || HintDevice();
    } else {
        g_link.ReadPIDInfo(pid);
        if (g_link.ReadUIDInfo(series) == 0)
            return PrintFailure("MCU connect failed");
    }
    const std::string flashSize = std::to_string(FlashKilobytesOfPid(pid)) + "KB";
    const std::string partNumber = PartNumberOfPid(pid, series);
    if (partNumber.empty())
        return PrintFailure("This version of VKP Programmer does not support the connected MCU.") || (isProtected && HintDevice());
    ShareParameter::GetBootMemoryInfo(static_cast<McuSeries>(series), shared.otp3Address,
                                      shared.otp3Size);
    shared.flashSizeText = flashSize;
    shared.flashSectorSize = SectorSizeOfPid(pid);
    PrintLine("MCU Part Number:   " + partNumber + "        Flash size: " + flashSize);
    PrintLine("MCU connected");
    if (isProtected)
        PrintLine("MCU flash access protected");
    shared.partName = partNumber;
    shared.series = static_cast<McuSeries>(series);
    return true;
}

void ConnectBle()
{
    ShareParameter& shared = g_shareParameter;
    if (!ProbeReachesBle(static_cast<uint8_t>(shared.probeHardware)))
        return;
    const bool mayTry = shared.connectState != LINK_MCU_CONNECTED || shared.series == ZR32_S17;
    if (mayTry && g_link.ConnectBleTarget()) {
        SetBleGeometry(ZR32_S17_BLE_SECTOR_SIZE, ZR32_S17_BLE_FLASH_SIZE, ZR32_S17_BLE_FLASH_ADDRESS);
        shared.connectState = shared.connectState == LINK_CONNECTED ? LINK_BLE_CONNECTED : LINK_MCU_BLE_CONNECTED;
        PrintLine("Bluetooth module connected");
        return;
    }
    SetBleGeometry(0, 0, 0);
}

void KorvexDisConnect()
{
    if (g_probeHandle == 0)
        return;
    KORVEX_Close(g_probeHandle);
    KORVEX_Exit();
    g_link.SetLinkHandle(0);
    g_probeHandle = 0;
}
