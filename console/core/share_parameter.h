#pragma once

#include "connect_state.h"
#include "device_catalogue.h"
#include "erased_memory.h"
#include "mcu_series.h"
#include "memory_map.h"

#include <QStringList>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct FileInfo; // the image model owns it; LocateImage lives beside it

// Everything one run has learnt or been told; one instance, g_shareParameter.
class ShareParameter {
public:
    ShareParameter();

    int32_t bleFlashSectorSize = 0;
    uint32_t bleFlashSize = 0;
    uint32_t bleFlashAddress = 0;
    uint32_t otp3Size = 0;
    uint32_t otp3Address = 0;
    ProbeHardwareVersion probeHardware = HW_VERSION_EZ;
    ConnectState connectState = DISCONNECTED;
    McuSeries series = ZR32ErrorMCU2;
    int32_t memoryChecksum = 0;
    std::string partName;
    std::string flashSizeText;               // decimal kilobytes followed by "KB"
    ErasedMemory erasedInRun;           // erased by -e and not written since
    bool bleMainSpaceErased = false;    // by -eble --all [--main], and not written since
    int32_t flashSectorSize = 0;
    bool hasOtherMemory = false;
    int32_t spimSectorSize = 4096;
    std::string probeSerialNumber;
    uint32_t downloadAddress = 0;
    std::string downloadFileName;
    bool verifyDownload = false;
    bool spimEnabled = false;
    uint32_t spimSizeMb = 0;             // MB
    bool spimNeedsRemap = false;
    bool spimRemap = false;
    uint8_t spimFlashType = 0;
    uint32_t spimFlashDa = 0;
    std::string otpFileName;
    std::string userSystemDataFilePath;  // the -usd --set file that -enspim writes too
    uint32_t otpDataAddress = 0;
    int32_t otpDataLength = 0;
    uint32_t otpLockAddress = 0;
    int32_t otpLockLength = 0;
    std::string programFolder;
    // What the production log reports: the last image downloaded and serial number written.
    std::string downloadedImageName;
    int64_t downloadedImageSize = 0;
    uint32_t downloadedImageChecksum = 0;
    std::string serialNumberWritten;
    std::vector<std::vector<std::string>> devicePartLists;
    std::array<uint8_t, kDeviceListCount> deviceListSeries{};

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

    // Bytes of SPIM the console may address: the enabled size, never past the 16 MB window.
    uint32_t EnabledSpimBytes() const;
    // Main flash size in bytes from flashSizeText.
    uint32_t GetFlashSize() const;
    // Whether a hexadecimal address lies in a memory of the connected target.
    bool IsAddressTextInTarget(const std::string& text) const;
    // Decides which memories an image touches (implemented with the image model).
    void LocateImage(FileInfo& file);
    // Boot memory of a series (0, 0 for series without one).
    static void GetBootMemoryInfo(McuSeries series, uint32_t& address, uint32_t& size);
    // Builds the -device catalogue; called once by the constructor.
    void InitDevicePartNoList();
};

extern ShareParameter g_shareParameter;
