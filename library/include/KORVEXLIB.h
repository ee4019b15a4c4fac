/*
 * Public interface of the Korvex probe library (libKORVEXLIB.so.1). Usable from C and C++.
 *
 * Every function that takes a probe handle answers KORVEX_INVALID_HANDLE with
 * TRANS_INVALID_HANDLE_VALUE before anything else, and a handle that is not open with
 * TRANS_HANDLE_NO_DEVICE_ERROR. Other results are 0 for success, one of the codes below,
 * or the probe's own status byte (1 to 255, never 0xF1) when the probe refused a command.
 * Multi-byte values travel big-endian; buffers belong to the caller and are never kept.
 *
 * Threads: different handles may be used from different threads at once; every exchange on one
 * handle is serialised, and a chunked transfer is never interleaved with another on that handle.
 * KORVEX_Init, KORVEX_Exit, KORVEX_GetKorvexDeviceList, KORVEX_Open and KORVEX_Close must not
 * run concurrently with any other call.
 */
#ifndef KORVEXLIB_H
#define KORVEXLIB_H

#include <stdint.h>

#if defined(KORVEXLIB_BUILDING)
#define KORVEX_API __attribute__((visibility("default")))
#else
#define KORVEX_API
#endif

/* USB identity of the probe. */
#define KORVEX_USB_VID 0x4B56
#define KORVEX_USB_PID 0xF000

/* Rows of the serial-number buffer of KORVEX_GetKorvexDeviceList. */
#define KORVEX_SERIAL_ROW_SIZE 99

/* An open probe. Never 0; KORVEX_INVALID_HANDLE when KORVEX_Open fails. */
typedef uint64_t KORVEX_HANDLE;
#define KORVEX_INVALID_HANDLE ((KORVEX_HANDLE)-1)

/* Result codes. */
enum KORVEX_RESULT {
    TRANS_ERROR_OFFSET = 0,                   /* base of the transport codes; equal to success */
    TRANS_INVALID_HANDLE_VALUE = 1,           /* the handle is KORVEX_INVALID_HANDLE or not open on USB */
    TRANS_WRITE_ERROR = 2,                    /* the request could not be sent, or (most commands) no reply came */
    TRANS_READ_ERROR = 3,                     /* no reply came, for the commands documented to say so */
    TRANS_READ_PARAMS_ERROR = 4,              /* the reply had the wrong length or header */
    TRANS_SET_RETURN_ERROR = 5,               /* declared for callers; not produced */
    TRANS_GET_RETURN_ERROR = 6,               /* declared for callers; not produced */
    TRANS_HANDLE_NO_DEVICE_ERROR = 7,         /* the handle is not in the table of open probes */
    TRANS_INIT_FAIL_ERROR = 8,                /* KORVEX_Init could not initialise USB */
    PROGRAM_ERROR_OFFSET = 32,                /* base of the argument codes; never returned */
    INPUT_PARAMS_ERROR = 33,                  /* an argument is out of range or an output pointer is null */
    INPUT_PARAMS_MEMORY_ALLOCATION_ERROR = 34, /* a data or string buffer pointer is null */
    LIB_LOADING_ERROR = 35                    /* declared for callers that load the library; not produced */
};

/* KORVEX_VerifyMainData_Device and KORVEX_FWUpdateVerify: the probe reported a mismatch. */
#define KORVEX_VERIFY_MISMATCH (-96)

/* The caller's serial-number buffer: row i receives the i-th probe's serial number. */
typedef struct tagKORVEXDeviceInfo {
    char deviceInfo[99][99];
} tagKORVEXDeviceInfo;

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Frame: initialisation, enumeration, opening, timestamps ---- */
KORVEX_API int KORVEX_Init(void);
KORVEX_API void KORVEX_Exit(void); /* closes every handle still open */
KORVEX_API void KORVEX_SetTransTypeRule(uint8_t rule); /* 0 prefers HID, else bulk; next enumeration */
/* *count: capacity in rows of KORVEX_SERIAL_ROW_SIZE bytes on entry, probes copied on return
 * (0 when more probes were found than the capacity). */
