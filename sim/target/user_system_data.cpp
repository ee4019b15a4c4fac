#include "target/user_system_data.h"

#include <algorithm>

namespace ksim {
namespace {

constexpr uint32_t kEpp0Offset = 4;     // EPP0-EPP3
constexpr uint32_t kEpp4Offset = 10;    // EPP4-EPP19, on the 20-byte layout
constexpr uint32_t kWordEppBits = 32;
constexpr uint32_t kUpperEppBytes = 16;

}  // namespace

UserSystemData::UserSystemData() { resetToFactory(); }

void UserSystemData::configure(const SeriesInfo &series, uint32_t flashSize, uint32_t sectorSize)
{
    series_ = series;
    flashSize_ = flashSize;
    sectorSize_ = sectorSize;
    const size_t length = 2 * userSystemDataLength(series.number, sectorSize);
    if (image_.size() == length)
        return;
    // A block of another length: what fits is kept (protection byte, EPP), the rest is factory state.
    const std::vector<uint8_t> old = image_;
    resetToFactory();
    std::copy_n(old.begin(), std::min(old.size(), image_.size()), image_.begin());
}

void UserSystemData::resetToFactory()
{
    const uint32_t length = userSystemDataLength(series_.number, sectorSize_);
    image_.assign(2 * length, 0);
    for (uint32_t i = 0; i < length; ++i)
        setLogical(i, 0xFF);
    setLogical(0, kFapOff);
}

void UserSystemData::setImage(const std::vector<uint8_t> &image)
{
    if (image.size() == image_.size())
        image_ = image;
}

void UserSystemData::setLogical(uint32_t index, uint8_t value)
{
    image_[2 * index] = value;
    image_[2 * index + 1] = static_cast<uint8_t>(~value);
}

int UserSystemData::protectionLevel() const
{
    switch (logical(0)) {
    case kFapOff: return 0;
    case kFapLevel2: return 2;
    default: return 1;
    }
}

uint32_t UserSystemData::eppByteOffset(uint32_t eppIndex) const
{
    return eppIndex < 4 ? kEpp0Offset + eppIndex : kEpp4Offset + (eppIndex - 4);
}

bool UserSystemData::eppBit(uint32_t eppIndex, uint32_t bit) const
{
    const uint32_t offset = eppByteOffset(eppIndex);
    if (offset >= logicalLength())
        return true;
    return (logical(offset) >> bit) & 1;
}

bool UserSystemData::sectorProtected(uint32_t sector) const
{
    if (sectorSize_ == 0)
        return false;
    if (series_.epp == EppLayout::Word32) {
        uint32_t perBit = 2;
        if (!series_.eppTwoSectorsPerBit && flashSize_ < 256 * 1024)
            perBit = 4;
        const uint32_t bit = std::min(sector / perBit, kWordEppBits - 1);
        return !eppBit(bit / 8, bit % 8);
    }
    // 20-byte layout: 4 KiB per bit over the first 128 KiB, then 128 KiB per bit.
    const uint32_t lowSectors = 128 * 1024 / sectorSize_;
    const uint32_t perBit = std::max<uint32_t>(1, 4096 / sectorSize_);
    if (sector < lowSectors) {
        const uint32_t bit = sector / perBit;
        return !eppBit(bit / 8, bit % 8);
    }
    const uint32_t bit = (sector - lowSectors) / lowSectors;
    if (bit / 8 >= kUpperEppBytes)
        return false;
    return !eppBit(4 + bit / 8, bit % 8);
}

void UserSystemData::setAllEpp(uint8_t value)
{
    const uint32_t count = series_.epp == EppLayout::Word32 ? 4 : 4 + kUpperEppBytes;
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t offset = eppByteOffset(i);
        if (offset < logicalLength())
            setLogical(offset, value);
    }
}

}  // namespace ksim
