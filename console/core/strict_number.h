#pragma once

#include <cstdint>
#include <string>

// Numbers as the command line writes them, read strictly: a text that is not exactly a number of
// its kind is refused rather than read up to its first stray character, because a number read
// leniently would erase or write somewhere nobody named.

// Decimal digits only, at most limit.
bool ParseDecimal(const std::string& text, uint32_t limit, uint32_t& value);

// An optional 0x (or 0X) and hexadecimal digits only, within 32 bits.
bool ParseHex32(const std::string& text, uint32_t& value);

// "n" or "n-m", each decimal digits only and at most 2147483647; "n" means n-n. No order is
// required of n and m here.
bool ParseSectorRange(const std::string& text, int32_t& first, int32_t& last);
