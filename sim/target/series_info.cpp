#include "target/series_info.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>

namespace ksim {
namespace {

constexpr bool SPIM = true, AP = true, LOCKED2 = true;

struct Boot {
    uint32_t address, size;
};
constexpr Boot kNoBoot{0, 0};
constexpr Boot kBoot18K{0x1FFFAC00, 0x4800};
constexpr Boot kBoot4K{0x1FFFE400, 0x1000};
constexpr Boot kBoot20K{0x1FFFA400, 0x5000};
constexpr Boot kBoot26K{0x1FFF7C00, 0x6800};
constexpr Boot kBoot28K{0x1FFF8000, 0x7000};

struct Otp {
    uint32_t dataAddress, dataSize, lockAddress, lockSize;
};
constexpr Otp kNoOtp{0, 0, 0, 0};
constexpr Otp kOtp4K{0x1FFFE400, 0x1000, 0x1FFFF500, 0x80};
constexpr Otp kOtp1K{0x1FFFF000, 0x400, 0x1FFFF500, 0x80};

struct Row {
    uint8_t number;
    bool spim, apMode, level2Permanent;
    Boot boot;
    Otp otp;
};

constexpr Row kRows[] = {
    {1, SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},   {2, SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},
    {4, SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},   {5, !SPIM, AP, !LOCKED2, kBoot18K, kNoOtp},
    {7, SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},   {8, SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},
    {9, !SPIM, AP, !LOCKED2, kBoot4K, kNoOtp},   {13, !SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},
    {14, !SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp}, {15, !SPIM, AP, LOCKED2, kBoot4K, kNoOtp},
    {16, !SPIM, AP, LOCKED2, kBoot4K, kNoOtp},   {17, !SPIM, AP, !LOCKED2, kBoot18K, kNoOtp},
    {18, !SPIM, AP, LOCKED2, kBoot20K, kNoOtp},  {19, !SPIM, AP, LOCKED2, kBoot20K, kNoOtp},
    {20, !SPIM, AP, LOCKED2, kBoot20K, kNoOtp},  {21, !SPIM, AP, LOCKED2, kBoot26K, kOtp4K},
    {22, !SPIM, AP, LOCKED2, kBoot26K, kOtp4K},  {23, !SPIM, AP, LOCKED2, kBoot26K, kOtp4K},
    {24, SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},  {25, !SPIM, AP, LOCKED2, kBoot28K, kOtp1K},
    {26, !SPIM, AP, LOCKED2, kBoot28K, kOtp1K},  {28, !SPIM, AP, LOCKED2, kBoot28K, kOtp1K},
    {29, !SPIM, AP, LOCKED2, kBoot20K, kNoOtp},  {30, !SPIM, AP, LOCKED2, kBoot20K, kNoOtp},
    {33, !SPIM, AP, LOCKED2, kBoot28K, kOtp1K},  {34, !SPIM, AP, LOCKED2, kBoot28K, kOtp1K},
    {35, SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},  {36, SPIM, !AP, !LOCKED2, kNoBoot, kNoOtp},
};

// Flash size in KiB by the 5-bit size index of the product ID.
constexpr uint32_t kFlashKiB[] = {16,  24,  32,   48,   64,   72,   96,   128,  192,  256,  384, 512,
                                  768, 1024, 1536, 2048, 4096, 5120, 192, 960, 1984, 4032, 448};

const Row *findRow(uint8_t series)
{
    auto it = std::find_if(std::begin(kRows), std::end(kRows), [&](const Row &r) { return r.number == series; });
    return it == std::end(kRows) ? nullptr : &*it;
}

std::string upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

}  // namespace

SeriesInfo seriesInfo(uint8_t series)
{
    SeriesInfo info;
    info.number = series;
    if (const Row *row = findRow(series)) {
        info.hasSpim = row->spim;
        info.hasApMode = row->apMode;
        info.level2Permanent = row->level2Permanent;
        info.bootAddress = row->boot.address;
        info.bootSize = row->boot.size;
        info.otpDataAddress = row->otp.dataAddress;
        info.otpDataSize = row->otp.dataSize;
        info.otpLockAddress = row->otp.lockAddress;
        info.otpLockSize = row->otp.lockSize;
    }
    info.bleModule = series == 17;
    info.epp = (series == 13 || series == 14) ? EppLayout::Bytes20 : EppLayout::Word32;
    info.eppTwoSectorsPerBit = series == 5 || series == 17;
    return info;
}

bool isAssignedSeries(uint8_t series) { return findRow(series) != nullptr; }

std::optional<uint8_t> parseSeries(const std::string &text)
{
    std::string digits = upper(text);
    for (const char *prefix : {"ZR32_S", "S"}) {
        if (digits.rfind(prefix, 0) == 0) {
            digits = digits.substr(std::char_traits<char>::length(prefix));
            break;
        }
    }
    if (digits.empty())
        return std::nullopt;
    const bool hex = digits.rfind("0X", 0) == 0;
    char *end = nullptr;
    const unsigned long value = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || value > 255 || (hex && digits.size() == 2))
        return std::nullopt;
    return static_cast<uint8_t>(value);
}

std::string seriesName(uint8_t series)
{
    std::string name = "ZR32_S";
    if (series < 10)
        name += '0';
    return name + std::to_string(series);
}

uint32_t flashSizeFromPid(uint32_t pid)
{
    const uint32_t index = (pid & 0x7C0) >> 6;
    return index < std::size(kFlashKiB) ? kFlashKiB[index] * 1024 : 0;
}

uint32_t sectorSizeFromPid(uint32_t pid)
{
    switch ((pid & 0x7000) >> 12) {
    case 0: return flashSizeFromPid(pid) < 256 * 1024 ? 1024 : 2048;
    case 1: return 512;
    case 2: return 1024;
    case 3: return 2048;
    case 4: return 4096;
    default: return 0;
    }
}

uint32_t userSystemDataLength(uint8_t series, uint32_t sectorSize)
{
    switch (series) {
    case 5: case 17: return 512;
    case 9: case 15: case 16: case 18: case 19: case 20: case 21: case 22: case 23:
    case 25: case 26: case 28: case 29: case 30: case 33: case 34: return 256;
    case 13: case 14: return sectorSize == 4096 ? 2048 : 256;
    case 35: case 36: return 128;
    default: return 24;
    }
}

}  // namespace ksim
