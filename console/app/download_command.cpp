// -d: downloads an image file into the connected target and optionally verifies it.
#include "download_command.h"

#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "file_open_lines.h"
#include "job_progress.h"
#include "link_interface.h"
#include "link_results.h"
#include "mcu_identification.h"
#include "share_parameter.h"
#include "sub_option_walk.h"

#include <algorithm>
#include <vector>

namespace {

bool IsBleInvolved(ImageLocation position)
{
    return position == FILE_POS_IN_BLE_FLASH || position == FILE_POS_IN_MAIN_BLE_FLASH ||
           position == FILE_POS_IN_BOOT_BLE_FLASH || position == FILE_POS_IN_MAIN_BOOT_BLE_FLASH;
}

bool IsBootInvolved(ImageLocation position)
{
    return position == FILE_POS_IN_BOOT_FLASH || position == FILE_POS_IN_MAIN_BOOT_FLASH ||
           position == FILE_POS_IN_BOOT_BLE_FLASH || position == FILE_POS_IN_MAIN_BOOT_BLE_FLASH;
}

bool IsSpimInvolved(ImageLocation position)
{
    return position == FILE_POS_IN_SPIM_FLASH || position == FILE_POS_IN_MAIN_SPIM_FLASH;
}

// Reads the sub-options of -d; returns OP_SUCCESS or the walk's fault.
int ReadDownloadOptions(int argc, char* argv[], int& index, bool& erase)
{
    ShareParameter& shared = g_shareParameter;
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
        if (step.name == "--a")
            shared.downloadAddress = step.number;
        else if (step.name == "--v")
            shared.verifyDownload = true;
        else if (step.name == "--ne")
            erase = false;
        else if (step.name == "--fn")
            shared.downloadFileName = step.text;
    }
    return walk.Result();
}

// The memories the image needs must be there and usable.
bool TargetCanTake(const FileInfo& info)
{
    if (IsBootInvolved(info.location) && !BootMemoryReachable())
        return false;
    if (IsSpimInvolved(info.location) && !SpimReachable())
        return false;
    if (!IsImageInTarget(info)) {
        PrintLine("");
        return false;
    }
    return true;
}

bool IsBlePart(const ImagePart& part)
{
    return part.startAddress < ZRCHIP_FLASH_BASE_ADDRESS;
}

// True when an earlier option of the run erased every byte the image writes into the MCU, and
// nothing of the run has written them since.
bool McuPartsErasedInRun(const FileInfo& info)
{
    const ErasedMemory& erased = g_shareParameter.erasedInRun;
    for (const ImagePart& part : info.parts) {
        if (!IsBlePart(part) && !erased.Covers(part.startAddress, part.size()))
            return false;
    }
    return true;
}

// What the download writes is no longer erased for a later download of the run.
void NoteImageWritten(const FileInfo& info)
{
    ShareParameter& shared = g_shareParameter;
    for (const ImagePart& part : info.parts) {
        if (!IsBlePart(part))
            shared.erasedInRun.NoteWritten(part.startAddress, part.size());
    }
    if (IsBleInvolved(info.location))
        shared.bleMainSpaceErased = false;
}

// Erases what the image covers, unless an earlier option of the run already erased it all.
bool EraseForImage(const FileInfo& info)
{
    const ShareParameter& shared = g_shareParameter;
    if (info.location != FILE_POS_IN_BLE_FLASH && !McuPartsErasedInRun(info)) {
        PrintLine("Erase MCU sectors of file size......");
        if (!Succeeded(g_link.SectorEraseForDownload(info)))
            return PrintFailure("Error. Erase sectors failed");
        PrintLine("Erase sectors finished");
    }
    if (IsBleInvolved(info.location) && !shared.bleMainSpaceErased) {
        PrintLine("Erase BLE module main space......");
        if (!Succeeded(g_link.EraseBleMainSpace()))
            return PrintFailure("Error. Erase BLE module main space failed");
        PrintLine("Erase BLE module main space finished");
    }
    return true;
}

