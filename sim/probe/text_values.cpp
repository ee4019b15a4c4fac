#include "probe/text_values.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <fstream>
#include <iterator>

namespace ksim {
namespace {

std::optional<uint64_t> parseBase(const std::string &digits, int base, uint64_t max)
{
    if (digits.empty() || !std::isxdigit(static_cast<unsigned char>(digits[0])))
        return std::nullopt;
    errno = 0;
    char *end = nullptr;
    const unsigned long long value = std::strtoull(digits.c_str(), &end, base);
    if (*end != '\0' || errno == ERANGE || value > max)
        return std::nullopt;
    return value;
}

bool hasHexPrefix(const std::string &text) { return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

}  // namespace

std::optional<uint64_t> parseNumber(const std::string &text, uint64_t max)
{
    if (hasHexPrefix(text))
        return parseBase(text.substr(2), 16, max);
    return parseBase(text, 10, max);
}

std::optional<uint64_t> parseHex(const std::string &text, uint64_t max)
{
    return parseBase(hasHexPrefix(text) ? text.substr(2) : text, 16, max);
}

std::optional<std::vector<uint8_t>> parseHexBytes(const std::string &text)
{
    std::string digits;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)))
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        digits += c;
    }
    if (digits.empty() || digits.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::strtoul(digits.substr(i, 2).c_str(), nullptr, 16)));
    return bytes;
}

std::optional<std::pair<std::string, std::string>> splitAt(const std::string &text, char sep)
{
    const auto at = text.find(sep);
    if (at == std::string::npos)
        return std::nullopt;
    return std::make_pair(text.substr(0, at), text.substr(at + 1));
}

bool readBinaryFile(const std::string &path, std::vector<uint8_t> &bytes, std::string &error)
{
    // A device or a FIFO would be read until memory runs out, or block forever.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + " is not a regular file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}

}  // namespace ksim
