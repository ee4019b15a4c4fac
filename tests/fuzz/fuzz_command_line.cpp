// Fuzzes the command line: the check of the whole line before anything runs, each option's walk
// by the syntax table, and the strict number readers behind them. Arguments are the input's lines.
#include "command_line_check.h"
#include "exit_codes.h"
#include "fuzz_check.h"
#include "option_test.h"
#include "strict_number.h"
#include "sub_option_walk.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr size_t kMostArguments = 24;

bool IsKnownCode(int code)
{
    return code == OP_SUCCESS || code == OP_BAD_PARAM || code == OP_DOWNLOAD_FAILED || code == OP_SET_USD_FAILED ||
           code == OTP_FAILED || code == OP_BL_SECERASE_FAILED || code == OP_BL_UPLOAD_FAILED;
}

// Strict readers agree with a plain reading of the same text, and refuse what is not a number.
void CheckNumbers(const std::string& text)
{
    uint32_t value = 0;
    if (ParseHex32(text, value)) {
        const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
        FUZZ_CHECK(std::strtoull(text.c_str() + (prefixed ? 2 : 0), nullptr, 16) == value);
        FUZZ_CHECK(text.find_first_not_of("0123456789abcdefABCDEF", prefixed ? 2 : 0) == std::string::npos);
    }
    int32_t first = 0;
    int32_t last = 0;
    if (ParseSectorRange(text, first, last)) {
        FUZZ_CHECK(first >= 0 && last >= 0);
        FUZZ_CHECK(text.find_first_not_of("0123456789-") == std::string::npos);
        const std::string::size_type dash = text.find('-');
        FUZZ_CHECK(dash == std::string::npos || text.find('-', dash + 1) == std::string::npos);
        FUZZ_CHECK(std::strtoll(text.c_str(), nullptr, 10) == first);
        FUZZ_CHECK(std::strtoll(text.c_str() + (dash == std::string::npos ? 0 : dash + 1), nullptr, 10) == last);
    }
    if (ParseDecimal(text, 4095, value))
        FUZZ_CHECK(value <= 4095 && std::strtoull(text.c_str(), nullptr, 10) == value);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The product's lines are not what is being looked at.
    if (std::freopen("/dev/null", "w", stdout) == nullptr)
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> texts;
    std::string current;
    for (size_t i = 0; i < size && texts.size() < kMostArguments; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            texts.push_back(current);
            current.clear();
        } else if (c != '\0') {
            current += c;
        }
    }
    if (texts.size() < kMostArguments && !current.empty())
        texts.push_back(current);
    std::vector<char*> arguments;
    for (std::string& text : texts) {
        CheckNumbers(text);
        arguments.push_back(text.data());
    }
    arguments.push_back(nullptr);
    const int count = static_cast<int>(texts.size());

    const int checked = CheckCommandLine(count, arguments.data());
    FUZZ_CHECK(IsKnownCode(checked));

    // Every option's walk ends inside the line, and a line that passed the check walks cleanly
    // option by option, each walk leaving the index on the next option or at the end.
    int index = 0;
    while (index < count) {
        if (!IsOption(arguments[index])) {
            FUZZ_CHECK(checked == OP_BAD_PARAM || checked != OP_SUCCESS);
            break;
        }
        const int started = index;
        SubOptionWalk walk(count, arguments.data(), index);
        WalkStep step;
        while (walk.Next(step)) {
            FUZZ_CHECK(index > started && index < count);
            FUZZ_CHECK(step.syntax != nullptr);
            if (step.syntax->value == ValueKind::SectorRange)
                FUZZ_CHECK(step.first <= step.last);
            if (step.confirmationFollows)
                walk.TakeConfirmation();
        }
        if (walk.Result() != OP_SUCCESS) {
            FUZZ_CHECK(checked != OP_SUCCESS);
            break;
        }
        FUZZ_CHECK(index >= started && index <= count);
        FUZZ_CHECK(index == count || index == started + 1 || IsOption(arguments[index]) ||
                   FindCommandSyntax(arguments[started])->stray == StrayReport::Dispatcher);
        if (index <= started)
            index = started + 1;
    }
    if (checked == OP_SUCCESS)
        FUZZ_CHECK(index >= count);
    return 0;
}
