// Offline programming: the stored projects' code number and index (group 0xBB) and the images,
// option data, OTP data and configuration stored in the probe under a code index (groups 0xB7 to
// 0xBD), one row per command. Byte 1 of the stored-data rows is the base to which the index is
// added (with the area offset of the operation).
#pragma once

#include "command.h"

namespace korvex::offline_cmd {

using F = RequestForm;
using E = SubEcho;

// Code number and index (0xBB).
inline constexpr Command GetCodeNumber = dataCommand("GetCodeNumber", 0xBB, 0x02, F::Query, 1);
inline constexpr Command SetCodeNumber = statusCommand("SetCodeNumber", 0xBB, 0x03, F::Parameter, kLong);
inline constexpr Command GetDownloadCodeIndex = dataCommand("GetDownloadCodeIndex", 0xBB, 0x04, F::Query, 2);
inline constexpr Command SetDownloadCodeIndex = statusCommand("SetDownloadCodeIndex", 0xBB, 0x05, F::Parameter);
inline constexpr Command DeleteOfflineConfIndex = statusCommand("DeleteOfflineConfIndex", 0xBB, 0x06, F::Parameter);
inline constexpr Command BeginOfflineDownloadCode = statusCommand("BeginOfflineDownloadCode", 0xBB, 0x07, F::Parameter);
inline constexpr Command GetDownloadTimes = dataCommand("GetDownloadTimes", 0xBB, 0x08, F::Parameter, 4);
inline constexpr Command GetProjectOneDownloadFunc = dataCommand("GetProjectOneDownloadFunc", 0xBB, 0x09, F::Query, 1);

// Stored images (0xB7 write and verify, 0xB9 read).
inline constexpr Command WriteMemory = statusCommand("WriteMemory_Device", 0xB7, 0x00, F::Memory);
// B7 (index + 0x10), one byte, the verdict: a wrong index echo is the result.
inline constexpr Command VerifyMainData =
    dataCommand("VerifyMainData_Device", 0xB7, 0x10, F::Parameter, kAnyCount, E::IsResult, kLong);
inline constexpr Command ReadMemory =
    Command{"ReadMemory_Device", 0xB9, 0x00, F::Memory, ReplyForm::MemoryData, kAnyCount, E::IsResult, kShort, R2};

// Option and OTP data (0xB8 write, 0xBA read): the 48-byte option block, then the areas by address.
inline constexpr Command WriteOPTData = statusCommand("WriteOPTData_Device", 0xB8, 0x00, F::Block);
inline constexpr Command WriteArea = statusCommand("WriteOPTDataExtend_Device_Sub", 0xB8, 0x00, F::Memory);
// BA index, the block length (2), then the block: a wrong index echo is the result.
inline constexpr Command ReadOPTData = dataCommand("ReadOPTData_Device", 0xBA, 0x00, F::Query, kAnyCount, E::IsResult);
inline constexpr Command ReadArea =
    Command{"ReadOPTDataExtend_Device_Sub", 0xBA, 0x00, F::Memory, ReplyForm::MemoryData, kAnyCount, E::IsResult, kShort, R2};

// Offline configuration parts (0xBC read: sub, length (2), data; 0xBD write).
inline constexpr Command GetOfflineConfig = dataCommand("GetOfflineConfig", 0xBC, 0x00, F::Query, kAnyCount, E::IsResult);
inline constexpr Command SetOfflineConfig = statusCommand("SetOfflineConfig", 0xBD, 0x00, F::Block);

// The probe's own memory, read in the debug form.
inline constexpr Command DebugReadMemory =
    Command{"DebugReadMemory_Device", 0xCF, 0x02, F::DebugMemory, ReplyForm::DebugData, kAnyCount, E::IsResult, kShort, R2};

}  // namespace korvex::offline_cmd
