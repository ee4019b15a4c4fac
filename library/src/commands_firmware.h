// Firmware update of the probe (group 0xC0) and of its display (group 0xC1), one row per command.
#pragma once

#include "command.h"

namespace korvex::firmware_cmd {

using F = RequestForm;
using E = SubEcho;

// Probe firmware (0xC0): the firmware form, except for the data packets (length, address, data).
// C0 00, one byte, 01, the mode byte.
inline constexpr Command EnterFWUpdateMode = dataCommand("EnterFWUpdateMode", 0xC0, 0x00, F::Firmware, kAnyCount);
inline constexpr Command FWUpdateBegin = statusCommand("FWUpdateBegin", 0xC0, 0x01, F::Firmware);
inline constexpr Command FWUpdateSetCodeRange = statusCommand("FWUpdateSetCodeRange", 0xC0, 0x02, F::Firmware, kLong);
inline constexpr Command FWUpdateSendData = statusCommand("FWUpdateSendData", 0xC0, 0x03, F::Block);
inline constexpr Command FWUpdateEnd = statusCommand("FWUpdateEnd", 0xC0, 0x04, F::Firmware);
// C0 05, two bytes, the verdict.
inline constexpr Command FWUpdateVerify = dataCommand("FWUpdateVerify", 0xC0, 0x05, F::Firmware, kAnyCount, E::Compare, kLong);
inline constexpr Command FWRun = statusCommand("FWRun", 0xC0, 0x06, F::Firmware);

// Display firmware (0xC1): the first command in the firmware form, the others in the parameter form.
inline constexpr Command EnterLCDFWUpdateMode = statusCommand("EnterLCDFWUpdateMode", 0xC1, 0x00, F::Firmware);
inline constexpr Command LCDFWUpdateBegin = statusCommand("LCDFWUpdateBegin", 0xC1, 0x01, F::Parameter);
inline constexpr Command LCDFWUpdateSetCodeSize = statusCommand("LCDFWUpdateSetCodeSize", 0xC1, 0x02, F::Parameter, kLong);
inline constexpr Command LCDFWUpdateSendData = statusCommand("LCDFWUpdateSendData", 0xC1, 0x03, F::Parameter);
inline constexpr Command LCDFWUpdateEnd = statusCommand("LCDFWUpdateEnd", 0xC1, 0x04, F::Parameter, kMedium);

}  // namespace korvex::firmware_cmd
