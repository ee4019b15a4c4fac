#pragma once

#include "file_info.h"
#include "KORVEXLIB.h"
#include "mcu_series.h"

#include <array>
#include <cstdint>
#include <string>

// The two OTP areas a write can aim at.
enum OtpArea : int32_t {
    OTP_DATA_AREA = 0,
    OTP_LOCK_AREA = 1,
};

// The console's one adapter to the probe library. It holds the open probe handle (0: none) and
// turns each command's need into library calls.
//
// Result conventions: methods returning a library code pass it through, FAILED (-96) without a
// handle; methods returning a byte code give the low byte of the library code, 160 without a
// handle and 161 when cancelled; truth-valued methods are true (or 1) on success.
class CLinkInterface {
public:
    CLinkInterface();
    ~CLinkInterface();
    CLinkInterface(const CLinkInterface&) = delete;
    CLinkInterface& operator=(const CLinkInterface&) = delete;

    int S05_OTP2_LENGTH = 16;
    int ZR32Sxx_OTP2_LENGTH = 24;

    void SetLinkHandle(KORVEX_HANDLE handle) { handle_ = handle; }
    void SetCancelFlag(bool flag) { cancelRequested_ = flag; }

    // Pass-through calls: FAILED without a handle, else the library's result.
    int SetTargetState(uint8_t state);
    int SetTargetDeviceId(uint8_t series, int pid);
    int SpimErase();
    int BootMemoryErase();
    int EnableBank3Function(uint8_t remap, uint8_t spimType, uint32_t size, uint32_t da);
    int SetVkpVersion(uint32_t version);
    int DebugReadMemory(uint32_t addr, int len, uint8_t* buf, uint8_t width);
    int DebugWriteMemory(uint32_t addr, int len, uint8_t* data, uint8_t width);
    int SetBootMemoryApMode(uint32_t key);
    int GetBootMemoryApMode(uint8_t& mode);
    int GetTransportType(uint8_t& type);
    int EraseBleMainSpace();
    int EraseBleNvrSpace();
    int EraseBleRdnSpace();
    int EraseBleAllSpaces();
    int BleSectorErase(uint32_t addr, int count);
    int BleBlockErase(uint32_t addr, int count);
    int ReadBleRegister(uint8_t reg, uint8_t& value);
    int WriteBleRegister(uint8_t reg, uint8_t value);
    int CheckBleCrc(uint8_t& result);
    int WriteBleFlash(uint32_t addr, int len, uint8_t* data);
    int ReadBleFlash(uint32_t addr, int len, uint8_t* buf);
    int DownloadBleCrcValue(int index, uint32_t crc);

    // Whole main flash: bank 1, then bank 2 when the flash is larger than 512 KiB.
    int FlashErase(uint32_t flashSize);

    // Access protection; level 1 or 2 protected, 0 not, -1 when the probe cannot tell.
    int IsAccessProtected(int& level);
    bool DisableAccessProtection();
    bool EnableAccessProtection(uint8_t level);

    // Identification byte and product ID; 1 on success, 0 on failure.
    int ReadUIDInfo(int& value);
    int ReadPIDInfo(int& pid);

    // User system data, L data bytes travelling as L byte/complement pairs; 1 success, 0 failure.
    static int GetUserSystemDataLength(McuSeries series);
    int WriteUserSystemData(McuSeries series, const uint8_t* data, int size);
    int ReadUserSystemData(McuSeries series, uint8_t* out, int size);

    // Erases the sectors starting at the listed addresses; a boot memory address makes the whole
    // boot memory go once, first. Byte code.
    int SectorErase(const uint32_t* addresses, int count);
    // Reads any range (BLE module below 0x08000000) in 1 KiB blocks. position and total are
    // progress figures of the caller and change nothing. Byte code.
    int ReadMemory(uint32_t addr, int len, uint8_t* buf, int position, int total);
    // One read; the held handle is used, not the argument. Byte code.
    int ReadFromDevice(KORVEX_HANDLE handle, uint32_t addr, int len, uint8_t* buf);

    // BLE module.
    bool ConnectBleTarget();
    bool DisconnectBleTarget();
    int IsBleAccessProtected(int& level);
    int GetBleConnectState(uint8_t& connected);
    // 0 when the flash space was selected, FAILED without a handle, else the library's code:
    // a caller must not write or erase after a failed select.
    int SelectBleFlashSpace(uint8_t space);
    bool EnableBleAccessProtection();
    bool DisableBleAccessProtection();

    // The OTP write sequence: begin, data and lock writes, end.
    int BeginOtpWrite();
    int DownloadOtpData(uint32_t addr, int len, uint8_t* data, OtpArea area);
    int EndOtpWrite();

    // Writes a serial number of 8 hexadecimal digits as 4 bytes at the address, last digit pair
    // first, and reads them back; true when they read back equal. The series is not used.
    bool WriteSNNumber(const std::string& addressText, const std::string& serialText, McuSeries series);

    // The checksum the BLE module keeps of its flash (see ble_crc.cpp).
    static uint32_t ReverseBits(uint32_t value);
    void MakeCrcTable();
    uint32_t UpdateCrc(uint32_t crc, const uint8_t* bytes, uint32_t n) const;
    void GetCRCCode(const uint8_t* data, int len, uint32_t& crc);

    // Download engine.
    int SectorEraseForDownload(const FileInfo& info);
    int DownloadToDevice(const FileInfo& info, uint8_t* bleImage, uint32_t& bleCount);
    int BeginDownload(const FileInfo& info);
    int EndDownload(const FileInfo& info);
    int SendDownloadChunk(KORVEX_HANDLE handle, uint32_t address, int32_t length, const uint8_t* data,
                              uint8_t* bleImage, uint32_t& bleCount);
    static uint32_t CalculateCheckSum(const char* text, int32_t length, const uint8_t* data);

private:
    bool HasHandle() const { return handle_ != 0; }
    // Clears the flag and reports true when an operation must stop.
    bool TakeCancel();

    bool cancelRequested_ = false;
    KORVEX_HANDLE handle_ = 0;
    std::array<uint32_t, 256> crcTable_{};
};

// The one link interface of the run; the connection gives it the probe handle.
extern CLinkInterface g_link;

// True when the target answers that its boot memory is in AP mode.
bool IsBootMemoryAPMode();
