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

// Appends a value as upper-case hexadecimal digits: two for a byte, four for a word.
void AppendHexByte(std::string& out, uint8_t value);
void AppendHexWord(std::string& out, uint16_t value);
