// The probe's own settings (group 0xB0: supply voltage, timing, buzzer, USART bridge, offline ISP
// parameters, display firmware version) and its production tests (group 0xCF), one row per command.
#pragma once

#include "command.h"

namespace korvex::settings_cmd {

using F = RequestForm;
using E = SubEcho;

//                                                  name                       grp   sub   request   count / echo / timeout / silent
inline constexpr Command GetOfflineDNState = dataCommand("GetOfflineDNState", 0xB0, 0x0B, F::Query, 1);
inline constexpr Command GetTargetStableTime = dataCommand("GetTargetStableTime", 0xB0, 0x0C, F::Query, 4, E::Compare, kShort, R3);
inline constexpr Command SetTargetStableTime = statusCommand("SetTargetStableTime", 0xB0, 0x0D, F::Parameter, kLong);
inline constexpr Command GetVoltageLevelValue = dataCommand("GetVoltageLevelValue", 0xB0, 0x0E, F::Parameter, 3, E::Compare, kShort, R3);
inline constexpr Command SetVoltageLevelValue = statusCommand("SetVoltageLevelValue", 0xB0, 0x0F, F::Parameter);
inline constexpr Command GetVoltageState = dataCommand("GetVoltageState", 0xB0, 0x10, F::Query, 1, E::Compare, kShort, R3);
inline constexpr Command SetVoltageState = statusCommand("SetVoltageState", 0xB0, 0x11, F::Parameter);
inline constexpr Command GetVoltageCurrentLevel = dataCommand("GetVoltageCurrentLevel", 0xB0, 0x12, F::Query, 1, E::Compare, kShort, R3);
inline constexpr Command SetVoltageCurrentLevel = statusCommand("SetVoltageCurrentLevel", 0xB0, 0x13, F::Parameter);
inline constexpr Command GetTVCCVoltageValue = dataCommand("GetTVCCVoltageValue", 0xB0, 0x14, F::Query, 9, E::Compare, kShort, R3);
inline constexpr Command GetOfflineDownloadType = dataCommand("GetOfflineDownloadType", 0xB0, 0x15, F::Query, 1, E::Compare, kShort, R3);
inline constexpr Command SetOfflineDownloadType = statusCommand("SetOfflineDownloadType", 0xB0, 0x16, F::Parameter);
inline constexpr Command GetOfflineISPUartBps = dataCommand("GetOfflineISPUartBps", 0xB0, 0x17, F::Query, 4, E::Compare, kShort, R3);
inline constexpr Command SetOfflineISPUartBps = statusCommand("SetOfflineISPUartBps", 0xB0, 0x18, F::Parameter);
inline constexpr Command GetOfflineISPAutoBoot = dataCommand("GetOfflineISPAutoBoot", 0xB0, 0x19, F::Query, 1, E::Compare, kShort, R3);
inline constexpr Command SetOfflineISPAutoBoot = statusCommand("SetOfflineISPAutoBoot", 0xB0, 0x1A, F::Parameter);
inline constexpr Command GetBuzzerState = dataCommand("GetBuzzerState", 0xB0, 0x1B, F::Query, 1, E::Compare, kShort, R3);
inline constexpr Command SetBuzzerState = statusCommand("SetBuzzerState", 0xB0, 0x1C, F::Parameter);
inline constexpr Command GetMachineBurningState = dataCommand("GetMachineBurningState", 0xB0, 0x1D, F::Query, 10, E::IsResult, kShort, R3);
inline constexpr Command SetMachineBurningState = statusCommand("SetMachineBurningState", 0xB0, 0x1E, F::Parameter, kShort, R3);
inline constexpr Command GetUSBToUsartState = dataCommand("GetUSBToUsartState", 0xB0, 0x1F, F::Query, 1, E::Compare, kShort, R3);
inline constexpr Command SetUSBToUsartState = statusCommand("SetUSBToUsartState", 0xB0, 0x20, F::Parameter);
// B0 22 02, then as many bytes as the caller asks for.
inline constexpr Command GetLCDFWVersion = dataCommand("GetLCDFWVersion", 0xB0, 0x22, F::Query, 2, E::Compare, kShort, R3);
inline constexpr Command GetUsartAutoMode = dataCommand("GetUsartAutoMode", 0xB0, 0x24, F::Query, 1, E::Ignored, kShort, R3);
inline constexpr Command SetUsartAutoMode = statusCommand("SetUsartAutoMode", 0xB0, 0x25, F::Parameter);

// Factory reset and production tests (0xCF).
inline constexpr Command FactoryDataReset = statusCommand("FactoryDataReset", 0xCF, 0x03, F::Block, kLong);
inline constexpr Command PinTestMode = dataCommand("PinTestMode", 0xCF, 0x04, F::Parameter, 4, E::Compare, kMedium, R3);
// The probe resets or starts blinking at once and never answers.
inline constexpr Command PinTestNoReply =
    Command{"PinTestSysReset", 0xCF, 0x04, F::Parameter, ReplyForm::None, kAnyCount, E::Compare, kShort, R2};
inline constexpr Command PROLCDTestMode = statusCommand("PROLCDTestMode", 0xCF, 0x07, F::Parameter, kLong);

}  // namespace korvex::settings_cmd
