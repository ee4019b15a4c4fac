#pragma once

#include "file_info.h"
#include "file_name.h"

#include <string>

// Loads the image at path into info and prints the reason on failure. A BIN file is loaded at
// the binary load address downloadAddress of g_shareParameter. True on success.
bool OpenFile(const std::string& path, FileInfo& info);

// Runs FileOperation::OpenFile on info (path, and startAddress for a binary file, already
// set) and prints the line that belongs to its result. False for codes 1, 2 and 3.
bool OpenDownloadFile(FileInfo& info);
