#pragma once

#include "file_info.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// User system data files hold the device image of a block: every logical byte followed by its
// bitwise complement, 2L bytes for a block of L bytes.

// The device image of a logical block.
std::vector<uint8_t> ToDeviceImage(const uint8_t* block, int length);

// The logical block of length bytes from a loaded user system data file: the even-numbered bytes
// of its first part. False when that part holds fewer than 2 * length bytes, for the bytes past
// a gap or a second address record are not defined there.
bool BlockFromImageFile(const FileInfo& image, int length, std::vector<uint8_t>& block);

// Intel HEX text of file content: an extended linear address record and an extended segment
// address record, both 0, data records of 16 bytes from offset 0, each line ended by CR LF, then
// the end-of-file record with no line end.
std::string FormatUserSystemDataHex(const uint8_t* content, size_t size);
