#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The sub-option walk of the commands that accept only their own sub-options (-enspim, -bmapm,
// -wsn): an option ends the walk, a stray argument or another command's sub-option is a bad
// parameter, and a sub-option's value must be there and be a number of its kind.
enum class ValueKind {
    NONE,    // a switch
    DECIMAL, // digits only, within 32 bits
    HEX,     // hexadecimal digits with an optional 0x, within 32 bits
};

struct OwnSubOption {
    const char* name; // lower case
    ValueKind kind;
    uint32_t limit;   // largest accepted value
};

// Receives each sub-option met (its table row) and its value (0 for a switch), in command-line order.
using SubOptionSink = std::function<void(const OwnSubOption& subOption, uint32_t value)>;

// Walks from the option at index; on success the index designates the next option or the end.
// Prints the bad-parameter line and returns OP_BAD_PARAM for what the walk refuses.
int WalkOwnSubOptions(int argc, char* argv[], int& index, const std::vector<OwnSubOption>& own,
                      const SubOptionSink& sink);

// Strict readers of command-line numbers: false for anything that is not entirely one.
bool ReadHexWord(const std::string& text, uint32_t& value);
bool ReadDecimal(const std::string& text, uint32_t& value);

// The value argument at index: present, not an option or sub-option, and a number of its kind
// no larger than limit; otherwise prints the bad-parameter line for that position.
bool TakeValue(int argc, char* argv[], int index, ValueKind kind, uint32_t limit, uint32_t& value);
