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

uint8_t byte;
uint16_t half;
int number;

struct NullCase {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    int code;
};

// Checks the exports make themselves, before the handle is looked up.
const std::vector<NullCase> kExportChecks = {
    {ON_HANDLE(KORVEX_GetSerialNumber(h, nullptr, 10)), 34},
    {ON_HANDLE(KORVEX_GetManufacturer(h, nullptr, 10)), 34},
    {ON_HANDLE(KORVEX_GetProduct(h, nullptr, 10)), 34},
    {ON_HANDLE(KORVEX_GetVersion(h, 4, nullptr)), 34},
    {ON_HANDLE(KORVEX_GetRsetMode(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetLinkUID(h, 12, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetButtonFreeState(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetOfflineStepState(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetSWDSpeed(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetDeviceID_Target(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetFlashSize_Target(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetTransType(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetLastKorvexCommunicationTimes(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetOfflineDNState(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetTargetStableTime(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetCodeNumber(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetProjectOneDownloadFunc(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetLCDFWVersion(h, 2, nullptr)), 34},
    {ON_HANDLE(KORVEX_SetTargetStableTime(h, 0)), 33},
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
    {ON_HANDLE(KORVEX_GetAppState(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetEncKey(h, 4, nullptr)), 33},
    {ON_HANDLE(KORVEX_SetEncKey(h, 6, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetStatus_Target(h, nullptr, &byte, &byte)), 33},
    {ON_HANDLE(KORVEX_GetStatus_Target(h, &byte, &byte, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetTargetConnectState(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_UPLoad_Target(h, 0x08000000, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_DownLoad_Target(h, 0x08000000, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_ReadUserSystemData_Target(h, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_WriteUserSystemData_Target(h, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_ReadOTPData_Target(h, 0, 8, nullptr, 0)), 34},
    {ON_HANDLE(KORVEXDevice_DownloadOTPData_Target(h, 0, 8, nullptr, 0)), 34},
    {ON_HANDLE(KORVEX_EraseWriteProtect_Target(h, 1, nullptr)), 34},
    {ON_HANDLE(KORVEX_GetSlibState_Target(h, nullptr, &half, &half, &half, &half)), 33},
    {ON_HANDLE(KORVEX_GetCRCValue_Target(h, 0, 1, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetSectorCRCValue_Target(h, 0, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetSysSlibState_Target(h, &byte, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetSysAPMode_Target(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_DebugReadMemory_Target(h, 0, 4, nullptr, 32)), 34},
    {ON_HANDLE(KORVEX_DebugWriteMemory_Target(h, 0, 4, nullptr, 32)), 34},
    {ON_HANDLE(KORVEX_DebugReadRegister_Target(h, 0, nullptr)), 34},
    {ON_HANDLE(KORVEX_BLECHIP_WriteFlash(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_BLECHIP_ReadFlash(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_BLECHIP_ReadReg(h, 5, nullptr)), 33},
    {ON_HANDLE(KORVEX_BLECHIP_GetFlashSpace(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_BLECHIP_GetProtectStatus(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_BLECHIP_CheckCRC(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetBLESPIRate(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_QSPI_DownLoad_Target(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_QSPI_Upload(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_QSPI_Config_Cmd_Parameter(h, 18, nullptr)), 34},
    {ON_HANDLE(KORVEX_QSPI_Custom_Cmd_Parameter(h, 17, nullptr)), 34},
    {ON_HANDLE(KORVEX_WriteMainData_Device(h, 0, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_ReadMainData_Device(h, 0, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_WriteOPTData_Device(h, 0, 48, nullptr)), 34},
    {ON_HANDLE(KORVEX_ReadOPTData_Device(h, 0, 48, nullptr)), 34},
    {ON_HANDLE(KORVEX_WriteOPTDataExtend_Device(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_ReadOPTDataExtend_Device(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_WriteOTPData_Device(h, 0, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_SetOTPLockParameters_Device(h, 0, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_SetOTPWriteParameters_Device(h, 0, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Cpart(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_SetOfflineConfig_Bpart(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_DebugReadMemory_Device(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_FWUpdate(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_LCDFWUpdate(h, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_GetVoltageLevelValue(h, 0, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetVoltageState(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetTVCCVoltageValue(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetOfflineISPUartBps(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetMachineBurningState(h, &byte, &byte, &number, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetDownloadCodeIndex(h, &byte, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetDownloadTimes(h, 0xA0, 1, 0, nullptr)), 33},
    {ON_HANDLE(KORVEX_EnterFWUpdateMode(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_PinTestMode(h, nullptr)), 33},
};

TEST(HandleChecks, null_outputs_are_refused_without_a_packet) {
    OpenProbe p(Transport::Bulk);
    ASSERT_NE(p.handle(), KORVEX_INVALID_HANDLE);
    p.probe().respond(success);
    for (const NullCase &c : kOperationChecks) EXPECT_EQ(c.call(p.handle()), c.code) << c.name;
    EXPECT_EQ(p.probe().requestCount(), 0u);
}

}  // namespace
