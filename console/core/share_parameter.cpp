#include "share_parameter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

ShareParameter g_shareParameter;

namespace {
constexpr uint64_t kMegabyte = 1048576;
constexpr uint32_t kFlashWindowLast = ZRCHIP_FLASH_BASE_ADDRESS + ZRCHIP_FLASH_MAX_SIZE - 1;
constexpr uint32_t kSpimWindowLast = ZRCHIP_SPIM_BASE_ADDRESS + ZRCHIP_SPIM_MAX_SIZE - 1;

// Half-open range test done in 64 bits so that no end address can wrap.
bool InRange(uint32_t address, uint32_t start, uint64_t length)
{
    return address >= start && address < uint64_t{start} + length;
}
} // namespace

int32_t ShareParameter::StringToInt32(const std::string& text, int base)
{
    return static_cast<int32_t>(StringToUInt32(text, base));
}

uint32_t ShareParameter::StringToUInt32(const std::string& text, int base)
{
    // Truncation to the low 32 bits is intended: the wire carries 32-bit words.
    return static_cast<uint32_t>(static_cast<uint64_t>(std::strtoll(text.c_str(), nullptr, base)));
}

int32_t ShareParameter::IntParse(const std::string& text)
{
    return static_cast<int32_t>(static_cast<uint64_t>(std::strtol(text.c_str(), nullptr, 10)));
}

std::string ShareParameter::IntToHexString(int32_t value, int32_t width)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%x", static_cast<uint32_t>(value));
    std::string text = digits;
    if (width <= 0)
        return {};
    const auto wanted = static_cast<size_t>(width);
    if (text.size() < wanted)
        text.insert(0, wanted - text.size(), '0');
    return ToUpper(text.substr(text.size() - wanted));
}

std::string ShareParameter::ToUpper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string ShareParameter::ToLower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

QStringList ShareParameter::SplitLength(const std::string& text, int n)
{
    QStringList pieces;
    if (n <= 0) // a zero step would never advance
        return pieces;
    const QString trimmed = QString::fromUtf8(text.c_str(), static_cast<int>(text.size())).trimmed();
    for (int i = 0; i < trimmed.length(); i += n)
        pieces.append(trimmed.mid(i, n));
    return pieces;
}

uint32_t ShareParameter::EnabledSpimBytes() const
{
    return static_cast<uint32_t>(std::min<uint64_t>(spimSizeMb * kMegabyte, ZRCHIP_SPIM_MAX_SIZE));
}

uint32_t ShareParameter::GetFlashSize() const
{
    if (flashSizeText.empty())
        return 0;
    const std::string number = flashSizeText.substr(0, flashSizeText.find("KB"));
    const long long kilobytes = std::strtoll(number.c_str(), nullptr, 10);
    return static_cast<uint32_t>(static_cast<uint64_t>(kilobytes) * 1024u);
}

bool ShareParameter::IsAddressTextInTarget(const std::string& text) const
{
    if (text.empty())
        return false;
    const uint32_t address = StringToUInt32(text, 16);
    if (address >= ZRCHIP_FLASH_BASE_ADDRESS && address <= kFlashWindowLast)
        return InRange(address, ZRCHIP_FLASH_BASE_ADDRESS, GetFlashSize());
    if (address >= ZRCHIP_SPIM_BASE_ADDRESS && address <= kSpimWindowLast)
        return spimEnabled && InRange(address, ZRCHIP_SPIM_BASE_ADDRESS, spimSizeMb * kMegabyte);
    if (address >= ZRCHIP_FLASH_BASE_ADDRESS)
        return InRange(address, otp3Address, otp3Size);
    return IsBleConnected(connectState) && InRange(address, bleFlashAddress, bleFlashSize);
}
