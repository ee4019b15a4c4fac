#include "FileName.h"

#include <cctype>

namespace {
constexpr size_t kExtensionLength = 3;
} // namespace

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& text)
{
    if (text.size() < kExtensionLength)
        return {};
    std::string extension = text.substr(text.size() - kExtensionLength);
    for (char& c : extension)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return extension;
}

bool IsValidFileName(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string extension = ExtensionOf(FileNameOf(path));
    return extension == "HEX" || extension == "BIN";
}
