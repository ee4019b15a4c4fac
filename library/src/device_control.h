// One opened probe: its USB channel and every command it understands. Each command method
// returns 0, a KORVEX_RESULT code or the probe's status byte.
#pragma once

#include "byte_view.h"
#include "device_entry.h"
#include "exchange_trace.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace korvex {

struct Command;
struct RequestArgs;
class Reply;

class ZRDeviceControl {
public:
    ZRDeviceControl() = default;
    ~ZRDeviceControl() { KorvexDevice_Close(); }
    ZRDeviceControl(const ZRDeviceControl &) = delete;
    ZRDeviceControl &operator=(const ZRDeviceControl &) = delete;

    // ---- USB channel (device_control_usb.cpp) ----
    // Keeps its own copy of the entry, so a later enumeration cannot pull it away.
    void setEntry(const KorvexDeviceEntry &entry) { entry_ = entry; }
    // Opens the probe, claims every one of its interfaces and drains stale input; the handle, or
    // nullptr with the reason in openFailure().
    libusb_device_handle *KorvexDevice_Open();
    void KorvexDevice_Close();
    enum class OpenFailure { None, Busy, Denied, Other };
    OpenFailure openFailure() const { return openFailure_; }

    // Replies that come after their request gave up waiting (see exchange.cpp). A receive that
    // got nothing leaves one reply owed; the next exchange first drains what is already waiting,
    // and while replies are owed, one that does not fit its request is taken for a late one.
    void noteMissingReply() {
        ++lateRepliesOwed_;
        drainDue_ = true;
    }
    void discardWaitingLateReplies();
    bool takeLateReply() {
        if (lateRepliesOwed_ == 0) return false;
        --lateRepliesOwed_;
        return true;
    }
    libusb_device_handle *usbHandle() const { return usbHandle_; }
    // Sends one request packet; the number of bytes sent, or -1.
    int trans_write(ByteView packet);
    // Receives one packet of at most `length` bytes; the number of bytes copied, or -1.
    int trans_read_timeout(uint8_t *buffer, int length, unsigned timeoutMs);
    uint32_t outPacketSize() const { return entry_ ? entry_->outPacketSize : 0; }
    uint32_t inPacketSize() const { return entry_ ? entry_->inPacketSize : 0; }

    int KORVEXDevice_GetSerialNumber(char *buf, int size) const;
    int KORVEXDevice_GetManufacturer(char *buf, int size) const;
    int KORVEXDevice_GetProduct(char *buf, int size) const;
    int KORVEXDevice_GetTransType(uint8_t *out) const;
    int KORVEXDevice_SetNonblocking(int mode) const;

    // ---- Probe information and link settings (probe_commands.cpp) ----
    int KORVEXDevice_GetVersion(int len, uint8_t *buf);
    int KORVEXDevice_GetAPPState(uint8_t *out);
    int KORVEXDevice_GetEncKey(int len, uint8_t *buf);
    int KORVEXDevice_SetEncKey(int len, const uint8_t *buf);
    int KORVEXDevice_GetSWDSpeed(int *out);
    int KORVEXDevice_SetSWDSpeed(int speed);
    int KORVEXDevice_GetRsetMode(uint8_t *out);
    int KORVEXDevice_SetRsetMode(uint8_t mode);
    int KORVEXDevice_GetLinkUID(int len, uint8_t *buf);
    int KORVEXDevice_GetButtonFreeState(uint8_t *out);
    int KORVEXDevice_SetButtonFreeState(uint8_t state);
    int KORVEXDevice_GetOfflineStepState(uint8_t *out);
    int KORVEXDevice_SetSWDAutoDetect();
    int KORVEXDevice_SetVKPVersion(uint32_t version);
    int KORVEXDevice_EncryptionTrans();
    int KORVEXDevice_DisEncryptionTrans();

