#pragma once

#include <string>

// -otp's parts (the file name rule is in otp_file_name.h): the file into the record list, the
// list into the device.
bool OTPProjectFileOpen(const std::string& path);
bool WriteOTPData();