KORVEX_API int KORVEX_GetKorvexDeviceList(uint8_t *count, char *buffer);
/* serial null: the first listed probe. On failure errno tells why: EBUSY, another program holds
 * one of the probe's interfaces; EACCES, the user may not open the probe's device node; ENODEV,
 * no such probe in the last list; EIO or ENOMEM, any other failure. */
KORVEX_API KORVEX_HANDLE KORVEX_Open(const char *serial);
KORVEX_API void KORVEX_Close(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_GetCurrentTimeSeconds(int64_t *seconds);
KORVEX_API int KORVEX_GetLastKorvexCommunicationTimes(KORVEX_HANDLE handle, int64_t *seconds);
KORVEX_API int KORVEX_GetLastTargetCommunicationTimes(KORVEX_HANDLE handle, int64_t *seconds);
KORVEX_API int KORVEX_GetLastBLECommunicationTimes(KORVEX_HANDLE handle, int64_t *seconds);

/* ---- The open probe's USB description ---- */
KORVEX_API int KORVEX_GetSerialNumber(KORVEX_HANDLE handle, char *buf, int size);
KORVEX_API int KORVEX_GetManufacturer(KORVEX_HANDLE handle, char *buf, int size);
KORVEX_API int KORVEX_GetProduct(KORVEX_HANDLE handle, char *buf, int size);
KORVEX_API int KORVEX_SetNonblocking(KORVEX_HANDLE handle, int mode);
KORVEX_API int KORVEX_GetTransType(KORVEX_HANDLE handle, uint8_t *type); /* 0 HID, 1 bulk */

/* ---- Probe information and link settings ---- */
KORVEX_API int KORVEX_GetVersion(KORVEX_HANDLE handle, int len, uint8_t *buf);
KORVEX_API int KORVEX_GetAppState(KORVEX_HANDLE handle, uint8_t *state);
KORVEX_API int KORVEX_GetEncKey(KORVEX_HANDLE handle, int len, uint8_t *buf);
KORVEX_API int KORVEX_SetEncKey(KORVEX_HANDLE handle, int len, const uint8_t *key);
KORVEX_API int KORVEX_GetSWDSpeed(KORVEX_HANDLE handle, int *speed);
KORVEX_API int KORVEX_SetSWDSpeed(KORVEX_HANDLE handle, int speed);
KORVEX_API int KORVEX_GetRsetMode(KORVEX_HANDLE handle, uint8_t *mode);
KORVEX_API int KORVEX_SetRsetMode(KORVEX_HANDLE handle, uint8_t mode);
KORVEX_API int KORVEX_GetLinkUID(KORVEX_HANDLE handle, int len, uint8_t *buf);
KORVEX_API int KORVEX_GetButtonFreeState(KORVEX_HANDLE handle, uint8_t *state);
KORVEX_API int KORVEX_SetButtonFreeState(KORVEX_HANDLE handle, uint8_t state);
KORVEX_API int KORVEX_GetOfflineStepState(KORVEX_HANDLE handle, uint8_t *state);
KORVEX_API int KORVEX_SetSWDAutoDetect(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_SetVKPVersion(KORVEX_HANDLE handle, uint32_t version);
KORVEX_API int KORVEX_EncryptionTrans(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_DisEncryptionTrans(KORVEX_HANDLE handle);

/* ---- Target identity, state, encrypted transfer ---- */
KORVEX_API int KORVEX_GetStatus_Target(KORVEX_HANDLE handle, uint8_t *valid, uint8_t *isProtected,
                                       uint8_t *third);
KORVEX_API int KORVEX_GetDeviceID_Target(KORVEX_HANDLE handle, uint8_t *id /* 5 bytes */);
KORVEX_API int KORVEX_SetDeviceID_Target(KORVEX_HANDLE handle, uint8_t series, int pid);
KORVEX_API int KORVEX_GetFlashSize_Target(KORVEX_HANDLE handle, int *size);
KORVEX_API int KORVEX_SetState_Target(KORVEX_HANDLE handle, uint8_t state);
KORVEX_API int KORVEX_GetTargetConnectState(KORVEX_HANDLE handle, uint8_t *state);
KORVEX_API int KORVEX_EncryptionTrans_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_DisEncryptionTrans_Target(KORVEX_HANDLE handle);

/* ---- Target memory transfers (chunked) ---- */
KORVEX_API int KORVEX_UPLoad_Target(KORVEX_HANDLE handle, uint32_t addr, int len, uint8_t *buf);
KORVEX_API int KORVEX_DownLoad_Target(KORVEX_HANDLE handle, uint32_t addr, int len, const uint8_t *data);
KORVEX_API int KORVEX_ReadUserSystemData_Target(KORVEX_HANDLE handle, int len, uint8_t *buf);
KORVEX_API int KORVEX_WriteUserSystemData_Target(KORVEX_HANDLE handle, int len, const uint8_t *data);
/* area 0: OTP data, otherwise the OTP lock area */
KORVEX_API int KORVEX_ReadOTPData_Target(KORVEX_HANDLE handle, uint32_t addr, int len, uint8_t *buf,
                                         uint8_t area);
KORVEX_API int KORVEXDevice_DownloadOTPData_Target(KORVEX_HANDLE handle, uint32_t addr, int len,
                                                   const uint8_t *data, uint8_t area);

/* ---- Write-sequence brackets ---- */
KORVEX_API int KORVEX_WriteMainFlashBegin_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_WriteMainFlashEnd_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_WriteSPIMBegin_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_WriteSPIMEnd_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_WriteUserSystemDataBegin_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_WriteUserSystemDataEnd_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_DownloadOTPDataBegin_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_DownloadOTPDataEnd_Target(KORVEX_HANDLE handle);

/* ---- Erase ---- */
KORVEX_API int KORVEX_SectorErase_Target(KORVEX_HANDLE handle, uint32_t addr, uint16_t count);
KORVEX_API int KORVEX_BlockErase_Target(KORVEX_HANDLE handle, uint32_t addr, uint16_t count);
KORVEX_API int KORVEX_MainFlashAllErase_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_Bank1AllErase_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_Bank2AllErase_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_SPIMAllErase_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_SysMemoryAllErase_Target(KORVEX_HANDLE handle);

/* ---- Protection, flash lock, SPIM ---- */
KORVEX_API int KORVEX_AccessProtect_Target(KORVEX_HANDLE handle, uint8_t level /* 1 or 2 */);
KORVEX_API int KORVEX_UnAccessProtect_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_EraseWriteProtect_Target(KORVEX_HANDLE handle, int count, const int *sectors);
KORVEX_API int KORVEX_UnEraseWriteProtect_Target(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_LockFlash_Target(KORVEX_HANDLE handle, uint8_t kind);
KORVEX_API int KORVEX_UnLockFlash_Target(KORVEX_HANDLE handle, uint8_t kind);
KORVEX_API int KORVEX_EnableSPIM_Target(KORVEX_HANDLE handle, uint8_t remap, uint8_t spimType, uint32_t size,
                                        uint32_t limit);

/* ---- Security library areas, CRC, boot memory AP mode ---- */
KORVEX_API int KORVEX_GetSlibState_Target(KORVEX_HANDLE handle, uint8_t *state, uint16_t *a, uint16_t *b,
                                          uint16_t *c, uint16_t *d);
KORVEX_API int KORVEX_EnableSlib_Target(KORVEX_HANDLE handle, uint32_t password, uint16_t a, uint16_t b,
                                        uint16_t c);
KORVEX_API int KORVEX_DisableSlib_Target(KORVEX_HANDLE handle, uint32_t password);
KORVEX_API int KORVEX_GetCRCValue_Target(KORVEX_HANDLE handle, uint16_t start, uint16_t count, uint32_t *crc);
KORVEX_API int KORVEX_GetSectorCRCValue_Target(KORVEX_HANDLE handle, uint16_t sector, uint32_t *crc);
KORVEX_API int KORVEX_GetSysSlibState_Target(KORVEX_HANDLE handle, uint8_t *state, uint16_t *value);
KORVEX_API int KORVEX_EnableSysSlib_Target(KORVEX_HANDLE handle, uint32_t password, uint16_t value);
KORVEX_API int KORVEX_DisableSysSlib_Target(KORVEX_HANDLE handle, uint32_t password);
KORVEX_API int KORVEX_GetSysAPMode_Target(KORVEX_HANDLE handle, uint8_t *mode);
KORVEX_API int KORVEX_SetSysAPMode_Target(KORVEX_HANDLE handle, uint32_t key);

/* ---- Debug access; width in bits: 8, 16 or 32 ---- */
KORVEX_API int KORVEX_DebugReadMemory_Target(KORVEX_HANDLE handle, uint32_t addr, int len, uint8_t *buf,
                                             uint8_t width);
KORVEX_API int KORVEX_DebugWriteMemory_Target(KORVEX_HANDLE handle, uint32_t addr, int len,
                                              const uint8_t *data, uint8_t width);
KORVEX_API int KORVEX_DebugReadRegister_Target(KORVEX_HANDLE handle, uint32_t addr, uint32_t *value);
KORVEX_API int KORVEX_DebugWriteRegister_Target(KORVEX_HANDLE handle, uint32_t addr, uint32_t value);

/* ---- BLE module (series ZR32_S17) ---- */
KORVEX_API int KORVEX_BLECHIP_S17_Connect(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_BLECHIP_S17_DisConnect(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_BLECHIP_SelectFlashSpace(KORVEX_HANDLE handle, uint8_t space /* 0 main, 1 NVR, 2 RDN */);
KORVEX_API int KORVEX_BLECHIP_WriteFlash(KORVEX_HANDLE handle, uint32_t addr, int len, const uint8_t *data);
KORVEX_API int KORVEX_BLECHIP_ReadFlash(KORVEX_HANDLE handle, uint32_t addr, int len, uint8_t *buf);
KORVEX_API int KORVEX_BLECHIP_EraseMainFlash(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_BLECHIP_EraseNVRFlash(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_BLECHIP_EraseRDNFlash(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_BLECHIP_EraseAllFlash(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_BLECHIP_SectorErase(KORVEX_HANDLE handle, uint32_t addr, int count);
KORVEX_API int KORVEX_BLECHIP_BlockErase(KORVEX_HANDLE handle, uint32_t addr, int count);
KORVEX_API int KORVEX_BLECHIP_WriteReg(KORVEX_HANDLE handle, uint8_t reg, uint8_t value);
KORVEX_API int KORVEX_BLECHIP_ReadReg(KORVEX_HANDLE handle, uint8_t reg, uint8_t *value);
KORVEX_API int KORVEX_BLECHIP_SPICommand(KORVEX_HANDLE handle, uint8_t cmd);
KORVEX_API int KORVEX_BLECHIP_GetFlashSpace(KORVEX_HANDLE handle, uint8_t *space);
KORVEX_API int KORVEX_BLECHIP_EnableProtect(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_BLECHIP_DisableProtect(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_BLECHIP_GetProtectStatus(KORVEX_HANDLE handle, uint8_t *isProtected);
KORVEX_API int KORVEX_BLECHIP_CheckCRC(KORVEX_HANDLE handle, uint8_t *result);
KORVEX_API int KORVEX_BLECHIP_SetCRCValue(KORVEX_HANDLE handle, int index, uint32_t crc);
KORVEX_API int KORVEX_GetBLESPIRate(KORVEX_HANDLE handle, uint8_t *rate);
KORVEX_API int KORVEX_SetBLESPIRate(KORVEX_HANDLE handle, uint8_t rate);

/* ---- External QSPI flash behind the target ---- */
KORVEX_API int KORVEX_QSPI_DownLoad_Target(KORVEX_HANDLE handle, uint32_t addr, int len, const uint8_t *data);
KORVEX_API int KORVEX_QSPI_Upload(KORVEX_HANDLE handle, uint32_t addr, int len, uint8_t *buf);
KORVEX_API int KORVEX_QSPI_SectorErase(KORVEX_HANDLE handle, uint32_t addr, int count /* 0 to 0xFFFF */);
KORVEX_API int KORVEX_QSPI_BlockErase(KORVEX_HANDLE handle, uint32_t addr, int count /* 0 to 0xFFFF */);
KORVEX_API int KORVEX_QSPI_ChipErase(KORVEX_HANDLE handle); /* waits up to 300 s */
/* len 18 (configuration) or 17 (custom command), else TRANS_INVALID_HANDLE_VALUE; passed through */
KORVEX_API int KORVEX_QSPI_Config_Cmd_Parameter(KORVEX_HANDLE handle, int len, const uint8_t *block);
KORVEX_API int KORVEX_QSPI_Custom_Cmd_Parameter(KORVEX_HANDLE handle, int len, const uint8_t *block);
KORVEX_API int KORVEX_QSPI_Set_Register_Base_Addr(KORVEX_HANDLE handle, uint32_t addr);
KORVEX_API int KORVEX_QSPI_Set_State(KORVEX_HANDLE handle, uint8_t state);
/* word1 then word2 to addr; with single not 0, word1 alone */
KORVEX_API int KORVEX_QSPI_Bit_Write(KORVEX_HANDLE handle, uint32_t addr, int word1, int word2, uint8_t single);

/* ---- Offline programming: data stored in the probe under a code index (0 to 15) ---- */
KORVEX_API int KORVEX_WriteMainData_Device(KORVEX_HANDLE handle, uint8_t index, uint32_t addr, int len,
                                           const uint8_t *data);
KORVEX_API int KORVEX_ReadMainData_Device(KORVEX_HANDLE handle, uint8_t index, uint32_t addr, int len,
                                          uint8_t *buf);
/* KORVEX_VERIFY_MISMATCH when the stored image differs */
KORVEX_API int KORVEX_VerifyMainData_Device(KORVEX_HANDLE handle, uint8_t index, uint32_t addr, uint32_t len);
KORVEX_API int KORVEX_WriteOPTData_Device(KORVEX_HANDLE handle, uint8_t index, int len /* 48 */,
                                          const uint8_t *data);
KORVEX_API int KORVEX_ReadOPTData_Device(KORVEX_HANDLE handle, uint8_t index, int len /* 48 */, uint8_t *buf);
KORVEX_API int KORVEX_WriteOPTDataExtend_Device(KORVEX_HANDLE handle, uint8_t index, int len, const uint8_t *data);
KORVEX_API int KORVEX_ReadOPTDataExtend_Device(KORVEX_HANDLE handle, uint8_t index, int len, uint8_t *buf);
KORVEX_API int KORVEX_WriteOTPData_Device(KORVEX_HANDLE handle, uint8_t index, uint32_t addr, int len,
                                          const uint8_t *data);
KORVEX_API int KORVEX_SetOTPLockParameters_Device(KORVEX_HANDLE handle, uint8_t index, uint32_t addr, int len,
                                                  const uint8_t *data);
KORVEX_API int KORVEX_SetOTPWriteParameters_Device(KORVEX_HANDLE handle, uint8_t index, uint32_t addr, int len,
                                                   const uint8_t *data);
KORVEX_API int KORVEX_DebugReadMemory_Device(KORVEX_HANDLE handle, uint32_t addr, int len, uint8_t *buf);

/* ---- Offline programming: projects, selector 0xA0 or 0xB0 to 0xBF ---- */
KORVEX_API int KORVEX_GetCodeNumber(KORVEX_HANDLE handle, uint8_t *n);
KORVEX_API int KORVEX_SetCodeNumber(KORVEX_HANDLE handle, uint8_t n /* 1, 2, 4, 8 or 16 */);
KORVEX_API int KORVEX_GetDownloadCodeIndex(KORVEX_HANDLE handle, uint8_t *a, uint8_t *b);
KORVEX_API int KORVEX_SetDownloadCodeIndex(KORVEX_HANDLE handle, uint8_t a, uint8_t b);
KORVEX_API int KORVEX_DeleteOfflineConfIndex(KORVEX_HANDLE handle, uint8_t sel, uint8_t n /* at most 16 */);
KORVEX_API int KORVEX_BeginOfflineDownloadCode(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_GetOfflineConfig_Apart(KORVEX_HANDLE handle, uint8_t index, int len, uint8_t *buf);
KORVEX_API int KORVEX_GetOfflineConfig_Bpart(KORVEX_HANDLE handle, uint8_t index, int len, uint8_t *buf);
KORVEX_API int KORVEX_GetOfflineConfig_Cpart(KORVEX_HANDLE handle, uint8_t index, int len, uint8_t *buf);
KORVEX_API int KORVEX_GetOfflineConfig_Dpart(KORVEX_HANDLE handle, uint8_t index, int len, uint8_t *buf);
KORVEX_API int KORVEX_SetOfflineConfig_Apart(KORVEX_HANDLE handle, uint8_t index, int len, const uint8_t *data);
KORVEX_API int KORVEX_SetOfflineConfig_Bpart(KORVEX_HANDLE handle, uint8_t index, int len, const uint8_t *data);
KORVEX_API int KORVEX_SetOfflineConfig_Cpart(KORVEX_HANDLE handle, uint8_t index, int len, const uint8_t *data);
KORVEX_API int KORVEX_SetOfflineConfig_Dpart(KORVEX_HANDLE handle, uint8_t index, int len, const uint8_t *data);
KORVEX_API int KORVEX_GetOfflineDNState(KORVEX_HANDLE handle, uint8_t *state);
/* kind 0 to 2 */
KORVEX_API int KORVEX_GetDownloadTimes(KORVEX_HANDLE handle, uint8_t sel, uint8_t n, uint8_t kind, int *times);
KORVEX_API int KORVEX_GetOfflineDownloadType(KORVEX_HANDLE handle, uint8_t *type);
KORVEX_API int KORVEX_SetOfflineDownloadType(KORVEX_HANDLE handle, uint8_t type);
KORVEX_API int KORVEX_GetOfflineISPUartBps(KORVEX_HANDLE handle, uint32_t *bps);
KORVEX_API int KORVEX_SetOfflineISPUartBps(KORVEX_HANDLE handle, uint32_t bps);
KORVEX_API int KORVEX_GetOfflineISPAutoBoot(KORVEX_HANDLE handle, uint8_t *on);
KORVEX_API int KORVEX_SetOfflineISPAutoBoot(KORVEX_HANDLE handle, uint8_t on);
KORVEX_API int KORVEX_GetProjectOneDownloadFunc(KORVEX_HANDLE handle, uint8_t *func);
KORVEX_API int KORVEX_GetMachineBurningState(KORVEX_HANDLE handle, uint8_t *a, uint8_t *b, int *c, int *d);
/* a and b 0 or 1, c and d 10 to 1000 */
KORVEX_API int KORVEX_SetMachineBurningState(KORVEX_HANDLE handle, uint8_t a, uint8_t b, int c, int d);

/* ---- Firmware update of the probe and of its display, factory reset ---- */
KORVEX_API int KORVEX_FactoryDataReset(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_EnterFWUpdateMode(KORVEX_HANDLE handle, uint8_t *mode);
KORVEX_API int KORVEX_FWUpdateBegin(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_FWUpdateEnd(KORVEX_HANDLE handle, uint8_t flag);
KORVEX_API int KORVEX_FWRun(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_FWUpdateSetCodeRange(KORVEX_HANDLE handle, uint32_t start, int size);
KORVEX_API int KORVEX_FWUpdate(KORVEX_HANDLE handle, uint32_t addr, int len, const uint8_t *data);
/* KORVEX_VERIFY_MISMATCH when the firmware received differs */
KORVEX_API int KORVEX_FWUpdateVerify(KORVEX_HANDLE handle, uint32_t value);
KORVEX_API int KORVEX_GetLCDFWVersion(KORVEX_HANDLE handle, int len, uint8_t *buf);
KORVEX_API int KORVEX_EnterLCDFWUpdateMode(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_LCDFWUpdateBegin(KORVEX_HANDLE handle, uint8_t flag);
KORVEX_API int KORVEX_LCDFWUpdateEnd(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_LCDFWUpdateSetCodeSize(KORVEX_HANDLE handle, int size);
KORVEX_API int KORVEX_LCDFWUpdate(KORVEX_HANDLE handle, int len, const uint8_t *data);

/* ---- Target supply and probe peripherals ---- */
KORVEX_API int KORVEX_SetTargetStableTime(KORVEX_HANDLE handle, uint32_t time /* not 0 */);
KORVEX_API int KORVEX_GetTargetStableTime(KORVEX_HANDLE handle, uint32_t *time);
KORVEX_API int KORVEX_GetVoltageLevelValue(KORVEX_HANDLE handle, uint8_t sel, uint16_t *value);
KORVEX_API int KORVEX_SetVoltageLevelValue(KORVEX_HANDLE handle, uint8_t sel, uint16_t value);
KORVEX_API int KORVEX_GetVoltageState(KORVEX_HANDLE handle, uint8_t *state);
KORVEX_API int KORVEX_SetVoltageState(KORVEX_HANDLE handle, uint8_t state);
KORVEX_API int KORVEX_GetVoltageCurrentLevel(KORVEX_HANDLE handle, uint8_t *level);
KORVEX_API int KORVEX_SetVoltageCurrentLevel(KORVEX_HANDLE handle, uint8_t level);
KORVEX_API int KORVEX_GetTVCCVoltageValue(KORVEX_HANDLE handle, int *value);
KORVEX_API int KORVEX_GetBuzzerState(KORVEX_HANDLE handle, uint8_t *state);
KORVEX_API int KORVEX_SetBuzzerState(KORVEX_HANDLE handle, uint8_t state);
KORVEX_API int KORVEX_GetUSBToUsartState(KORVEX_HANDLE handle, uint8_t *state);
KORVEX_API int KORVEX_SetUSBToUsartState(KORVEX_HANDLE handle, uint8_t state);
KORVEX_API int KORVEX_GetUsartAutoMode(KORVEX_HANDLE handle, uint8_t *mode);
KORVEX_API int KORVEX_SetUsartAutoMode(KORVEX_HANDLE handle, uint8_t mode);

/* ---- Production tests of the probe ---- */
KORVEX_API int KORVEX_PinTestMode(KORVEX_HANDLE handle, uint32_t *value);
KORVEX_API int KORVEX_PinTestSysReset(KORVEX_HANDLE handle); /* the probe resets; no reply awaited */
KORVEX_API int KORVEX_PROLCDTestMode(KORVEX_HANDLE handle);
KORVEX_API int KORVEX_LEDTestMode(KORVEX_HANDLE handle); /* no reply awaited */

#ifdef __cplusplus
}
#endif

#endif /* KORVEXLIB_H */
