// What every export does before it talks to the probe: the invalid handle, an unknown handle,
// and null outputs, each answered without a single packet on the wire.
#include "export_table.h"
#include "scripted_probe.h"

#include <gtest/gtest.h>

namespace {

using korvex_test::Bytes;
using korvex_test::everyHandleExport;
using korvex_test::OpenProbe;
using ksim::Transport;

const std::optional<Bytes> success(const Bytes &request) { return Bytes{request[0], 0xF1}; }

TEST(HandleChecks, every_export_answers_the_invalid_handle_with_1) {
    OpenProbe p(Transport::Bulk);
    p.probe().respond(success);
    for (const auto &e : everyHandleExport()) EXPECT_EQ(e.call(KORVEX_INVALID_HANDLE), 1) << e.name;
    EXPECT_EQ(p.probe().requestCount(), 0u);
}

TEST(HandleChecks, every_export_answers_a_closed_handle_with_7) {
    OpenProbe p(Transport::Bulk);
    KORVEX_Close(p.handle());
    for (const auto &e : everyHandleExport()) EXPECT_EQ(e.call(p.handle()), 7) << e.name;
    EXPECT_EQ(p.probe().requestCount(), 0u);
}

TEST(HandleChecks, every_export_answers_an_empty_table_with_7) {
    korvex_test::LibrarySession library;
    for (const auto &e : everyHandleExport()) EXPECT_EQ(e.call(0x1000), 7) << e.name;
}

struct NullCase {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    int code;
};

// Checks the exports make themselves, before the handle is looked up.
const std::vector<NullCase> kExportChecks = {
    {"GetSerialNumber", [](KORVEX_HANDLE h) { return KORVEX_GetSerialNumber(h, nullptr, 10); }, 34},
    {"GetManufacturer", [](KORVEX_HANDLE h) { return KORVEX_GetManufacturer(h, nullptr, 10); }, 34},
    {"GetProduct", [](KORVEX_HANDLE h) { return KORVEX_GetProduct(h, nullptr, 10); }, 34},
    {"GetVersion", [](KORVEX_HANDLE h) { return KORVEX_GetVersion(h, 4, nullptr); }, 34},
    {"GetRsetMode", [](KORVEX_HANDLE h) { return KORVEX_GetRsetMode(h, nullptr); }, 33},
    {"GetLinkUID", [](KORVEX_HANDLE h) { return KORVEX_GetLinkUID(h, 12, nullptr); }, 33},
    {"GetButtonFreeState", [](KORVEX_HANDLE h) { return KORVEX_GetButtonFreeState(h, nullptr); }, 33},
    {"GetOfflineStepState", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineStepState(h, nullptr); }, 33},
    {"GetSWDSpeed", [](KORVEX_HANDLE h) { return KORVEX_GetSWDSpeed(h, nullptr); }, 33},
    {"GetDeviceID_Target", [](KORVEX_HANDLE h) { return KORVEX_GetDeviceID_Target(h, nullptr); }, 33},
    {"GetFlashSize_Target", [](KORVEX_HANDLE h) { return KORVEX_GetFlashSize_Target(h, nullptr); }, 33},
    {"GetTransType", [](KORVEX_HANDLE h) { return KORVEX_GetTransType(h, nullptr); }, 33},
    {"GetLastKorvexCommunicationTimes",
     [](KORVEX_HANDLE h) { return KORVEX_GetLastKorvexCommunicationTimes(h, nullptr); }, 33},
    {"GetOfflineDNState", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineDNState(h, nullptr); }, 33},
    {"GetTargetStableTime", [](KORVEX_HANDLE h) { return KORVEX_GetTargetStableTime(h, nullptr); }, 33},
    {"GetCodeNumber", [](KORVEX_HANDLE h) { return KORVEX_GetCodeNumber(h, nullptr); }, 33},
    {"GetProjectOneDownloadFunc", [](KORVEX_HANDLE h) { return KORVEX_GetProjectOneDownloadFunc(h, nullptr); }, 33},
    {"GetLCDFWVersion", [](KORVEX_HANDLE h) { return KORVEX_GetLCDFWVersion(h, 2, nullptr); }, 34},
    {"SetTargetStableTime 0", [](KORVEX_HANDLE h) { return KORVEX_SetTargetStableTime(h, 0); }, 33},
};

TEST(HandleChecks, export_argument_checks_come_before_the_lookup) {
    korvex_test::LibrarySession library;
    for (const NullCase &c : kExportChecks) {
        EXPECT_EQ(c.call(0x1000), c.code) << c.name << " on an unknown handle";
        EXPECT_EQ(c.call(KORVEX_INVALID_HANDLE), 1) << c.name << ": the invalid handle is checked first";
    }
}

