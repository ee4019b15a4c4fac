// BLE module commands (group 0xBE), one row per command. All answer within 3000 ms.
#pragma once

#include "command.h"

namespace korvex::ble_cmd {

using F = RequestForm;

inline constexpr Command Connect = statusCommand("BLECHIP_ConnectOperation", 0xBE, 0x00, F::Parameter);
inline constexpr Command SelectFlashSpace = statusCommand("BLECHIP_SelectFlashSpace", 0xBE, 0x01, F::Parameter);
inline constexpr Command SetCRCValue = statusCommand("BLECHIP_SetCRCValue", 0xBE, 0x02, F::Parameter);
inline constexpr Command FlashSendData = statusCommand("BLECHIP_FlashSendData", 0xBE, 0x03, F::Memory);
inline constexpr Command FlashReadData =
    Command{"BLECHIP_FlashReadData", 0xBE, 0x04, F::Memory, ReplyForm::MemoryData, kAnyCount, SubEcho::IsResult, kShort, R2};
inline constexpr Command Erase = statusCommand("BLECHIP_EraseOperation", 0xBE, 0x00, F::Memory);  // byte 1: erase type
inline constexpr Command WriteReg = statusCommand("BLECHIP_WriteReg", 0xBE, 0x08, F::Query);
inline constexpr Command ReadReg = dataCommand("BLECHIP_ReadReg", 0xBE, 0x09, F::Query, kAnyCount, SubEcho::IsResult);
inline constexpr Command SPICommand = statusCommand("BLECHIP_SPICommand", 0xBE, 0x0A, F::Query);
inline constexpr Command GetFlashSpace = dataCommand("BLECHIP_GetFlashSpace", 0xBE, 0x0B, F::Query, 1, SubEcho::IsResult);
inline constexpr Command Protect = statusCommand("BLECHIP_ProtectOperation", 0xBE, 0x0C, F::Parameter);
inline constexpr Command GetProtectStatus = dataCommand("BLECHIP_GetProtectStatus", 0xBE, 0x0D, F::Query, 1, SubEcho::IsResult);
inline constexpr Command CheckCRC = dataCommand("BLECHIP_CheckCRC", 0xBE, 0x0E, F::Query, 1, SubEcho::IsResult);

}  // namespace korvex::ble_cmd
