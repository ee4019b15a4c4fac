// The option-byte block of the target: L logical bytes, each stored as the byte and its complement.
// Logical byte 0 is the access protection byte (FAP); the EPP bytes hold the active-low erase/program
// protection bits of the flash sectors.
#pragma once

#include <cstdint>
#include <vector>

#include "target/series_info.h"

namespace ksim {

class UserSystemData {
public:
    static constexpr uint8_t kFapOff = 0xA5;
    static constexpr uint8_t kFapLevel1 = 0xFF;
    static constexpr uint8_t kFapLevel2 = 0xCC;

    UserSystemData();

    // Geometry of the target the block belongs to; a block of a new length keeps the bytes that fit.
    void configure(const SeriesInfo &series, uint32_t flashSize, uint32_t sectorSize);
    void resetToFactory();

    uint32_t logicalLength() const { return static_cast<uint32_t>(image_.size() / 2); }
    const std::vector<uint8_t> &image() const { return image_; }  // 2L bytes as stored
    void setImage(const std::vector<uint8_t> &image);               // same length only
    uint8_t logical(uint32_t index) const { return image_[2 * index]; }
    void setLogical(uint32_t index, uint8_t value);

    // 0 when FAP is 0xA5, 2 for 0xCC, 1 for any other value.
    int protectionLevel() const;
    bool sectorProtected(uint32_t sector) const;
    void setAllEpp(uint8_t value);

private:
    bool eppBit(uint32_t byteIndex, uint32_t bit) const;
    uint32_t eppByteOffset(uint32_t eppIndex) const;

    SeriesInfo series_;
    uint32_t flashSize_ = 0;
    uint32_t sectorSize_ = 0;
    std::vector<uint8_t> image_;
};

}  // namespace ksim
