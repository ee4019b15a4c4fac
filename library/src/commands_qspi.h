// External QSPI flash behind the target (group 0xC2), one row per command. The register and
// single-word requests carry the address right after the sub-command; the memory requests use the
// memory form. Every silent probe gives 2.
#pragma once

#include "command.h"

namespace korvex::qspi_cmd {

using F = RequestForm;

inline constexpr Command BitWrite = statusCommand("QSPI_Bit_Write", 0xC2, 0x00, F::Address);
inline constexpr Command WriteOnlyTransfer = statusCommand("QSPI_Write_Only_Transfer", 0xC2, 0x01, F::Address);
// C2 02, the address echo (4), then up to 4 data bytes: a wrong sub echo is the result.
inline constexpr Command ReadOnlyTransfer =
    dataCommand("QSPI_Read_Only_Transfer", 0xC2, 0x02, F::Address, kAnyCount, SubEcho::IsResult);
inline constexpr Command SetState = statusCommand("QSPI_Set_State", 0xC2, 0x03, F::Parameter);
inline constexpr Command SetRegisterBaseAddr = statusCommand("QSPI_Set_Register_Base_Addr", 0xC2, 0x04, F::Parameter);
inline constexpr Command ReadMemory =
    Command{"QSPI_Read_Memory", 0xC2, 0x05, F::Memory, ReplyForm::MemoryData, kAnyCount, SubEcho::IsResult, kShort, R2};
inline constexpr Command WriteMemory = statusCommand("QSPI_Write_Memory", 0xC2, 0x06, F::Memory);
inline constexpr Command SectorErase = statusCommand("QSPI_Sector_Erase_Memory", 0xC2, 0x07, F::Memory, kLong);
inline constexpr Command BlockErase = statusCommand("QSPI_Block_Erase_Memory", 0xC2, 0x08, F::Memory, kLong);
inline constexpr Command ChipErase = statusCommand("QSPI_Chip_Erase_Memory", 0xC2, 0x09, F::Memory, kVeryLong);
inline constexpr Command ConfigCmdParameter = statusCommand("QSPI_Config_Cmd_Parameter", 0xC2, 0x0A, F::Parameter);
inline constexpr Command SendCustomCmd = statusCommand("QSPI_Send_Custom_Cmd", 0xC2, 0x0B, F::Parameter);

}  // namespace korvex::qspi_cmd
