// Outcome of one operation on the probe or the target, as the probe reports it in its status byte.
#pragma once

#include <cstdint>

namespace ksim {

enum class Status : uint8_t {
    Ok = 0xF1,           // done
    BadRequest = 0xF2,   // unknown command or a request whose layout does not match
    OutOfRange = 0xF3,   // address, length or index outside the memory or table concerned
    Unavailable = 0xF4,  // the memory or feature is missing, not enabled, or not opened for writing
    Protected = 0xFE,    // refused by access, erase/program, OTP lock or BLE protection
    Failed = 0xFF,       // refused: wrong key or password, level cannot be undone, OTP already programmed
};

inline uint8_t statusByte(Status s) { return static_cast<uint8_t>(s); }

}  // namespace ksim
