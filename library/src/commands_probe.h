// Probe information and link settings (groups 0xB0 and 0xBB), one row per command.
#pragma once

#include "command.h"

namespace korvex::probe_cmd {

using F = RequestForm;

//                                             name                    grp   sub   request       count / timeout / silent
inline constexpr Command GetVersion = dataCommand("GetVersion", 0xB0, 0x00, F::Query, 5, SubEcho::Compare, kShort, R3);
inline constexpr Command GetAPPState = dataCommand("GetAPPState", 0xB0, 0x00, F::Query, 5, SubEcho::Compare, kShort, R3);
inline constexpr Command GetEncKey = dataCommand("GetEncKey", 0xB0, 0x01, F::Query, 4);
inline constexpr Command SetEncKey = statusCommand("SetEncKey", 0xB0, 0x02, F::Parameter, kLong);
inline constexpr Command GetSWDSpeed = dataCommand("GetSWDSpeed", 0xB0, 0x03, F::Query, 4);
inline constexpr Command SetSWDSpeed = statusCommand("SetSWDSpeed", 0xB0, 0x04, F::Parameter);
inline constexpr Command GetRsetMode = dataCommand("GetRsetMode", 0xB0, 0x05, F::Query, 1);
inline constexpr Command SetRsetMode = statusCommand("SetRsetMode", 0xB0, 0x06, F::Parameter);
inline constexpr Command GetLinkUID = dataCommand("GetLinkUID", 0xB0, 0x07, F::Query, 12);
inline constexpr Command GetButtonFreeState = dataCommand("GetButtonFreeState", 0xB0, 0x08, F::Query, 1);
inline constexpr Command SetButtonFreeState = statusCommand("SetButtonFreeState", 0xB0, 0x09, F::Parameter);
inline constexpr Command GetOfflineStepState = dataCommand("GetOfflineStepState", 0xB0, 0x0A, F::Query, 1);
inline constexpr Command SetSWDAutoDetect = statusCommand("SetSWDAutoDetect", 0xB0, 0x21, F::Parameter, kMedium);
inline constexpr Command SetVKPVersion = statusCommand("SetVKPVersion", 0xB0, 0x23, F::Parameter);
inline constexpr Command GetBLESPIRate = dataCommand("GetBLESPIRate", 0xB0, 0x26, F::Query, 1, SubEcho::Ignored, kShort, R3);
inline constexpr Command SetBLESPIRate = statusCommand("SetBLESPIRate", 0xB0, 0x27, F::Parameter);
inline constexpr Command EncryptionSwitch = statusCommand("EncryptionTrans", 0xBB, 0x00, F::Parameter);

}  // namespace korvex::probe_cmd
