/* Compiled as C: the public header must be plain C, and every export must have the type a C
 * caller expects. The table of addresses also makes the link fail if an export is missing. */
#include "KORVEXLIB.h"

#include <stddef.h>

#include "header_c_api.h"

typedef int (*HandleOnly)(KORVEX_HANDLE);

static const HandleOnly kHandleOnly[] = {
    KORVEX_SetSWDAutoDetect, KORVEX_EncryptionTrans, KORVEX_DisEncryptionTrans,
    KORVEX_EncryptionTrans_Target, KORVEX_DisEncryptionTrans_Target,
    KORVEX_WriteMainFlashBegin_Target, KORVEX_WriteMainFlashEnd_Target, KORVEX_WriteSPIMBegin_Target,
    KORVEX_WriteSPIMEnd_Target, KORVEX_WriteUserSystemDataBegin_Target, KORVEX_WriteUserSystemDataEnd_Target,
    KORVEX_DownloadOTPDataBegin_Target, KORVEX_DownloadOTPDataEnd_Target, KORVEX_MainFlashAllErase_Target,
    KORVEX_Bank1AllErase_Target, KORVEX_Bank2AllErase_Target, KORVEX_SPIMAllErase_Target,
    KORVEX_SysMemoryAllErase_Target, KORVEX_UnAccessProtect_Target, KORVEX_UnEraseWriteProtect_Target,
    KORVEX_BLECHIP_S17_Connect, KORVEX_BLECHIP_S17_DisConnect, KORVEX_BLECHIP_EraseMainFlash,
    KORVEX_BLECHIP_EraseNVRFlash, KORVEX_BLECHIP_EraseRDNFlash, KORVEX_BLECHIP_EraseAllFlash,
    KORVEX_BLECHIP_EnableProtect, KORVEX_BLECHIP_DisableProtect, KORVEX_QSPI_ChipErase,
    KORVEX_BeginOfflineDownloadCode, KORVEX_FactoryDataReset, KORVEX_FWUpdateBegin, KORVEX_FWRun,
    KORVEX_EnterLCDFWUpdateMode, KORVEX_LCDFWUpdateEnd, KORVEX_PinTestSysReset, KORVEX_PROLCDTestMode,
    KORVEX_LEDTestMode,
};

int korvex_c_handle_only_count(void) { return (int)(sizeof kHandleOnly / sizeof kHandleOnly[0]); }

int korvex_c_invalid_handle_results(void) {
    /* Every handle-only export answers the invalid handle with TRANS_INVALID_HANDLE_VALUE. */
    size_t i;
    int wrong = 0;
    for (i = 0; i < sizeof kHandleOnly / sizeof kHandleOnly[0]; ++i)
        if (kHandleOnly[i](KORVEX_INVALID_HANDLE) != TRANS_INVALID_HANDLE_VALUE) ++wrong;
    return wrong;
}

int korvex_c_constants_ok(void) {
    tagKORVEXDeviceInfo info;
    enum KORVEX_RESULT invalid = TRANS_INVALID_HANDLE_VALUE;
    return KORVEX_USB_VID == 0x4B56 && KORVEX_USB_PID == 0xF000 && sizeof info.deviceInfo == 99 * 99 &&
           invalid == 1 && INPUT_PARAMS_MEMORY_ALLOCATION_ERROR == 34 && LIB_LOADING_ERROR == 35 &&
           KORVEX_INVALID_HANDLE == (KORVEX_HANDLE)-1 && sizeof(KORVEX_HANDLE) == 8 && KORVEX_VERIFY_MISMATCH == -96;
}
