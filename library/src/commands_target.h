// Target commands (groups 0xB1 to 0xB6, 0xBB, 0xCF), one row per command.
#pragma once

#include "command.h"

namespace korvex::target_cmd {

using F = RequestForm;

// Identity, state, connection (0xB1).
inline constexpr Command GetStatus = dataCommand("GetStatus_Target", 0xB1, 0x00, F::Parameter, 1);
inline constexpr Command GetDeviceID = dataCommand("GetDeviceID_Target", 0xB1, 0x01, F::Query, 5);
inline constexpr Command GetFlashSize = dataCommand("GetFlashSize_Target", 0xB1, 0x02, F::Query, 2);
inline constexpr Command SetState = statusCommand("SetState_Target", 0xB1, 0x03, F::Parameter);
inline constexpr Command GetConnectState = dataCommand("GetTargetConnectState", 0xB1, 0x04, F::Query, 1);
inline constexpr Command SetDeviceID = statusCommand("SetDeviceID_Target", 0xB1, 0x05, F::Parameter);

// Memory (0xB2 read, 0xB3 write and brackets; byte 1 is the memory type or sequence kind).
inline constexpr Command ReadMemory =
    Command{"ReadMemory_Target", 0xB2, 0x00, F::Memory, ReplyForm::MemoryData, kAnyCount, SubEcho::IsResult, kShort, R2};
inline constexpr Command WriteMemory = statusCommand("WriteMemory_Target", 0xB3, 0x00, F::Memory);
inline constexpr Command WriteBeginEnd = statusCommand("WriteBeginEnd_Target", 0xB3, 0x00, F::Parameter);

// Erase (0xB4; byte 1 is the erase type, the time-out depends on it).
inline constexpr Command Erase = statusCommand("Erase_Target", 0xB4, 0x00, F::Memory);

// Protection, security library areas, CRC, boot memory AP mode (0xB5).
inline constexpr Command AccessProtect = statusCommand("AccessProtect_Target", 0xB5, 0x00, F::Parameter);
inline constexpr Command UnAccessProtect = statusCommand("UnAccessProtect_Target", 0xB5, 0x00, F::Parameter, kLong);
// The protect request carries a fixed count byte and marker, not a parameter list.
inline constexpr Command EraseWriteProtect = statusCommand("EraseWriteProtect_Target", 0xB5, 0x01, F::Query);
inline constexpr Command UnEraseWriteProtect = statusCommand("UnEraseWriteProtect_Target", 0xB5, 0x01, F::Parameter);
inline constexpr Command GetSlibState = dataCommand("GetSlibState_Target", 0xB5, 0x02, F::Query, 9, SubEcho::Compare, kShort, R3);
inline constexpr Command SetSlib = statusCommand("EnableSlib_Target", 0xB5, 0x03, F::Parameter, kLong, R3);
inline constexpr Command GetCRCValue = dataCommand("GetCRCValue_Target", 0xB5, 0x06, F::Parameter, 6, SubEcho::Compare, kMedium, R3);
inline constexpr Command GetSectorCRCValue = dataCommand("GetSectorCRCValue_Target", 0xB5, 0x06, F::Parameter, 6, SubEcho::Compare, kShort, R3);
inline constexpr Command GetSysSlibState = dataCommand("GetSysSlibState_Target", 0xB5, 0x07, F::Query, 2, SubEcho::Compare, kShort, R3);
inline constexpr Command SetSysSlib = statusCommand("EnableSysSlib_Target", 0xB5, 0x08, F::Parameter, kShort, R3);
inline constexpr Command GetSysAPMode = dataCommand("GetSysAPMode_Target", 0xB5, 0x09, F::Query, 1, SubEcho::Compare, kShort, R3);
inline constexpr Command SetSysAPMode = statusCommand("SetSysAPMode_Target", 0xB5, 0x0A, F::Parameter);

// Flash lock and SPIM (0xB6).
inline constexpr Command UnLockFlash = statusCommand("UnLockFlash_Target", 0xB6, 0x00, F::Parameter);
inline constexpr Command LockFlash = statusCommand("LockFlash_Target", 0xB6, 0x01, F::Parameter);
inline constexpr Command EnableSPIM = statusCommand("EnableSPIM_Target", 0xB6, 0x02, F::Parameter);

// Encrypted transfer to the target (0xBB).
inline constexpr Command EncryptionSwitch = statusCommand("EncryptionTrans_Target", 0xBB, 0x01, F::Parameter);

// Debug access (0xCF; width in the request, a 9-byte reply header).
inline constexpr Command DebugRead =
    Command{"DebugReadMemory_Target", 0xCF, 0x00, F::DebugMemory, ReplyForm::DebugData, kAnyCount, SubEcho::IsResult, kShort, R2};
inline constexpr Command DebugWrite = statusCommand("DebugWriteMemory_Target", 0xCF, 0x01, F::DebugMemory, kLong);
inline constexpr Command DebugWriteRegister = statusCommand("DebugWriteRegister_Target", 0xCF, 0x01, F::DebugMemory);

}  // namespace korvex::target_cmd
