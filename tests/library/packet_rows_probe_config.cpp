// The rows of the QSPI, probe settings, offline programming, firmware update and test commands.
#include "packet_rows.h"

namespace korvex_test {
namespace {

uint8_t out[256];
uint16_t half;
uint32_t word;
int number;
uint8_t a, b;
const uint8_t kData[8] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};

constexpr int R2 = TRANS_WRITE_ERROR;
constexpr int R3 = TRANS_READ_ERROR;
using K = ReplyKind;

Bytes counting(uint8_t first, size_t n) {
    Bytes bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(first + i);
    return bytes;
}
Bytes cat(Bytes x, const Bytes &y) {
    x.insert(x.end(), y.begin(), y.end());
    return x;
}
Bytes status(uint8_t cmd) { return {cmd, 0xF1}; }

const Bytes kBlock18 = counting(0x40, 18);
const Bytes kBlock48 = counting(0x60, 48);

}  // namespace

const std::vector<PacketRow> &qspiRows() {
    const Bytes ok = status(0xC2);
    static const std::vector<PacketRow> rows = {
        {"QSPI_Bit_Write", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Bit_Write(h, 0xA0000000, 0x11223344, 0x55667788, 0); },
         {{0xC2, 0x00, 0xA0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}}, ok, K::Status, R2},
        {"QSPI_Bit_Write single",
         [](KORVEX_HANDLE h) { return KORVEX_QSPI_Bit_Write(h, 0xA0000000, 0x11223344, 0x55667788, 1); },
         {{0xC2, 0x01, 0xA0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44}}, ok, K::Status, R2},
        {"QSPI_Set_State", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Set_State(h, 1); }, {{0xC2, 0x03, 0x01, 0x01}}, ok,
         K::Status, R2},
        {"QSPI_Set_Register_Base_Addr", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Set_Register_Base_Addr(h, 0xA0001000); },
         {{0xC2, 0x04, 0x04, 0xA0, 0x00, 0x10, 0x00}}, ok, K::Status, R2},
        {"QSPI_Upload", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Upload(h, 0x100, 4, out); },
         {{0xC2, 0x05, 0, 0, 0x01, 0x00, 0x00, 0x04}}, {0xC2, 0x05, 0, 0, 0x01, 0x00, 0x00, 0x04, 1, 2, 3, 4}, K::Memory,
         R2},
        {"QSPI_DownLoad_Target", [](KORVEX_HANDLE h) { return KORVEX_QSPI_DownLoad_Target(h, 0x100, 3, kData); },
         {{0xC2, 0x06, 0, 0, 0x01, 0x00, 0x00, 0x03, 0x11, 0x22, 0x33}}, ok, K::Status, R2},
        {"QSPI_SectorErase", [](KORVEX_HANDLE h) { return KORVEX_QSPI_SectorErase(h, 0x1000, 2); },
         {{0xC2, 0x07, 0, 0, 0x10, 0x00, 0x00, 0x02}}, ok, K::Status, R2},
        {"QSPI_BlockErase", [](KORVEX_HANDLE h) { return KORVEX_QSPI_BlockErase(h, 0x10000, 0xFFFF); },
         {{0xC2, 0x08, 0, 0x01, 0x00, 0x00, 0xFF, 0xFF}}, ok, K::Status, R2},
        {"QSPI_ChipErase", [](KORVEX_HANDLE h) { return KORVEX_QSPI_ChipErase(h); }, {{0xC2, 0x09, 0, 0, 0, 0, 0, 0}}, ok,
         K::Status, kNotWaitedFor},
        {"QSPI_Config_Cmd_Parameter", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Config_Cmd_Parameter(h, 18, kBlock18.data()); },
         {cat({0xC2, 0x0A, 0x12}, kBlock18)}, ok, K::Status, R2},
        {"QSPI_Custom_Cmd_Parameter",
         [](KORVEX_HANDLE h) { return KORVEX_QSPI_Custom_Cmd_Parameter(h, 17, kBlock18.data()); },
         {cat({0xC2, 0x0B, 0x11}, Bytes(kBlock18.begin(), kBlock18.begin() + 17))}, ok, K::Status, R2},
    };
    return rows;
}

