#include "otp_file_name.h"

namespace {
// ASCII only, whatever the user's locale: the name ends in the four letters or it does not.
char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

bool IsValidOTPFileName(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return false;
    const std::string name = path.substr(slash + 1);
    if (name.size() < 4)
        return false;
    std::string ending = name.substr(name.size() - 4);
    for (char& c : ending)
        c = AsciiUpper(c);
    return ending == "ZRTP";
}
