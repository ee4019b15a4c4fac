#pragma once

#include "command_handlers.h"

struct OptionRow {
    const char* option;
    CommandHandler handler;
};

// The row of an option, matched exactly and case-sensitively; nullptr for anything else.
const OptionRow* FindOption(const char* text);

// Sets the run values that every run starts from.
void ResetRunValues();

// Walks the command line (argv[0] is the program) and returns the process exit code.
int RunCommandLine(int argc, char* argv[]);
