// -d: downloads an image file into the connected target and optionally verifies it.
#include "download_command.h"

#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "LinkInterface.h"
#include "LinkResults.h"
#include "McuIdentification.h"
#include "OpenImageFile.h"
#include "option_test.h"
#include "ShareParameter.h"

#include <algorithm>
#include <vector>

namespace {

bool IsBleInvolved(DataInMemoPos position)
{
    return position == FILE_POS_IN_BLE_FLASH || position == FILE_POS_IN_MAIN_BLE_FLASH ||
           position == FILE_POS_IN_BOOT_BLE_FLASH || position == FILE_POS_IN_MAIN_BOOT_BLE_FLASH;
}

bool IsBootInvolved(DataInMemoPos position)
{
    return position == FILE_POS_IN_BOOT_FLASH || position == FILE_POS_IN_MAIN_BOOT_FLASH ||
           position == FILE_POS_IN_BOOT_BLE_FLASH || position == FILE_POS_IN_MAIN_BOOT_BLE_FLASH;
}

bool IsSpimInvolved(DataInMemoPos position)
{
    return position == FILE_POS_IN_SPIM_FLASH || position == FILE_POS_IN_MAIN_SPIM_FLASH;
}

bool Fail(const char* line)
{
    WriteInforAndWaitInput(line);
    return false;
}

// Reads the sub-options of -d; returns OP_SUCCESS or OP_BAD_PARAM.
int ReadDownloadOptions(int argc, char* argv[], int& index, bool& erase)
{
    ShareParameter& shared = g_shareParameter;
    while (index < argc - 1) {
        ++index;
        if (Is_Option(argv[index]))
            return OP_SUCCESS;
        if (!Is_SubOption(argv[index])) {
            WriteBadParameterInfor(argv, index);
            return OP_BAD_PARAM;
        }
        const std::string subOption = ShareParameter::ToLower(argv[index]);
        const bool hasValue = index + 1 < argc && !Is_Option(argv[index + 1]);
        if (subOption == "--a") {
            if (hasValue)
                shared.c_address = ShareParameter::StringToUInt32(argv[++index], 16);
        } else if (subOption == "--v") {
            shared.c_Verify = true;
        } else if (subOption == "--ne") {
            erase = false;
        } else if (subOption == "--fn") {
            const std::string name = index + 1 < argc ? argv[index + 1] : "";
            if (!IsValidFileName(name)) {
                WriteBadParameterInfor(argv, index + 1);
                return OP_BAD_PARAM;
            }
            shared.c_filename = name;
            ++index;
        } else {
            WriteBadParameterInfor(argv, index);
            return OP_BAD_PARAM;
        }
    }
    index = argc;
    return OP_SUCCESS;
}

// The memories the image needs must be there and usable.
bool TargetCanTake(const FileInfo& info)
{
    const ShareParameter& shared = g_shareParameter;
    if (IsBootInvolved(info.FileInMemoPos)) {
        if (!MCUHaveAPMode(shared.ZR32DeviceSerial))
            return Fail("Error. The MCU does not support boot memory AP mode. ");
        if (!IsBootMemoryAPMode())
            return Fail("Error. The MCU boot memory is not in AP mode!");
    }
    if (IsSpimInvolved(info.FileInMemoPos)) {
        if (!MCUHaveSPIM(shared.ZR32DeviceSerial))
            return Fail("Error. The MCU does not support SPIM. ");
        if (!shared.c_SPIMEnabled)
            return Fail("Error. SPIM does not enabled. ");
    }
    if (!File_address_ValidInfo(info)) {
        WriteInforAndWaitInput("");
        return false;
    }
    return true;
}

// Erases what the image covers, unless an earlier -e or -eble of the run already did.
bool EraseForImage(const FileInfo& info)
{
    const ShareParameter& shared = g_shareParameter;
    if (info.FileInMemoPos != FILE_POS_IN_BLE_FLASH && !shared.m_eraseMCUFlag) {
        WriteInforAndWaitInput("Erase MCU sectors of file size......");
        if (!Succeeded(m_LinkInterface.SectorEraseForDownload(info)))
            return Fail("Error. Erase sectors failed");
        WriteInforAndWaitInput("Erase sectors finished");
    }
    if (IsBleInvolved(info.FileInMemoPos) && !shared.m_eraseBLEFlag) {
        WriteInforAndWaitInput("Erase BLE module main space......");
        if (!Succeeded(m_LinkInterface.KORVEX_BLE_Erase_CodeSpace()))
            return Fail("Error. Erase BLE module main space failed");
        WriteInforAndWaitInput("Erase BLE module main space finished");
    }
    return true;
}

bool AddressIsValid(uint32_t address)
{
    return g_shareParameter.txt_address_ValidInfo(ShareParameter::IntToHexString(static_cast<int32_t>(address), 8));
}

} // namespace

