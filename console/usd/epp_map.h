#pragma once

// Where the erase/program protection (EPP) bit of a flash sector lies: byte index into the EPP
// bytes (EPP0 = 0) and bit number. EPP bits are active low: 0 protects.
struct EppBit {
    int byteIndex = 0;
    int bit = 0;
};

// Four EPP bytes, one 32-bit little-endian word: sector k of main flash is protected by bit
// min(k / sectorsPerBit, 31); every sector number at or above sectorCount (boot memory, SPIM)
// lands on bit 31 too. False for a negative sector, or for one that needs sectorsPerBit when it is 0.
bool EppBitForSector(int sector, int sectorCount, int sectorsPerBit, EppBit& bit);

// Twenty EPP bytes (ZR32_S13, ZR32_S14): EPP0-EPP3 cover the first 128 KB in 4 KB steps,
// EPP4-EPP19 the rest in 128 KB steps. False for a negative sector, a sector past EPP19, or a
// sector size that gives no map (below 1 KB, or above 4 KB).
bool ExtendedEppBitForSector(int sector, int flashSectorSize, EppBit& bit);
