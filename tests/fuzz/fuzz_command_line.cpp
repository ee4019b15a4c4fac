// Fuzzes the command line: the check of the whole line before anything runs, each option's walk
// by the syntax table, and the strict number readers behind them. Arguments are the input's lines.
#include "command_line_check.h"
#include "exit_codes.h"
#include "fuzz_check.h"
#include "option_test.h"
#include "strict_number.h"
#include "sub_option_walk.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Strict readers agree with a plain reading of the same text, and refuse what is not a number.
void CheckNumbers(const std::string& text)
{
    uint32_t value = 0;
    if (ParseHex32(text, value)) {
        const size_t digits = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? 2 : 0;
        FUZZ_CHECK(std::strtoull(text.c_str() + digits, nullptr, 16) == value);
        FUZZ_CHECK(text.find_first_not_of("0123456789abcdefABCDEF", digits) == std::string::npos);
    }
    int32_t first = 0, last = 0;
    if (ParseSectorRange(text, first, last)) {
        const std::string::size_type dash = text.find('-');
        FUZZ_CHECK(first >= 0 && last >= 0 && text.find_first_not_of("0123456789-") == std::string::npos);
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
    std::vector<std::string> texts(1);
    for (size_t i = 0; i < size && texts.size() <= 24; ++i) {
        if (data[i] == '\n')
            texts.emplace_back();
        else if (data[i] != '\0')
            texts.back() += static_cast<char>(data[i]);
    }
    if (texts.size() > 24 || texts.back().empty())
        texts.pop_back();
    std::vector<char*> arguments;
    for (std::string& text : texts) {
        CheckNumbers(text);
        arguments.push_back(text.data());
    }
    arguments.push_back(nullptr);
    const int count = static_cast<int>(texts.size());
    const int checked = CheckCommandLine(count, arguments.data());
    FUZZ_CHECK(checked == OP_SUCCESS || checked == OP_BAD_PARAM || checked == OP_DOWNLOAD_FAILED || checked == OTP_FAILED
               || checked == OP_SET_USD_FAILED || checked == OP_BL_SECERASE_FAILED || checked == OP_BL_UPLOAD_FAILED);

    // Every option's walk ends inside the line, and a line that passed the check walks cleanly
    // option by option, each walk leaving the index on the next option or at the end.
    int index = 0;
    while (index < count) {
        if (!IsOption(arguments[index])) {
            FUZZ_CHECK(checked != OP_SUCCESS);
            break;
        }
        const int started = index;
        SubOptionWalk walk(count, arguments.data(), index);
        WalkStep step;
        while (walk.Next(step)) {
            FUZZ_CHECK(index > started && index < count && step.syntax != nullptr);
            FUZZ_CHECK(step.syntax->value != ValueKind::SectorRange || step.first <= step.last);
            if (step.confirmationFollows)
                walk.TakeConfirmation();
        }
        if (walk.Result() != OP_SUCCESS) {
            FUZZ_CHECK(checked != OP_SUCCESS);
            break;
        }
        FUZZ_CHECK(index >= started && index <= count);
        FUZZ_CHECK(index == count || index == started + 1 || IsOption(arguments[index])
                   || FindCommandSyntax(arguments[started])->stray == StrayReport::Dispatcher);
        index = std::max(index, started + 1);
    }
    FUZZ_CHECK(checked != OP_SUCCESS || index >= count);
    return 0;
}
