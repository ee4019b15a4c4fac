// The rows of every command group, and the export list drawn from them.
#include "packet_rows.h"

#include <set>

namespace korvex_test {
namespace {

uint8_t out[256];
char text[64];
int64_t moment;
uint16_t words[4];
uint16_t half;
uint32_t word;
int number;
uint8_t a, b;
const uint8_t kData[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
const uint8_t kKey24[24] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
const int kSectors[2] = {3, 4};

constexpr int R2 = TRANS_WRITE_ERROR;
constexpr int R3 = TRANS_READ_ERROR;
using K = ReplyKind;

Bytes cat(Bytes x, const Bytes &y) {
    x.insert(x.end(), y.begin(), y.end());
    return x;
}
Bytes status(uint8_t cmd) { return {cmd, 0xF1}; }
// A command answered by a status byte: its one request, acknowledged.
PacketRow statusRow(std::string name, std::function<int(KORVEX_HANDLE)> call, Bytes request, int silent = R2) {
    const uint8_t group = request[0];
    return {std::move(name), std::move(call), {std::move(request)}, status(group), K::Status, silent};
}
// A command whose reply repeats its request and goes on with `tail`.
PacketRow replyRow(std::string name, std::function<int(KORVEX_HANDLE)> call, Bytes request, const Bytes &tail,
                   int silent = R2, ReplyKind kind = K::Data) {
    Bytes reply = cat(request, tail);
    return {std::move(name), std::move(call), {std::move(request)}, std::move(reply), kind, silent};
}
Bytes counting(uint8_t first, size_t n) {
    Bytes bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(first + i);
    return bytes;
}

const Bytes kBlock18 = counting(0x40, 18);
const Bytes kBlock48 = counting(0x60, 48);

const std::vector<PacketRow> &probeInformationRows() {
    static const std::vector<PacketRow> rows = {
        replyRow(ON_HANDLE(KORVEX_GetVersion(h, 4, out)), {0xB0, 0x00}, {0x05, 1, 2, 3, 4, 1}, R3),
        replyRow(ON_HANDLE(KORVEX_GetAppState(h, out)), {0xB0, 0x00}, {0x05, 1, 2, 3, 4, 1}, R3),
        replyRow(ON_HANDLE(KORVEX_GetEncKey(h, 4, out)), {0xB0, 0x01}, {0x04, 9, 8, 7, 6}),
        statusRow(ON_HANDLE(KORVEX_SetEncKey(h, 24, kKey24)), cat({0xB0, 0x02, 24}, Bytes(kKey24, kKey24 + 24))),
        replyRow(ON_HANDLE(KORVEX_GetSWDSpeed(h, &number)), {0xB0, 0x03}, {0x04, 0x00, 0x0F, 0x42, 0x40}),
        statusRow(ON_HANDLE(KORVEX_SetSWDSpeed(h, 1000000)), {0xB0, 0x04, 0x04, 0x00, 0x0F, 0x42, 0x40}),
        replyRow(ON_HANDLE(KORVEX_GetRsetMode(h, out)), {0xB0, 0x05}, {0x01, 0x02}),
        statusRow(ON_HANDLE(KORVEX_SetRsetMode(h, 2)), {0xB0, 0x06, 0x01, 0x02}),
        replyRow(ON_HANDLE(KORVEX_GetLinkUID(h, 12, out)), {0xB0, 0x07}, {0x0C, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}),
        replyRow(ON_HANDLE(KORVEX_GetButtonFreeState(h, out)), {0xB0, 0x08}, {0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_SetButtonFreeState(h, 1)), {0xB0, 0x09, 0x01, 0x01}),
        replyRow(ON_HANDLE(KORVEX_GetOfflineStepState(h, out)), {0xB0, 0x0A}, {0x01, 0x03}),
        statusRow(ON_HANDLE(KORVEX_SetSWDAutoDetect(h)), {0xB0, 0x21, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_SetVKPVersion(h, 0x20321)), {0xB0, 0x23, 0x04, 0x00, 0x02, 0x03, 0x21}),
        statusRow(ON_HANDLE(KORVEX_EncryptionTrans(h)), {0xBB, 0x00, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_DisEncryptionTrans(h)), {0xBB, 0x00, 0x01, 0x02}),
        replyRow(ON_HANDLE(KORVEX_GetBLESPIRate(h, out)), {0xB0, 0x26}, {0x01, 0x05}, R3, K::DataSubIgnored),
        statusRow(ON_HANDLE(KORVEX_SetBLESPIRate(h, 3)), {0xB0, 0x27, 0x01, 0x03}),
    };
    return rows;
}

const std::vector<PacketRow> &targetRows() {
    static const std::vector<PacketRow> rows = {
        {ON_HANDLE(KORVEX_GetStatus_Target(h, out, out + 1, out + 2)), {{0xB1, 0x00, 0x01, 0xA5}},
         {0xB1, 0x00, 0x01, 0x05}, K::Data, R2},
        replyRow(ON_HANDLE(KORVEX_GetDeviceID_Target(h, out)), {0xB1, 0x01}, {0x05, 0x11, 0x22, 0x33, 0x44, 0x55}),
        statusRow(ON_HANDLE(KORVEX_SetDeviceID_Target(h, 7, 0x12345678)),
                  {0xB1, 0x05, 0x05, 0x07, 0x12, 0x34, 0x56, 0x78}),
        replyRow(ON_HANDLE(KORVEX_GetFlashSize_Target(h, &number)), {0xB1, 0x02}, {0x02, 0x01, 0x00}),
        statusRow(ON_HANDLE(KORVEX_SetState_Target(h, 2)), {0xB1, 0x03, 0x01, 0x02}),
        replyRow(ON_HANDLE(KORVEX_GetTargetConnectState(h, out)), {0xB1, 0x04}, {0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_EncryptionTrans_Target(h)), {0xBB, 0x01, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_DisEncryptionTrans_Target(h)), {0xBB, 0x01, 0x01, 0x02}),
        replyRow(ON_HANDLE(KORVEX_UPLoad_Target(h, 0x08000000, 4, out)),
                 {0xB2, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x04}, {1, 2, 3, 4}, R2, K::Memory),
        replyRow(ON_HANDLE(KORVEX_UPLoad_Target(h, 0x093FFFF0, 4, out)),
                 {0xB2, 0x01, 0x09, 0x3F, 0xFF, 0xF0, 0x00, 0x04}, {1, 2, 3, 4}, R2, K::Memory),
        statusRow(ON_HANDLE(KORVEX_DownLoad_Target(h, 0x09400000, 4, kData)),
                  {0xB3, 0x00, 0x09, 0x40, 0x00, 0x00, 0x00, 0x04, 0x11, 0x22, 0x33, 0x44}),
        statusRow(ON_HANDLE(KORVEX_DownLoad_Target(h, 0x08400000, 2, kData)),
                  {0xB3, 0x01, 0x08, 0x40, 0x00, 0x00, 0x00, 0x02, 0x11, 0x22}),
        replyRow(ON_HANDLE(KORVEX_ReadUserSystemData_Target(h, 2, out)),
                 {0xB2, 0x02, 0, 0, 0, 0, 0x00, 0x02}, {0xA5, 0x5A}, R2, K::Memory),
        statusRow(ON_HANDLE(KORVEX_WriteUserSystemData_Target(h, 2, kData)),
                  {0xB3, 0x02, 0, 0, 0, 0, 0x00, 0x02, 0x11, 0x22}),
        replyRow(ON_HANDLE(KORVEX_ReadOTPData_Target(h, 0x10, 1, out, 0)),
                 {0xB2, 0x03, 0, 0, 0, 0x10, 0x00, 0x01}, {0x42}, R2, K::Memory),
        replyRow(ON_HANDLE(KORVEX_ReadOTPData_Target(h, 0x10, 1, out, 9)),
                 {0xB2, 0x04, 0, 0, 0, 0x10, 0x00, 0x01}, {0x42}, R2, K::Memory),
        statusRow(ON_HANDLE(KORVEXDevice_DownloadOTPData_Target(h, 0x20, 1, kData, 0)),
                  {0xB3, 0x07, 0, 0, 0, 0x20, 0x00, 0x01, 0x11}),
        statusRow(ON_HANDLE(KORVEXDevice_DownloadOTPData_Target(h, 0x20, 1, kData, 1)),
                  {0xB3, 0x08, 0, 0, 0, 0x20, 0x00, 0x01, 0x11}),
        statusRow(ON_HANDLE(KORVEX_WriteMainFlashBegin_Target(h)), {0xB3, 0x03, 0x01, 0x00}),
        statusRow(ON_HANDLE(KORVEX_WriteMainFlashEnd_Target(h)), {0xB3, 0x03, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_WriteSPIMBegin_Target(h)), {0xB3, 0x04, 0x01, 0x00}),
        statusRow(ON_HANDLE(KORVEX_WriteSPIMEnd_Target(h)), {0xB3, 0x04, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_WriteUserSystemDataBegin_Target(h)), {0xB3, 0x05, 0x01, 0x00}),
        statusRow(ON_HANDLE(KORVEX_WriteUserSystemDataEnd_Target(h)), {0xB3, 0x05, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_DownloadOTPDataBegin_Target(h)), {0xB3, 0x06, 0x01, 0x00}),
        statusRow(ON_HANDLE(KORVEX_DownloadOTPDataEnd_Target(h)), {0xB3, 0x06, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_SectorErase_Target(h, 0x08001000, 1)),
                  {0xB4, 0x00, 0x08, 0x00, 0x10, 0x00, 0x00, 0x01}),
        statusRow(ON_HANDLE(KORVEX_SectorErase_Target(h, 0x08401000, 0x102)),
                  {0xB4, 0x01, 0x08, 0x40, 0x10, 0x00, 0x01, 0x02}),
        statusRow(ON_HANDLE(KORVEX_BlockErase_Target(h, 0x08010000, 2)),
                  {0xB4, 0x08, 0x08, 0x01, 0x00, 0x00, 0x00, 0x02}),
        statusRow(ON_HANDLE(KORVEX_Bank1AllErase_Target(h)), {0xB4, 0x03, 0, 0, 0, 0, 0, 0}),
        statusRow(ON_HANDLE(KORVEX_Bank2AllErase_Target(h)), {0xB4, 0x04, 0, 0, 0, 0, 0, 0}),
        statusRow(ON_HANDLE(KORVEX_SPIMAllErase_Target(h)), {0xB4, 0x05, 0, 0, 0, 0, 0, 0}, kNotWaitedFor),
        statusRow(ON_HANDLE(KORVEX_MainFlashAllErase_Target(h)), {0xB4, 0x06, 0, 0, 0, 0, 0, 0}),
        statusRow(ON_HANDLE(KORVEX_SysMemoryAllErase_Target(h)), {0xB4, 0x07, 0, 0, 0, 0, 0, 0}, kNotWaitedFor),
        statusRow(ON_HANDLE(KORVEX_AccessProtect_Target(h, 1)), {0xB5, 0x00, 0x01, 0xFF}),
        statusRow(ON_HANDLE(KORVEX_AccessProtect_Target(h, 2)), {0xB5, 0x00, 0x01, 0xCC}),
        statusRow(ON_HANDLE(KORVEX_UnAccessProtect_Target(h)), {0xB5, 0x00, 0x01, 0xA5}),
        statusRow(ON_HANDLE(KORVEX_EraseWriteProtect_Target(h, 2, kSectors)), {0xB5, 0x01, 0x04, 0xFF}),
        statusRow(ON_HANDLE(KORVEX_UnEraseWriteProtect_Target(h)), {0xB5, 0x01, 0x04, 0, 0, 0, 0}),
        statusRow(ON_HANDLE(KORVEX_LockFlash_Target(h, 2)), {0xB6, 0x01, 0x01, 0x02}),
        statusRow(ON_HANDLE(KORVEX_UnLockFlash_Target(h, 3)), {0xB6, 0x00, 0x01, 0x03}),
        statusRow(ON_HANDLE(KORVEX_EnableSPIM_Target(h, 1, 2, 0x400000, 0x1000)),
                  {0xB6, 0x02, 0x09, 0x09, 0x00, 0x00, 0x10, 0x00, 0x00, 0x40, 0x00, 0x00}),
        replyRow(ON_HANDLE(KORVEX_GetSlibState_Target(h, out, words, words + 1, words + 2, words + 3)),
                 {0xB5, 0x02}, {0x09, 0x01, 0, 1, 0, 2, 0, 3, 0, 4}, R3),
        statusRow(ON_HANDLE(KORVEX_EnableSlib_Target(h, 0x12345678, 1, 2, 3)),
                  {0xB5, 0x03, 0x0B, 0x01, 0x12, 0x34, 0x56, 0x78, 0, 1, 0, 2, 0, 3}, R3),
        statusRow(ON_HANDLE(KORVEX_DisableSlib_Target(h, 0x12345678)),
                  {0xB5, 0x03, 0x0B, 0x00, 0x12, 0x34, 0x56, 0x78, 0, 0, 0, 0, 0, 0}, R3),
        {ON_HANDLE(KORVEX_GetCRCValue_Target(h, 5, 2, &word)), {{0xB5, 0x06, 0x04, 0x00, 0x05, 0x00, 0x02}},
         {0xB5, 0x06, 0x06, 0x00, 0x05, 0xDE, 0xAD, 0xBE, 0xEF}, K::Data, R3},
        {ON_HANDLE(KORVEX_GetSectorCRCValue_Target(h, 7, &word)), {{0xB5, 0x06, 0x02, 0x00, 0x07}},
         {0xB5, 0x06, 0x06, 0x00, 0x07, 0xDE, 0xAD, 0xBE, 0xEF}, K::Data, R3},
        replyRow(ON_HANDLE(KORVEX_GetSysSlibState_Target(h, out, words)), {0xB5, 0x07}, {0x02, 0x01, 0x5A}, R3),
        statusRow(ON_HANDLE(KORVEX_EnableSysSlib_Target(h, 0x12345678, 0x1234)),
                  {0xB5, 0x08, 0x06, 0x01, 0x12, 0x34, 0x56, 0x78, 0x34}, R3),
        statusRow(ON_HANDLE(KORVEX_DisableSysSlib_Target(h, 0x12345678)),
                  {0xB5, 0x08, 0x06, 0x00, 0x12, 0x34, 0x56, 0x78, 0x00}, R3),
        replyRow(ON_HANDLE(KORVEX_GetSysAPMode_Target(h, out)), {0xB5, 0x09}, {0x01, 0x01}, R3),
        statusRow(ON_HANDLE(KORVEX_SetSysAPMode_Target(h, 0xA5C3E1F0)), {0xB5, 0x0A, 0x04, 0xA5, 0xC3, 0xE1, 0xF0}),
        replyRow(ON_HANDLE(KORVEX_DebugReadMemory_Target(h, 0x20000000, 4, out, 32)),
                 {0xCF, 0x00, 0x20, 0x20, 0x00, 0x00, 0x00, 0x00, 0x04}, {1, 2, 3, 4}, R2, K::Debug),
        statusRow(ON_HANDLE(KORVEX_DebugWriteMemory_Target(h, 0x20000010, 2, kData, 16)),
                  {0xCF, 0x01, 0x10, 0x20, 0x00, 0x00, 0x10, 0x00, 0x02, 0x11, 0x22}),
        {ON_HANDLE(KORVEX_DebugReadRegister_Target(h, 0xE000ED00, &word)),
         {{0xCF, 0x00, 0x20, 0xE0, 0x00, 0xED, 0x00, 0x00, 0x04}},
         {0xCF, 0x00, 0, 0, 0, 0, 0, 0x00, 0x04, 0x12, 0x34, 0x56, 0x78}, K::Debug, R2},
        statusRow(ON_HANDLE(KORVEX_DebugWriteRegister_Target(h, 0xE000ED0C, 0x05FA0004)),
                  {0xCF, 0x01, 0x20, 0xE0, 0x00, 0xED, 0x0C, 0x00, 0x04, 0x05, 0xFA, 0x00, 0x04}),
    };
    return rows;
}

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

const std::vector<PacketRow> &bleRows() {
    const Bytes ok = status(0xBE);
    static const std::vector<PacketRow> rows = {
        statusRow(ON_HANDLE(KORVEX_BLECHIP_S17_Connect(h)), {0xBE, 0x00, 0x01, 0x00}),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_S17_DisConnect(h)), {0xBE, 0x00, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_SelectFlashSpace(h, 1)), bleSelect(1)),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_SetCRCValue(h, 1, 0x11223344)),
                  {0xBE, 0x02, 0x05, 0x01, 0x11, 0x22, 0x33, 0x44}),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_WriteFlash(h, 0x100, 3, kData)),
                  {0xBE, 0x03, 0x00, 0x00, 0x01, 0x00, 0x00, 0x03, 0x11, 0x22, 0x33}),
        replyRow(ON_HANDLE(KORVEX_BLECHIP_ReadFlash(h, 0x100, 2, out)),
                 {0xBE, 0x04, 0x00, 0x00, 0x01, 0x00, 0x00, 0x02}, {7, 8}, R2, K::Memory),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_SectorErase(h, 0x200, 2)), {0xBE, 0x06, 0x00, 0x00, 0x02, 0x00, 0x00, 0x02}),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_BlockErase(h, 0x10000, 1)),
                  {0xBE, 0x07, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01}),
        {ON_HANDLE(KORVEX_BLECHIP_EraseMainFlash(h)), {bleSelect(0), kMainErase}, ok, K::Status, R2},
        {ON_HANDLE(KORVEX_BLECHIP_EraseNVRFlash(h)), kNvr, ok, K::Status, R2},
        {ON_HANDLE(KORVEX_BLECHIP_EraseRDNFlash(h)), kRdn, ok, K::Status, R2},
        {ON_HANDLE(KORVEX_BLECHIP_EraseAllFlash(h)), eraseAllRequests(), ok, K::Status, R2},
        statusRow(ON_HANDLE(KORVEX_BLECHIP_WriteReg(h, 5, 0x32)), {0xBE, 0x08, 0x05, 0x32}),
        replyRow(ON_HANDLE(KORVEX_BLECHIP_ReadReg(h, 5, out)), {0xBE, 0x09, 0x05}, {0x32}, R2, K::DataSubResult),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_SPICommand(h, 0x06)), {0xBE, 0x0A, 0x06}),
        replyRow(ON_HANDLE(KORVEX_BLECHIP_GetFlashSpace(h, out)), {0xBE, 0x0B}, {0x01, 0x02}, R2, K::DataSubResult),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_EnableProtect(h)), {0xBE, 0x0C, 0x01, 0xFF}),
        statusRow(ON_HANDLE(KORVEX_BLECHIP_DisableProtect(h)), {0xBE, 0x0C, 0x01, 0xA5}),
        replyRow(ON_HANDLE(KORVEX_BLECHIP_GetProtectStatus(h, out)), {0xBE, 0x0D}, {0x01, 0xA5}, R2, K::DataSubResult),
        replyRow(ON_HANDLE(KORVEX_BLECHIP_CheckCRC(h, out)), {0xBE, 0x0E}, {0x01, 0x01}, R2, K::DataSubResult),
    };
    return rows;
}

