#pragma once

// What a command needs connected before it reads its sub-options.
enum class ConnectionNeed {
    Mcu,    // target MCU (with or without the BLE module): "Error. Don't connect MCU!"
    Ble,    // BLE module (with or without the MCU): "Error. Don't connect BLE module!"
    Target, // any target, MCU or BLE module: "Error. Don't connect device!"
};

// True when the need is met; otherwise prints the missing connection's line and returns false.
bool HasConnection(ConnectionNeed need);

// True when the connected MCU has boot memory AP mode and it is on; otherwise prints which is missing.
bool BootMemoryReachable();

// True when the connected MCU has SPIM and it is enabled; otherwise prints which is missing.
bool SpimReachable();
