#include "export_table.h"

namespace korvex_test {
namespace {

// Scratch space large enough for any single call below.
struct Scratch {
    uint8_t bytes[256] = {};
    char text[128] = {};
    int number = 0;
    int64_t time = 0;
    uint16_t words[4] = {};
    uint32_t word = 0;
    int sectors[1] = {0};
};
Scratch s;

#define ROW(name, ...) ExportCall{#name, [](KORVEX_HANDLE h) { return name(h, ##__VA_ARGS__); }}

}  // namespace

const std::vector<ExportCall> &everyHandleExport() {
    static const std::vector<ExportCall> table = {
        ROW(KORVEX_GetSerialNumber, s.text, 128),
        ROW(KORVEX_GetManufacturer, s.text, 128),
        ROW(KORVEX_GetProduct, s.text, 128),
        ROW(KORVEX_SetNonblocking, 0),
        ROW(KORVEX_GetTransType, s.bytes),
        ROW(KORVEX_GetVersion, 4, s.bytes),
        ROW(KORVEX_GetAppState, s.bytes),
        ROW(KORVEX_GetEncKey, 4, s.bytes),
        ROW(KORVEX_SetEncKey, 6, s.bytes),
        ROW(KORVEX_GetSWDSpeed, &s.number),
        ROW(KORVEX_SetSWDSpeed, 1000000),
        ROW(KORVEX_GetRsetMode, s.bytes),
        ROW(KORVEX_SetRsetMode, 1),
        ROW(KORVEX_GetLinkUID, 12, s.bytes),
        ROW(KORVEX_GetButtonFreeState, s.bytes),
        ROW(KORVEX_SetButtonFreeState, 1),
        ROW(KORVEX_GetOfflineStepState, s.bytes),
        ROW(KORVEX_SetSWDAutoDetect),
        ROW(KORVEX_SetVKPVersion, 0x20321),
        ROW(KORVEX_EncryptionTrans),
        ROW(KORVEX_DisEncryptionTrans),
        ROW(KORVEX_GetStatus_Target, s.bytes, s.bytes + 1, s.bytes + 2),
        ROW(KORVEX_GetDeviceID_Target, s.bytes),
        ROW(KORVEX_SetDeviceID_Target, 1, 0x1234),
        ROW(KORVEX_GetFlashSize_Target, &s.number),
        ROW(KORVEX_SetState_Target, 1),
        ROW(KORVEX_GetTargetConnectState, s.bytes),
        ROW(KORVEX_EncryptionTrans_Target),
        ROW(KORVEX_DisEncryptionTrans_Target),
        ROW(KORVEX_UPLoad_Target, 0x08000000, 16, s.bytes),
        ROW(KORVEX_DownLoad_Target, 0x08000000, 16, s.bytes),
        ROW(KORVEX_ReadUserSystemData_Target, 16, s.bytes),
        ROW(KORVEX_WriteUserSystemData_Target, 16, s.bytes),
        ROW(KORVEX_ReadOTPData_Target, 0, 16, s.bytes, 0),
        ROW(KORVEXDevice_DownloadOTPData_Target, 0, 16, s.bytes, 0),
        ROW(KORVEX_WriteMainFlashBegin_Target),
        ROW(KORVEX_WriteMainFlashEnd_Target),
        ROW(KORVEX_WriteSPIMBegin_Target),
        ROW(KORVEX_WriteSPIMEnd_Target),
        ROW(KORVEX_WriteUserSystemDataBegin_Target),
        ROW(KORVEX_WriteUserSystemDataEnd_Target),
        ROW(KORVEX_DownloadOTPDataBegin_Target),
        ROW(KORVEX_DownloadOTPDataEnd_Target),
        ROW(KORVEX_SectorErase_Target, 0x08000000, 1),
        ROW(KORVEX_BlockErase_Target, 0x08000000, 1),
        ROW(KORVEX_MainFlashAllErase_Target),
        ROW(KORVEX_Bank1AllErase_Target),
        ROW(KORVEX_Bank2AllErase_Target),
        ROW(KORVEX_SPIMAllErase_Target),
        ROW(KORVEX_SysMemoryAllErase_Target),
        ROW(KORVEX_AccessProtect_Target, 1),
        ROW(KORVEX_UnAccessProtect_Target),
        ROW(KORVEX_EraseWriteProtect_Target, 1, s.sectors),
        ROW(KORVEX_UnEraseWriteProtect_Target),
        ROW(KORVEX_LockFlash_Target, 1),
        ROW(KORVEX_UnLockFlash_Target, 1),
        ROW(KORVEX_EnableSPIM_Target, 0, 1, 0x100000, 0x1000),
        ROW(KORVEX_GetSlibState_Target, s.bytes, s.words, s.words + 1, s.words + 2, s.words + 3),
        ROW(KORVEX_EnableSlib_Target, 0x12345678, 1, 2, 3),
        ROW(KORVEX_DisableSlib_Target, 0x12345678),
        ROW(KORVEX_GetCRCValue_Target, 0, 1, &s.word),
        ROW(KORVEX_GetSectorCRCValue_Target, 0, &s.word),
        ROW(KORVEX_GetSysSlibState_Target, s.bytes, s.words),
        ROW(KORVEX_EnableSysSlib_Target, 0x12345678, 1),
        ROW(KORVEX_DisableSysSlib_Target, 0x12345678),
        ROW(KORVEX_GetSysAPMode_Target, s.bytes),
        ROW(KORVEX_SetSysAPMode_Target, 0x5AA5),
        ROW(KORVEX_DebugReadMemory_Target, 0x20000000, 4, s.bytes, 32),
        ROW(KORVEX_DebugWriteMemory_Target, 0x20000000, 4, s.bytes, 32),
        ROW(KORVEX_DebugReadRegister_Target, 0xE000ED00, &s.word),
        ROW(KORVEX_DebugWriteRegister_Target, 0xE000ED0C, 0x05FA0004),
        ROW(KORVEX_BLECHIP_S17_Connect),
        ROW(KORVEX_BLECHIP_S17_DisConnect),
        ROW(KORVEX_BLECHIP_SelectFlashSpace, 0),
        ROW(KORVEX_BLECHIP_WriteFlash, 0, 16, s.bytes),
        ROW(KORVEX_BLECHIP_ReadFlash, 0, 16, s.bytes),
        ROW(KORVEX_BLECHIP_EraseMainFlash),
        ROW(KORVEX_BLECHIP_EraseNVRFlash),
        ROW(KORVEX_BLECHIP_EraseRDNFlash),
        ROW(KORVEX_BLECHIP_EraseAllFlash),
        ROW(KORVEX_BLECHIP_SectorErase, 0, 1),
        ROW(KORVEX_BLECHIP_BlockErase, 0, 1),
        ROW(KORVEX_BLECHIP_WriteReg, 5, 0x32),
        ROW(KORVEX_BLECHIP_ReadReg, 5, s.bytes),
        ROW(KORVEX_BLECHIP_SPICommand, 0x06),
        ROW(KORVEX_BLECHIP_GetFlashSpace, s.bytes),
        ROW(KORVEX_BLECHIP_EnableProtect),
        ROW(KORVEX_BLECHIP_DisableProtect),
        ROW(KORVEX_BLECHIP_GetProtectStatus, s.bytes),
        ROW(KORVEX_BLECHIP_CheckCRC, s.bytes),
        ROW(KORVEX_BLECHIP_SetCRCValue, 1, 0x1234),
        ROW(KORVEX_GetBLESPIRate, s.bytes),
        ROW(KORVEX_SetBLESPIRate, 2),
        ROW(KORVEX_GetLastKorvexCommunicationTimes, &s.time),
        ROW(KORVEX_GetLastTargetCommunicationTimes, &s.time),
        ROW(KORVEX_GetLastBLECommunicationTimes, &s.time),
    };
    return table;
}

}  // namespace korvex_test
