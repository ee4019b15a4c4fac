// Parsing of configuration values: numbers, hex byte strings, address:file pairs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksim {

// Decimal, or hex with a 0x prefix; nothing for junk or values above max.
std::optional<uint64_t> parseNumber(const std::string &text, uint64_t max);
// Hex with or without 0x.
std::optional<uint64_t> parseHex(const std::string &text, uint64_t max);
// "B0 00 05" or "B00005"; nothing for an odd digit count or junk.
std::optional<std::vector<uint8_t>> parseHexBytes(const std::string &text);
// Splits at the first occurrence of sep; nothing when sep is missing.
std::optional<std::pair<std::string, std::string>> splitAt(const std::string &text, char sep);
bool readBinaryFile(const std::string &path, std::vector<uint8_t> &bytes, std::string &error);

}  // namespace ksim
