#pragma once

// Process exit codes: every handler returns one, the run returns the first non-zero one.
// 1 to 13 general and per-command failures, 0x20 protection, 0x30 MCU erase,
// 0x34 BLE module erase, 0x40 OTP.
constexpr int OP_SUCCESS = 0;
constexpr int OP_BAD_PARAM = 1;
constexpr int OP_CONNECT_FAILD = 2;
constexpr int OP_DOWNLOAD_FAILD = 3;
constexpr int OP_MCU_UPLOAD_FAILD = 4;
constexpr int OP_BL_UPLOAD_FAILD = 5;
constexpr int OP_SET_USD_FAILD = 6;
constexpr int OP_GET_USD_FAILD = 7;
constexpr int OP_ENSPIM_FAILD = 8;
constexpr int OP_BMAPM_FAILD = 9;
constexpr int OP_DEBUG_WRITE_FAILD = 10;
constexpr int OP_DEBUG_READ_FAILD = 11;
constexpr int OP_RESETRUN_FAILD = 12;
constexpr int OP_WRITESN_FAILD = 13;
constexpr int OP_EFAP1_FAILD = 0x20;
constexpr int OP_EFAP2_FAILD = 0x21;
constexpr int OP_DFAP_FAILD = 0x22;
constexpr int OP_DEPP_FAILD = 0x23;
constexpr int OP_EEPP_FAILD = 0x24;
constexpr int OP_EBFAP_FAILD = 0x25;
constexpr int OP_DBFAP_FAILD = 0x26;
constexpr int OP_MCU_ALLERASE_FLASH_FAILD = 0x30;
constexpr int OP_MCU_ALLERASE_SPIM_FAILD = 0x31;
constexpr int OP_MCU_ALLERASE_BOOTM_FAILD = 0x32;
constexpr int OP_MCU_SECERASE_FAILD = 0x33;
constexpr int OP_BL_ALLERASE_FAILD = 0x34;
constexpr int OP_BL_ALLERASE_MAIN_FAILD = 0x35;
constexpr int OP_BL_ALLERASE_NVR_FAILD = 0x36;
constexpr int OP_BL_ALLERASE_RDN_FAILD = 0x37;
constexpr int OP_BL_SECERASE_FAILD = 0x38;
constexpr int OTP_FAILED = 0x40;
