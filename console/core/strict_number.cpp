#include "strict_number.h"

#include <limits>

namespace {

int DigitValue(char c, int base)
{
    int digit = -1;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

// Every character a digit of the base, at least one, the value at most limit.
bool ParseDigits(const std::string& text, size_t from, int base, uint64_t limit, uint64_t& value)
{
    if (from >= text.size())
        return false;
    value = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit)
            return false; // also keeps the next multiplication from overflowing
    }
    return true;
}

} // namespace

bool ParseDecimal(const std::string& text, uint32_t limit, uint32_t& value)
{
    uint64_t wide = 0;
    if (!ParseDigits(text, 0, 10, limit, wide))
        return false;
    value = static_cast<uint32_t>(wide);
    return true;
}

bool ParseHex32(const std::string& text, uint32_t& value)
{
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    uint64_t wide = 0;
    if (!ParseDigits(text, prefixed ? 2 : 0, 16, std::numeric_limits<uint32_t>::max(), wide))
        return false;
    value = static_cast<uint32_t>(wide);
    return true;
}

bool ParseSectorRange(const std::string& text, int32_t& first, int32_t& last)
{
    constexpr uint32_t kLargest = std::numeric_limits<int32_t>::max();
    const std::string::size_type dash = text.find('-');
    uint32_t a = 0;
    uint32_t b = 0;
    if (dash == std::string::npos) {
        if (!ParseDecimal(text, kLargest, a))
            return false;
        b = a;
    } else if (!ParseDecimal(text.substr(0, dash), kLargest, a) || !ParseDecimal(text.substr(dash + 1), kLargest, b)) {
        return false; // a second dash fails here as a non-digit
    }
    first = static_cast<int32_t>(a);
    last = static_cast<int32_t>(b);
    return true;
}