const std::vector<PacketRow> &qspiRows() {
    static const std::vector<PacketRow> rows = {
        statusRow(ON_HANDLE(KORVEX_QSPI_Bit_Write(h, 0xA0000000, 0x11223344, 0x55667788, 0)),
                  {0xC2, 0x00, 0xA0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}),
        statusRow(ON_HANDLE(KORVEX_QSPI_Bit_Write(h, 0xA0000000, 0x11223344, 0x55667788, 1)),
                  {0xC2, 0x01, 0xA0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44}),
        statusRow(ON_HANDLE(KORVEX_QSPI_Set_State(h, 1)), {0xC2, 0x03, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_QSPI_Set_Register_Base_Addr(h, 0xA0001000)),
                  {0xC2, 0x04, 0x04, 0xA0, 0x00, 0x10, 0x00}),
        replyRow(ON_HANDLE(KORVEX_QSPI_Upload(h, 0x100, 4, out)),
                 {0xC2, 0x05, 0, 0, 0x01, 0x00, 0x00, 0x04}, {1, 2, 3, 4}, R2, K::Memory),
        statusRow(ON_HANDLE(KORVEX_QSPI_DownLoad_Target(h, 0x100, 3, kData)),
                  {0xC2, 0x06, 0, 0, 0x01, 0x00, 0x00, 0x03, 0x11, 0x22, 0x33}),
        statusRow(ON_HANDLE(KORVEX_QSPI_SectorErase(h, 0x1000, 2)), {0xC2, 0x07, 0, 0, 0x10, 0x00, 0x00, 0x02}),
        statusRow(ON_HANDLE(KORVEX_QSPI_BlockErase(h, 0x10000, 0xFFFF)), {0xC2, 0x08, 0, 0x01, 0x00, 0x00, 0xFF, 0xFF}),
        statusRow(ON_HANDLE(KORVEX_QSPI_ChipErase(h)), {0xC2, 0x09, 0, 0, 0, 0, 0, 0}, kNotWaitedFor),
        statusRow(ON_HANDLE(KORVEX_QSPI_Config_Cmd_Parameter(h, 18, kBlock18.data())),
                  cat({0xC2, 0x0A, 0x12}, kBlock18)),
        statusRow(ON_HANDLE(KORVEX_QSPI_Custom_Cmd_Parameter(h, 17, kBlock18.data())),
                  cat({0xC2, 0x0B, 0x11}, Bytes(kBlock18.begin(), kBlock18.begin() + 17))),
    };
    return rows;
}

