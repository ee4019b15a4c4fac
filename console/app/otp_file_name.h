#pragma once

#include <string>

// True when the path names an OTP project file: it has a folder part (at least "./"), and the
// name after the last "/" is at least 4 characters long and ends in ZRTP in any letter case.
bool IsValidOTPFileName(const std::string& path);
