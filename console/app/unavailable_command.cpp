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
    {"-u", nullptr, OP_MCU_UPLOAD_FAILED},
    {"-uble", nullptr, OP_BL_UPLOAD_FAILED},
    {"-usd", "--get", OP_GET_USD_FAILED},
    {"-usd", nullptr, OP_SET_USD_FAILED},
    {"-p", "--efap2", OP_EFAP2_FAILED},
    {"-p", "--dfap", OP_DFAP_FAILED},
    {"-p", "--depp", OP_DEPP_FAILED},
    {"-p", "--eepp", OP_EEPP_FAILED},
    {"-p", "--ebfap", OP_EBFAP_FAILED},
    {"-p", "--dbfap", OP_DBFAP_FAILED},
    {"-p", nullptr, OP_EFAP1_FAILED},
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