const std::vector<PacketRow> &settingsRows() {
    static const std::vector<PacketRow> rows = {
        replyRow(ON_HANDLE(KORVEX_GetTargetStableTime(h, &word)), {0xB0, 0x0C}, {0x04, 0x00, 0x00, 0x01, 0xF4}, R3),
        statusRow(ON_HANDLE(KORVEX_SetTargetStableTime(h, 500)), {0xB0, 0x0D, 0x04, 0x00, 0x00, 0x01, 0xF4}),
        {ON_HANDLE(KORVEX_GetVoltageLevelValue(h, 1, &half)), {{0xB0, 0x0E, 0x01, 0x01}},
         {0xB0, 0x0E, 0x03, 0x01, 0x13, 0x88}, K::Data, R3},
        statusRow(ON_HANDLE(KORVEX_SetVoltageLevelValue(h, 1, 5000)), {0xB0, 0x0F, 0x03, 0x01, 0x13, 0x88}),
        replyRow(ON_HANDLE(KORVEX_GetVoltageState(h, out)), {0xB0, 0x10}, {0x01, 0x01}, R3),
        statusRow(ON_HANDLE(KORVEX_SetVoltageState(h, 1)), {0xB0, 0x11, 0x01, 0x01}),
        replyRow(ON_HANDLE(KORVEX_GetVoltageCurrentLevel(h, out)), {0xB0, 0x12}, {0x01, 0x02}, R3),
        statusRow(ON_HANDLE(KORVEX_SetVoltageCurrentLevel(h, 2)), {0xB0, 0x13, 0x01, 0x02}),
        replyRow(ON_HANDLE(KORVEX_GetTVCCVoltageValue(h, &number)),
                 {0xB0, 0x14}, {0x09, 0x01, 0x0C, 0xE4, 0, 0, 0, 0, 0, 0}, R3),
        replyRow(ON_HANDLE(KORVEX_GetBuzzerState(h, out)), {0xB0, 0x1B}, {0x01, 0x01}, R3),
        statusRow(ON_HANDLE(KORVEX_SetBuzzerState(h, 0)), {0xB0, 0x1C, 0x01, 0x00}),
        replyRow(ON_HANDLE(KORVEX_GetUSBToUsartState(h, out)), {0xB0, 0x1F}, {0x01, 0x01}, R3),
        statusRow(ON_HANDLE(KORVEX_SetUSBToUsartState(h, 1)), {0xB0, 0x20, 0x01, 0x01}),
        replyRow(ON_HANDLE(KORVEX_GetLCDFWVersion(h, 2, out)), {0xB0, 0x22}, {0x02, 0x01, 0x05}, R3),
        replyRow(ON_HANDLE(KORVEX_GetUsartAutoMode(h, out)), {0xB0, 0x24}, {0x01, 0x01}, R3, K::DataSubIgnored),
        statusRow(ON_HANDLE(KORVEX_SetUsartAutoMode(h, 1)), {0xB0, 0x25, 0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_FactoryDataReset(h)), {0xCF, 0x03, 0x00, 0x04, 0x52, 0x53, 0x54, 0x21}),
        {ON_HANDLE(KORVEX_PinTestMode(h, &word)), {{0xCF, 0x04, 0x01, 0x55}},
         {0xCF, 0x04, 0x04, 0x00, 0xFF, 0x00, 0xFF}, K::Data, R3},
        {ON_HANDLE(KORVEX_PinTestSysReset(h)), {{0xCF, 0x04, 0x01, 0xAA}}, {}, K::None, kNotWaitedFor},
        {ON_HANDLE(KORVEX_LEDTestMode(h)), {{0xCF, 0x04, 0x01, 0x66}}, {}, K::None, kNotWaitedFor},
        statusRow(ON_HANDLE(KORVEX_PROLCDTestMode(h)), {0xCF, 0x07, 0x01, 0x55}),
    };
    return rows;
}

