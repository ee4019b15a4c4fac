#include "probe_description.h"

#include "connect_state.h"

std::string ProbeName(uint8_t hardwareVersion)
{
    switch (hardwareVersion) {
    case HW_VERSION_EZ:
    case HW_VERSION_EZ_E:
    case HW_VERSION_EZ_E256:
        return "Korvex-EZ";
    case HW_VERSION_V:
        return "Korvex-V";
    case HW_VERSION_PRO:
    case HW_VERSION_PRO_E:
        return "Korvex-Pro";
    case HW_VERSION_ISO:
        return "Korvex ISO";
    case HW_VERSION_PLUS:
        return "Korvex Plus";
    case HW_VERSION_EZ_BLE:
    case HW_VERSION_EZ_BLE_E:
        return "Korvex-EZ BLE";
    case HW_VERSION_SLT_S17:
        return "ZRSLT_S17";
    default:
        return "Korvex";
    }
}

std::string TransportText(uint8_t transportType)
{
    switch (transportType) {
    case 0:
        return "(HID)";
    case 1:
        return "(WinUSB)";
    default:
        return "";
    }
}

std::string ProbeLine(const uint8_t (&version)[4], const std::string& serial, uint8_t transportType)
{
    return ProbeName(version[3]) + "  FW: V" + std::to_string(version[0]) + "." + std::to_string(version[1]) + "." +
           std::to_string(version[2]) + "    Serials: " + serial + "      " + TransportText(transportType);
}

bool ProbeReachesBle(uint8_t hardwareVersion)
{
    return hardwareVersion == HW_VERSION_PLUS || hardwareVersion == HW_VERSION_EZ_BLE ||
           hardwareVersion == HW_VERSION_EZ_BLE_E;
}
