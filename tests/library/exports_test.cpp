// The shared library's interface as a loader sees it: every export present, nothing else visible,
// and the header usable from C.
#include "header_c_api.h"
#include "run_process.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

namespace {

const std::set<std::string> kExports = {
    // frame
    "KORVEX_Init", "KORVEX_Exit", "KORVEX_SetTransTypeRule", "KORVEX_GetKorvexDeviceList", "KORVEX_Open",
    "KORVEX_Close", "KORVEX_GetCurrentTimeSeconds", "KORVEX_GetLastKorvexCommunicationTimes",
    "KORVEX_GetLastTargetCommunicationTimes", "KORVEX_GetLastBLECommunicationTimes",
    // USB description of the open probe
    "KORVEX_GetSerialNumber", "KORVEX_GetManufacturer", "KORVEX_GetProduct", "KORVEX_SetNonblocking",
    "KORVEX_GetTransType",
    // probe information and link settings
    "KORVEX_GetVersion", "KORVEX_GetAppState", "KORVEX_GetEncKey", "KORVEX_SetEncKey", "KORVEX_GetRsetMode",
    "KORVEX_SetRsetMode", "KORVEX_GetLinkUID", "KORVEX_GetButtonFreeState", "KORVEX_SetButtonFreeState",
    "KORVEX_GetOfflineStepState", "KORVEX_GetSWDSpeed", "KORVEX_SetSWDSpeed", "KORVEX_SetVKPVersion",
    "KORVEX_SetSWDAutoDetect", "KORVEX_EncryptionTrans", "KORVEX_DisEncryptionTrans",
    // target identity and state
    "KORVEX_GetStatus_Target", "KORVEX_GetDeviceID_Target", "KORVEX_SetDeviceID_Target",
    "KORVEX_GetFlashSize_Target", "KORVEX_SetState_Target", "KORVEX_EncryptionTrans_Target",
    "KORVEX_DisEncryptionTrans_Target",
    // target memory
    "KORVEX_UPLoad_Target", "KORVEX_DownLoad_Target", "KORVEX_ReadUserSystemData_Target",
    "KORVEX_WriteUserSystemData_Target", "KORVEX_ReadOTPData_Target", "KORVEXDevice_DownloadOTPData_Target",
    "KORVEX_WriteMainFlashBegin_Target", "KORVEX_WriteMainFlashEnd_Target", "KORVEX_WriteSPIMBegin_Target",
    "KORVEX_WriteSPIMEnd_Target", "KORVEX_WriteUserSystemDataBegin_Target", "KORVEX_WriteUserSystemDataEnd_Target",
    "KORVEX_DownloadOTPDataBegin_Target", "KORVEX_DownloadOTPDataEnd_Target",
    // erase
    "KORVEX_SectorErase_Target", "KORVEX_BlockErase_Target", "KORVEX_MainFlashAllErase_Target",
    "KORVEX_Bank1AllErase_Target", "KORVEX_Bank2AllErase_Target", "KORVEX_SPIMAllErase_Target",
    "KORVEX_SysMemoryAllErase_Target",
    // protection, lock, SPIM
    "KORVEX_AccessProtect_Target", "KORVEX_UnAccessProtect_Target", "KORVEX_EraseWriteProtect_Target",
    "KORVEX_UnEraseWriteProtect_Target", "KORVEX_LockFlash_Target", "KORVEX_UnLockFlash_Target",
    "KORVEX_EnableSPIM_Target",
    // security library, CRC
    "KORVEX_GetSlibState_Target", "KORVEX_DisableSlib_Target", "KORVEX_EnableSlib_Target",
    "KORVEX_GetSectorCRCValue_Target", "KORVEX_GetCRCValue_Target",
    // system area, AP mode, connection, debug
    "KORVEX_GetSysSlibState_Target", "KORVEX_DisableSysSlib_Target", "KORVEX_EnableSysSlib_Target",
    "KORVEX_GetSysAPMode_Target", "KORVEX_SetSysAPMode_Target", "KORVEX_GetTargetConnectState",
    "KORVEX_DebugReadMemory_Target", "KORVEX_DebugWriteMemory_Target", "KORVEX_DebugReadRegister_Target",
    "KORVEX_DebugWriteRegister_Target",
    // BLE module
    "KORVEX_BLECHIP_S17_Connect", "KORVEX_BLECHIP_S17_DisConnect", "KORVEX_BLECHIP_SelectFlashSpace",
    "KORVEX_BLECHIP_WriteFlash", "KORVEX_BLECHIP_ReadFlash", "KORVEX_BLECHIP_EraseMainFlash",
    "KORVEX_BLECHIP_EraseNVRFlash", "KORVEX_BLECHIP_EraseRDNFlash", "KORVEX_BLECHIP_EraseAllFlash",
    "KORVEX_BLECHIP_SectorErase", "KORVEX_BLECHIP_BlockErase", "KORVEX_BLECHIP_WriteReg", "KORVEX_BLECHIP_ReadReg",
    "KORVEX_BLECHIP_SPICommand", "KORVEX_BLECHIP_GetFlashSpace", "KORVEX_BLECHIP_EnableProtect",
    "KORVEX_BLECHIP_DisableProtect", "KORVEX_BLECHIP_GetProtectStatus", "KORVEX_BLECHIP_CheckCRC",
    "KORVEX_BLECHIP_SetCRCValue", "KORVEX_GetBLESPIRate", "KORVEX_SetBLESPIRate",
    // QSPI flash
    "KORVEX_QSPI_DownLoad_Target", "KORVEX_QSPI_Upload", "KORVEX_QSPI_SectorErase", "KORVEX_QSPI_BlockErase",
    "KORVEX_QSPI_ChipErase", "KORVEX_QSPI_Config_Cmd_Parameter", "KORVEX_QSPI_Custom_Cmd_Parameter",
    "KORVEX_QSPI_Bit_Write", "KORVEX_QSPI_Set_Register_Base_Addr", "KORVEX_QSPI_Set_State",
    // data stored in the probe
    "KORVEX_WriteMainData_Device", "KORVEX_ReadMainData_Device", "KORVEX_VerifyMainData_Device",
    "KORVEX_WriteOPTData_Device", "KORVEX_ReadOPTData_Device", "KORVEX_WriteOPTDataExtend_Device",
    "KORVEX_ReadOPTDataExtend_Device", "KORVEX_WriteOTPData_Device", "KORVEX_SetOTPLockParameters_Device",
    "KORVEX_SetOTPWriteParameters_Device", "KORVEX_DebugReadMemory_Device",
    // offline programming configuration
    "KORVEX_GetCodeNumber", "KORVEX_SetCodeNumber", "KORVEX_GetDownloadCodeIndex", "KORVEX_SetDownloadCodeIndex",
    "KORVEX_DeleteOfflineConfIndex", "KORVEX_BeginOfflineDownloadCode", "KORVEX_GetOfflineConfig_Apart",
    "KORVEX_GetOfflineConfig_Bpart", "KORVEX_GetOfflineConfig_Cpart", "KORVEX_GetOfflineConfig_Dpart",
    "KORVEX_SetOfflineConfig_Apart", "KORVEX_SetOfflineConfig_Bpart", "KORVEX_SetOfflineConfig_Cpart",
    "KORVEX_SetOfflineConfig_Dpart", "KORVEX_GetOfflineDNState", "KORVEX_GetDownloadTimes",
    "KORVEX_GetOfflineDownloadType", "KORVEX_SetOfflineDownloadType", "KORVEX_GetOfflineISPUartBps",
    "KORVEX_SetOfflineISPUartBps", "KORVEX_GetOfflineISPAutoBoot", "KORVEX_SetOfflineISPAutoBoot",
    "KORVEX_GetProjectOneDownloadFunc", "KORVEX_GetMachineBurningState", "KORVEX_SetMachineBurningState",
    // firmware update, factory reset
    "KORVEX_FactoryDataReset", "KORVEX_EnterFWUpdateMode", "KORVEX_FWUpdateBegin", "KORVEX_FWUpdateEnd",
    "KORVEX_FWRun", "KORVEX_FWUpdateSetCodeRange", "KORVEX_FWUpdate", "KORVEX_FWUpdateVerify",
    "KORVEX_GetLCDFWVersion", "KORVEX_EnterLCDFWUpdateMode", "KORVEX_LCDFWUpdateBegin", "KORVEX_LCDFWUpdateEnd",
    "KORVEX_LCDFWUpdateSetCodeSize", "KORVEX_LCDFWUpdate",
    // target supply, probe peripherals
    "KORVEX_SetTargetStableTime", "KORVEX_GetTargetStableTime", "KORVEX_GetVoltageLevelValue",
    "KORVEX_SetVoltageLevelValue", "KORVEX_GetVoltageState", "KORVEX_SetVoltageState",
    "KORVEX_GetVoltageCurrentLevel", "KORVEX_SetVoltageCurrentLevel", "KORVEX_GetTVCCVoltageValue",
    "KORVEX_GetBuzzerState", "KORVEX_SetBuzzerState", "KORVEX_GetUSBToUsartState", "KORVEX_SetUSBToUsartState",
    "KORVEX_GetUsartAutoMode", "KORVEX_SetUsartAutoMode",
    // production tests
    "KORVEX_PinTestMode", "KORVEX_PinTestSysReset", "KORVEX_PROLCDTestMode", "KORVEX_LEDTestMode",
};

// Defined dynamic symbols of the built library: name -> nm type letter.
std::map<std::string, std::string> definedDynamicSymbols() {
    korvex_test::ProcessResult run = korvex_test::runProcess({"/usr/bin/nm", "-D", "--defined-only", KORVEXLIB_PATH});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::map<std::string, std::string> symbols;
    std::istringstream lines(run.out);
    std::string address, type, name;
    while (lines >> address >> type >> name) symbols[name] = type;
    return symbols;
}

TEST(LibraryExports, every_export_is_a_defined_text_symbol) {
    const auto symbols = definedDynamicSymbols();
    for (const std::string &name : kExports) {
        auto it = symbols.find(name);
        ASSERT_NE(it, symbols.end()) << name << " is not exported";
        EXPECT_EQ(it->second, "T") << name;
    }
    EXPECT_EQ(kExports.size(), 182u);
}

TEST(LibraryExports, nothing_but_the_exports_is_visible) {
    for (const auto &symbol : definedDynamicSymbols())
        EXPECT_TRUE(kExports.count(symbol.first)) << "leaked symbol " << symbol.first;
}

TEST(LibraryExports, library_carries_its_soname) {
    korvex_test::ProcessResult run = korvex_test::runProcess({"/usr/bin/objdump", "-p", KORVEXLIB_PATH});
    EXPECT_NE(run.out.find("SONAME               libKORVEXLIB.so.1"), std::string::npos) << run.out;
}

TEST(LibraryHeader, compiles_as_c_with_the_declared_constants) {
    EXPECT_TRUE(korvex_c_constants_ok());
    EXPECT_EQ(korvex_c_handle_only_count(), 38);
    EXPECT_EQ(korvex_c_invalid_handle_results(), 0);
}

}  // namespace
