#include "erase_walk.h"

#include "console_output.h"
#include "exit_codes.h"
#include "option_test.h"
#include "share_parameter.h"

#include <string>

namespace {
// Nothing left to read: success, with the index past the end when it was on the last argument.
bool WalkEnds(int argc, int& index)
{
    if (index >= argc)
        return true;
    if (index == argc - 1) {
        index = argc;
        return true;
    }
    return false;
}

int RunOneSubOption(int argc, char* argv[], int& index, const EraseActions& actions)
{
    const std::string subOption = ShareParameter::ToLower(argv[index]);
    ++index;
    const char* next = index < argc ? argv[index] : nullptr;
    if (subOption == "--all") {
        bool consumedNext = false;
        const int result = actions.all(next, consumedNext);
        // The index stays on a selector it used (the walk steps over it) and otherwise goes back
        // to --all, so that the walk meets the next argument as it stands.
        if (!consumedNext)
            --index;
        return result;
    }
    if (subOption == "--sec")
        return actions.sectors(next != nullptr ? next : "");
    // A sub-option of another command is passed over; the walk goes on with the argument after it.
    --index;
    return OP_SUCCESS;
}
} // namespace

int RunEraseWalk(int argc, char* argv[], int& index, const EraseActions& actions)
{
    if (WalkEnds(argc, index))
        return OP_SUCCESS;
    for (;;) {
        ++index;
        if (IsOption(argv[index]))
            return OP_SUCCESS;
        if (!IsSubOption(argv[index])) {
            PrintBadParameter(argv, index);
            return OP_BAD_PARAM;
        }
        const int result = RunOneSubOption(argc, argv, index, actions);
        if (result != OP_SUCCESS)
            return result;
        if (WalkEnds(argc, index))
            return OP_SUCCESS;
    }
}
