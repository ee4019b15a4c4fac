#include "own_sub_options.h"

#include "console_output.h"
#include "exit_codes.h"
#include "option_test.h"
#include "share_parameter.h"

#include <cctype>

namespace {
bool ReadDigits(const std::string& digits, int base, uint32_t& value)
{
    if (digits.empty() || digits.size() > 10)
        return false;
    uint64_t number = 0;
    for (char c : digits) {
        const auto u = static_cast<unsigned char>(c);
        const bool ok = base == 16 ? std::isxdigit(u) != 0 : std::isdigit(u) != 0;
        if (!ok)
            return false;
        number = number * static_cast<uint64_t>(base) +
                 static_cast<uint64_t>(std::isdigit(u) ? u - '0' : std::tolower(u) - 'a' + 10);
    }
    if (number > UINT32_MAX)
        return false;
    value = static_cast<uint32_t>(number);
    return true;
}

const OwnSubOption* Find(const std::string& name, const std::vector<OwnSubOption>& own)
{
    for (const OwnSubOption& row : own) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}
} // namespace

bool ReadHexWord(const std::string& text, uint32_t& value)
{
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = prefixed ? text.substr(2) : text;
    // Leading zeros are harmless; only the significant digits count against 32 bits.
    const size_t first = digits.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "0" : digits.substr(first);
    return !digits.empty() && significant.size() <= 8 && ReadDigits(significant, 16, value) &&
           digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

bool ReadDecimal(const std::string& text, uint32_t& value)
{
    const size_t first = text.find_first_not_of('0');
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    return ReadDigits(first == std::string::npos ? "0" : text.substr(first), 10, value);
}

bool TakeValue(int argc, char* argv[], int index, ValueKind kind, uint32_t limit, uint32_t& value)
{
    const char* text = index < argc ? argv[index] : nullptr;
    bool ok = text != nullptr && !IsOption(text) && !IsSubOption(text);
    if (ok)
        ok = kind == ValueKind::HEX ? ReadHexWord(text, value) : ReadDecimal(text, value);
    if (ok && value <= limit)
        return true;
    PrintBadParameter(argv, index < argc ? index : argc);
    return false;
}

int WalkOwnSubOptions(int argc, char* argv[], int& index, const std::vector<OwnSubOption>& own,
                      const SubOptionSink& sink)
{
    for (++index; index < argc; ++index) {
        if (IsOption(argv[index]))
            return OP_SUCCESS;
        const OwnSubOption* row =
            IsSubOption(argv[index]) ? Find(ShareParameter::ToLower(argv[index]), own) : nullptr;
        if (row == nullptr) {
            PrintBadParameter(argv, index);
            return OP_BAD_PARAM;
        }
        uint32_t value = 0;
        if (row->kind != ValueKind::NONE) {
            if (!TakeValue(argc, argv, ++index, row->kind, row->limit, value))
                return OP_BAD_PARAM;
        }
        sink(*row, value);
    }
    index = argc;
    return OP_SUCCESS;
}
