#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// White space as a text stream trims it: blank, tab, line and page breaks.
bool IsAsciiBlank(char c);

// Value of one hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// Two hexadecimal digits as a byte; false when either is not a digit.
bool DecodeHexByte(const char* text, uint8_t& value);

// Values of all pairs of characters, indexed by first character * 256 + second: the byte the two
// hexadecimal digits give, or a negative number when either is not a digit.
const int16_t* HexPairTable();

inline int HexPairValue(const int16_t* table, const char* text)
{
    return table[static_cast<unsigned char>(text[0]) << 8 | static_cast<unsigned char>(text[1])];
}

// count bytes from 2 * count hexadecimal digits into out, adding each byte to sum; false when a
// character is not a digit (out and sum are then undefined).
bool DecodeHexBytes(const char* text, size_t count, uint8_t* out, uint32_t& sum);

// Appends a value as upper-case hexadecimal digits: two for a byte, four for a word.
void AppendHexByte(std::string& out, uint8_t value);
void AppendHexWord(std::string& out, uint16_t value);
