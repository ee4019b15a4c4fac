#pragma once

// The sub-option walk shared by -e and -eble; what --all and --sec do differs per command.
struct EraseActions {
    // --all: nextArgument is the argument after --all, or nullptr when nothing follows.
    // Returns the exit code; sets consumedNext when it used nextArgument as its memory selector.
    int (*all)(const char* nextArgument, bool& consumedNext);
    // --sec with its range text (empty when nothing follows).
    int (*sectors)(const char* rangeText);
};

// Walks the sub-options after the command at index; on success the index designates the next
// option or the end of the list.
int RunEraseWalk(int argc, char* argv[], int& index, const EraseActions& actions);
