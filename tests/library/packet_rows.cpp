#include "packet_rows.h"

namespace korvex_test {
namespace {

uint8_t out[256];
uint16_t words[4];
uint32_t word;
int number;
const uint8_t kData[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
const uint8_t kKey24[24] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
const int kSectors[2] = {3, 4};

constexpr int R2 = TRANS_WRITE_ERROR;
constexpr int R3 = TRANS_READ_ERROR;
using K = ReplyKind;

Bytes cat(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Bytes status(uint8_t cmd) { return {cmd, 0xF1}; }

}  // namespace

const std::vector<PacketRow> &probeInformationRows() {
    static const std::vector<PacketRow> rows = {
        {"GetVersion", [](KORVEX_HANDLE h) { return KORVEX_GetVersion(h, 4, out); }, {{0xB0, 0x00}},
         {0xB0, 0x00, 0x05, 1, 2, 3, 4, 1}, K::Data, R3},
        {"GetAppState", [](KORVEX_HANDLE h) { return KORVEX_GetAppState(h, out); }, {{0xB0, 0x00}},
         {0xB0, 0x00, 0x05, 1, 2, 3, 4, 1}, K::Data, R3},
        {"GetEncKey", [](KORVEX_HANDLE h) { return KORVEX_GetEncKey(h, 4, out); }, {{0xB0, 0x01}},
         {0xB0, 0x01, 0x04, 9, 8, 7, 6}, K::Data, R2},
        {"SetEncKey 24", [](KORVEX_HANDLE h) { return KORVEX_SetEncKey(h, 24, kKey24); },
         {cat({0xB0, 0x02, 24}, Bytes(kKey24, kKey24 + 24))}, status(0xB0), K::Status, R2},
        {"GetSWDSpeed", [](KORVEX_HANDLE h) { return KORVEX_GetSWDSpeed(h, &number); }, {{0xB0, 0x03}},
         {0xB0, 0x03, 0x04, 0x00, 0x0F, 0x42, 0x40}, K::Data, R2},
        {"SetSWDSpeed", [](KORVEX_HANDLE h) { return KORVEX_SetSWDSpeed(h, 1000000); },
         {{0xB0, 0x04, 0x04, 0x00, 0x0F, 0x42, 0x40}}, status(0xB0), K::Status, R2},
        {"GetRsetMode", [](KORVEX_HANDLE h) { return KORVEX_GetRsetMode(h, out); }, {{0xB0, 0x05}},
         {0xB0, 0x05, 0x01, 0x02}, K::Data, R2},
        {"SetRsetMode", [](KORVEX_HANDLE h) { return KORVEX_SetRsetMode(h, 2); }, {{0xB0, 0x06, 0x01, 0x02}},
         status(0xB0), K::Status, R2},
        {"GetLinkUID", [](KORVEX_HANDLE h) { return KORVEX_GetLinkUID(h, 12, out); }, {{0xB0, 0x07}},
         {0xB0, 0x07, 0x0C, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, K::Data, R2},
        {"GetButtonFreeState", [](KORVEX_HANDLE h) { return KORVEX_GetButtonFreeState(h, out); }, {{0xB0, 0x08}},
         {0xB0, 0x08, 0x01, 0x01}, K::Data, R2},
        {"SetButtonFreeState", [](KORVEX_HANDLE h) { return KORVEX_SetButtonFreeState(h, 1); },
         {{0xB0, 0x09, 0x01, 0x01}}, status(0xB0), K::Status, R2},
        {"GetOfflineStepState", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineStepState(h, out); },
         {{0xB0, 0x0A}}, {0xB0, 0x0A, 0x01, 0x03}, K::Data, R2},
        {"SetSWDAutoDetect", [](KORVEX_HANDLE h) { return KORVEX_SetSWDAutoDetect(h); }, {{0xB0, 0x21, 0x01, 0x01}},
         status(0xB0), K::Status, R2},
        {"SetVKPVersion", [](KORVEX_HANDLE h) { return KORVEX_SetVKPVersion(h, 0x20321); },
         {{0xB0, 0x23, 0x04, 0x00, 0x02, 0x03, 0x21}}, status(0xB0), K::Status, R2},
        {"EncryptionTrans", [](KORVEX_HANDLE h) { return KORVEX_EncryptionTrans(h); }, {{0xBB, 0x00, 0x01, 0x01}},
         status(0xBB), K::Status, R2},
        {"DisEncryptionTrans", [](KORVEX_HANDLE h) { return KORVEX_DisEncryptionTrans(h); },
         {{0xBB, 0x00, 0x01, 0x02}}, status(0xBB), K::Status, R2},
        {"GetBLESPIRate", [](KORVEX_HANDLE h) { return KORVEX_GetBLESPIRate(h, out); }, {{0xB0, 0x26}},
         {0xB0, 0x26, 0x01, 0x05}, K::DataSubIgnored, R3},
        {"SetBLESPIRate", [](KORVEX_HANDLE h) { return KORVEX_SetBLESPIRate(h, 3); }, {{0xB0, 0x27, 0x01, 0x03}},
         status(0xB0), K::Status, R2},
    };
    return rows;
}

const std::vector<PacketRow> &targetRows() {
    static const std::vector<PacketRow> rows = {
        {"GetStatus_Target", [](KORVEX_HANDLE h) { return KORVEX_GetStatus_Target(h, out, out + 1, out + 2); },
         {{0xB1, 0x00, 0x01, 0xA5}}, {0xB1, 0x00, 0x01, 0x05}, K::Data, R2},
        {"GetDeviceID_Target", [](KORVEX_HANDLE h) { return KORVEX_GetDeviceID_Target(h, out); }, {{0xB1, 0x01}},
         {0xB1, 0x01, 0x05, 0x11, 0x22, 0x33, 0x44, 0x55}, K::Data, R2},
        {"SetDeviceID_Target", [](KORVEX_HANDLE h) { return KORVEX_SetDeviceID_Target(h, 7, 0x12345678); },
         {{0xB1, 0x05, 0x05, 0x07, 0x12, 0x34, 0x56, 0x78}}, status(0xB1), K::Status, R2},
        {"GetFlashSize_Target", [](KORVEX_HANDLE h) { return KORVEX_GetFlashSize_Target(h, &number); },
         {{0xB1, 0x02}}, {0xB1, 0x02, 0x02, 0x01, 0x00}, K::Data, R2},
        {"SetState_Target", [](KORVEX_HANDLE h) { return KORVEX_SetState_Target(h, 2); }, {{0xB1, 0x03, 0x01, 0x02}},
         status(0xB1), K::Status, R2},
        {"GetTargetConnectState", [](KORVEX_HANDLE h) { return KORVEX_GetTargetConnectState(h, out); },
         {{0xB1, 0x04}}, {0xB1, 0x04, 0x01, 0x01}, K::Data, R2},
        {"EncryptionTrans_Target", [](KORVEX_HANDLE h) { return KORVEX_EncryptionTrans_Target(h); },
         {{0xBB, 0x01, 0x01, 0x01}}, status(0xBB), K::Status, R2},
        {"DisEncryptionTrans_Target", [](KORVEX_HANDLE h) { return KORVEX_DisEncryptionTrans_Target(h); },
         {{0xBB, 0x01, 0x01, 0x02}}, status(0xBB), K::Status, R2},
        {"UPLoad_Target main", [](KORVEX_HANDLE h) { return KORVEX_UPLoad_Target(h, 0x08000000, 4, out); },
         {{0xB2, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x04}},
         {0xB2, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x04, 1, 2, 3, 4}, K::Memory, R2},
        {"UPLoad_Target SPIM", [](KORVEX_HANDLE h) { return KORVEX_UPLoad_Target(h, 0x093FFFF0, 4, out); },
         {{0xB2, 0x01, 0x09, 0x3F, 0xFF, 0xF0, 0x00, 0x04}},
         {0xB2, 0x01, 0x09, 0x3F, 0xFF, 0xF0, 0x00, 0x04, 1, 2, 3, 4}, K::Memory, R2},
        {"DownLoad_Target main", [](KORVEX_HANDLE h) { return KORVEX_DownLoad_Target(h, 0x09400000, 4, kData); },
         {{0xB3, 0x00, 0x09, 0x40, 0x00, 0x00, 0x00, 0x04, 0x11, 0x22, 0x33, 0x44}}, status(0xB3), K::Status, R2},
        {"DownLoad_Target SPIM", [](KORVEX_HANDLE h) { return KORVEX_DownLoad_Target(h, 0x08400000, 2, kData); },
         {{0xB3, 0x01, 0x08, 0x40, 0x00, 0x00, 0x00, 0x02, 0x11, 0x22}}, status(0xB3), K::Status, R2},
        {"ReadUserSystemData_Target", [](KORVEX_HANDLE h) { return KORVEX_ReadUserSystemData_Target(h, 2, out); },
         {{0xB2, 0x02, 0, 0, 0, 0, 0x00, 0x02}}, {0xB2, 0x02, 0, 0, 0, 0, 0x00, 0x02, 0xA5, 0x5A}, K::Memory, R2},
        {"WriteUserSystemData_Target",
         [](KORVEX_HANDLE h) { return KORVEX_WriteUserSystemData_Target(h, 2, kData); },
         {{0xB3, 0x02, 0, 0, 0, 0, 0x00, 0x02, 0x11, 0x22}}, status(0xB3), K::Status, R2},
        {"ReadOTPData_Target data", [](KORVEX_HANDLE h) { return KORVEX_ReadOTPData_Target(h, 0x10, 1, out, 0); },
         {{0xB2, 0x03, 0, 0, 0, 0x10, 0x00, 0x01}}, {0xB2, 0x03, 0, 0, 0, 0x10, 0x00, 0x01, 0x42}, K::Memory, R2},
        {"ReadOTPData_Target lock", [](KORVEX_HANDLE h) { return KORVEX_ReadOTPData_Target(h, 0x10, 1, out, 9); },
         {{0xB2, 0x04, 0, 0, 0, 0x10, 0x00, 0x01}}, {0xB2, 0x04, 0, 0, 0, 0x10, 0x00, 0x01, 0x42}, K::Memory, R2},
        {"DownloadOTPData_Target data",
         [](KORVEX_HANDLE h) { return KORVEXDevice_DownloadOTPData_Target(h, 0x20, 1, kData, 0); },
         {{0xB3, 0x07, 0, 0, 0, 0x20, 0x00, 0x01, 0x11}}, status(0xB3), K::Status, R2},
        {"DownloadOTPData_Target lock",
         [](KORVEX_HANDLE h) { return KORVEXDevice_DownloadOTPData_Target(h, 0x20, 1, kData, 1); },
         {{0xB3, 0x08, 0, 0, 0, 0x20, 0x00, 0x01, 0x11}}, status(0xB3), K::Status, R2},
        {"WriteMainFlashBegin", [](KORVEX_HANDLE h) { return KORVEX_WriteMainFlashBegin_Target(h); },
         {{0xB3, 0x03, 0x01, 0x00}}, status(0xB3), K::Status, R2},
        {"WriteMainFlashEnd", [](KORVEX_HANDLE h) { return KORVEX_WriteMainFlashEnd_Target(h); },
         {{0xB3, 0x03, 0x01, 0x01}}, status(0xB3), K::Status, R2},
        {"WriteSPIMBegin", [](KORVEX_HANDLE h) { return KORVEX_WriteSPIMBegin_Target(h); }, {{0xB3, 0x04, 0x01, 0x00}},
         status(0xB3), K::Status, R2},
        {"WriteSPIMEnd", [](KORVEX_HANDLE h) { return KORVEX_WriteSPIMEnd_Target(h); }, {{0xB3, 0x04, 0x01, 0x01}},
         status(0xB3), K::Status, R2},
        {"WriteUserSystemDataBegin", [](KORVEX_HANDLE h) { return KORVEX_WriteUserSystemDataBegin_Target(h); },
         {{0xB3, 0x05, 0x01, 0x00}}, status(0xB3), K::Status, R2},
        {"WriteUserSystemDataEnd", [](KORVEX_HANDLE h) { return KORVEX_WriteUserSystemDataEnd_Target(h); },
         {{0xB3, 0x05, 0x01, 0x01}}, status(0xB3), K::Status, R2},
        {"DownloadOTPDataBegin", [](KORVEX_HANDLE h) { return KORVEX_DownloadOTPDataBegin_Target(h); },
         {{0xB3, 0x06, 0x01, 0x00}}, status(0xB3), K::Status, R2},
        {"DownloadOTPDataEnd", [](KORVEX_HANDLE h) { return KORVEX_DownloadOTPDataEnd_Target(h); },
         {{0xB3, 0x06, 0x01, 0x01}}, status(0xB3), K::Status, R2},
        {"SectorErase_Target main", [](KORVEX_HANDLE h) { return KORVEX_SectorErase_Target(h, 0x08001000, 1); },
         {{0xB4, 0x00, 0x08, 0x00, 0x10, 0x00, 0x00, 0x01}}, status(0xB4), K::Status, R2},
        {"SectorErase_Target SPIM", [](KORVEX_HANDLE h) { return KORVEX_SectorErase_Target(h, 0x08401000, 0x102); },
         {{0xB4, 0x01, 0x08, 0x40, 0x10, 0x00, 0x01, 0x02}}, status(0xB4), K::Status, R2},
        {"BlockErase_Target", [](KORVEX_HANDLE h) { return KORVEX_BlockErase_Target(h, 0x08010000, 2); },
         {{0xB4, 0x08, 0x08, 0x01, 0x00, 0x00, 0x00, 0x02}}, status(0xB4), K::Status, R2},
        {"Bank1AllErase_Target", [](KORVEX_HANDLE h) { return KORVEX_Bank1AllErase_Target(h); },
         {{0xB4, 0x03, 0, 0, 0, 0, 0, 0}}, status(0xB4), K::Status, R2},
        {"Bank2AllErase_Target", [](KORVEX_HANDLE h) { return KORVEX_Bank2AllErase_Target(h); },
         {{0xB4, 0x04, 0, 0, 0, 0, 0, 0}}, status(0xB4), K::Status, R2},
        {"SPIMAllErase_Target", [](KORVEX_HANDLE h) { return KORVEX_SPIMAllErase_Target(h); },
         {{0xB4, 0x05, 0, 0, 0, 0, 0, 0}}, status(0xB4), K::Status, kNotWaitedFor},
        {"MainFlashAllErase_Target", [](KORVEX_HANDLE h) { return KORVEX_MainFlashAllErase_Target(h); },
         {{0xB4, 0x06, 0, 0, 0, 0, 0, 0}}, status(0xB4), K::Status, R2},
        {"SysMemoryAllErase_Target", [](KORVEX_HANDLE h) { return KORVEX_SysMemoryAllErase_Target(h); },
         {{0xB4, 0x07, 0, 0, 0, 0, 0, 0}}, status(0xB4), K::Status, kNotWaitedFor},
        {"AccessProtect_Target 1", [](KORVEX_HANDLE h) { return KORVEX_AccessProtect_Target(h, 1); },
         {{0xB5, 0x00, 0x01, 0xFF}}, status(0xB5), K::Status, R2},
        {"AccessProtect_Target 2", [](KORVEX_HANDLE h) { return KORVEX_AccessProtect_Target(h, 2); },
         {{0xB5, 0x00, 0x01, 0xCC}}, status(0xB5), K::Status, R2},
        {"UnAccessProtect_Target", [](KORVEX_HANDLE h) { return KORVEX_UnAccessProtect_Target(h); },
         {{0xB5, 0x00, 0x01, 0xA5}}, status(0xB5), K::Status, R2},
        {"EraseWriteProtect_Target", [](KORVEX_HANDLE h) { return KORVEX_EraseWriteProtect_Target(h, 2, kSectors); },
         {{0xB5, 0x01, 0x04, 0xFF}}, status(0xB5), K::Status, R2},
        {"UnEraseWriteProtect_Target", [](KORVEX_HANDLE h) { return KORVEX_UnEraseWriteProtect_Target(h); },
         {{0xB5, 0x01, 0x04, 0, 0, 0, 0}}, status(0xB5), K::Status, R2},
        {"LockFlash_Target", [](KORVEX_HANDLE h) { return KORVEX_LockFlash_Target(h, 2); }, {{0xB6, 0x01, 0x01, 0x02}},
         status(0xB6), K::Status, R2},
        {"UnLockFlash_Target", [](KORVEX_HANDLE h) { return KORVEX_UnLockFlash_Target(h, 3); },
         {{0xB6, 0x00, 0x01, 0x03}}, status(0xB6), K::Status, R2},
        {"EnableSPIM_Target", [](KORVEX_HANDLE h) { return KORVEX_EnableSPIM_Target(h, 1, 2, 0x400000, 0x1000); },
         {{0xB6, 0x02, 0x09, 0x09, 0x00, 0x00, 0x10, 0x00, 0x00, 0x40, 0x00, 0x00}}, status(0xB6), K::Status, R2},
        {"GetSlibState_Target",
         [](KORVEX_HANDLE h) { return KORVEX_GetSlibState_Target(h, out, words, words + 1, words + 2, words + 3); },
         {{0xB5, 0x02}}, {0xB5, 0x02, 0x09, 0x01, 0, 1, 0, 2, 0, 3, 0, 4}, K::Data, R3},
        {"EnableSlib_Target", [](KORVEX_HANDLE h) { return KORVEX_EnableSlib_Target(h, 0x12345678, 1, 2, 3); },
         {{0xB5, 0x03, 0x0B, 0x01, 0x12, 0x34, 0x56, 0x78, 0, 1, 0, 2, 0, 3}}, status(0xB5), K::Status, R3},
        {"DisableSlib_Target", [](KORVEX_HANDLE h) { return KORVEX_DisableSlib_Target(h, 0x12345678); },
         {{0xB5, 0x03, 0x0B, 0x00, 0x12, 0x34, 0x56, 0x78, 0, 0, 0, 0, 0, 0}}, status(0xB5), K::Status, R3},
        {"GetCRCValue_Target", [](KORVEX_HANDLE h) { return KORVEX_GetCRCValue_Target(h, 5, 2, &word); },
         {{0xB5, 0x06, 0x04, 0x00, 0x05, 0x00, 0x02}}, {0xB5, 0x06, 0x06, 0x00, 0x05, 0xDE, 0xAD, 0xBE, 0xEF},
         K::Data, R3},
        {"GetSectorCRCValue_Target", [](KORVEX_HANDLE h) { return KORVEX_GetSectorCRCValue_Target(h, 7, &word); },
         {{0xB5, 0x06, 0x02, 0x00, 0x07}}, {0xB5, 0x06, 0x06, 0x00, 0x07, 0xDE, 0xAD, 0xBE, 0xEF}, K::Data, R3},
        {"GetSysSlibState_Target", [](KORVEX_HANDLE h) { return KORVEX_GetSysSlibState_Target(h, out, words); },
         {{0xB5, 0x07}}, {0xB5, 0x07, 0x02, 0x01, 0x5A}, K::Data, R3},
        {"EnableSysSlib_Target", [](KORVEX_HANDLE h) { return KORVEX_EnableSysSlib_Target(h, 0x12345678, 0x1234); },
         {{0xB5, 0x08, 0x06, 0x01, 0x12, 0x34, 0x56, 0x78, 0x34}}, status(0xB5), K::Status, R3},
        {"DisableSysSlib_Target", [](KORVEX_HANDLE h) { return KORVEX_DisableSysSlib_Target(h, 0x12345678); },
         {{0xB5, 0x08, 0x06, 0x00, 0x12, 0x34, 0x56, 0x78, 0x00}}, status(0xB5), K::Status, R3},
        {"GetSysAPMode_Target", [](KORVEX_HANDLE h) { return KORVEX_GetSysAPMode_Target(h, out); }, {{0xB5, 0x09}},
         {0xB5, 0x09, 0x01, 0x01}, K::Data, R3},
        {"SetSysAPMode_Target", [](KORVEX_HANDLE h) { return KORVEX_SetSysAPMode_Target(h, 0xA5C3E1F0); },
         {{0xB5, 0x0A, 0x04, 0xA5, 0xC3, 0xE1, 0xF0}}, status(0xB5), K::Status, R2},
        {"DebugReadMemory_Target",
         [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Target(h, 0x20000000, 4, out, 32); },
         {{0xCF, 0x00, 0x20, 0x20, 0x00, 0x00, 0x00, 0x00, 0x04}},
         {0xCF, 0x00, 0x20, 0x20, 0x00, 0x00, 0x00, 0x00, 0x04, 1, 2, 3, 4}, K::Debug, R2},
        {"DebugWriteMemory_Target",
         [](KORVEX_HANDLE h) { return KORVEX_DebugWriteMemory_Target(h, 0x20000010, 2, kData, 16); },
         {{0xCF, 0x01, 0x10, 0x20, 0x00, 0x00, 0x10, 0x00, 0x02, 0x11, 0x22}}, status(0xCF), K::Status, R2},
        {"DebugReadRegister_Target", [](KORVEX_HANDLE h) { return KORVEX_DebugReadRegister_Target(h, 0xE000ED00, &word); },
         {{0xCF, 0x00, 0x20, 0xE0, 0x00, 0xED, 0x00, 0x00, 0x04}},
         {0xCF, 0x00, 0, 0, 0, 0, 0, 0x00, 0x04, 0x12, 0x34, 0x56, 0x78}, K::Debug, R2},
        {"DebugWriteRegister_Target",
         [](KORVEX_HANDLE h) { return KORVEX_DebugWriteRegister_Target(h, 0xE000ED0C, 0x05FA0004); },
         {{0xCF, 0x01, 0x20, 0xE0, 0x00, 0xED, 0x0C, 0x00, 0x04, 0x05, 0xFA, 0x00, 0x04}}, status(0xCF), K::Status,
         R2},
    };
    return rows;
}

namespace {

Bytes bleSelect(uint8_t space) { return {0xBE, 0x01, 0x01, space}; }
Bytes bleSector(uint32_t address) {
    return {0xBE, 0x06, 0x00, uint8_t(address >> 16), uint8_t(address >> 8), uint8_t(address), 0x00, 0x01};
}
const Bytes kMainErase{0xBE, 0x05, 0, 0, 0, 0, 0, 0};
const std::vector<Bytes> kNvr = {bleSelect(1), bleSector(0x200), bleSector(0x20000), bleSector(0x20200)};
const std::vector<Bytes> kRdn = {bleSelect(2), bleSector(0x0), bleSector(0x200), bleSector(0x20000),
                                 bleSector(0x20200)};

std::vector<Bytes> eraseAllRequests() {
    std::vector<Bytes> all = {bleSelect(0), kMainErase};
    all.insert(all.end(), kNvr.begin(), kNvr.end());
    all.insert(all.end(), kRdn.begin(), kRdn.end());
    return all;
}

}  // namespace

const std::vector<PacketRow> &bleRows() {
    const Bytes ok = status(0xBE);
    static const std::vector<PacketRow> rows = {
        {"BLECHIP_S17_Connect", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_S17_Connect(h); },
         {{0xBE, 0x00, 0x01, 0x00}}, ok, K::Status, R2},
        {"BLECHIP_S17_DisConnect", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_S17_DisConnect(h); },
         {{0xBE, 0x00, 0x01, 0x01}}, ok, K::Status, R2},
        {"BLECHIP_SelectFlashSpace", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_SelectFlashSpace(h, 1); },
         {bleSelect(1)}, ok, K::Status, R2},
        {"BLECHIP_SetCRCValue", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_SetCRCValue(h, 1, 0x11223344); },
         {{0xBE, 0x02, 0x05, 0x01, 0x11, 0x22, 0x33, 0x44}}, ok, K::Status, R2},
        {"BLECHIP_WriteFlash", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_WriteFlash(h, 0x100, 3, kData); },
         {{0xBE, 0x03, 0x00, 0x00, 0x01, 0x00, 0x00, 0x03, 0x11, 0x22, 0x33}}, ok, K::Status, R2},
        {"BLECHIP_ReadFlash", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_ReadFlash(h, 0x100, 2, out); },
         {{0xBE, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00, 0x02}}, {0xBE, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00, 0x02, 7, 8},
         K::Memory, R2},
        {"BLECHIP_SectorErase", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_SectorErase(h, 0x200, 2); },
         {{0xBE, 0x06, 0x00, 0x00, 0x02, 0x00, 0x00, 0x02}}, ok, K::Status, R2},
        {"BLECHIP_BlockErase", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_BlockErase(h, 0x10000, 1); },
         {{0xBE, 0x07, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01}}, ok, K::Status, R2},
        {"BLECHIP_EraseMainFlash", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_EraseMainFlash(h); },
         {bleSelect(0), kMainErase}, ok, K::Status, R2},
        {"BLECHIP_EraseNVRFlash", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_EraseNVRFlash(h); }, kNvr, ok, K::Status,
         R2},
        {"BLECHIP_EraseRDNFlash", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_EraseRDNFlash(h); }, kRdn, ok, K::Status,
         R2},
        {"BLECHIP_EraseAllFlash", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_EraseAllFlash(h); }, eraseAllRequests(), ok, K::Status,
         R2},
        {"BLECHIP_WriteReg", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_WriteReg(h, 5, 0x32); },
         {{0xBE, 0x08, 0x05, 0x32}}, ok, K::Status, R2},
        {"BLECHIP_ReadReg", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_ReadReg(h, 5, out); }, {{0xBE, 0x09, 0x05}},
         {0xBE, 0x09, 0x05, 0x32}, K::DataSubResult, R2},
        {"BLECHIP_SPICommand", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_SPICommand(h, 0x06); },
         {{0xBE, 0x0A, 0x06}}, ok, K::Status, R2},
        {"BLECHIP_GetFlashSpace", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_GetFlashSpace(h, out); },
         {{0xBE, 0x0B}}, {0xBE, 0x0B, 0x01, 0x02}, K::DataSubResult, R2},
        {"BLECHIP_EnableProtect", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_EnableProtect(h); },
         {{0xBE, 0x0C, 0x01, 0xFF}}, ok, K::Status, R2},
        {"BLECHIP_DisableProtect", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_DisableProtect(h); },
         {{0xBE, 0x0C, 0x01, 0xA5}}, ok, K::Status, R2},
        {"BLECHIP_GetProtectStatus", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_GetProtectStatus(h, out); },
         {{0xBE, 0x0D}}, {0xBE, 0x0D, 0x01, 0xA5}, K::DataSubResult, R2},
        {"BLECHIP_CheckCRC", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_CheckCRC(h, out); }, {{0xBE, 0x0E}},
         {0xBE, 0x0E, 0x01, 0x01}, K::DataSubResult, R2},
    };
    return rows;
}

}  // namespace korvex_test
