#pragma once

#include <QList>

#include <cstdint>
#include <string>
#include <vector>

// Largest number of bytes one image part holds.
constexpr uint32_t IMAGE_PART_CAPACITY = 0x10000;

// Which target memories the parts of an image lie in.
enum ImageLocation : int32_t {
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

// One run of at most 64 KiB of bytes at consecutive target addresses. The bytes take only the
// room they need: an image of many small parts stays as small as its data.
struct ImagePart {
    uint32_t startAddress = 0;
    uint32_t endAddress = 0;  // inclusive: startAddress + size() - 1
    uint32_t checksum = 0;    // sum of the bytes, modulo 2^32
    std::vector<uint8_t> bytes;

    uint32_t size() const { return static_cast<uint32_t>(bytes.size()); }
};

// One loaded image. A value: receivers get copies and never change the parts.
struct FileInfo {
    std::string path;          // the path as the user gave it
    std::string fileName;      // the file name: the text after the last "/"
    int32_t checksum = 0;      // sum of all bytes of all parts, modulo 2^32
    uint32_t startAddress = 0;     // binary: the load address; HEX: start of the first part
    int32_t size = 0;          // binary: file length; HEX: sum of size
    ImageLocation location = FILE_POS_IN_MAIN_FLASH;
    QList<ImagePart> parts; // file order, never sorted or merged
    uint8_t storePosition = 0;
};
