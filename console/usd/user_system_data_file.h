#pragma once

#include "file_info.h"
#include "mcu_series.h"

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

// The block of a user system data file as a command takes it: its first part must hold at least
// 2 * minimumLength bytes, and every pair taken must be a byte followed by its complement (the
// pairs of bytes 36 and 37 may also be 0x00 0x00 on the series that write them so), for a file
// of anything else, a firmware image given by mistake, could switch protection on. Takes
// minimumLength pairs, or every whole pair of the first part with wholeFirstPart. False, with
// block untouched, when the file does not qualify.
bool UserSystemDataBlockFromFile(const FileInfo& image, McuSeries series, int minimumLength, bool wholeFirstPart,
                                 std::vector<uint8_t>& block);

// Intel HEX text of file content: an extended linear address record and an extended segment
// address record, both 0, data records of 16 bytes from offset 0, each line ended by CR LF, then
// the end-of-file record with no line end.
std::string FormatUserSystemDataHex(const uint8_t* content, size_t size);
