#include "file_name.h"

namespace {
constexpr size_t kExtensionLength = 3;

// ASCII letters only: the C library's toupper follows the user's locale, and under a Turkish one
// "bin" would not become "BIN".
char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string UpperEnding(const std::string& text, size_t length)
{
    if (text.size() < length)
        return {};
    std::string ending = text.substr(text.size() - length);
    for (char& c : ending)
        c = AsciiUpper(c);
    return ending;
}

std::string ExtensionOf(const std::string& text)
{
    return UpperEnding(text, kExtensionLength);
}

bool IsValidFileName(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string extension = ExtensionOf(FileNameOf(path));
    return extension == "HEX" || extension == "BIN";
}
