#pragma once

#include <cstdint>

// What the run has connected so far; moves only forward within a run.
enum ConnectState : int32_t {
    DISCONNECTED = 0,           // nothing connected
    LINK_CONNECTED = 1,         // probe open, target MCU not connected
    LINK_MCU_CONNECTED = 2,     // probe and target MCU
    LINK_BLE_CONNECTED = 3,     // probe and BLE module, target MCU not
    LINK_MCU_BLE_CONNECTED = 4, // probe, target MCU and BLE module
};

// Hardware version of the probe (byte 3 of its version reply).
enum ProbeHardwareVersion : int32_t {
    HW_VERSION_EZ = 0,
    HW_VERSION_BASIC = 1,
    HW_VERSION_V = 2,
    HW_VERSION_PRO = 3,
    HW_VERSION_PRO_E = 4,
    HW_VERSION_EZ_E = 5,
    HW_VERSION_BASIC_E = 6,
    HW_VERSION_ISO = 7,
    HW_VERSION_BASIC_E1 = 8,
    HW_VERSION_EZ_E256 = 9,
    HW_VERSION_PLUS = 10,
    HW_VERSION_EZ_BLE = 11,
    HW_VERSION_EZ_BLE_E = 12,
    HW_VERSION_SLT_S17 = 13,
};

// The commands count an MCU as connected in states 2 and 4, the BLE module in 3 and 4.
inline bool IsMcuConnected(ConnectState s)
{
    return s == LINK_MCU_CONNECTED || s == LINK_MCU_BLE_CONNECTED;
}

inline bool IsBleConnected(ConnectState s)
{
    return s == LINK_BLE_CONNECTED || s == LINK_MCU_BLE_CONNECTED;
}
