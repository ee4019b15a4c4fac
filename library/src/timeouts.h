// Time-outs of the USB layer.
#pragma once

#include <cstdint>

namespace korvex {

constexpr unsigned kSendTimeoutMs = 2000;
constexpr unsigned kDrainTimeoutMs = 10;

// A command's reply time-out as actually waited for. Test benches that provoke silent probes set
// KORVEXLIB_TIMEOUT_DIVISOR (an integer from 1 to 1000, read once) to shorten every reply wait
// by that factor; a minimum of 1 ms stays. Unset or invalid: the time-outs as given.
unsigned replyTimeoutMs(uint32_t commandTimeoutMs);

}  // namespace korvex