const std::vector<PacketRow> &offlineRows() {
    static const std::vector<PacketRow> rows = {
        replyRow(ON_HANDLE(KORVEX_GetOfflineDNState(h, out)), {0xB0, 0x0B}, {0x01, 0x01}),
        replyRow(ON_HANDLE(KORVEX_GetOfflineDownloadType(h, out)), {0xB0, 0x15}, {0x01, 0x02}, R3),
        statusRow(ON_HANDLE(KORVEX_SetOfflineDownloadType(h, 2)), {0xB0, 0x16, 0x01, 0x02}),
        replyRow(ON_HANDLE(KORVEX_GetOfflineISPUartBps(h, &word)), {0xB0, 0x17}, {0x04, 0x00, 0x01, 0xC2, 0x00}, R3),
        statusRow(ON_HANDLE(KORVEX_SetOfflineISPUartBps(h, 115200)), {0xB0, 0x18, 0x04, 0x00, 0x01, 0xC2, 0x00}),
        replyRow(ON_HANDLE(KORVEX_GetOfflineISPAutoBoot(h, out)), {0xB0, 0x19}, {0x01, 0x01}, R3),
        statusRow(ON_HANDLE(KORVEX_SetOfflineISPAutoBoot(h, 1)), {0xB0, 0x1A, 0x01, 0x01}),
        replyRow(ON_HANDLE(KORVEX_GetMachineBurningState(h, &a, &b, &number, &number)),
                 {0xB0, 0x1D}, {0x0A, 0x01, 0x00, 0, 0, 0, 0x64, 0, 0, 0x03, 0xE8}, R3, K::DataSubResult),
        statusRow(ON_HANDLE(KORVEX_SetMachineBurningState(h, 1, 0, 100, 1000)),
                  {0xB0, 0x1E, 0x0A, 0x01, 0x00, 0, 0, 0, 0x64, 0, 0, 0x03, 0xE8}, R3),
        replyRow(ON_HANDLE(KORVEX_GetCodeNumber(h, out)), {0xBB, 0x02}, {0x01, 0x04}),
        statusRow(ON_HANDLE(KORVEX_SetCodeNumber(h, 8)), {0xBB, 0x03, 0x01, 0x08}),
        replyRow(ON_HANDLE(KORVEX_GetDownloadCodeIndex(h, &a, &b)), {0xBB, 0x04}, {0x02, 0x03, 0x05}),
        statusRow(ON_HANDLE(KORVEX_SetDownloadCodeIndex(h, 3, 5)), {0xBB, 0x05, 0x02, 0x03, 0x05}),
        statusRow(ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xA0, 16)), {0xBB, 0x06, 0x02, 0xA0, 0x10}),
        statusRow(ON_HANDLE(KORVEX_BeginOfflineDownloadCode(h)), {0xBB, 0x07, 0x01, 0x00}),
        {ON_HANDLE(KORVEX_GetDownloadTimes(h, 0xB3, 1, 2, &number)), {{0xBB, 0x08, 0x03, 0xB3, 0x01, 0x02}},
         {0xBB, 0x08, 0x04, 0, 0, 0, 0x07}, K::Data, R2},
        replyRow(ON_HANDLE(KORVEX_GetProjectOneDownloadFunc(h, out)), {0xBB, 0x09}, {0x01, 0x01}),
        statusRow(ON_HANDLE(KORVEX_WriteMainData_Device(h, 3, 0x100, 3, kData)),
                  {0xB7, 0x03, 0, 0, 0x01, 0x00, 0x00, 0x03, 0x11, 0x22, 0x33}),
        {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 3, 0x100, 0x200)),
         {{0xB7, 0x13, 0x08, 0, 0, 0x01, 0x00, 0, 0, 0x02, 0x00}}, {0xB7, 0x13, 0x01, 0x00}, K::EchoResult, R2},
        replyRow(ON_HANDLE(KORVEX_ReadMainData_Device(h, 3, 0x100, 2, out)),
                 {0xB9, 0x03, 0, 0, 0x01, 0x00, 0x00, 0x02}, {0xAA, 0xBB}, R2, K::Memory),
        statusRow(ON_HANDLE(KORVEX_WriteOPTData_Device(h, 15, 48, kBlock48.data())),
                  cat({0xB8, 0x0F, 0x00, 0x30}, kBlock48)),
        {ON_HANDLE(KORVEX_ReadOPTData_Device(h, 15, 48, out)), {{0xBA, 0x0F, 0x00, 0x30}},
         cat({0xBA, 0x0F, 0x00, 0x30}, kBlock48), K::EchoLength, R2},
        statusRow(ON_HANDLE(KORVEX_WriteOPTDataExtend_Device(h, 2, 3, kData)),
                  {0xB8, 0x12, 0, 0, 0, 0, 0x00, 0x03, 0x11, 0x22, 0x33}),
        replyRow(ON_HANDLE(KORVEX_ReadOPTDataExtend_Device(h, 2, 2, out)),
                 {0xBA, 0x12, 0, 0, 0, 0, 0x00, 0x02}, {0xAA, 0xBB}, R2, K::Memory),
        statusRow(ON_HANDLE(KORVEX_WriteOTPData_Device(h, 2, 0x10, 2, kData)),
                  {0xB8, 0x22, 0, 0, 0, 0x10, 0x00, 0x02, 0x11, 0x22}),
        statusRow(ON_HANDLE(KORVEX_SetOTPLockParameters_Device(h, 2, 0, 1, kData)),
                  {0xB8, 0x32, 0, 0, 0, 0, 0x00, 0x01, 0x11}),
        statusRow(ON_HANDLE(KORVEX_SetOTPWriteParameters_Device(h, 15, 0, 1, kData)),
                  {0xB8, 0x4F, 0, 0, 0, 0, 0x00, 0x01, 0x11}),
        // Length 0: a configuration part never written reads back empty from the virtual probe too.
        replyRow(ON_HANDLE(KORVEX_GetOfflineConfig_Apart(h, 1, 0, out)), {0xBC, 0x01}, {0x00, 0x00}, R2, K::EchoLength),
        replyRow(ON_HANDLE(KORVEX_GetOfflineConfig_Bpart(h, 1, 0, out)), {0xBC, 0x11}, {0x00, 0x00}, R2, K::EchoLength),
        replyRow(ON_HANDLE(KORVEX_GetOfflineConfig_Cpart(h, 1, 0, out)), {0xBC, 0x21}, {0x00, 0x00}, R2, K::EchoLength),
        replyRow(ON_HANDLE(KORVEX_GetOfflineConfig_Dpart(h, 15, 0, out)),
                 {0xBC, 0x3F}, {0x00, 0x00}, R2, K::EchoLength),
        statusRow(ON_HANDLE(KORVEX_SetOfflineConfig_Apart(h, 1, 3, kData)), {0xBD, 0x01, 0x00, 0x03, 0x11, 0x22, 0x33}),
        statusRow(ON_HANDLE(KORVEX_SetOfflineConfig_Bpart(h, 1, 1, kData)), {0xBD, 0x11, 0x00, 0x01, 0x11}),
        statusRow(ON_HANDLE(KORVEX_SetOfflineConfig_Cpart(h, 1, 1, kData)), {0xBD, 0x21, 0x00, 0x01, 0x11}),
        statusRow(ON_HANDLE(KORVEX_SetOfflineConfig_Dpart(h, 15, 1, kData)), {0xBD, 0x3F, 0x00, 0x01, 0x11}),
        replyRow(ON_HANDLE(KORVEX_DebugReadMemory_Device(h, 0x08000000, 4, out)),
                 {0xCF, 0x02, 0x08, 0x08, 0, 0, 0, 0x00, 0x04}, {1, 2, 3, 4}, R2, K::Debug),
    };
    return rows;
}

