#include "otp_file_name.h"

#include "file_name.h"

bool IsValidOTPFileName(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return false;
    return UpperEnding(path.substr(slash + 1), 4) == "ZRTP";
}
