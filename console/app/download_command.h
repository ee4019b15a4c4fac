#pragma once

#include "file_info.h"

#include <string>

// True when every part's first and last address lies in a memory of the connected target;
// prints the reason at the first part that does not.
bool IsImageInTarget(const FileInfo& info);
// Reads every part back and stores the byte sum in memoryChecksum; the text is not used.
// False when a read fails or a byte read back differs from the image.
bool ReadBackAndCompare(const FileInfo& info, const std::string& text);
// True when every part reads back exactly as in the image (and so with the image's sum).
bool DownloadVerify(const FileInfo& info);
// Stores the checksum of the whole BLE flash image in the module.
bool StoreBleCrc(const uint8_t* bleImage);
