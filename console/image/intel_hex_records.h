#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Text of Intel HEX records: upper-case digits, the standard checksum (0x100 minus the low byte
// of the sum of all record bytes), and the line end the caller chooses.

constexpr uint8_t HEX_RECORD_DATA = 0x00;
constexpr uint8_t HEX_RECORD_EXTENDED_SEGMENT_ADDRESS = 0x02;
constexpr uint8_t HEX_RECORD_EXTENDED_LINEAR_ADDRESS = 0x04;
constexpr size_t HEX_BYTES_PER_RECORD = 16;

// The end-of-file record; files end with it and no line end after it.
constexpr char HEX_END_OF_FILE_RECORD[] = ":00000001FF";

void AppendHexRecord(std::string& out, uint8_t type, uint16_t offset, const uint8_t* data, size_t size,
                     const char* lineEnd);

// A record of type 02 or 04 carrying one 16-bit value.
void AppendAddressRecord(std::string& out, uint8_t type, uint16_t value, const char* lineEnd);

// Data records of 16 bytes (the last one shorter) from the given 16-bit offset on; the bytes must
// not run past offset 0xFFFF.
void AppendDataRecords(std::string& out, uint16_t offset, const uint8_t* data, size_t size, const char* lineEnd);
