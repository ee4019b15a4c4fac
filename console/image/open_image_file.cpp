#include "open_image_file.h"

#include "file_operation.h"
#include "share_parameter.h"

#include <cstdio>

namespace {

void PrintLine(const char* text)
{
    std::fputs(text, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

bool OpenFile(const std::string& path, FileInfo& info)
{
    if (path.empty())
        return false;
    const std::string name = FileNameOf(path);
    info.path = path;
    info.fileName = name;
    if (ExtensionOf(name) == "BIN")
        info.startAddress = g_shareParameter.downloadAddress;
    return OpenDownloadFile(info);
}

bool OpenDownloadFile(FileInfo& info)
{
    switch (FileOperation().OpenFile(info)) {
    case FILE_OPEN_NOT_FOUND_ERROR:
        PrintLine("File path is empty!");
        return false;
    case FILE_OPEN_EMPTY_ERROR:
        PrintLine("File is empty!");
        return false;
    case FILE_OPEN_FORMAT_ERROR:
        PrintLine("File format error, please reselect!");
        return false;
    default:
        return true;
    }
}
