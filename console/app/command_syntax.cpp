#include "command_syntax.h"

#include "exit_codes.h"

#include <cstring>
#include <limits>

namespace {

constexpr uint32_t kAny = std::numeric_limits<uint32_t>::max();
// A larger SPIM size in MB would wrap its byte count.
constexpr uint32_t kLargestSpimSizeMb = 4095;

constexpr SubOptionSyntax Flag(const char* name)
{
    return {name, ValueKind::None, FileUse::None, 0, nullptr, Confirmation::None, nullptr, 0};
}

constexpr SubOptionSyntax Value(const char* name, ValueKind kind, FileUse file = FileUse::None)
{
    return {name, kind, file, kAny, nullptr, Confirmation::None, nullptr, 0};
}

constexpr SubOptionSyntax Decimal(const char* name, uint32_t limit)
{
    return {name, ValueKind::Decimal, FileUse::None, limit, nullptr, Confirmation::None, nullptr, 0};
}

constexpr SubOptionSyntax Selector(const char* name, const char* const* selectors)
{
    return {name, ValueKind::Selector, FileUse::None, 0, selectors, Confirmation::None, nullptr, 0};
}

constexpr SubOptionSyntax Range(const char* name, const char* descendingLine = nullptr, int descendingCode = 0)
{
    return {name, ValueKind::SectorRange, FileUse::None, 0, nullptr, Confirmation::None, descendingLine, descendingCode};
}

constexpr SubOptionSyntax Confirmable(SubOptionSyntax row, Confirmation confirmation)
{
    row.confirmation = confirmation;
    return row;
}

constexpr const char* kMemorySelectors[] = {"--flash", "--spim", "--bootm", nullptr};
constexpr const char* kBleSpaceSelectors[] = {"--main", "--nvr", "--rdn", nullptr};

constexpr SubOptionSyntax kErase[] = {Selector("--all", kMemorySelectors), Range("--sec")};
constexpr SubOptionSyntax kEraseBle[] = {
    Selector("--all", kBleSpaceSelectors),
    Range("--sec", "Error, erase sectors cannot exceed BLE module main space range.", OP_BL_SECERASE_FAILED),
};
constexpr SubOptionSyntax kDownload[] = {
    Value("--a", ValueKind::Hex32), Value("--fn", ValueKind::ImageFile, FileUse::Reads), Flag("--v"), Flag("--ne"),
};
constexpr SubOptionSyntax kUpload[] = {Range("--sec"), Value("--fn", ValueKind::ImageFile, FileUse::Writes)};
constexpr SubOptionSyntax kUploadBle[] = {
    Range("--sec", "Error. Upload sectors cannot exceed BLE module main space range.", OP_BL_UPLOAD_FAILED),
    Value("--fn", ValueKind::ImageFile, FileUse::Writes),
};
constexpr SubOptionSyntax kUserSystemData[] = {
    Value("--get", ValueKind::FnImageFile, FileUse::Writes),
    Confirmable(Value("--set", ValueKind::FnImageFile, FileUse::Reads), Confirmation::AlwaysTaken),
};
constexpr SubOptionSyntax kProtection[] = {
    Flag("--efap1"), Confirmable(Flag("--efap2"), Confirmation::HandlerDecides),
    Flag("--dfap"),  Flag("--depp"), Range("--eepp"), Flag("--ebfap"), Flag("--dbfap"),
};
constexpr SubOptionSyntax kEnableSpim[] = {
    Decimal("--ft", kAny), Decimal("--fs", kLargestSpimSizeMb), Value("--fda", ValueKind::Hex32), Decimal("--remap", kAny),
};
constexpr SubOptionSyntax kBootMemoryApMode[] = {Value("--key", ValueKind::Hex32)};
constexpr SubOptionSyntax kWriteSerialNumber[] = {Flag("--ne")};
constexpr SubOptionSyntax kOtp[] = {Value("--fn", ValueKind::OtpFile, FileUse::Reads)};

constexpr SubOptionSyntax kPartNames[] = {Value("", ValueKind::PartName)};
constexpr SubOptionSyntax kAddress[] = {Value("", ValueKind::Hex32)};
constexpr SubOptionSyntax kAddressAndValue[] = {Value("", ValueKind::Hex32), Value("", ValueKind::Hex32)};

template <size_t N>
constexpr CommandSyntax WithSubOptions(const char* option, const SubOptionSyntax (&rows)[N], StrayReport stray,
                                       ForeignSubOption foreign, BadValueReport badValue = BadValueReport::Quoted)
{
    return {option, rows, N, nullptr, 0, 0, false, stray, foreign, badValue};
}

template <size_t N>
constexpr CommandSyntax WithValues(const char* option, const SubOptionSyntax (&rows)[N], size_t required,
                                   bool repeat = false)
{
    return {option, nullptr, 0, rows, N, required, repeat, StrayReport::Dispatcher, ForeignSubOption::Rejected,
            BadValueReport::Quoted};
}

constexpr CommandSyntax Alone(const char* option)
{
    return {option, nullptr, 0, nullptr, 0, 0, false, StrayReport::Dispatcher, ForeignSubOption::Rejected,
            BadValueReport::Quoted};
}

using S = StrayReport;
using F = ForeignSubOption;

constexpr CommandSyntax kCommands[] = {
    Alone("-?"),
    WithValues("-device", kPartNames, 0, true),
    Alone("-connect"),
    WithSubOptions("-e", kErase, S::Quoted, F::PassedOver, BadValueReport::ErrorPrefix),
    WithSubOptions("-eble", kEraseBle, S::Quoted, F::PassedOver, BadValueReport::ErrorPrefix),
    WithSubOptions("-d", kDownload, S::Quoted, F::Rejected),
    WithSubOptions("-u", kUpload, S::Quoted, F::Rejected),
    WithSubOptions("-uble", kUploadBle, S::Quoted, F::Rejected),
    WithSubOptions("-usd", kUserSystemData, S::Bare, F::PassedOver),
    WithSubOptions("-p", kProtection, S::Quoted, F::PassedOver),
    WithSubOptions("-enspim", kEnableSpim, S::Quoted, F::Rejected),
    WithSubOptions("-bmapm", kBootMemoryApMode, S::Quoted, F::Rejected),
    WithSubOptions("-wsn", kWriteSerialNumber, S::Quoted, F::Rejected),
    WithSubOptions("-otp", kOtp, S::Bare, F::PassedOver),
    WithValues("-mem32", kAddress, 1),
    WithValues("-mem16", kAddress, 1),
    WithValues("-w4", kAddressAndValue, 2),
    WithValues("-w2", kAddressAndValue, 2),
    Alone("-r"),
};

} // namespace

const CommandSyntax* FindCommandSyntax(const char* option)
{
    if (option == nullptr)
        return nullptr;
    for (const CommandSyntax& command : kCommands) {
        if (std::strcmp(command.option, option) == 0)
            return &command;
    }
    return nullptr;
}

const SubOptionSyntax* FindSubOption(const CommandSyntax& command, const char* lowerName)
{
    for (size_t i = 0; i < command.subOptionCount; ++i) {
        if (std::strcmp(command.subOptions[i].name, lowerName) == 0)
            return &command.subOptions[i];
    }
    return nullptr;
}