const std::vector<PacketRow> &settingsRows() {
    const Bytes ok = status(0xB0);
    static const std::vector<PacketRow> rows = {
        {"GetTargetStableTime", [](KORVEX_HANDLE h) { return KORVEX_GetTargetStableTime(h, &word); }, {{0xB0, 0x0C}},
         {0xB0, 0x0C, 0x04, 0x00, 0x00, 0x01, 0xF4}, K::Data, R3},
        {"SetTargetStableTime", [](KORVEX_HANDLE h) { return KORVEX_SetTargetStableTime(h, 500); },
         {{0xB0, 0x0D, 0x04, 0x00, 0x00, 0x01, 0xF4}}, ok, K::Status, R2},
        {"GetVoltageLevelValue", [](KORVEX_HANDLE h) { return KORVEX_GetVoltageLevelValue(h, 1, &half); },
         {{0xB0, 0x0E, 0x01, 0x01}}, {0xB0, 0x0E, 0x03, 0x01, 0x13, 0x88}, K::Data, R3},
        {"SetVoltageLevelValue", [](KORVEX_HANDLE h) { return KORVEX_SetVoltageLevelValue(h, 1, 5000); },
         {{0xB0, 0x0F, 0x03, 0x01, 0x13, 0x88}}, ok, K::Status, R2},
        {"GetVoltageState", [](KORVEX_HANDLE h) { return KORVEX_GetVoltageState(h, out); }, {{0xB0, 0x10}},
         {0xB0, 0x10, 0x01, 0x01}, K::Data, R3},
        {"SetVoltageState", [](KORVEX_HANDLE h) { return KORVEX_SetVoltageState(h, 1); }, {{0xB0, 0x11, 0x01, 0x01}}, ok,
         K::Status, R2},
        {"GetVoltageCurrentLevel", [](KORVEX_HANDLE h) { return KORVEX_GetVoltageCurrentLevel(h, out); }, {{0xB0, 0x12}},
         {0xB0, 0x12, 0x01, 0x02}, K::Data, R3},
        {"SetVoltageCurrentLevel", [](KORVEX_HANDLE h) { return KORVEX_SetVoltageCurrentLevel(h, 2); },
         {{0xB0, 0x13, 0x01, 0x02}}, ok, K::Status, R2},
        {"GetTVCCVoltageValue", [](KORVEX_HANDLE h) { return KORVEX_GetTVCCVoltageValue(h, &number); }, {{0xB0, 0x14}},
         {0xB0, 0x14, 0x09, 0x01, 0x0C, 0xE4, 0, 0, 0, 0, 0, 0}, K::Data, R3},
        {"GetBuzzerState", [](KORVEX_HANDLE h) { return KORVEX_GetBuzzerState(h, out); }, {{0xB0, 0x1B}},
         {0xB0, 0x1B, 0x01, 0x01}, K::Data, R3},
        {"SetBuzzerState", [](KORVEX_HANDLE h) { return KORVEX_SetBuzzerState(h, 0); }, {{0xB0, 0x1C, 0x01, 0x00}}, ok,
         K::Status, R2},
        {"GetUSBToUsartState", [](KORVEX_HANDLE h) { return KORVEX_GetUSBToUsartState(h, out); }, {{0xB0, 0x1F}},
         {0xB0, 0x1F, 0x01, 0x01}, K::Data, R3},
        {"SetUSBToUsartState", [](KORVEX_HANDLE h) { return KORVEX_SetUSBToUsartState(h, 1); },
         {{0xB0, 0x20, 0x01, 0x01}}, ok, K::Status, R2},
        {"GetLCDFWVersion", [](KORVEX_HANDLE h) { return KORVEX_GetLCDFWVersion(h, 2, out); }, {{0xB0, 0x22}},
         {0xB0, 0x22, 0x02, 0x01, 0x05}, K::Data, R3},
        {"GetUsartAutoMode", [](KORVEX_HANDLE h) { return KORVEX_GetUsartAutoMode(h, out); }, {{0xB0, 0x24}},
         {0xB0, 0x24, 0x01, 0x01}, K::DataSubIgnored, R3},
        {"SetUsartAutoMode", [](KORVEX_HANDLE h) { return KORVEX_SetUsartAutoMode(h, 1); }, {{0xB0, 0x25, 0x01, 0x01}},
         ok, K::Status, R2},
        {"FactoryDataReset", [](KORVEX_HANDLE h) { return KORVEX_FactoryDataReset(h); },
         {{0xCF, 0x03, 0x00, 0x04, 0x52, 0x53, 0x54, 0x21}}, status(0xCF), K::Status, R2},
        {"PinTestMode", [](KORVEX_HANDLE h) { return KORVEX_PinTestMode(h, &word); }, {{0xCF, 0x04, 0x01, 0x55}},
         {0xCF, 0x04, 0x04, 0x00, 0xFF, 0x00, 0xFF}, K::Data, R3},
        {"PinTestSysReset", [](KORVEX_HANDLE h) { return KORVEX_PinTestSysReset(h); }, {{0xCF, 0x04, 0x01, 0xAA}}, {},
         K::None, kNotWaitedFor},
        {"LEDTestMode", [](KORVEX_HANDLE h) { return KORVEX_LEDTestMode(h); }, {{0xCF, 0x04, 0x01, 0x66}}, {}, K::None,
         kNotWaitedFor},
        {"PROLCDTestMode", [](KORVEX_HANDLE h) { return KORVEX_PROLCDTestMode(h); }, {{0xCF, 0x07, 0x01, 0x55}},
         status(0xCF), K::Status, R2},
    };
    return rows;
}

