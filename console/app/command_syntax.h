#pragma once

// The syntax of every option: its sub-options, the kind of value each takes, and how the command
// reports what it cannot use. One table (command_syntax.cpp) serves both the check of the whole
// command line before the first option runs (command_line_check.h) and each handler's own walk
// (sub_option_walk.h), so the two can never disagree. A command that changes its syntax changes
// its row, and nothing else needs to know.

#include <cstddef>
#include <cstdint>

// How the value after a sub-option (or after the option itself) is written.
enum class ValueKind : uint8_t {
    None,        // a flag: no value
    Selector,    // one of the row's selectors may follow (-e --all --flash); an option or the end may too
    SectorRange, // "n" or "n-m", decimal digits only
    ImageFile,   // a file name with the extension HEX or BIN
    OtpFile,     // an OTP project file name: a folder part and a name ending in ZRTP
    FnImageFile, // "--fn" and then an image file name (-usd --get, -usd --set)
    Hex32,       // hexadecimal digits with an optional 0x, within 32 bits
    Decimal,     // decimal digits only, at most the row's limit
    PartName,    // a part name of the -device catalogue
};

// What the run does with the file a value names.
enum class FileUse : uint8_t { None, Reads, Writes };

// Whether "--y" after the value belongs to the sub-option.
enum class Confirmation : uint8_t {
    None,           // no: "--y" is a stray argument there
    HandlerDecides, // it depends on the target: the handler takes it or leaves it (-p --efap2)
    AlwaysTaken,    // yes, needed or not (-usd --set --fn file --y)
};

struct SubOptionSyntax {
    const char* name; // lower case; "" for the option's own positional values
    ValueKind value;
    FileUse file;
    uint32_t limit;                         // Decimal: the largest value
    const char* const* selectors;           // Selector: lower case, ending in nullptr
    Confirmation confirmation;
    const char* descendingLine;             // SectorRange with n > m: this line and code;
    int descendingCode;                     // nullptr: the command's bad-value line
};

// How a command reports an argument that is neither an option nor one of its values.
enum class StrayReport : uint8_t {
    Quoted,     // bad parameter "x"
    Bare,       // x alone on its line (-usd, -otp)
    Dispatcher, // the command ends there; the dispatcher reports it as an argument where an option must stand
};

// What a command does with a sub-option that is not its own.
enum class ForeignSubOption : uint8_t { Rejected, PassedOver };

// The line of a value that is missing or unusable.
enum class BadValueReport : uint8_t {
    Quoted,      // bad parameter "x"
    ErrorPrefix, // Error. bad parameter x (-e, -eble)
};

struct CommandSyntax {
    const char* option;
    const SubOptionSyntax* subOptions;
    size_t subOptionCount;
    const SubOptionSyntax* values; // positional values right after the option, in order
    size_t valueCount;
    size_t requiredValues;         // fewer is a missing value
    bool valuesRepeat;             // the last value kind repeats until the next option (-device)
    StrayReport stray;
    ForeignSubOption foreign;
    BadValueReport badValue;
};

// The syntax of an option, matched exactly; nullptr for anything that is not an option.
const CommandSyntax* FindCommandSyntax(const char* option);

// The sub-option row of a command, matched against a lower-cased name; nullptr when not its own.
const SubOptionSyntax* FindSubOption(const CommandSyntax& command, const char* lowerName);
