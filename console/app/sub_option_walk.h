#pragma once

#include "command_syntax.h"

#include <cstdint>
#include <string>

// One sub-option (or one of the option's own values) read from the command line, its value
// already checked against the row of the syntax table.
struct WalkStep {
    const SubOptionSyntax* syntax = nullptr; // the row that was read
    std::string name;                        // the sub-option, lower-cased; empty for a positional value
    std::string text;                        // the value as written; empty for a flag
    uint32_t number = 0;                     // Hex32, Decimal
    int32_t first = 0;                       // SectorRange, first <= last
    int32_t last = 0;
    std::string selector;                    // Selector: the one that followed, lower-cased; empty for none
    bool confirmed = false;                  // Confirmation::AlwaysTaken: a "--y" followed and was taken
    bool confirmationFollows = false;        // Confirmation::HandlerDecides: "--y" follows (TakeConfirmation)
};

// Walks the arguments of the option at index by the option's row of the syntax table. A handler
// reads its sub-options with
//     SubOptionWalk walk(argc, argv, index);
//     WalkStep step;
//     while (walk.Next(step)) { ...act on step.name, step.text, step.number... }
//     if (walk.Result() != OP_SUCCESS) return walk.Result();
// The walk has then printed the command's own line for a stray argument, a rejected sub-option or
// a missing or unusable value; passed over the sub-options the command ignores; and left index on
// the next option, or past the end. While steps come, index designates the last argument read.
class SubOptionWalk {
public:
    SubOptionWalk(int argc, char* argv[], int& index);

    // The next step; false when the walk has ended (see Result).
    bool Next(WalkStep& step);
    // OP_SUCCESS when the walk reached the next option or the end of the line; otherwise the exit
    // code of the fault whose line was printed.
    int Result() const { return result_; }
    // Takes the "--y" that follows the last step (Confirmation::HandlerDecides).
    void TakeConfirmation();

private:
    const char* At(int position) const;
    bool End(int next);
    bool Fail(int code);
    bool BadValue(int position);
    bool ReadValue(ValueKind kind, const SubOptionSyntax& row, WalkStep& step);
    bool ReadSubOptionValue(const SubOptionSyntax& row, WalkStep& step);
    bool NextValue(WalkStep& step);

    int argc_;
    char** argv_;
    int& index_;
    const CommandSyntax* syntax_;
    int position_;     // the last argument read
    size_t valuesRead_ = 0;
    bool ended_ = false;
    int result_ = 0;
};

// Walks the sub-options of the option at index without acting on them: the lines and the result
// of a fault, or OP_SUCCESS with index on the next option or past the end.
int SkipSubOptions(int argc, char* argv[], int& index);
