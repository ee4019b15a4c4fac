#include "hex_digits.h"

#include <array>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

#ifdef __SSE2__
namespace {

// Sixteen characters as sixteen digit values; invalid collects the lanes that are no digit.
__m128i DigitValues(__m128i c, __m128i& invalid)
{
    const __m128i lower = _mm_or_si128(c, _mm_set1_epi8(0x20)); // 'A'-'F' as 'a'-'f'; digits unchanged
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('0' - 1)), _mm_cmplt_epi8(c, _mm_set1_epi8('9' + 1)));
    const __m128i letter =
        _mm_and_si128(_mm_cmpgt_epi8(lower, _mm_set1_epi8('a' - 1)), _mm_cmplt_epi8(lower, _mm_set1_epi8('f' + 1)));
    invalid = _mm_or_si128(invalid, _mm_andnot_si128(_mm_or_si128(digit, letter), _mm_set1_epi8(-1)));
    const __m128i digitValue = _mm_and_si128(digit, _mm_sub_epi8(c, _mm_set1_epi8('0')));
    const __m128i letterValue = _mm_and_si128(letter, _mm_sub_epi8(lower, _mm_set1_epi8('a' - 10)));
    return _mm_or_si128(digitValue, letterValue);
}

// Eight bytes from sixteen digit values: the first digit of each pair is the high half.
__m128i PairValues(__m128i values)
{
    const __m128i high = _mm_slli_epi16(_mm_and_si128(values, _mm_set1_epi16(0x00FF)), 4);
    return _mm_or_si128(high, _mm_srli_epi16(values, 8));
}

} // namespace
#endif

bool DecodeHexBytes(const char* text, size_t count, uint8_t* out, uint32_t& sum)
{
    size_t i = 0;
#ifdef __SSE2__
    // Sixteen bytes (32 digits) at a time: the usual record carries exactly that.
    __m128i invalid = _mm_setzero_si128();
    __m128i sums = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i first = DigitValues(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 2 * i)), invalid);
        const __m128i second = DigitValues(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 2 * i + 16)), invalid);
        const __m128i bytes = _mm_packus_epi16(PairValues(first), PairValues(second));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), bytes);
        sums = _mm_add_epi64(sums, _mm_sad_epu8(bytes, _mm_setzero_si128()));
    }
    if (_mm_movemask_epi8(invalid) != 0)
        return false;
    sum += static_cast<uint32_t>(_mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
#endif
    const int16_t* pairs = HexPairTable();
    int bad = 0;
    for (; i < count; ++i) {
        const int value = HexPairValue(pairs, text + 2 * i);
        bad |= value;
        out[i] = static_cast<uint8_t>(value);
        sum += static_cast<uint32_t>(value);
    }
    return bad >= 0;
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
