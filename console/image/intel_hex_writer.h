#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Writes a contiguous block as Intel HEX text, one 64 KiB segment at a time: an extended linear
// address record for the segment, then its data records of 16 bytes, each line ended by "\n";
// the end-of-file record closes the text without a line end. No record crosses a 64 KiB
// boundary, so a block that does not start on a 16-byte boundary still reads back at its
// addresses. emit receives the text piece by piece and returns false to stop.
bool WriteIntelHexText(const uint8_t* data, size_t size, uint32_t startAddress,
                       const std::function<bool(const std::string&)>& emit);

// The whole text at once.
std::string FormatIntelHex(const uint8_t* data, size_t size, uint32_t startAddress);
