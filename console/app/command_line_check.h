#pragma once

// Checks the whole command line (the arguments after the program name) before the first option
// runs, for every fault that can be known without the target: an argument where an option must
// stand, a sub-option its command rejects, a missing or unusable value, and a file that a command
// would read but that is missing or unreadable and that no earlier option of the line writes.
// Returns OP_SUCCESS, or the exit code after printing the line the run would have printed on
// reaching the fault; nothing is opened or changed either way.
int CheckCommandLine(int count, char* arguments[]);