// Checks made by the operations, on an open probe: refused with nothing sent.
const std::vector<NullCase> kOperationChecks = {
    {"GetAppState", [](KORVEX_HANDLE h) { return KORVEX_GetAppState(h, nullptr); }, 33},
    {"GetEncKey", [](KORVEX_HANDLE h) { return KORVEX_GetEncKey(h, 4, nullptr); }, 33},
    {"SetEncKey", [](KORVEX_HANDLE h) { return KORVEX_SetEncKey(h, 6, nullptr); }, 33},
    {"GetStatus_Target valid",
     [](KORVEX_HANDLE h) { uint8_t a, b; return KORVEX_GetStatus_Target(h, nullptr, &a, &b); }, 33},
    {"GetStatus_Target third",
     [](KORVEX_HANDLE h) { uint8_t a, b; return KORVEX_GetStatus_Target(h, &a, &b, nullptr); }, 33},
    {"GetTargetConnectState", [](KORVEX_HANDLE h) { return KORVEX_GetTargetConnectState(h, nullptr); }, 33},
    {"UPLoad_Target", [](KORVEX_HANDLE h) { return KORVEX_UPLoad_Target(h, 0x08000000, 8, nullptr); }, 34},
    {"DownLoad_Target", [](KORVEX_HANDLE h) { return KORVEX_DownLoad_Target(h, 0x08000000, 8, nullptr); }, 34},
    {"ReadUserSystemData_Target", [](KORVEX_HANDLE h) { return KORVEX_ReadUserSystemData_Target(h, 8, nullptr); }, 34},
    {"WriteUserSystemData_Target",
     [](KORVEX_HANDLE h) { return KORVEX_WriteUserSystemData_Target(h, 8, nullptr); }, 34},
    {"ReadOTPData_Target", [](KORVEX_HANDLE h) { return KORVEX_ReadOTPData_Target(h, 0, 8, nullptr, 0); }, 34},
    {"DownloadOTPData_Target",
     [](KORVEX_HANDLE h) { return KORVEXDevice_DownloadOTPData_Target(h, 0, 8, nullptr, 0); }, 34},
    {"EraseWriteProtect_Target", [](KORVEX_HANDLE h) { return KORVEX_EraseWriteProtect_Target(h, 1, nullptr); }, 34},
    {"GetSlibState_Target",
     [](KORVEX_HANDLE h) { uint16_t w; return KORVEX_GetSlibState_Target(h, nullptr, &w, &w, &w, &w); }, 33},
    {"GetCRCValue_Target", [](KORVEX_HANDLE h) { return KORVEX_GetCRCValue_Target(h, 0, 1, nullptr); }, 33},
    {"GetSectorCRCValue_Target", [](KORVEX_HANDLE h) { return KORVEX_GetSectorCRCValue_Target(h, 0, nullptr); }, 33},
    {"GetSysSlibState_Target",
     [](KORVEX_HANDLE h) { uint8_t s; return KORVEX_GetSysSlibState_Target(h, &s, nullptr); }, 33},
    {"GetSysAPMode_Target", [](KORVEX_HANDLE h) { return KORVEX_GetSysAPMode_Target(h, nullptr); }, 33},
    {"DebugReadMemory_Target", [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Target(h, 0, 4, nullptr, 32); }, 34},
    {"DebugWriteMemory_Target",
     [](KORVEX_HANDLE h) { return KORVEX_DebugWriteMemory_Target(h, 0, 4, nullptr, 32); }, 34},
    {"DebugReadRegister_Target", [](KORVEX_HANDLE h) { return KORVEX_DebugReadRegister_Target(h, 0, nullptr); }, 34},
    {"BLECHIP_WriteFlash", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_WriteFlash(h, 0, 8, nullptr); }, 34},
    {"BLECHIP_ReadFlash", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_ReadFlash(h, 0, 8, nullptr); }, 34},
    {"BLECHIP_ReadReg", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_ReadReg(h, 5, nullptr); }, 33},
    {"BLECHIP_GetFlashSpace", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_GetFlashSpace(h, nullptr); }, 33},
    {"BLECHIP_GetProtectStatus", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_GetProtectStatus(h, nullptr); }, 33},
    {"BLECHIP_CheckCRC", [](KORVEX_HANDLE h) { return KORVEX_BLECHIP_CheckCRC(h, nullptr); }, 33},
    {"GetBLESPIRate", [](KORVEX_HANDLE h) { return KORVEX_GetBLESPIRate(h, nullptr); }, 33},
    {"QSPI_DownLoad_Target", [](KORVEX_HANDLE h) { return KORVEX_QSPI_DownLoad_Target(h, 0, 8, nullptr); }, 34},
    {"QSPI_Upload", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Upload(h, 0, 8, nullptr); }, 34},
    {"QSPI_Config_Cmd_Parameter", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Config_Cmd_Parameter(h, 18, nullptr); }, 34},
    {"QSPI_Custom_Cmd_Parameter", [](KORVEX_HANDLE h) { return KORVEX_QSPI_Custom_Cmd_Parameter(h, 17, nullptr); }, 34},
    {"WriteMainData_Device", [](KORVEX_HANDLE h) { return KORVEX_WriteMainData_Device(h, 0, 0, 8, nullptr); }, 34},
    {"ReadMainData_Device", [](KORVEX_HANDLE h) { return KORVEX_ReadMainData_Device(h, 0, 0, 8, nullptr); }, 34},
    {"WriteOPTData_Device", [](KORVEX_HANDLE h) { return KORVEX_WriteOPTData_Device(h, 0, 48, nullptr); }, 34},
    {"ReadOPTData_Device", [](KORVEX_HANDLE h) { return KORVEX_ReadOPTData_Device(h, 0, 48, nullptr); }, 34},
    {"WriteOPTDataExtend_Device", [](KORVEX_HANDLE h) { return KORVEX_WriteOPTDataExtend_Device(h, 0, 8, nullptr); }, 34},
    {"ReadOPTDataExtend_Device", [](KORVEX_HANDLE h) { return KORVEX_ReadOPTDataExtend_Device(h, 0, 8, nullptr); }, 34},
    {"WriteOTPData_Device", [](KORVEX_HANDLE h) { return KORVEX_WriteOTPData_Device(h, 0, 0, 8, nullptr); }, 34},
    {"SetOTPLockParameters_Device",
     [](KORVEX_HANDLE h) { return KORVEX_SetOTPLockParameters_Device(h, 0, 0, 8, nullptr); }, 34},
    {"SetOTPWriteParameters_Device",
     [](KORVEX_HANDLE h) { return KORVEX_SetOTPWriteParameters_Device(h, 0, 0, 8, nullptr); }, 34},
    {"GetOfflineConfig_Cpart", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineConfig_Cpart(h, 0, 8, nullptr); }, 34},
    {"SetOfflineConfig_Bpart", [](KORVEX_HANDLE h) { return KORVEX_SetOfflineConfig_Bpart(h, 0, 8, nullptr); }, 34},
    {"DebugReadMemory_Device", [](KORVEX_HANDLE h) { return KORVEX_DebugReadMemory_Device(h, 0, 8, nullptr); }, 34},
    {"FWUpdate", [](KORVEX_HANDLE h) { return KORVEX_FWUpdate(h, 0, 8, nullptr); }, 34},
    {"LCDFWUpdate", [](KORVEX_HANDLE h) { return KORVEX_LCDFWUpdate(h, 8, nullptr); }, 34},
    {"GetVoltageLevelValue", [](KORVEX_HANDLE h) { return KORVEX_GetVoltageLevelValue(h, 0, nullptr); }, 33},
    {"GetVoltageState", [](KORVEX_HANDLE h) { return KORVEX_GetVoltageState(h, nullptr); }, 33},
    {"GetTVCCVoltageValue", [](KORVEX_HANDLE h) { return KORVEX_GetTVCCVoltageValue(h, nullptr); }, 33},
    {"GetOfflineISPUartBps", [](KORVEX_HANDLE h) { return KORVEX_GetOfflineISPUartBps(h, nullptr); }, 33},
    {"GetMachineBurningState d",
     [](KORVEX_HANDLE h) { uint8_t a, b; int c; return KORVEX_GetMachineBurningState(h, &a, &b, &c, nullptr); }, 33},
    {"GetDownloadCodeIndex b", [](KORVEX_HANDLE h) { uint8_t a; return KORVEX_GetDownloadCodeIndex(h, &a, nullptr); }, 33},
    {"GetDownloadTimes", [](KORVEX_HANDLE h) { return KORVEX_GetDownloadTimes(h, 0xA0, 1, 0, nullptr); }, 33},
    {"EnterFWUpdateMode", [](KORVEX_HANDLE h) { return KORVEX_EnterFWUpdateMode(h, nullptr); }, 33},
    {"PinTestMode", [](KORVEX_HANDLE h) { return KORVEX_PinTestMode(h, nullptr); }, 33},
};

TEST(HandleChecks, null_outputs_are_refused_without_a_packet) {
    OpenProbe p(Transport::Bulk);
    ASSERT_NE(p.handle(), KORVEX_INVALID_HANDLE);
    p.probe().respond(success);
    for (const NullCase &c : kOperationChecks) EXPECT_EQ(c.call(p.handle()), c.code) << c.name;
    EXPECT_EQ(p.probe().requestCount(), 0u);
}

}  // namespace
