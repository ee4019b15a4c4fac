// What every export does before it talks to the probe: the invalid handle, an unknown handle,
// null outputs and out-of-range arguments, each answered without a single packet on the wire.
#include "scripted_probe.h"

#include <gtest/gtest.h>

namespace {

using korvex_test::everyHandleExport;
using korvex_test::OpenProbe;
using ksim::Transport;

uint8_t byte;
uint8_t scratch[256];
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

// The invalid handle gives 1 and a closed one 7; the exports' own checks come after the first and
// before the second.
TEST(HandleChecks, every_export_answers_the_invalid_handle_with_1_and_a_closed_one_with_7) {
    OpenProbe p(Transport::Bulk);
    for (const auto &e : everyHandleExport()) EXPECT_EQ(e.call(KORVEX_INVALID_HANDLE), 1) << e.name;
    KORVEX_Close(p.handle());
    for (const auto &e : everyHandleExport()) EXPECT_EQ(e.call(p.handle()), 7) << e.name;
    for (const NullCase &c : kExportChecks) {
        EXPECT_EQ(c.call(p.handle()), c.code) << c.name << " on a closed handle";
        EXPECT_EQ(c.call(KORVEX_INVALID_HANDLE), 1) << c.name << ": the invalid handle is checked first";
    }
    EXPECT_EQ(p.probe().requests().size(), 0u);
}

// Checks made by the operations, on an open probe: null outputs and out-of-range arguments,
// refused with nothing sent. Of the getters that share the one-byte read, and of the chunked
// transfers that share the length check, one stands for all. A transfer of no bytes sends nothing
// either, and succeeds.
const std::vector<NullCase> kRefusals = {
    {ON_HANDLE(KORVEX_GetAppState(h, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetEncKey(h, 4, nullptr)), 33},
    {ON_HANDLE(KORVEX_SetEncKey(h, 6, nullptr)), 33},
    {ON_HANDLE(KORVEX_GetStatus_Target(h, nullptr, &byte, &byte)), 33},
    {ON_HANDLE(KORVEX_GetStatus_Target(h, &byte, &byte, nullptr)), 33},
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
    {ON_HANDLE(KORVEX_DebugReadMemory_Target(h, 0, 4, nullptr, 32)), 34},
    {ON_HANDLE(KORVEX_DebugWriteMemory_Target(h, 0, 4, nullptr, 32)), 34},
    {ON_HANDLE(KORVEX_DebugReadRegister_Target(h, 0, nullptr)), 34},
    {ON_HANDLE(KORVEX_BLECHIP_WriteFlash(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_BLECHIP_ReadFlash(h, 0, 8, nullptr)), 34},
    {ON_HANDLE(KORVEX_BLECHIP_ReadReg(h, 5, nullptr)), 33},
    {ON_HANDLE(KORVEX_BLECHIP_GetProtectStatus(h, nullptr)), 33},
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
    {ON_HANDLE(KORVEX_GetVersion(h, 1, scratch)), 33},
    {ON_HANDLE(KORVEX_GetEncKey(h, 3, scratch)), 33},
    {ON_HANDLE(KORVEX_SetEncKey(h, 5, scratch)), 33},
    {ON_HANDLE(KORVEX_SetEncKey(h, 25, scratch)), 33},
    {ON_HANDLE(KORVEX_SetRsetMode(h, 3)), 33},
    {ON_HANDLE(KORVEX_GetLinkUID(h, 16, scratch)), 33},
    {ON_HANDLE(KORVEX_SetButtonFreeState(h, 2)), 33},
    {ON_HANDLE(KORVEX_AccessProtect_Target(h, 0)), 33},
    {ON_HANDLE(KORVEX_AccessProtect_Target(h, 3)), 33},
    {ON_HANDLE(KORVEX_LockFlash_Target(h, 0)), 33},
    {ON_HANDLE(KORVEX_LockFlash_Target(h, 4)), 33},
    {ON_HANDLE(KORVEX_UnLockFlash_Target(h, 4)), 33},
    {ON_HANDLE(KORVEX_EnableSPIM_Target(h, 2, 1, 0, 0)), 33},
    {ON_HANDLE(KORVEX_EnableSPIM_Target(h, 0, 0, 0, 0)), 33},
    {ON_HANDLE(KORVEX_EnableSPIM_Target(h, 0, 3, 0, 0)), 33},
    {ON_HANDLE(KORVEX_EnableSPIM_Target(h, 0, 1, 0, 0x1000001)), 33},
    {ON_HANDLE(KORVEX_EnableSlib_Target(h, 0, 1, 2, 3)), 33},
    {ON_HANDLE(KORVEX_DisableSlib_Target(h, 0xFFFFFFFF)), 33},
    {ON_HANDLE(KORVEX_EnableSysSlib_Target(h, 0, 1)), 33},
    {ON_HANDLE(KORVEX_DisableSysSlib_Target(h, 0xFFFFFFFF)), 33},
    {ON_HANDLE(KORVEX_DebugReadMemory_Target(h, 0, 3, scratch, 16)), 33},
    {ON_HANDLE(KORVEX_DebugReadMemory_Target(h, 0, 62, scratch, 32)), 33},
    {ON_HANDLE(KORVEX_DebugWriteMemory_Target(h, 0, 6, scratch, 32)), 33},
    {ON_HANDLE(KORVEX_DebugReadMemory_Target(h, 0, 6, nullptr, 32)), 33},
    {ON_HANDLE(KORVEX_DebugWriteMemory_Target(h, 0, 3, nullptr, 16)), 33},
    {ON_HANDLE(KORVEX_BLECHIP_SelectFlashSpace(h, 3)), 33},
    {ON_HANDLE(KORVEX_UPLoad_Target(h, 0x08000000, -1, scratch)), 33},
    {ON_HANDLE(KORVEX_WriteMainData_Device(h, 16, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_ReadMainData_Device(h, 16, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_VerifyMainData_Device(h, 16, 0, 4)), 33},
    {ON_HANDLE(KORVEX_WriteOPTData_Device(h, 16, 48, scratch)), 33},
    {ON_HANDLE(KORVEX_WriteOPTData_Device(h, 0, 47, scratch)), 33},
    {ON_HANDLE(KORVEX_ReadOPTData_Device(h, 16, 48, scratch)), 33},
    {ON_HANDLE(KORVEX_ReadOPTData_Device(h, 0, 49, scratch)), 33},
    {ON_HANDLE(KORVEX_WriteOPTDataExtend_Device(h, 16, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_ReadOPTDataExtend_Device(h, 16, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_WriteOTPData_Device(h, 16, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_SetOTPLockParameters_Device(h, 17, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_SetOTPWriteParameters_Device(h, 255, 0, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Apart(h, 16, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Bpart(h, 0, 61, scratch)), 33},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Cpart(h, 0, -1, scratch)), 33},
    {ON_HANDLE(KORVEX_SetOfflineConfig_Dpart(h, 16, 4, scratch)), 33},
    {ON_HANDLE(KORVEX_SetOfflineConfig_Apart(h, 0, 61, scratch)), 33},
    {ON_HANDLE(KORVEX_DebugReadMemory_Device(h, 0, 56, scratch)), 33},
    {ON_HANDLE(KORVEX_SetCodeNumber(h, 3)), 33},
    {ON_HANDLE(KORVEX_SetCodeNumber(h, 0)), 33},
    {ON_HANDLE(KORVEX_SetCodeNumber(h, 32)), 33},
    {ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xA5, 1)), 33},
    {ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xC0, 1)), 33},
    {ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xAF, 1)), 33},
    {ON_HANDLE(KORVEX_DeleteOfflineConfIndex(h, 0xA0, 17)), 33},
    {ON_HANDLE(KORVEX_GetDownloadTimes(h, 0xA1, 1, 0, &number)), 33},
    {ON_HANDLE(KORVEX_GetDownloadTimes(h, 0xB0, 17, 0, &number)), 33},
    {ON_HANDLE(KORVEX_GetDownloadTimes(h, 0xBF, 1, 3, &number)), 33},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 2, 0, 100, 100)), 33},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 0, 2, 100, 100)), 33},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 1, 0, 9, 1000)), 33},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 1, 0, 10, 1001)), 33},
    {ON_HANDLE(KORVEX_QSPI_Config_Cmd_Parameter(h, 16, scratch)), 1},
    {ON_HANDLE(KORVEX_QSPI_Custom_Cmd_Parameter(h, 18, scratch)), 1},
    {ON_HANDLE(KORVEX_QSPI_SectorErase(h, 0, -1)), 33},
    {ON_HANDLE(KORVEX_QSPI_SectorErase(h, 0, 65536)), 33},
    {ON_HANDLE(KORVEX_QSPI_BlockErase(h, 0, 65537)), 33},
    {ON_HANDLE(KORVEX_GetLCDFWVersion(h, 1, scratch)), 33},
    {ON_HANDLE(KORVEX_UPLoad_Target(h, 0x08000000, 0, scratch)), 0},
    {ON_HANDLE(KORVEX_DownLoad_Target(h, 0x08000000, 0, scratch)), 0},
    {ON_HANDLE(KORVEX_BLECHIP_WriteFlash(h, 0, 0, scratch)), 0},
    {ON_HANDLE(KORVEX_DebugReadMemory_Target(h, 0, 0, scratch, 32)), 0},
};

TEST(HandleChecks, refused_arguments_and_empty_transfers_send_nothing) {
    OpenProbe p(Transport::Bulk);
    for (const NullCase &c : kRefusals) EXPECT_EQ(c.call(p.handle()), c.code) << c.name;
    EXPECT_EQ(p.probe().requests().size(), 0u);
}

}  // namespace
