#include "user_system_data.h"

#include "epp_map.h"
#include "user_system_data_length.h"

#include <algorithm>
#include <cstring>

namespace {
// Where the EPP bytes lie in the logical block.
constexpr int kEppLowPosition = 4;   // EPP0-EPP3
constexpr int kEppLowCount = 4;
constexpr int kEppHighPosition = 10; // EPP4-EPP19 on the series with 20 EPP bytes
// ZR32_S05 and ZR32_S17 protect two sectors per EPP bit whatever their flash size.
constexpr uint8_t kSectorsPerBitS05S17 = 2;

int BlockPositionOfEpp(int eppIndex)
{
    return eppIndex < kEppLowCount ? kEppLowPosition + eppIndex : kEppHighPosition + eppIndex - kEppLowCount;
}
} // namespace

CUserSystemData::CUserSystemData(McuSeries series, int sectorNums, uint8_t sectorsPerBit, const uint8_t* data,
                                 int length, bool haveOtherMemory, int flashSectorSize)
    : blockLength(length),
      EPP(static_cast<size_t>(EppByteCount(series)), 0),
      eppLength(EppByteCount(series)),
      sectorsPerBit(series == ZR32_S05 || series == ZR32_S17 ? kSectorsPerBitS05S17 : sectorsPerBit),
      sectorCount(sectorNums),
      mcuSeries(series),
      hasOtherMemory(haveOtherMemory),
      flashSectorSize(flashSectorSize)
{
    if (data && length > 0)
        std::memcpy(block, data, static_cast<size_t>(std::min(length, kCapacity)));
    Set(data, length);
}

void CUserSystemData::Set(const uint8_t* data, int length)
{
    if (!data || length < UserSystemDataLength(mcuSeries, flashSectorSize))
        return;
    for (int i = 0; i < eppLength; ++i)
        EPP[static_cast<size_t>(i)] = data[BlockPositionOfEpp(i)];
}

void CUserSystemData::SetEPP(int sector, bool protect)
{
    EppBit bit;
    const bool mapped = HasExtendedEpp(mcuSeries)
                            ? ExtendedEppBitForSector(sector, flashSectorSize, bit)
                            : EppBitForSector(sector, sectorCount, sectorsPerBit, bit);
    if (!mapped)
        return;
    uint8_t& byte = EPP[static_cast<size_t>(bit.byteIndex)];
    const auto mask = static_cast<uint8_t>(1u << bit.bit);
    byte = protect ? static_cast<uint8_t>(byte & ~mask) : static_cast<uint8_t>(byte | mask);
}

int CUserSystemData::GetUserSystemDataArrays(std::vector<uint8_t>& out) const
{
    const int length = UserSystemDataLength(mcuSeries, flashSectorSize);
    out.assign(block, block + length);
    for (int i = 0; i < eppLength; ++i)
        out[static_cast<size_t>(BlockPositionOfEpp(i))] = EPP[static_cast<size_t>(i)];
    return length;
}
