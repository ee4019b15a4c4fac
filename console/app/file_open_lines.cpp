#include "file_open_lines.h"

#include "console_output.h"
#include "open_image_file.h"

namespace {
bool OpenWithLines(const char* opening, const std::string& path, FileInfo& info)
{
    PrintLine(opening);
    if (!OpenFile(path, info)) {
        PrintLine("Error. Open file failed!");
        return false;
    }
    PrintLine("Open file succeed!");
    return true;
}
} // namespace

bool OpenDownloadImage(const std::string& path, FileInfo& info)
{
    return OpenWithLines("Download file opening......", path, info);
}

bool OpenUserSystemDataFile(const std::string& path, FileInfo& info)
{
    return OpenWithLines("User system data file opening......", path, info);
}

void PrintOtpFileFailure()
{
    PrintLine("Get OTP data from the configuration file failed!");
}