    // ---- Target identity, state, protection, security areas (target_commands.cpp) ----
    int KORVEXDevice_GetStatus_Target(uint8_t *valid, uint8_t *isProtected, uint8_t *third);
    int KORVEXDevice_GetDeviceID_Target(uint8_t *buf);
    int KORVEXDevice_SetDeviceID_Target(uint8_t series, int pid);
    int KORVEXDevice_GetFlashSize_Target(int *out);
    int KORVEXDevice_SetState_Target(uint8_t state);
    int KORVEXDevice_GetTargetConnectState(uint8_t *out);
    int KORVEXDevice_AccessProtect_Target(uint8_t level);
    int KORVEXDevice_UnAccessProtect_Target();
    int KORVEXDevice_EraseWriteProtect_Target(int count, const int *sectors);
    int KORVEXDevice_UnEraseWriteProtect_Target();
    int KORVEXDevice_LockFlash_Target(uint8_t kind);
    int KORVEXDevice_UnLockFlash_Target(uint8_t kind);
    int KORVEXDevice_EnableSPIM_Target(uint8_t remap, uint8_t spimType, uint32_t size, uint32_t limit);
    int KORVEXDevice_EncryptionTrans_Target();
    int KORVEXDevice_DisEncryptionTrans_Target();
    int KORVEXDevice_GetSlibState_Target(uint8_t *state, uint16_t *a, uint16_t *b, uint16_t *c, uint16_t *d);
    int KORVEXDevice_EnableSlib_Target(uint32_t password, uint16_t a, uint16_t b, uint16_t c);
    int KORVEXDevice_DisableSlib_Target(uint32_t password);
    int KORVEXDevice_GetCRCValue_Target(uint16_t start, uint16_t count, uint32_t *out);
    int KORVEXDevice_GetSectorCRCValue_Target(uint16_t sector, uint32_t *out);
    int KORVEXDevice_GetSysSlibState_Target(uint8_t *state, uint16_t *value);
    int KORVEXDevice_EnableSysSlib_Target(uint32_t password, uint16_t value);
    int KORVEXDevice_DisableSysSlib_Target(uint32_t password);
    int KORVEXDevice_GetSysAPMode_Target(uint8_t *out);
    int KORVEXDevice_SetSysAPMode_Target(uint32_t key);

