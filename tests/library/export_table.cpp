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

#define ROW(stamps, name, ...) \
    ExportCall{#name, Stamps::stamps, [](KORVEX_HANDLE h) { return name(h, ##__VA_ARGS__); }}

}  // namespace

const std::vector<ExportCall> &everyHandleExport() {
    static const std::vector<ExportCall> table = {
        ROW(Link, KORVEX_GetSerialNumber, s.text, 128),
        ROW(Link, KORVEX_GetManufacturer, s.text, 128),
        ROW(Link, KORVEX_GetProduct, s.text, 128),
        ROW(Link, KORVEX_SetNonblocking, 0),
        ROW(Link, KORVEX_GetTransType, s.bytes),
        ROW(Link, KORVEX_GetVersion, 4, s.bytes),
        ROW(Link, KORVEX_GetAppState, s.bytes),
        ROW(Link, KORVEX_GetEncKey, 4, s.bytes),
        ROW(Link, KORVEX_SetEncKey, 6, s.bytes),
        ROW(Link, KORVEX_GetSWDSpeed, &s.number),
        ROW(Link, KORVEX_SetSWDSpeed, 1000000),
        ROW(Link, KORVEX_GetRsetMode, s.bytes),
        ROW(Link, KORVEX_SetRsetMode, 1),
        ROW(Link, KORVEX_GetLinkUID, 12, s.bytes),
        ROW(Link, KORVEX_GetButtonFreeState, s.bytes),
        ROW(Link, KORVEX_SetButtonFreeState, 1),
        ROW(Link, KORVEX_GetOfflineStepState, s.bytes),
        ROW(Link, KORVEX_SetSWDAutoDetect),
        ROW(Link, KORVEX_SetVKPVersion, 0x20321),
        ROW(Link, KORVEX_EncryptionTrans),
        ROW(Link, KORVEX_DisEncryptionTrans),
        ROW(LinkTarget, KORVEX_GetStatus_Target, s.bytes, s.bytes + 1, s.bytes + 2),
        ROW(LinkTarget, KORVEX_GetDeviceID_Target, s.bytes),
        ROW(LinkTarget, KORVEX_SetDeviceID_Target, 1, 0x1234),
        ROW(LinkTarget, KORVEX_GetFlashSize_Target, &s.number),
        ROW(LinkTarget, KORVEX_SetState_Target, 1),
        ROW(Link, KORVEX_GetTargetConnectState, s.bytes),
        ROW(LinkTarget, KORVEX_EncryptionTrans_Target),
        ROW(LinkTarget, KORVEX_DisEncryptionTrans_Target),
        ROW(LinkTarget, KORVEX_UPLoad_Target, 0x08000000, 16, s.bytes),
        ROW(LinkTarget, KORVEX_DownLoad_Target, 0x08000000, 16, s.bytes),
        ROW(LinkTarget, KORVEX_ReadUserSystemData_Target, 16, s.bytes),
        ROW(LinkTarget, KORVEX_WriteUserSystemData_Target, 16, s.bytes),
        ROW(LinkTarget, KORVEX_ReadOTPData_Target, 0, 16, s.bytes, 0),
        ROW(LinkTarget, KORVEXDevice_DownloadOTPData_Target, 0, 16, s.bytes, 0),
        ROW(LinkTarget, KORVEX_WriteMainFlashBegin_Target),
        ROW(LinkTarget, KORVEX_WriteMainFlashEnd_Target),
        ROW(LinkTarget, KORVEX_WriteSPIMBegin_Target),
        ROW(LinkTarget, KORVEX_WriteSPIMEnd_Target),
        ROW(LinkTarget, KORVEX_WriteUserSystemDataBegin_Target),
        ROW(LinkTarget, KORVEX_WriteUserSystemDataEnd_Target),
        ROW(LinkTarget, KORVEX_DownloadOTPDataBegin_Target),
        ROW(LinkTarget, KORVEX_DownloadOTPDataEnd_Target),
        ROW(LinkTarget, KORVEX_SectorErase_Target, 0x08000000, 1),
        ROW(LinkTarget, KORVEX_BlockErase_Target, 0x08000000, 1),
        ROW(LinkTarget, KORVEX_MainFlashAllErase_Target),
        ROW(LinkTarget, KORVEX_Bank1AllErase_Target),
        ROW(LinkTarget, KORVEX_Bank2AllErase_Target),
        ROW(LinkTarget, KORVEX_SPIMAllErase_Target),
        ROW(LinkTarget, KORVEX_SysMemoryAllErase_Target),
        ROW(LinkTarget, KORVEX_AccessProtect_Target, 1),
        ROW(LinkTarget, KORVEX_UnAccessProtect_Target),
        ROW(LinkTarget, KORVEX_EraseWriteProtect_Target, 1, s.sectors),
        ROW(LinkTarget, KORVEX_UnEraseWriteProtect_Target),
        ROW(LinkTarget, KORVEX_LockFlash_Target, 1),
        ROW(LinkTarget, KORVEX_UnLockFlash_Target, 1),
        ROW(LinkTarget, KORVEX_EnableSPIM_Target, 0, 1, 0x100000, 0x1000),
        ROW(LinkTarget, KORVEX_GetSlibState_Target, s.bytes, s.words, s.words + 1, s.words + 2, s.words + 3),
        ROW(LinkTarget, KORVEX_EnableSlib_Target, 0x12345678, 1, 2, 3),
        ROW(LinkTarget, KORVEX_DisableSlib_Target, 0x12345678),
        ROW(LinkTarget, KORVEX_GetCRCValue_Target, 0, 1, &s.word),
        ROW(LinkTarget, KORVEX_GetSectorCRCValue_Target, 0, &s.word),
        ROW(Link, KORVEX_GetSysSlibState_Target, s.bytes, s.words),
        ROW(Link, KORVEX_EnableSysSlib_Target, 0x12345678, 1),
        ROW(Link, KORVEX_DisableSysSlib_Target, 0x12345678),
        ROW(Link, KORVEX_GetSysAPMode_Target, s.bytes),
        ROW(Link, KORVEX_SetSysAPMode_Target, 0x5AA5),
        ROW(Link, KORVEX_DebugReadMemory_Target, 0x20000000, 4, s.bytes, 32),
        ROW(Link, KORVEX_DebugWriteMemory_Target, 0x20000000, 4, s.bytes, 32),
        ROW(Link, KORVEX_DebugReadRegister_Target, 0xE000ED00, &s.word),
        ROW(Link, KORVEX_DebugWriteRegister_Target, 0xE000ED0C, 0x05FA0004),
        ROW(LinkBle, KORVEX_BLECHIP_S17_Connect),
        ROW(LinkBle, KORVEX_BLECHIP_S17_DisConnect),
        ROW(LinkBle, KORVEX_BLECHIP_SelectFlashSpace, 0),
        ROW(LinkBle, KORVEX_BLECHIP_WriteFlash, 0, 16, s.bytes),
        ROW(LinkBle, KORVEX_BLECHIP_ReadFlash, 0, 16, s.bytes),
        ROW(LinkBle, KORVEX_BLECHIP_EraseMainFlash),
        ROW(LinkBle, KORVEX_BLECHIP_EraseNVRFlash),
        ROW(LinkBle, KORVEX_BLECHIP_EraseRDNFlash),
        ROW(LinkBle, KORVEX_BLECHIP_EraseAllFlash),
        ROW(LinkBle, KORVEX_BLECHIP_SectorErase, 0, 1),
        ROW(LinkBle, KORVEX_BLECHIP_BlockErase, 0, 1),
        ROW(LinkBle, KORVEX_BLECHIP_WriteReg, 5, 0x32),
        ROW(LinkBle, KORVEX_BLECHIP_ReadReg, 5, s.bytes),
        ROW(LinkBle, KORVEX_BLECHIP_SPICommand, 0x06),
        ROW(LinkBle, KORVEX_BLECHIP_GetFlashSpace, s.bytes),
        ROW(LinkBle, KORVEX_BLECHIP_EnableProtect),
        ROW(LinkBle, KORVEX_BLECHIP_DisableProtect),
        ROW(LinkBle, KORVEX_BLECHIP_GetProtectStatus, s.bytes),
        ROW(LinkBle, KORVEX_BLECHIP_CheckCRC, s.bytes),
        ROW(LinkBle, KORVEX_BLECHIP_SetCRCValue, 1, 0x1234),
        ROW(Link, KORVEX_GetBLESPIRate, s.bytes),
        ROW(Link, KORVEX_SetBLESPIRate, 2),
        ROW(None, KORVEX_GetLastKorvexCommunicationTimes, &s.time),
        ROW(None, KORVEX_GetLastTargetCommunicationTimes, &s.time),
        ROW(None, KORVEX_GetLastBLECommunicationTimes, &s.time),
    };
    return table;
}

}  // namespace korvex_test
