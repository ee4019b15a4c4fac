#pragma once

#include <QList>

#include <cstdint>
#include <string>

// Largest number of bytes one image part holds.
constexpr uint32_t IMAGE_PART_CAPACITY = 0x10000;

// Which target memories the parts of an image lie in.
enum DataInMemoPos : int32_t {
    FILE_POS_IN_MAIN_FLASH = 0,
    FILE_POS_IN_SPIM_FLASH = 1,
    FILE_POS_IN_BOOT_FLASH = 2,
    FILE_POS_IN_BLE_FLASH = 3,
    FILE_POS_IN_MAIN_BOOT_FLASH = 4,
    FILE_POS_IN_MAIN_BLE_FLASH = 5,
    FILE_POS_IN_MAIN_SPIM_FLASH = 6,
    FILE_POS_IN_BOOT_BLE_FLASH = 7,
    FILE_POS_IN_MAIN_BOOT_BLE_FLASH = 8,
};

// One run of at most 64 KiB of bytes at consecutive target addresses.
struct HEXFILEPARTINFO {
    uint32_t PartStartAddress = 0;
    uint32_t PartEndAddress = 0;  // inclusive: PartStartAddress + PartSize - 1
    uint32_t PartSize = 0;        // valid bytes in pData
    uint32_t PartChecksum = 0;    // sum of the valid bytes, modulo 2^32
    uint8_t pData[IMAGE_PART_CAPACITY] = {};
};

// One loaded image. A value: receivers get copies and never change the parts.
struct FileInfo {
    std::string FilePath;          // the path as the user gave it
    std::string LoadFileType;      // the file name: the text after the last "/"
    int32_t Filechecksum = 0;      // sum of all bytes of all parts, modulo 2^32
    uint32_t StartAddress = 0;     // binary: the load address; HEX: start of the first part
    int32_t FileSize = 0;          // binary: file length; HEX: sum of PartSize
    DataInMemoPos FileInMemoPos = FILE_POS_IN_MAIN_FLASH;
    QList<HEXFILEPARTINFO> partInfo; // file order, never sorted or merged
    uint8_t StoreKorvexPosition = 0;
};
