// -u and -uble: read a range of sectors of the target into a HEX or binary file.
#include "upload_command.h"

#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "file_operation.h"
#include "job_progress.h"
#include "link_interface.h"
#include "link_results.h"
#include "mcu_identification.h"
#include "open_image_file.h"
#include "sector_range.h"
#include "share_parameter.h"
#include "sub_option_walk.h"

#include <algorithm>
#include <vector>

namespace {

// What the sub-options of one upload asked for.
struct UploadRequest {
    int32_t first = 0;
    int32_t last = 0;
    bool hasRange = false;
    std::string fileName; // this command's own --fn; empty without one

    // The first sector and how many; no --sec is sector 0 with none.
    long long First() const { return hasRange ? first : 0; }
    long long Count() const { return hasRange ? static_cast<long long>(last) - first + 1 : 0; }
};

// The range check of each command: true when the range may be processed, else the exit code in
// failure after printing the command's line.
using RangeCheck = bool (*)(const WalkStep& step, int& failure);

bool CheckMcuRange(const WalkStep& step, int& failure)
{
    if (IsSectorsValid(step.first, step.last)) // may print its own reason first
        return true;
    PrintBadParameterText(step.text.c_str());
    failure = OP_BAD_PARAM;
    return false;
}

bool CheckBleRange(const WalkStep& step, int& failure)
{
    if (IsBLESectorsValid(step.first, step.last))
        return true;
    PrintLine("Error. Upload sectors cannot exceed BLE module main space range.");
    failure = OP_BL_UPLOAD_FAILED;
    return false;
}

// Checks the connection and reads --sec and --fn after the command at index; on success the index
// designates the next option or the end of the list.
int ReadRequest(int argc, char* argv[], int& index, ConnectionNeed need, RangeCheck check, UploadRequest& request)
{
    if (!HasConnection(need))
        return OP_CONNECT_FAILED;
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
        if (step.name == "--sec") {
            int failure = OP_SUCCESS;
            if (!check(step, failure))
                return failure;
            request.first = step.first;
            request.last = step.last;
            request.hasRange = true;
        } else if (step.name == "--fn") {
            request.fileName = step.text;
        }
    }
    return walk.Result();
}

// The range must start and end by end: tested in 64 bits, so no range can wrap.
bool EndsWithin(const MemoryRange& range, uint64_t end)
{
    return range.address <= end - 1 && range.address + range.size <= end;
}

// The check by kind: true when the range lies in a memory the target can read.
bool RangeIsReadable(UploadKind kind, const MemoryRange& range)
{
    const ShareParameter& shared = g_shareParameter;
    switch (kind) {
    case UploadKind::MAIN_FLASH:
        if (range.address < ZRCHIP_FLASH_BASE_ADDRESS)
            return PrintFailure("Error. Upload sectors can't less than 0x08000000");
        if (!EndsWithin(range, uint64_t{ZRCHIP_FLASH_BASE_ADDRESS} + shared.GetFlashSize()))
            return PrintFailure("Error. Upload sectors can't greater than flash size!");
        return true;
    case UploadKind::BOOT_MEMORY:
        if (!BootMemoryReachable())
            return false;
        if (range.address < shared.otp3Address) {
            PrintLine("Error. Upload sectors can't less than 0x" +
                      ShareParameter::IntToHexString(static_cast<int32_t>(shared.otp3Address), 8));
            return false;
        }
        if (!EndsWithin(range, uint64_t{shared.otp3Address} + shared.otp3Size))
            return PrintFailure("Error. Upload sectors can't greater than boot memory size!");
        return true;
    case UploadKind::SPIM: {
        if (!SpimReachable())
            return false;
        if (range.address < ZRCHIP_SPIM_BASE_ADDRESS)
            return PrintFailure("Error. Upload sectors can't less than 0x08400000!");
        // Never past the SPIM window, whatever size was enabled.
        const uint64_t size = std::min<uint64_t>(uint64_t{shared.spimSizeMb} << 20, ZRCHIP_SPIM_MAX_SIZE);
        if (!EndsWithin(range, uint64_t{ZRCHIP_SPIM_BASE_ADDRESS} + size))
            return PrintFailure("Error. Upload sectors can't greater than SPIM size!");
        return true;
    }
    case UploadKind::NONE:
        break;
    }
    // The separator after "flash" is an ideographic comma in the GBK bytes scripts look for.
    return PrintFailure("Error. Upload sectors can't exceed the flash\xA1\xA2SPIM and Boot memory range!");
}