const std::vector<PacketRow> &offlineRows() {
    const Bytes ok = status(0xB0);
    static const std::vector<PacketRow> rows = {
        {"GetOfflineDNState", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineDNState(h, out); }, {{0xB0, 0x0B}},
         {0xB0, 0x0B, 0x01, 0x01}, K::Data, R2},
        {"GetOfflineDownloadType", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineDownloadType(h, out); }, {{0xB0, 0x15}},
         {0xB0, 0x15, 0x01, 0x02}, K::Data, R3},
        {"SetOfflineDownloadType", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineDownloadType(h, 2); },
         {{0xB0, 0x16, 0x01, 0x02}}, ok, K::Status, R2},
        {"GetOfflineISPUartBps", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineISPUartBps(h, &word); }, {{0xB0, 0x17}},
         {0xB0, 0x17, 0x04, 0x00, 0x01, 0xC2, 0x00}, K::Data, R3},
        {"SetOfflineISPUartBps", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineISPUartBps(h, 115200); },
         {{0xB0, 0x18, 0x04, 0x00, 0x01, 0xC2, 0x00}}, ok, K::Status, R2},
        {"GetOfflineISPAutoBoot", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineISPAutoBoot(h, out); }, {{0xB0, 0x19}},
         {0xB0, 0x19, 0x01, 0x01}, K::Data, R3},
        {"SetOfflineISPAutoBoot", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineISPAutoBoot(h, 1); },
         {{0xB0, 0x1A, 0x01, 0x01}}, ok, K::Status, R2},
        {"GetMachineBurningState",
         [](KORVEX_HANDLE h) { int c, d; return KORVEX_GetMachineBurningState(h, &a, &b, &c, &d); }, {{0xB0, 0x1D}},
         {0xB0, 0x1D, 0x0A, 0x01, 0x00, 0, 0, 0, 0x64, 0, 0, 0x03, 0xE8}, K::DataSubResult, R3},
        {"SetMachineBurningState", [](KORVEX_HANDLE h) { return KORVEX_SetMachineBurningState(h, 1, 0, 100, 1000); },
         {{0xB0, 0x1E, 0x0A, 0x01, 0x00, 0, 0, 0, 0x64, 0, 0, 0x03, 0xE8}}, ok, K::Status, R3},
        {"GetCodeNumber", [](KORVEX_HANDLE h) { return KORVEX_GetCodeNumber(h, out); }, {{0xBB, 0x02}},
         {0xBB, 0x02, 0x01, 0x04}, K::Data, R2},
        {"SetCodeNumber", [](KORVEX_HANDLE h) { return KORVEX_SetCodeNumber(h, 8); }, {{0xBB, 0x03, 0x01, 0x08}},
         status(0xBB), K::Status, R2},
        {"GetDownloadCodeIndex", [](KORVEX_HANDLE h) { return KORVEX_GetDownloadCodeIndex(h, &a, &b); }, {{0xBB, 0x04}},
         {0xBB, 0x04, 0x02, 0x03, 0x05}, K::Data, R2},
        {"SetDownloadCodeIndex", [](KORVEX_HANDLE h) { return KORVEX_SetDownloadCodeIndex(h, 3, 5); },
         {{0xBB, 0x05, 0x02, 0x03, 0x05}}, status(0xBB), K::Status, R2},
        {"DeleteOfflineConfIndex", [](KORVEX_HANDLE h) { return KORVEX_DeleteOfflineConfIndex(h, 0xA0, 16); },
         {{0xBB, 0x06, 0x02, 0xA0, 0x10}}, status(0xBB), K::Status, R2},
        {"BeginOfflineDownloadCode", [](KORVEX_HANDLE h) { return KORVEX_BeginOfflineDownloadCode(h); },
         {{0xBB, 0x07, 0x01, 0x00}}, status(0xBB), K::Status, R2},
        {"GetDownloadTimes", [](KORVEX_HANDLE h) { return KORVEX_GetDownloadTimes(h, 0xB3, 1, 2, &number); },
         {{0xBB, 0x08, 0x03, 0xB3, 0x01, 0x02}}, {0xBB, 0x08, 0x04, 0, 0, 0, 0x07}, K::Data, R2},
        {"GetProjectOneDownloadFunc", [](KORVEX_HANDLE h) { return KORVEX_GetProjectOneDownloadFunc(h, out); },
         {{0xBB, 0x09}}, {0xBB, 0x09, 0x01, 0x01}, K::Data, R2},
        {"WriteMainData_Device", [](KORVEX_HANDLE h) { return KORVEX_WriteMainData_Device(h, 3, 0x100, 3, kData); },
         {{0xB7, 0x03, 0, 0, 0x01, 0x00, 0x00, 0x03, 0x11, 0x22, 0x33}}, status(0xB7), K::Status, R2},
        {"VerifyMainData_Device", [](KORVEX_HANDLE h) { return KORVEX_VerifyMainData_Device(h, 3, 0x100, 0x200); },
         {{0xB7, 0x13, 0x08, 0, 0, 0x01, 0x00, 0, 0, 0x02, 0x00}}, {0xB7, 0x13, 0x01, 0x00}, K::EchoResult, R2},
        {"ReadMainData_Device", [](KORVEX_HANDLE h) { return KORVEX_ReadMainData_Device(h, 3, 0x100, 2, out); },
         {{0xB9, 0x03, 0, 0, 0x01, 0x00, 0x00, 0x02}}, {0xB9, 0x03, 0, 0, 0x01, 0x00, 0x00, 0x02, 0xAA, 0xBB}, K::Memory,
         R2},
        {"WriteOPTData_Device", [](KORVEX_HANDLE h) { return KORVEX_WriteOPTData_Device(h, 15, 48, kBlock48.data()); },
         {cat({0xB8, 0x0F, 0x00, 0x30}, kBlock48)}, status(0xB8), K::Status, R2},
        {"ReadOPTData_Device", [](KORVEX_HANDLE h) { return KORVEX_ReadOPTData_Device(h, 15, 48, out); },
         {{0xBA, 0x0F, 0x00, 0x30}}, cat({0xBA, 0x0F, 0x00, 0x30}, kBlock48), K::EchoLength, R2},
        {"WriteOPTDataExtend_Device", [](KORVEX_HANDLE h) { return KORVEX_WriteOPTDataExtend_Device(h, 2, 3, kData); },
         {{0xB8, 0x12, 0, 0, 0, 0, 0x00, 0x03, 0x11, 0x22, 0x33}}, status(0xB8), K::Status, R2},
        {"ReadOPTDataExtend_Device", [](KORVEX_HANDLE h) { return KORVEX_ReadOPTDataExtend_Device(h, 2, 2, out); },
         {{0xBA, 0x12, 0, 0, 0, 0, 0x00, 0x02}}, {0xBA, 0x12, 0, 0, 0, 0, 0x00, 0x02, 0xAA, 0xBB}, K::Memory, R2},
        {"WriteOTPData_Device", [](KORVEX_HANDLE h) { return KORVEX_WriteOTPData_Device(h, 2, 0x10, 2, kData); },
         {{0xB8, 0x22, 0, 0, 0, 0x10, 0x00, 0x02, 0x11, 0x22}}, status(0xB8), K::Status, R2},
        {"SetOTPLockParameters_Device",
         [](KORVEX_HANDLE h) { return KORVEX_SetOTPLockParameters_Device(h, 2, 0, 1, kData); },
         {{0xB8, 0x32, 0, 0, 0, 0, 0x00, 0x01, 0x11}}, status(0xB8), K::Status, R2},
        {"SetOTPWriteParameters_Device",
         [](KORVEX_HANDLE h) { return KORVEX_SetOTPWriteParameters_Device(h, 15, 0, 1, kData); },
         {{0xB8, 0x4F, 0, 0, 0, 0, 0x00, 0x01, 0x11}}, status(0xB8), K::Status, R2},
        // Length 0: a configuration part never written reads back empty from the virtual probe too.
        {"GetOfflineConfig_Apart", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Apart(h, 1, 0, out); },
         {{0xBC, 0x01}}, {0xBC, 0x01, 0x00, 0x00}, K::EchoLength, R2},
        {"GetOfflineConfig_Bpart", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Bpart(h, 1, 0, out); },
         {{0xBC, 0x11}}, {0xBC, 0x11, 0x00, 0x00}, K::EchoLength, R2},
        {"GetOfflineConfig_Cpart", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Cpart(h, 1, 0, out); },
         {{0xBC, 0x21}}, {0xBC, 0x21, 0x00, 0x00}, K::EchoLength, R2},
        {"GetOfflineConfig_Dpart", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Dpart(h, 15, 0, out); },
         {{0xBC, 0x3F}}, {0xBC, 0x3F, 0x00, 0x00}, K::EchoLength, R2},
        {"SetOfflineConfig_Apart", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Apart(h, 1, 3, kData); },
         {{0xBD, 0x01, 0x00, 0x03, 0x11, 0x22, 0x33}}, status(0xBD), K::Status, R2},
        {"SetOfflineConfig_Bpart", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Bpart(h, 1, 1, kData); },
         {{0xBD, 0x11, 0x00, 0x01, 0x11}}, status(0xBD), K::Status, R2},
        {"SetOfflineConfig_Cpart", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Cpart(h, 1, 1, kData); },
         {{0xBD, 0x21, 0x00, 0x01, 0x11}}, status(0xBD), K::Status, R2},
        {"SetOfflineConfig_Dpart", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Dpart(h, 15, 1, kData); },
         {{0xBD, 0x3F, 0x00, 0x01, 0x11}}, status(0xBD), K::Status, R2},
        {"DebugReadMemory_Device", [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Device(h, 0x08000000, 4, out); },
         {{0xCF, 0x02, 0x08, 0x08, 0, 0, 0, 0x00, 0x04}}, {0xCF, 0x02, 0x08, 0x08, 0, 0, 0, 0x00, 0x04, 1, 2, 3, 4},
         K::Debug, R2},
    };
    return rows;
}

