// The library's result codes beyond those declared in the public header.
#pragma once

#include "KORVEXLIB.h"

namespace korvex {

constexpr int kSuccess = 0;
constexpr int kStatusSuccess = 0xF1;  // the probe's "done" status byte
constexpr int kVerifyMismatch = KORVEX_VERIFY_MISMATCH;

}  // namespace korvex
