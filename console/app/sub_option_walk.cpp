#include "sub_option_walk.h"

#include "console_output.h"
#include "exit_codes.h"
#include "file_name.h"
#include "mcu_identification.h"
#include "option_test.h"
#include "otp_file_name.h"
#include "part_name_hint.h"
#include "share_parameter.h"
#include "strict_number.h"

#include <cstring>

namespace {

bool IsConfirmation(const char* text)
{
    return text != nullptr && std::strcmp(text, "--y") == 0;
}

bool IsSelectorOf(const SubOptionSyntax& row, const std::string& lower)
{
    for (const char* const* selector = row.selectors; selector != nullptr && *selector != nullptr; ++selector) {
        if (lower == *selector)
            return true;
    }
    return false;
}

} // namespace

SubOptionWalk::SubOptionWalk(int argc, char* argv[], int& index)
    : argc_(argc), argv_(argv), index_(index), syntax_(FindCommandSyntax(At(index))), position_(index)
{
}

const char* SubOptionWalk::At(int position) const
{
    return position >= 0 && position < argc_ ? argv_[position] : nullptr;
}

bool SubOptionWalk::End(int next)
{
    index_ = next < argc_ ? next : argc_;
    ended_ = true;
    result_ = OP_SUCCESS;
    return false;
}

bool SubOptionWalk::Fail(int code)
{
    ended_ = true;
    result_ = code;
    return false;
}

// The command's line for a missing or unusable value at position ("" past the end).
bool SubOptionWalk::BadValue(int position)
{
    const char* text = At(position);
    if (syntax_->badValue == BadValueReport::ErrorPrefix)
        PrintErrorBadParameter(text);
    else
        PrintBadParameterText(text);
    return Fail(OP_BAD_PARAM);
}

// Reads the value of the given kind at the next position into step; a value is missing where the
// next argument is an option, a sub-option or the end of the line.
bool SubOptionWalk::ReadValue(ValueKind kind, const SubOptionSyntax& row, WalkStep& step)
{
    const int position = position_ + 1;
    const char* text = At(position);
    if (text == nullptr || IsOption(text) || IsSubOption(text))
        return BadValue(position);
    bool usable = false;
    McuSeries series = ZR32ErrorMCU2;
    switch (kind) {
    case ValueKind::ImageFile:
        usable = IsValidFileName(text);
        break;
    case ValueKind::OtpFile:
        usable = IsValidOTPFileName(text);
        break;
    case ValueKind::Hex32:
        usable = ParseHex32(text, step.number);
        break;
    case ValueKind::Decimal:
        usable = ParseDecimal(text, row.limit, step.number);
        break;
    case ValueKind::SectorRange:
        usable = ParseSectorRange(text, step.first, step.last);
        if (usable && step.first > step.last && row.descendingLine != nullptr) {
            PrintLine(row.descendingLine);
            return Fail(row.descendingCode);
        }
        usable = usable && step.first <= step.last;
        break;
    case ValueKind::PartName:
        usable = IsZR32Device(text, series);
        break;
    default:
        break;
    }
    if (!usable) {
        BadValue(position);
        if (kind == ValueKind::PartName)
            HintClosestPartNames(text);
        return false;
    }
    step.text = text;
    position_ = position;
    return true;
}

bool SubOptionWalk::ReadSubOptionValue(const SubOptionSyntax& row, WalkStep& step)
{
    switch (row.value) {
    case ValueKind::None:
        break;
    case ValueKind::Selector: {
        const char* next = At(position_ + 1);
        if (next == nullptr || IsOption(next))
            break;
        const std::string lower = ShareParameter::ToLower(next);
        if (!IsSubOption(next) || !IsSelectorOf(row, lower))
            return BadValue(position_ + 1);
        step.selector = lower;
        ++position_;
        break;
    }
    case ValueKind::FnImageFile: {
        const char* next = At(position_ + 1);
        if (next == nullptr || ShareParameter::ToLower(next) != "--fn")
            return BadValue(position_ + 1);
        ++position_;
        if (!ReadValue(ValueKind::ImageFile, row, step))
            return false;
        break;
    }
    default:
        if (!ReadValue(row.value, row, step))
            return false;
        break;
    }
    // After a -usd file name "--y" is taken in any letter case, as the command itself does.
    const char* after = At(position_ + 1);
    if (row.confirmation == Confirmation::AlwaysTaken && after != nullptr && ShareParameter::ToLower(after) == "--y") {
        step.confirmed = true;
        ++position_;
    }
    step.confirmationFollows = row.confirmation == Confirmation::HandlerDecides && IsConfirmation(At(position_ + 1));
    return true;
}

// The option's own values (-w4 address value, -mem32 address, -device names).
bool SubOptionWalk::NextValue(WalkStep& step)
{
    const size_t count = syntax_->valueCount;
    if (valuesRead_ >= count && !syntax_->valuesRepeat)
        return End(position_ + 1);
    const char* next = At(position_ + 1);
    if (valuesRead_ >= syntax_->requiredValues && (next == nullptr || IsOption(next)))
        return End(position_ + 1);
    const SubOptionSyntax& row = syntax_->values[valuesRead_ < count ? valuesRead_ : count - 1];
    if (!ReadValue(row.value, row, step))
        return false;
    step.syntax = &row;
    ++valuesRead_;
    index_ = position_;
    return true;
}

bool SubOptionWalk::Next(WalkStep& step)
{
    step = WalkStep{};
    if (ended_ || syntax_ == nullptr)
        return false;
    if (syntax_->valueCount > 0)
        return NextValue(step);
    for (;;) {
        const int position = position_ + 1;
        const char* argument = At(position);
        if (argument == nullptr || IsOption(argument) || syntax_->stray == StrayReport::Dispatcher)
            return End(position);
        if (!IsSubOption(argument)) {
            if (syntax_->stray == StrayReport::Bare)
                PrintLine(argument);
            else
                PrintBadParameterText(argument);
            return Fail(OP_BAD_PARAM);
        }
        const std::string lower = ShareParameter::ToLower(argument);
        const SubOptionSyntax* row = FindSubOption(*syntax_, lower.c_str());
        position_ = position;
        if (row == nullptr) {
            if (syntax_->foreign == ForeignSubOption::Rejected) {
                PrintBadParameterText(argument);
                return Fail(OP_BAD_PARAM);
            }
            continue; // a sub-option of another command, passed over
        }
        step.syntax = row;
        step.name = lower;
        if (!ReadSubOptionValue(*row, step))
            return false;
        index_ = position_;
        return true;
    }
}

void SubOptionWalk::TakeConfirmation()
{
    if (!ended_ && IsConfirmation(At(position_ + 1))) {
        ++position_;
        index_ = position_;
    }
}

int SkipSubOptions(int argc, char* argv[], int& index)
{
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
    }
    return walk.Result();
}
