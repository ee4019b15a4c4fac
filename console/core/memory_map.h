#pragma once

#include <cstdint>

// Target memory map shared by every series.
constexpr uint32_t ZRCHIP_FLASH_BASE_ADDRESS = 0x08000000;
constexpr uint32_t ZRCHIP_FLASH_MAX_SIZE = 0x400000;       // 4 MB window
constexpr uint32_t ZRCHIP_FLASH_PAGE_BEGININDEX = 0;
constexpr uint32_t ZRCHIP_SPIM_BASE_ADDRESS = 0x08400000;
constexpr uint32_t ZRCHIP_SPIM_MAX_SIZE = 0x1000000;       // 16 MB window
constexpr uint32_t ZRCHIP_SPIM_PAGE_BEGININDEX = 0x8000;   // common sector numbering
constexpr uint32_t ZRCHIP_SPIM_PAGE_SIZE = 0x1000;
constexpr uint32_t ZRCHIP_SYS_PAGE_BEGININDEX = 0x4000;    // common sector numbering

constexpr bool IsInSpimWindow(uint32_t address)
{
    return address >= ZRCHIP_SPIM_BASE_ADDRESS && address - ZRCHIP_SPIM_BASE_ADDRESS < ZRCHIP_SPIM_MAX_SIZE;
}
constexpr uint32_t ZR32MCU_UID_ADDR = 0x1FFFF7F0;
constexpr int ZRCHIP_MCU_COR_M0 = 0;
constexpr int ZRCHIP_MCU_COR_M4 = 4;

// User system data (option byte) area lengths per series, in bytes.
constexpr uint32_t OTP2_LENGTH_S05 = 512;
constexpr uint32_t OTP2_DATA_LENGTH_S05 = 506;
constexpr uint32_t OTP2_LENGTH_ZR32 = 24;
constexpr uint32_t OTP2_DATA_LENGTH_ZR32 = 8;
constexpr uint32_t OTP2_EPP_LENGTH_ZR32 = 4;
constexpr uint32_t OTP2_LENGTH_S35_S36 = 128;
constexpr uint32_t OTP2_DATA_LENGTH_S35_S36 = 116;
constexpr uint32_t OTP2_LENGTH_S09 = 256;
constexpr uint32_t OTP2_LENGTH_S15 = 256;
constexpr uint32_t OTP2_LENGTH_S16 = 256;
constexpr uint32_t OTP2_LENGTH_S18 = 256;
constexpr uint32_t OTP2_DATA_LENGTH_S09 = 250;
constexpr uint32_t OTP2_DATA_LENGTH_S15 = 250;
constexpr uint32_t OTP2_DATA_LENGTH_S16 = 250;
constexpr uint32_t OTP2_DATA_LENGTH_S18 = 250;
constexpr uint32_t OTP2_LENGTH_S19_S20_S30 = 256;
constexpr uint32_t OTP2_DATA_LENGTH_S19_S20_S30 = 220;
constexpr uint32_t OTP2_LENGTH_S21_S22_S23 = 256;
constexpr uint32_t OTP2_DATA_LENGTH_S21_S22_S23 = 216;
constexpr uint32_t OTP2_LENGTH_S25_S26 = 256;
constexpr uint32_t OTP2_DATA_LENGTH_S25_S26_S28 = 250;
constexpr uint32_t OTP2_LENGTH_S33_S34 = 256;
constexpr uint32_t OTP2_DATA_LENGTH_S33_S34 = 249;
constexpr uint32_t OTP2_LENGTH_S13S14_1 = 256;
constexpr uint32_t OTP2_DATA_LENGTH_S13S14_1 = 220;
constexpr uint32_t OTP2_LENGTH_S13S14_2 = 2048;
constexpr uint32_t OTP2_DATA_LENGTH_S13S14_2 = 2012;
constexpr uint32_t OTP2_EPP_LENGTH_S13S14 = 20;
constexpr uint32_t OTP2_MAX_LENGTH = 2048;
constexpr uint32_t OTP2_BASE_ADDRESS_S13S14 = 0x1FFFC000;
constexpr uint32_t OTP2_BASE_ADDRESS_OTHER = 0x1FFFF800;

// Boot (system) memory per series: size in bytes and start address.
constexpr uint32_t ZRCHIP_OTP3_SIZE_S05 = 0x4800;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S05 = 0x1FFFAC00;
constexpr uint32_t ZRCHIP_OTP3_SIZE_S09 = 4096;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S09 = 0x1FFFE400;
constexpr uint32_t ZRCHIP_OTP3_SIZE_S15 = 4096;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S15 = 0x1FFFE400;
constexpr uint32_t ZRCHIP_OTP3_SIZE_S16 = 4096;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S16 = 0x1FFFE400;
constexpr uint32_t ZRCHIP_OTP3_SIZE_S18 = 0x5000;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S18 = 0x1FFFA400;
constexpr uint32_t ZRCHIP_OTP3_SIZE_S19_S20_S30 = 0x5000;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S19_S20_S30 = 0x1FFFA400;
constexpr uint32_t ZRCHIP_OTP3_SIZE_S21_S22_S23 = 0x6800;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S21_S22_S23 = 0x1FFF7C00;
constexpr uint32_t ZRCHIP_OTP3_SIZE_S25_S26_S28 = 0x7000;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S25_S26_S28 = 0x1FFF8000;
constexpr uint32_t ZRCHIP_OTP3_SIZE_S33_S34 = 0x7000;
constexpr uint32_t ZRCHIP_OTP3_ADDRESS_S33_S34 = 0x1FFF8000;

// OTP data and lock areas of the series that have them.
constexpr uint32_t OTP_DATA_ADDRESS_S21_S22_S23 = 0x1FFFE400;
constexpr int32_t OTP_DATA_LENGTH_S21_S22_S23 = 4096;
constexpr uint32_t OTP_DATA_ADDRESS_S25_S26_S28_S33_S34 = 0x1FFFF000;
constexpr int32_t OTP_DATA_LENGTH_S25_S26_S28_S33_S34 = 1024;
constexpr uint32_t OTP_LOCK_ADDRESS = 0x1FFFF500;
constexpr int32_t OTP_LOCK_LENGTH = 128;

// BLE module flash of the ZR32_S17 series.
constexpr int32_t ZR32_S17_BLE_SECTOR_SIZE = 512;
constexpr uint32_t ZR32_S17_BLE_FLASH_SIZE = 0x27FF8;
constexpr uint32_t ZR32_S17_BLE_FLASH_ADDRESS = 0;
constexpr uint32_t ZR32_S17_BLE_SECTORERASE_MAX_FLASH_SIZE = 0x27E00;

// Result codes of the console program's own routines.
constexpr int32_t SUCCESS = 0;
constexpr int32_t ERROR_OFFSET = 0;
constexpr int32_t FAILED = -96;   // 0xFFFFFFA0
constexpr int32_t CANCELED = -95; // 0xFFFFFFA1
