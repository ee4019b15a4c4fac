#pragma once

#include <string>

// -otp's parts: the file name rule, the file into the record list, the list into the device.
bool IsValidOTPFileName(const std::string& path);
bool OTPProjectFileOpen(const std::string& path);
bool WriteOTPData();