const std::vector<PacketRow> &firmwareRows() {
    static const std::vector<PacketRow> rows = {
        {"EnterFWUpdateMode", [](KORVEX_HANDLE h) { return KORVEX_EnterFWUpdateMode(h, out); },
         {{0xC0, 0x00, 0x00, 0x01, 0xA0}}, {0xC0, 0x00, 0x00, 0x01, 0x01}, K::Header, R2},
        {"FWUpdateBegin", [](KORVEX_HANDLE h) { return KORVEX_FWUpdateBegin(h); }, {{0xC0, 0x01, 0x00, 0x02, 0xA1, 0x01}},
         status(0xC0), K::Status, R2},
        {"FWUpdateSetCodeRange", [](KORVEX_HANDLE h) { return KORVEX_FWUpdateSetCodeRange(h, 0x08000000, 0x400); },
         {{0xC0, 0x02, 0x00, 0x09, 0xA2, 0x08, 0, 0, 0, 0, 0, 0x04, 0x00}}, status(0xC0), K::Status, R2},
        {"FWUpdate", [](KORVEX_HANDLE h) { return KORVEX_FWUpdate(h, 0x08000000, 3, kData); },
         {{0xC0, 0x03, 0x00, 0x07, 0x08, 0, 0, 0, 0x11, 0x22, 0x33}}, status(0xC0), K::Status, R2},
        {"FWUpdateEnd", [](KORVEX_HANDLE h) { return KORVEX_FWUpdateEnd(h, 1); }, {{0xC0, 0x04, 0x00, 0x02, 0xA4, 0x01}},
         status(0xC0), K::Status, R2},
        {"FWUpdateVerify", [](KORVEX_HANDLE h) { return KORVEX_FWUpdateVerify(h, 0x12345678); },
         {{0xC0, 0x05, 0x00, 0x05, 0xA5, 0x12, 0x34, 0x56, 0x78}}, {0xC0, 0x05, 0x00, 0x00, 0x00}, K::Header, R2},
        {"FWRun", [](KORVEX_HANDLE h) { return KORVEX_FWRun(h); }, {{0xC0, 0x06, 0x00, 0x01, 0xA6}}, status(0xC0),
         K::Status, R2},
        {"EnterLCDFWUpdateMode", [](KORVEX_HANDLE h) { return KORVEX_EnterLCDFWUpdateMode(h); },
         {{0xC1, 0x00, 0x00, 0x01, 0xA0}}, status(0xC1), K::Status, R2},
        {"LCDFWUpdateBegin", [](KORVEX_HANDLE h) { return KORVEX_LCDFWUpdateBegin(h, 1); },
         {{0xC1, 0x01, 0x02, 0xA1, 0x01}}, status(0xC1), K::Status, R2},
        {"LCDFWUpdateSetCodeSize", [](KORVEX_HANDLE h) { return KORVEX_LCDFWUpdateSetCodeSize(h, 0x1234); },
         {{0xC1, 0x02, 0x04, 0, 0, 0x12, 0x34}}, status(0xC1), K::Status, R2},
        {"LCDFWUpdate", [](KORVEX_HANDLE h) { return KORVEX_LCDFWUpdate(h, 3, kData); },
         {{0xC1, 0x03, 0x06, 0x01, 0x00, 0x00, 0x11, 0x22, 0x33}}, status(0xC1), K::Status, R2},
        {"LCDFWUpdateEnd", [](KORVEX_HANDLE h) { return KORVEX_LCDFWUpdateEnd(h); }, {{0xC1, 0x04, 0x01, 0xA2}},
         status(0xC1), K::Status, R2},
    };
    return rows;
}

std::vector<const std::vector<PacketRow> *> allPacketGroups() {
    return {&probeInformationRows(), &targetRows(), &bleRows(), &qspiRows(),
            &settingsRows(),         &offlineRows(), &firmwareRows()};
}

const char *const kPacketGroupNames[] = {"ProbeInformation", "Target", "Ble", "Qspi", "Settings", "Offline", "Firmware"};

}  // namespace korvex_test
