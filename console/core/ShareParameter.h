#pragma once

#include "ConnectState.h"
#include "DeviceCatalogue.h"
#include "McuSeries.h"
#include "MemoryMap.h"

#include <QStringList>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct FileInfo; // the image model owns it; CheckFileInMemoPos lives beside it

// Everything one run has learnt or been told; one instance, g_shareParameter.
class ShareParameter {
public:
    ShareParameter();

    int32_t BLEFlashSectorSize = 0;
    uint32_t BLEFlashSize = 0;
    uint32_t BLEFlashAddress = 0;
    uint32_t ZRCHIP_OTP3_SIZE = 0;
    uint32_t ZRCHIP_OTP3_ADDRESS = 0;
    KorvexHWVerison KorvexType = HW_VERSION_EZ;
    DeviceConnectStatus m_ConnectFlag = DISCONNECTED;
    MCUSERIALS ZR32DeviceSerial = ZR32ErrorMCU2;
    int32_t Memorychecksum = 0;
    std::string ZR32Device;
    std::string FlashSize;               // decimal kilobytes followed by "KB"
    bool m_eraseMCUFlag = false;
    bool m_eraseBLEFlag = false;
    int32_t FlashSectorSize = 0;
    bool m_haveOtherMemory = false;
    int32_t Bank3SectorSize = 4096;
    std::string KorvexSerialsNumber;
    uint32_t c_address = 0;
    std::string c_filename;
    bool c_Verify = false;
    bool c_SPIMEnabled = false;
    uint32_t c_SPIMSize = 0;             // MB
    bool c_bNeedRemap = false;
    bool c_bRemapFlag = false;
    uint8_t c_SPIMType = 0;
    uint32_t c_SPIMDA = 0;
    std::string c_otpfilename;
    uint32_t OTP_Data_Address = 0;
    int32_t OTP_Data_Length = 0;
    uint32_t OTP_Lock_Address = 0;
    int32_t OTP_Lock_Length = 0;
    std::string c_strFilePath;
    std::vector<std::vector<std::string>> DevicePartNoList;
    std::array<uint8_t, DEVICE_LIST_COUNT> SerialsIDList{};

    // Text read as a signed 64-bit number by strtoll rules, truncated to 32 bits.
    static int32_t StringToInt32(const std::string& text, int base);
    static uint32_t StringToUInt32(const std::string& text, int base);
    static int32_t IntParse(const std::string& text);
    // Upper-case hexadecimal, zero-padded to width and cut to the last width characters.
    static std::string IntToHexString(int32_t value, int32_t width);
    static std::string ToUpper(std::string text);
    static std::string ToLower(std::string text);
    // Trimmed text cut into pieces of n characters, the last one shorter.
    static QStringList SplitLength(const std::string& text, int n);

    // Main flash size in bytes from FlashSize.
    uint32_t GetFlashSize() const;
    // Whether a hexadecimal address lies in a memory of the connected target.
    bool txt_address_ValidInfo(const std::string& text) const;
    // Decides which memories an image touches (implemented with the image model).
    void CheckFileInMemoPos(FileInfo& file);
    // Boot memory of a series (0, 0 for series without one).
    static void GetBootMemoryInfo(MCUSERIALS series, uint32_t& address, uint32_t& size);
    // Builds the -device catalogue; called once by the constructor.
    void InitDevicePartNoList();
};

extern ShareParameter g_shareParameter;