bool File_address_ValidInfo(const FileInfo& info)
{
    for (const HEXFILEPARTINFO& part : info.partInfo) {
        if (!AddressIsValid(part.PartStartAddress) || !AddressIsValid(part.PartEndAddress))
            return Fail("Error. The download address or file size error, can't greater than flash size!!");
    }
    return true;
}

bool ShowMemeoyInfoForCheck(const FileInfo& info, const std::string&)
{
    uint32_t sum = 0;
    uint32_t done = 0;
    bool identical = true;
    std::vector<uint8_t> readBack;
    for (const HEXFILEPARTINFO& part : info.partInfo) {
        const uint32_t size = std::min(part.PartSize, IMAGE_PART_CAPACITY);
        readBack.assign(size, 0);
        if (!Succeeded(m_LinkInterface.ReadMemory(part.PartStartAddress, static_cast<int>(size), readBack.data(),
                                                  static_cast<int>(done), info.FileSize)))
            return false;
        sum += CLinkInterface::CalculateCheckSum("", static_cast<int32_t>(size), readBack.data());
        identical = identical && std::equal(readBack.begin(), readBack.end(), part.pData);
        done += size;
    }
    g_shareParameter.Memorychecksum = static_cast<int32_t>(sum);
    return identical;
}

bool DownloadVerify(const FileInfo& info)
{
    g_shareParameter.Memorychecksum = 0;
    // Byte sums let errors that cancel out pass, so the bytes themselves are compared as well.
    if (!ShowMemeoyInfoForCheck(info, ""))
        return false;
    return static_cast<uint32_t>(g_shareParameter.Memorychecksum) == static_cast<uint32_t>(info.Filechecksum);
}

bool StoreBleCrc(const uint8_t* bleImage)
{
    uint32_t crc = 0xFFFFFFFF;
    m_LinkInterface.GetCRCCode(bleImage, static_cast<int>(ZR32_S17_BLE_FLASH_SIZE), crc);
    const uint32_t value = CLinkInterface::HigBitToLowBit(crc);
    return Succeeded(m_LinkInterface.DownloadBLECRCValue_Korvex(1, value));
}

int Download(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Target))
        return OP_CONNECT_FAILD;
    bool erase = true;
    const int options = ReadDownloadOptions(argc, argv, index, erase);
    if (options != OP_SUCCESS)
        return options;
    ShareParameter& shared = g_shareParameter;
    WriteInforAndWaitInput("Download file opening......");
    FileInfo info;
    if (!OpenFile(shared.c_filename, info)) {
        WriteInforAndWaitInput("Error. Open file failed!");
        return OP_DOWNLOAD_FAILD;
    }
    WriteInforAndWaitInput("Open file succeed!");
    shared.CheckFileInMemoPos(info);
    if (!TargetCanTake(info))
        return OP_DOWNLOAD_FAILD;
    if (erase && !EraseForImage(info))
        return OP_DOWNLOAD_FAILD;
    std::vector<uint8_t> bleImage(ZR32_S17_BLE_FLASH_SIZE, 0xFF);
    uint32_t bleCount = 0;
    WriteInforAndWaitInput("File downloading......");
    if (!Succeeded(m_LinkInterface.DownloadToDevice(info, bleImage.data(), bleCount))) {
        WriteInforAndWaitInput("Error. File download failed!");
        return OP_DOWNLOAD_FAILD;
    }
    WriteInforAndWaitInput("File download finished!");
    if (shared.c_Verify) {
        WriteInforAndWaitInput("Read memory and Verification.......");
        if (!DownloadVerify(info)) {
            WriteInforAndWaitInput("Error. Verification failed!");
            return OP_DOWNLOAD_FAILD;
        }
        WriteInforAndWaitInput("Verification finished!");
    }
    if (bleCount != 0 && !StoreBleCrc(bleImage.data())) {
        WriteInforAndWaitInput("Error. BLE write CRC......failed!");
        return OP_DOWNLOAD_FAILD;
    }
    return OP_SUCCESS;
}
