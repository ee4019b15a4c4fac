#pragma once

#include "sub_option_walk.h"

#include <string>

// The sub-option walk shared by -e and -eble; what --all and --sec do differs per command.
struct EraseActions {
    // --all with the memory selector that followed it, lower-cased; empty when none did.
    int (*all)(const std::string& selector);
    // --sec with its range (step.text as written, step.first <= step.last).
    int (*sectors)(const WalkStep& step);
};

// Walks the sub-options after the command at index; on success the index designates the next
// option or the end of the list.
int RunEraseWalk(int argc, char* argv[], int& index, const EraseActions& actions);