// Steps common to both commands once the range is known: read, then save under the command's
// own name only. failure is the command's exit code.
int ReadAndSave(const UploadRequest& request, const MemoryRange& range, int failure)
{
    if (request.fileName.empty()) { // never another command's file: -d's image is not overwritten
        PrintLine("Error. Save file failed!");
        return failure;
    }
    PrintLine("Upload file opening......");
    std::vector<uint8_t> buffer(static_cast<size_t>(range.size));
    PrintLine("File uploading......");
    const int size = static_cast<int>(range.size);
    const ProgressStep progress("upload", range.size);
    if (!Succeeded(g_link.ReadMemory(static_cast<uint32_t>(range.address), size, buffer.data(), 0, size))) {
        PrintLine("Error. File uploading failed!");
        return failure;
    }
    FileOperation files;
    if (files.SaveFile(request.fileName, buffer.data(), size, static_cast<uint32_t>(range.address)) != 0) {
        PrintLine("Error. Save file failed!");
        return failure;
    }
    PrintLine("File uploading finished!");
    return OP_SUCCESS;
}

} // namespace

UploadKind GetAddrFromSectorNum(long long first, long long count, MemoryRange& range)
{
    const ShareParameter& shared = g_shareParameter;
    range = {};
    const uint64_t sectors = static_cast<uint64_t>(std::max(count, 0LL));
    const uint64_t flashSector = static_cast<uint64_t>(std::max(shared.flashSectorSize, 0));
    if (first < 0)
        return UploadKind::NONE;
    const uint64_t f = static_cast<uint64_t>(first);
    if (f < ZRCHIP_SYS_PAGE_BEGININDEX) {
        range = {ZRCHIP_FLASH_BASE_ADDRESS + f * flashSector, sectors * flashSector};
        return UploadKind::MAIN_FLASH;
    }
    if (f < ZRCHIP_SPIM_PAGE_BEGININDEX) {
        range = {shared.otp3Address + (f - ZRCHIP_SYS_PAGE_BEGININDEX) * flashSector, sectors * flashSector};
        return UploadKind::BOOT_MEMORY;
    }
    const uint64_t spimSector = static_cast<uint64_t>(std::max(shared.spimSectorSize, 0));
    range = {ZRCHIP_SPIM_BASE_ADDRESS + (f - ZRCHIP_SPIM_PAGE_BEGININDEX) * spimSector, sectors * spimSector};
    return UploadKind::SPIM;
}

bool GetBLEAddrFromSectorNum(long long first, long long count, MemoryRange& range)
{
    const ShareParameter& shared = g_shareParameter;
    range = {};
    if (first < 0 || shared.bleFlashSectorSize <= 0)
        return false;
    const uint64_t sectorSize = static_cast<uint64_t>(shared.bleFlashSectorSize);
    if (static_cast<uint64_t>(first) >= shared.bleFlashSize / sectorSize + 1)
        return false;
    range = {shared.bleFlashAddress + static_cast<uint64_t>(first) * sectorSize,
             static_cast<uint64_t>(std::max(count, 0LL)) * sectorSize};
    return true;
}

int Upload(int argc, char* argv[], int& index)
{
    UploadRequest request;
    const int read = ReadRequest(argc, argv, index, ConnectionNeed::Target, CheckMcuRange, request);
    if (read != OP_SUCCESS)
        return read;
    MemoryRange range;
    if (!RangeIsReadable(GetAddrFromSectorNum(request.First(), request.Count(), range), range))
        return OP_MCU_UPLOAD_FAILED;
    return ReadAndSave(request, range, OP_MCU_UPLOAD_FAILED);
}

int UploadBLE(int argc, char* argv[], int& index)
{
    UploadRequest request;
    const int read = ReadRequest(argc, argv, index, ConnectionNeed::Ble, CheckBleRange, request);
    if (read != OP_SUCCESS)
        return read;
    MemoryRange range;
    const ShareParameter& shared = g_shareParameter;
    // The last BLE sector is partial; the margin of 8 bytes lets it be read as a whole sector.
    constexpr uint64_t kLastSectorMargin = 8;
    if (!GetBLEAddrFromSectorNum(request.First(), request.Count(), range) ||
        range.address + range.size > uint64_t{shared.bleFlashAddress} + shared.bleFlashSize + kLastSectorMargin) {
        PrintLine("Error. Upload sectors can't exceed BLE module main space range!");
        return OP_BL_UPLOAD_FAILED;
    }
    return ReadAndSave(request, range, OP_BL_UPLOAD_FAILED);
}
