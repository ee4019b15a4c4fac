#include "epp_map.h"

namespace {
constexpr int kBitsPerByte = 8;
constexpr int kLastWordBit = 31;
constexpr int kWordBytes = 4;
constexpr int kExtendedEppBytes = 20;
constexpr int kFirstBlockKilobytes = 128; // covered by EPP0-EPP3
constexpr int kBytesPerEppBitLow = 4096;  // one EPP0-EPP3 bit

EppBit BitOfIndex(int index)
{
    return {index / kBitsPerByte, index % kBitsPerByte};
}
} // namespace

bool EppBitForSector(int sector, int sectorCount, int sectorsPerBit, EppBit& bit)
{
    if (sector < 0)
        return false;
    if (sector >= sectorCount) {
        bit = BitOfIndex(kLastWordBit);
        return true;
    }
    if (sectorsPerBit <= 0)
        return false;
    const int index = sector / sectorsPerBit;
    bit = BitOfIndex(index < kLastWordBit ? index : kLastWordBit);
    return true;
}

bool ExtendedEppBitForSector(int sector, int flashSectorSize, EppBit& bit)
{
    if (sector < 0 || flashSectorSize < 1024 || flashSectorSize > kBytesPerEppBitLow)
        return false;
    const int firstBlockSectors = kFirstBlockKilobytes / (flashSectorSize / 1024);
    const int sectorsPerBit = kBytesPerEppBitLow / flashSectorSize;
    if (sector < firstBlockSectors) {
        bit = {sector / (sectorsPerBit * kBitsPerByte), (sector / sectorsPerBit) % kBitsPerByte};
        return true;
    }
    const int beyond = sector - firstBlockSectors;
    const int byteIndex = kWordBytes + beyond / (firstBlockSectors * kBitsPerByte);
    if (byteIndex >= kExtendedEppBytes)
        return false;
    bit = {byteIndex, (beyond / firstBlockSectors) % kBitsPerByte};
    return true;
}