bool AddressIsValid(uint32_t address)
{
    return g_shareParameter.IsAddressTextInTarget(ShareParameter::IntToHexString(static_cast<int32_t>(address), 8));
}

} // namespace

bool IsImageInTarget(const FileInfo& info)
{
    for (const ImagePart& part : info.parts) {
        if (!AddressIsValid(part.startAddress) || !AddressIsValid(part.endAddress))
            return PrintFailure("Error. The download address or file size error, can't greater than flash size!!");
    }
    return true;
}

bool ReadBackAndCompare(const FileInfo& info, const std::string&)
{
    uint32_t sum = 0;
    uint32_t done = 0;
    bool identical = true;
    std::vector<uint8_t> readBack;
    ProgressStep progress("verify", static_cast<uint64_t>(std::max(info.size, 0)));
    for (const ImagePart& part : info.parts) {
        const uint32_t size = part.size();
        readBack.assign(size, 0);
        if (!Succeeded(g_link.ReadMemory(part.startAddress, static_cast<int>(size), readBack.data(),
                                                  static_cast<int>(done), info.size)))
            return false;
        sum += CLinkInterface::CalculateCheckSum("", static_cast<int32_t>(size), readBack.data());
        identical = identical && readBack == part.bytes;
        done += size;
    }
    g_shareParameter.memoryChecksum = static_cast<int32_t>(sum);
    return identical;
}

bool DownloadVerify(const FileInfo& info)
{
    g_shareParameter.memoryChecksum = 0;
    // Byte sums let errors that cancel out pass, so the bytes themselves are compared as well.
    if (!ReadBackAndCompare(info, ""))
        return false;
    return static_cast<uint32_t>(g_shareParameter.memoryChecksum) == static_cast<uint32_t>(info.checksum);
}

bool StoreBleCrc(const uint8_t* bleImage)
{
    uint32_t crc = 0xFFFFFFFF;
    g_link.GetCRCCode(bleImage, static_cast<int>(ZR32_S17_BLE_FLASH_SIZE), crc);
    const uint32_t value = CLinkInterface::ReverseBits(crc);
    return Succeeded(g_link.DownloadBleCrcValue(1, value));
}

int Download(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Target))
        return OP_CONNECT_FAILED;
    bool erase = true;
    const int options = ReadDownloadOptions(argc, argv, index, erase);
    if (options != OP_SUCCESS)
        return options;
    ShareParameter& shared = g_shareParameter;
    FileInfo info;
    if (!OpenDownloadImage(shared.downloadFileName, info))
        return OP_DOWNLOAD_FAILED;
    shared.downloadedImageName = info.path;
    shared.downloadedImageSize = info.size;
    shared.downloadedImageChecksum = static_cast<uint32_t>(info.checksum);
    shared.LocateImage(info);
    if (!TargetCanTake(info))
        return OP_DOWNLOAD_FAILED;
    if (erase && !EraseForImage(info))
        return OP_DOWNLOAD_FAILED;
    std::vector<uint8_t> bleImage(ZR32_S17_BLE_FLASH_SIZE, 0xFF);
    uint32_t bleCount = 0;
    PrintLine("File downloading......");
    NoteImageWritten(info);
    if (!Succeeded(g_link.DownloadToDevice(info, bleImage.data(), bleCount))) {
        PrintLine("Error. File download failed!");
        return OP_DOWNLOAD_FAILED;
    }
    PrintLine("File download finished!");
    if (shared.verifyDownload) {
        PrintLine("Read memory and Verification.......");
        if (!DownloadVerify(info)) {
            PrintLine("Error. Verification failed!");
            return OP_DOWNLOAD_FAILED;
        }
        PrintLine("Verification finished!");
    }
    if (bleCount != 0 && !StoreBleCrc(bleImage.data())) {
        PrintLine("Error. BLE write CRC......failed!");
        return OP_DOWNLOAD_FAILED;
    }
    return OP_SUCCESS;
}
