#include "file_open_lines.h"

#include "console_output.h"
#include "open_image_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
// Why a file cannot be read, in the system's words; empty when it can be.
std::string ReadProblem(const std::string& path)
{
    struct stat status = {};
    if (stat(path.c_str(), &status) != 0)
        return std::strerror(errno);
    if (S_ISDIR(status.st_mode))
        return std::strerror(EISDIR);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    close(fd);
    return "";
}

bool OpenWithLines(const char* opening, const std::string& path, FileInfo& info)
{
    PrintLine(opening);
    if (!OpenFile(path, info)) {
        PrintLine("Error. Open file failed!");
        const std::string problem = path.empty() ? "" : ReadProblem(path);
        if (!problem.empty())
            PrintHint("cannot read " + path + ": " + problem);
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
