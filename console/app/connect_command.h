#pragma once

#include "KORVEXLIB.h"

// The open probe handle; 0 when no probe is open.
extern KORVEX_HANDLE g_probeHandle;

// Finds, opens and describes the one probe.
bool KorvexConnect();
// Connects and identifies the target MCU.
bool DeviceConnect();
// Connects the BLE module when the probe and the target allow it.
void ConnectBle();
// Closes the probe and releases the library; nothing to do when no probe is open.
void KorvexDisConnect();
