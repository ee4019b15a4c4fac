#include "unavailable_command.h"

#include "console_output.h"
#include "exit_codes.h"
#include "share_parameter.h"
#include "sub_option_walk.h"

#include <string>

namespace {

struct UnavailableRow {
    const char* option;
    const char* subOption; // null: the option's code whatever follows
    int code;
};

// The first row of the option whose sub-option was given decides; the option's row without a
// sub-option when none was.
const UnavailableRow kRows[] = {
    {"-enspim", nullptr, OP_ENSPIM_FAILED},
    {"-bmapm", nullptr, OP_BMAPM_FAILED},
    {"-wsn", nullptr, OP_WRITESN_FAILED},
    {"-otp", nullptr, OTP_FAILED},
    {"-mem32", nullptr, OP_DEBUG_READ_FAILED},
    {"-mem16", nullptr, OP_DEBUG_READ_FAILED},
    {"-w4", nullptr, OP_DEBUG_WRITE_FAILED},
    {"-w2", nullptr, OP_DEBUG_WRITE_FAILED},
};

bool Given(const char* subOption, char* argv[], int first, int end)
{
    for (int i = first; i < end; ++i) {
        if (argv[i] && ShareParameter::ToLower(argv[i]) == subOption)
            return true;
    }
    return false;
}

} // namespace

int ReportUnavailable(int argc, char* argv[], int& index)
{
    const std::string option = argv[index];
    const int first = index + 1;
    const int walked = SkipSubOptions(argc, argv, index);
    if (walked != OP_SUCCESS)
        return walked;
    PrintLine("Error. " + option + " is not available in this build.");
    for (const UnavailableRow& row : kRows) {
        if (option == row.option && (!row.subOption || Given(row.subOption, argv, first, index)))
            return row.code;
    }
    return OP_BAD_PARAM;
}