const std::vector<PacketRow> &firmwareRows() {
    static const std::vector<PacketRow> rows = {
        {ON_HANDLE(KORVEX_EnterFWUpdateMode(h, out)), {{0xC0, 0x00, 0x00, 0x01, 0xA0}}, {0xC0, 0x00, 0x00, 0x01, 0x01},
         K::Header, R2},
        statusRow(ON_HANDLE(KORVEX_FWUpdateBegin(h)), {0xC0, 0x01, 0x00, 0x02, 0xA1, 0x01}),
        statusRow(ON_HANDLE(KORVEX_FWUpdateSetCodeRange(h, 0x08000000, 0x400)),
                  {0xC0, 0x02, 0x00, 0x09, 0xA2, 0x08, 0, 0, 0, 0, 0, 0x04, 0x00}),
        statusRow(ON_HANDLE(KORVEX_FWUpdate(h, 0x08000000, 3, kData)),
                  {0xC0, 0x03, 0x00, 0x07, 0x08, 0, 0, 0, 0x11, 0x22, 0x33}),
        statusRow(ON_HANDLE(KORVEX_FWUpdateEnd(h, 1)), {0xC0, 0x04, 0x00, 0x02, 0xA4, 0x01}),
        {ON_HANDLE(KORVEX_FWUpdateVerify(h, 0x12345678)), {{0xC0, 0x05, 0x00, 0x05, 0xA5, 0x12, 0x34, 0x56, 0x78}},
         {0xC0, 0x05, 0x00, 0x00, 0x00}, K::Header, R2},
        statusRow(ON_HANDLE(KORVEX_FWRun(h)), {0xC0, 0x06, 0x00, 0x01, 0xA6}),
        statusRow(ON_HANDLE(KORVEX_EnterLCDFWUpdateMode(h)), {0xC1, 0x00, 0x00, 0x01, 0xA0}),
        statusRow(ON_HANDLE(KORVEX_LCDFWUpdateBegin(h, 1)), {0xC1, 0x01, 0x02, 0xA1, 0x01}),
        statusRow(ON_HANDLE(KORVEX_LCDFWUpdateSetCodeSize(h, 0x1234)), {0xC1, 0x02, 0x04, 0, 0, 0x12, 0x34}),
        statusRow(ON_HANDLE(KORVEX_LCDFWUpdate(h, 3, kData)), {0xC1, 0x03, 0x06, 0x01, 0x00, 0x00, 0x11, 0x22, 0x33}),
        statusRow(ON_HANDLE(KORVEX_LCDFWUpdateEnd(h)), {0xC1, 0x04, 0x01, 0xA2}),
    };
    return rows;
}