    // ---- Target memory, brackets, erase (target_memory.cpp) ----
    int KORVEXDevice_ReadMemory_Target(uint8_t type, uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_WriteMemory_Target(uint8_t type, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_WriteOTPMemory_Target(uint8_t type, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_UPLoad_Target(uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_DownLoad_Target(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_ReadUserSystemData_Target(int len, uint8_t *buf);
    int KORVEXDevice_WriteUserSystemData_Target(int len, const uint8_t *data);
    int KORVEXDevice_ReadOTPData_Target(uint32_t addr, int len, uint8_t *buf, uint8_t area);
    int KORVEXDevice_DownloadOTPData_Target(uint32_t addr, int len, const uint8_t *data, uint8_t area);
    int KORVEXDevice_WriteBeginEnd_Target(uint8_t kind, uint8_t phase);
    int KORVEXDevice_WriteMainFlashBegin_Target();
    int KORVEXDevice_WriteMainFlashEnd_Target();
    int KORVEXDevice_WriteSPIMBegin_Target();
    int KORVEXDevice_WriteSPIMEnd_Target();
    int KORVEXDevice_WriteUserSystemDataBegin_Target();
    int KORVEXDevice_WriteUserSystemDataEnd_Target();
    int KORVEXDevice_DownloadOTPDataBegin_Target();
    int KORVEXDevice_DownloadOTPDataEnd_Target();
    int KORVEXDevice_Erase_Target(uint8_t type, uint32_t addr, uint16_t count);
    int KORVEXDevice_SectorErase_Target(uint32_t addr, uint16_t count);
    int KORVEXDevice_BlockErase_Target(uint32_t addr, uint16_t count);
    int KORVEXDevice_Bank1AllErase_Target();
    int KORVEXDevice_Bank2AllErase_Target();
    int KORVEXDevice_SPIMAllErase_Target();
    int KORVEXDevice_MainFlashAllErase_Target();
    int KORVEXDevice_OTP3AllErase_Target();

    // ---- Debug access (debug_commands.cpp) ----
    int KORVEXDevice_DebugReadMemory_Target_Sub(uint32_t addr, int len, uint8_t *buf, uint8_t width);
    int KORVEXDevice_DebugWriteMemory_Target_Sub(uint32_t addr, int len, const uint8_t *data, uint8_t width);
    int KORVEXDevice_DebugReadMemory_Target(uint32_t addr, int len, uint8_t *buf, uint8_t width);
    int KORVEXDevice_DebugWriteMemory_Target(uint32_t addr, int len, const uint8_t *data, uint8_t width);
    int KORVEXDevice_DebugReadRegister_Target(uint32_t addr, uint32_t *out);
    int KORVEXDevice_DebugWriteRegister_Target(uint32_t addr, uint32_t value);

    // ---- BLE module (ble_commands.cpp) ----
    int KORVEXDevice_BLECHIP_ConnectOperation(uint8_t code);
    int KORVEXDevice_BLECHIP_S17_Connect() { return KORVEXDevice_BLECHIP_ConnectOperation(0); }
    int KORVEXDevice_BLECHIP_S17_DisConnect() { return KORVEXDevice_BLECHIP_ConnectOperation(1); }
    int KORVEXDevice_BLECHIP_SelectFlashSpace(uint8_t space);
    int KORVEXDevice_BLECHIP_SetCRCValue(int index, uint32_t crc);
    int KORVEXDevice_BLECHIP_FlashSendData(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_BLECHIP_FlashReadData(uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_BLECHIP_EraseOperation(uint8_t type, uint32_t addr, int count);
    int KORVEXDevice_BLECHIP_WriteReg(uint8_t reg, uint8_t value);
    int KORVEXDevice_BLECHIP_ReadReg(uint8_t reg, uint8_t *out);
    int KORVEXDevice_BLECHIP_SPICommand(uint8_t cmd);
    int KORVEXDevice_BLECHIP_GetFlashSpace(uint8_t *out);
    int KORVEXDevice_BLECHIP_ProtectOperation(uint8_t code);
    int KORVEXDevice_BLECHIP_EnableProtect() { return KORVEXDevice_BLECHIP_ProtectOperation(0xFF); }
    int KORVEXDevice_BLECHIP_DisableProtect() { return KORVEXDevice_BLECHIP_ProtectOperation(0xA5); }
    int KORVEXDevice_BLECHIP_GetProtectStatus(uint8_t *out);
    int KORVEXDevice_BLECHIP_CheckCRC(uint8_t *out);
    int KORVEXDevice_BLECHIP_WriteFlash(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_BLECHIP_ReadFlash(uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_BLECHIP_SectorErase(uint32_t addr, int count);
    int KORVEXDevice_BLECHIP_BlockErase(uint32_t addr, int count);
    int KORVEXDevice_BLECHIP_EraseMainFlash();
    int KORVEXDevice_BLECHIP_EraseNVRFlash();
    int KORVEXDevice_BLECHIP_EraseRDNFlash();
    int KORVEXDevice_BLECHIP_EraseAllFlash();
    int KORVEXDevice_GetBLESPIRate(uint8_t *out);
    int KORVEXDevice_SetBLESPIRate(uint8_t rate);

    // ---- External QSPI flash (qspi_commands.cpp) ----
    int KORVEXDevice_QSPI_Bit_Write(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_QSPI_Write_Only_Transfer(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_QSPI_Read_Only_Transfer(uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_QSPI_Set_State(uint8_t state);
    int KORVEXDevice_QSPI_Set_Register_Base_Addr(uint32_t addr);
    int KORVEXDevice_QSPI_Read_Memory(uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_QSPI_Write_Memory(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_QSPI_Sector_Erase_Memory(uint32_t addr, int count);
    int KORVEXDevice_QSPI_Block_Erase_Memory(uint32_t addr, int count);
    int KORVEXDevice_QSPI_Chip_Erase_Memory();
    int KORVEXDevice_QSPI_Config_Cmd_Parameter(int len, const uint8_t *block);
    int KORVEXDevice_QSPI_Send_Custom_Cmd(int len, const uint8_t *block);
    int KORVEXDevice_QSPI_DownLoad_Target(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_QSPI_UPLoad_Target(uint32_t addr, int len, uint8_t *buf);

    // ---- Probe settings, factory reset, production tests (settings_commands.cpp) ----
    int KORVEXDevice_GetOfflineDNState(uint8_t *out);
    int KORVEXDevice_GetTargetStableTime(uint32_t *out);
    int KORVEXDevice_SetTargetStableTime(uint32_t time);
    int KORVEXDevice_GetVoltageLevelValue(uint8_t sel, uint16_t *out);
    int KORVEXDevice_SetVoltageLevelValue(uint8_t sel, uint16_t value);
    int KORVEXDevice_GetVoltageState(uint8_t *out);
    int KORVEXDevice_SetVoltageState(uint8_t state);
    int KORVEXDevice_GetVoltageCurrentLevel(uint8_t *out);
    int KORVEXDevice_SetVoltageCurrentLevel(uint8_t level);
    int KORVEXDevice_GetTVCCVoltageValue(int *out);
    int KORVEXDevice_GetOfflineDownloadType(uint8_t *out);
    int KORVEXDevice_SetOfflineDownloadType(uint8_t type);
    int KORVEXDevice_GetOfflineISPUartBps(uint32_t *out);
    int KORVEXDevice_SetOfflineISPUartBps(uint32_t bps);
    int KORVEXDevice_GetOfflineISPAutoBoot(uint8_t *out);
    int KORVEXDevice_SetOfflineISPAutoBoot(uint8_t on);
    int KORVEXDevice_GetBuzzerState(uint8_t *out);
    int KORVEXDevice_SetBuzzerState(uint8_t state);
    int KORVEXDevice_GetMachineBurningState(uint8_t *a, uint8_t *b, int *c, int *d);
    int KORVEXDevice_SetMachineBurningState(uint8_t a, uint8_t b, int c, int d);
    int KORVEXDevice_GetUSBToUsartState(uint8_t *out);
    int KORVEXDevice_SetUSBToUsartState(uint8_t state);
    int KORVEXDevice_GetLCDFWVersion(int len, uint8_t *buf);
    int KORVEXDevice_GetUsartAutoMode(uint8_t *out);
    int KORVEXDevice_SetUsartAutoMode(uint8_t mode);
    int KORVEXDevice_FactoryDataReset();
    int KORVEXDevice_PinTestMode(uint32_t *out);
    int KORVEXDevice_PinTestSysReset();
    int KORVEXDevice_LEDTestMode();
    int KORVEXDevice_PROLCDTestMode();

    // ---- Offline programming: code number and index, stored data (offline_commands.cpp) ----
    int KORVEXDevice_GetCodeNumber(uint8_t *out);
    int KORVEXDevice_SetCodeNumber(uint8_t n);
    int KORVEXDevice_GetDownloadCodeIndex(uint8_t *a, uint8_t *b);
    int KORVEXDevice_SetDownloadCodeIndex(uint8_t a, uint8_t b);
    int KORVEXDevice_DeleteOfflineConfIndex(uint8_t sel, uint8_t n);
    int KORVEXDevice_BeginOfflineDownloadCode();
    int KORVEXDevice_GetDownloadTimes(uint8_t sel, uint8_t n, uint8_t kind, int *out);
    int KORVEXDevice_GetProjectOneDownloadFunc(uint8_t *out);
    int KORVEXDevice_WriteMemory_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_WriteMainData_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_VerifyMainData_Device(uint8_t index, uint32_t addr, uint32_t len);
    int KORVEXDevice_ReadMemory_Device(uint8_t index, uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_ReadMainData_Device(uint8_t index, uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_WriteOPTData_Device(uint8_t index, int len, const uint8_t *data);
    int KORVEXDevice_ReadOPTData_Device(uint8_t index, int len, uint8_t *buf);
    int KORVEXDevice_WriteOPTDataExtend_Device_Sub(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_WriteOPTDataExtend_Device(uint8_t index, int len, const uint8_t *data);
    int KORVEXDevice_ReadOPTDataExtend_Device_Sub(uint8_t index, uint32_t addr, int len, uint8_t *buf);
    int KORVEXDevice_ReadOPTDataExtend_Device(uint8_t index, int len, uint8_t *buf);
    int KORVEXDevice_WriteOTPData_Device_Sub(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_WriteOTPData_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_SetOTPLockParameters_Device_Sub(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_SetOTPLockParameters_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_SetOTPWriteParameters_Device_Sub(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_SetOTPWriteParameters_Device(uint8_t index, uint32_t addr, int len, const uint8_t *data);
    // part 0 to 3: the A to D parts
    int KORVEXDevice_GetOfflineConfig(uint8_t part, uint8_t index, int len, uint8_t *buf);
    int KORVEXDevice_SetOfflineConfig(uint8_t part, uint8_t index, int len, const uint8_t *data);
    int KORVEXDevice_GetOfflineConfig_Apart(uint8_t i, int len, uint8_t *buf) { return KORVEXDevice_GetOfflineConfig(0, i, len, buf); }
    int KORVEXDevice_GetOfflineConfig_Bpart(uint8_t i, int len, uint8_t *buf) { return KORVEXDevice_GetOfflineConfig(1, i, len, buf); }
    int KORVEXDevice_GetOfflineConfig_Cpart(uint8_t i, int len, uint8_t *buf) { return KORVEXDevice_GetOfflineConfig(2, i, len, buf); }
    int KORVEXDevice_GetOfflineConfig_Dpart(uint8_t i, int len, uint8_t *buf) { return KORVEXDevice_GetOfflineConfig(3, i, len, buf); }
    int KORVEXDevice_SetOfflineConfig_Apart(uint8_t i, int len, const uint8_t *d) { return KORVEXDevice_SetOfflineConfig(0, i, len, d); }
    int KORVEXDevice_SetOfflineConfig_Bpart(uint8_t i, int len, const uint8_t *d) { return KORVEXDevice_SetOfflineConfig(1, i, len, d); }
    int KORVEXDevice_SetOfflineConfig_Cpart(uint8_t i, int len, const uint8_t *d) { return KORVEXDevice_SetOfflineConfig(2, i, len, d); }
    int KORVEXDevice_SetOfflineConfig_Dpart(uint8_t i, int len, const uint8_t *d) { return KORVEXDevice_SetOfflineConfig(3, i, len, d); }
    int KORVEXDevice_DebugReadMemory_Device(uint32_t addr, int len, uint8_t *buf);

    // ---- Firmware update of the probe and its display (firmware_commands.cpp) ----
    int KORVEXDevice_EnterFWUpdateMode(uint8_t *out);
    int KORVEXDevice_FWUpdateBegin();
    int KORVEXDevice_FWUpdateSetCodeRange(uint32_t start, int size);
    int KORVEXDevice_FWUpdateSendData(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_FWUpdate(uint32_t addr, int len, const uint8_t *data);
    int KORVEXDevice_FWUpdateEnd(uint8_t flag);
    int KORVEXDevice_FWUpdateVerify(uint32_t value);
    int KORVEXDevice_FWRun();
    int KORVEXDevice_EnterLCDFWUpdateMode();
    int KORVEXDevice_LCDFWUpdateBegin(bool flag);
    int KORVEXDevice_LCDFWUpdateSetCodeSize(int size);
    int KORVEXDevice_LCDFWUpdateSendData(int len, const uint8_t *data, bool last, int offset);
    int KORVEXDevice_LCDFWUpdate(int len, const uint8_t *data);
    int KORVEXDevice_LCDFWUpdateEnd();

private:
    int hid_send_data(ByteView packet);
    int hid_receive_data(uint8_t *buffer, int length, unsigned timeoutMs);
    int winusb_send_data(ByteView packet);
    int winusb_receive_data(uint8_t *buffer, int length, unsigned timeoutMs);
    int copyString(const std::string &text, char *buf, int size) const;
    // Reads and drops whatever the probe has queued; the number of packets dropped.
    int drainInput();
    // One stored area under a code index (byte 1 = index + area), and its chunked transfers.
    int KORVEXDevice_WriteStoredArea(const Command &command, uint8_t index, uint8_t area, uint32_t addr, int len,
                                     const uint8_t *data);
    int KORVEXDevice_ReadStoredArea(const Command &command, uint8_t index, uint8_t area, uint32_t addr, int len,
                                    uint8_t *buf);
    int KORVEXDevice_WriteStoredChunked(const Command &command, uint8_t index, uint8_t area, uint32_t addr, int len,
                                        const uint8_t *data);
    int KORVEXDevice_ReadStoredChunked(const Command &command, uint8_t index, uint8_t area, uint32_t addr, int len,
                                       uint8_t *buf);

    libusb_device_handle *usbHandle_ = nullptr;  // owned: released and closed by KorvexDevice_Close
    std::vector<std::unique_ptr<ClaimedInterface>> claims_;  // released before the handle is closed
    std::optional<KorvexDeviceEntry> entry_;
    OpenFailure openFailure_ = OpenFailure::None;
    unsigned lateRepliesOwed_ = 0;
    bool drainDue_ = false;
    ExchangeTrace trace_;  // KORVEXLIB_TRACE: the packets of this session
};

}  // namespace korvex
