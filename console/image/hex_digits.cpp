#include "hex_digits.h"

#include <array>

namespace {

constexpr std::array<int8_t, 256> MakeDigitTable()
{
    std::array<int8_t, 256> table{};
    for (auto& entry : table)
        entry = -1;
    for (int i = 0; i < 10; ++i)
        table['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i) {
        table['A' + i] = static_cast<int8_t>(10 + i);
        table['a' + i] = static_cast<int8_t>(10 + i);
    }
    return table;
}

constexpr std::array<int8_t, 256> kDigitTable = MakeDigitTable();
constexpr char kUpperDigits[] = "0123456789ABCDEF";

} // namespace

bool IsAsciiBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigitValue(char c)
{
    return kDigitTable[static_cast<unsigned char>(c)];
}

const int16_t* HexPairTable()
{
    static const std::array<int16_t, 65536> table = [] {
        std::array<int16_t, 65536> pairs{};
        for (int first = 0; first < 256; ++first)
            for (int second = 0; second < 256; ++second) {
                const int high = kDigitTable[first], low = kDigitTable[second];
                pairs[first << 8 | second] = static_cast<int16_t>(high < 0 || low < 0 ? -1 : high << 4 | low);
            }
        return pairs;
    }();
    return table.data();
}

bool DecodeHexByte(const char* text, uint8_t& value)
{
    const int high = HexDigitValue(text[0]);
    const int low = HexDigitValue(text[1]);
    if (high < 0 || low < 0)
        return false;
    value = static_cast<uint8_t>(high << 4 | low);
    return true;
}

void AppendHexByte(std::string& out, uint8_t value)
{
    out.push_back(kUpperDigits[value >> 4]);
    out.push_back(kUpperDigits[value & 0x0F]);
}

void AppendHexWord(std::string& out, uint16_t value)
{
    AppendHexByte(out, static_cast<uint8_t>(value >> 8));
    AppendHexByte(out, static_cast<uint8_t>(value & 0xFF));
}