// Exports that exchange no packet, and exports that address the target or the BLE module in name
// or group but move only the probe's time.
#define OFF_WIRE(stamps, name, ...) {#name, Stamps::stamps, [](KORVEX_HANDLE h) { return name(h, __VA_ARGS__); }}
const std::vector<ExportCall> kOffWire = {
    OFF_WIRE(Link, KORVEX_GetSerialNumber, text, 64),
    OFF_WIRE(Link, KORVEX_GetManufacturer, text, 64),
    OFF_WIRE(Link, KORVEX_GetProduct, text, 64),
    OFF_WIRE(Link, KORVEX_SetNonblocking, 0),
    OFF_WIRE(Link, KORVEX_GetTransType, out),
    OFF_WIRE(None, KORVEX_GetLastKorvexCommunicationTimes, &moment),
    OFF_WIRE(None, KORVEX_GetLastTargetCommunicationTimes, &moment),
    OFF_WIRE(None, KORVEX_GetLastBLECommunicationTimes, &moment),
};
const std::set<std::string> kProbeTimeOnly = {
    "KORVEX_GetTargetConnectState", "KORVEX_GetSysSlibState_Target", "KORVEX_EnableSysSlib_Target",
    "KORVEX_DisableSysSlib_Target", "KORVEX_GetSysAPMode_Target", "KORVEX_SetSysAPMode_Target",
    "KORVEX_DebugReadMemory_Target", "KORVEX_DebugWriteMemory_Target", "KORVEX_DebugReadRegister_Target",
    "KORVEX_DebugWriteRegister_Target", "KORVEX_QSPI_Set_Register_Base_Addr", "KORVEX_QSPI_Set_State",
    "KORVEX_QSPI_Bit_Write"};

}  // namespace

