#include "option_test.h"

#include "dispatcher.h"
#include "share_parameter.h"

#include <string>

namespace {
// --addr is listed although no command reads it; --y is recognised by -p alone.
constexpr const char* kSubOptions[] = {
    "--all", "--sec", "--efap1", "--efap2", "--dfap", "--depp", "--eepp", "--ebfap", "--dbfap",
    "--a", "--addr", "--fn", "--v", "--set", "--get", "--ft", "--fs", "--fda", "--remap",
    "--flash", "--spim", "--main", "--nvr", "--rdn", "--key", "--bootm", "--ne",
};
} // namespace

bool IsOption(const char* text)
{
    return text != nullptr && FindOption(text) != nullptr;
}

bool IsSubOption(const char* text)
{
    if (text == nullptr)
        return false;
    const std::string lower = ShareParameter::ToLower(text);
    for (const char* subOption : kSubOptions) {
        if (lower == subOption)
            return true;
    }
    return false;
}
