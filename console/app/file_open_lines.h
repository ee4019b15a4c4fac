#pragma once

#include "file_info.h"

#include <string>

// Opening the files that commands read, with the lines each command prints around it. The
// command-line check prints the same lines for a file that is missing before the run starts, so
// the two cannot drift apart.

// -d: "Download file opening......", the reason, then "Error. Open file failed!" or "Open file succeed!".
bool OpenDownloadImage(const std::string& path, FileInfo& info);

// -usd --set: "User system data file opening......", the reason, then "Error. Open file failed!"
// or "Open file succeed!".
bool OpenUserSystemDataFile(const std::string& path, FileInfo& info);

// -otp: the line of a project file that cannot be read.
void PrintOtpFileFailure();