std::vector<const std::vector<PacketRow> *> allPacketGroups() {
    return {&probeInformationRows(), &targetRows(), &bleRows(), &qspiRows(),
            &settingsRows(),         &offlineRows(), &firmwareRows()};
}

const char *const kPacketGroupNames[] = {"ProbeInformation", "Target", "Ble", "Qspi", "Settings", "Offline", "Firmware"};

const std::vector<ExportCall> &everyHandleExport() {
    static const std::vector<ExportCall> exports = [] {
        std::vector<ExportCall> all = kOffWire;
        std::set<std::string> seen;
        // The target and QSPI groups move the target's time too, the BLE group the module's.
        const Stamps byGroup[] = {Stamps::Link, Stamps::LinkTarget, Stamps::LinkBle, Stamps::LinkTarget,
                                  Stamps::Link, Stamps::Link,       Stamps::Link};
        const auto groups = allPacketGroups();
        for (size_t g = 0; g < groups.size(); ++g)
            for (const PacketRow &row : *groups[g]) {
                const std::string name = row.name.substr(0, row.name.find('('));
                if (seen.insert(name).second)
                    all.push_back({name, kProbeTimeOnly.count(name) ? Stamps::Link : byGroup[g], row.call});
            }
        return all;
    }();
    return exports;
}

}  // namespace korvex_test
