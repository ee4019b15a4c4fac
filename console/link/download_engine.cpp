// Puts a loaded image into the target: erases the sectors it covers, writes it in 1 KiB chunks
// between the write-sequence calls of its memories, and routes BLE bytes to the module.
#include "link_interface.h"

#include "download_plan.h"
#include "job_progress.h"
#include "link_results.h"
#include "share_parameter.h"

#include <algorithm>

namespace {
constexpr uint8_t kBleMainSpace = 0;
} // namespace

int CLinkInterface::SectorEraseForDownload(const FileInfo& info)
{
    const ShareParameter& shared = g_shareParameter;
    const EraseGeometry geometry{static_cast<uint32_t>(std::max(shared.flashSectorSize, 0)),
                                 shared.otp3Address, shared.otp3Size};
    const std::vector<uint32_t> sectors = SectorsForImage(info.parts, geometry);
    if (sectors.empty())
        return FAILED;
    return SectorErase(sectors.data(), static_cast<int>(sectors.size()));
}

namespace {
// Runs the calls in order; the first failure (low byte) ends the sequence with its code.
template <typename Call>
int RunBracket(const std::vector<BracketCall>& calls, Call&& call)
{
    int result = 0;
    for (BracketCall step : calls) {
        result = call(step);
        if (!Succeeded(result))
            return result;
    }
    return result;
}
} // namespace

int CLinkInterface::BeginDownload(const FileInfo& info)
{
    if (!HasHandle())
        return FAILED;
    return RunBracket(BeginCalls(info.location), [this](BracketCall step) {
        switch (step) {
        case BracketCall::MainFlash:
            return KORVEX_WriteMainFlashBegin_Target(handle_);
        case BracketCall::Spim:
            return KORVEX_WriteSPIMBegin_Target(handle_);
        case BracketCall::SelectBleMainSpace:
            return SelectBleFlashSpace(kBleMainSpace);
        }
        return FAILED;
    });
}

int CLinkInterface::EndDownload(const FileInfo& info)
{
    if (!HasHandle())
        return FAILED;
    return RunBracket(EndCalls(info.location), [this](BracketCall step) {
        switch (step) {
        case BracketCall::MainFlash:
            return KORVEX_WriteMainFlashEnd_Target(handle_);
        case BracketCall::Spim:
            return KORVEX_WriteSPIMEnd_Target(handle_);
        case BracketCall::SelectBleMainSpace:
            return 0;
        }
        return FAILED;
    });
}

int CLinkInterface::DownloadToDevice(const FileInfo& info, uint8_t* bleImage, uint32_t& bleCount)
{
    if (!HasHandle())
        return FAILED;
    const int begun = BeginDownload(info);
    if (!Succeeded(begun))
        return begun;
    uint64_t total = 0;
    for (const ImagePart& part : info.parts)
        total += part.size();
    ProgressStep progress("download", total);
    for (const ImagePart& part : info.parts) {
        for (const TransferChunk& chunk : SplitIntoChunks(part.startAddress, part.size())) {
            if (TakeCancel())
                return CANCELED;
            const int result = SendDownloadChunk(handle_, chunk.address, static_cast<int32_t>(chunk.length),
                                                     part.bytes.data() + chunk.offset, bleImage, bleCount);
            if (!Succeeded(result))
                return result;
            progress.Advance(chunk.length);
        }
    }
    return EndDownload(info);
}

int CLinkInterface::SendDownloadChunk(KORVEX_HANDLE handle, uint32_t address, int32_t length,
                                          const uint8_t* data, uint8_t* bleImage, uint32_t& bleCount)
{
    if (address >= ZRCHIP_FLASH_BASE_ADDRESS)
        return KORVEX_DownLoad_Target(handle, address, length, data);
    bleCount += static_cast<uint32_t>(length);
    // The copy kept for the module's checksum never reaches past the module's flash.
    if (bleImage != nullptr && address < ZR32_S17_BLE_FLASH_SIZE && length > 0) {
        const uint32_t copied = std::min<uint32_t>(static_cast<uint32_t>(length), ZR32_S17_BLE_FLASH_SIZE - address);
        std::copy_n(data, copied, bleImage + address);
    }
    return KORVEX_BLECHIP_WriteFlash(handle, address, length, data);
}

uint32_t CLinkInterface::CalculateCheckSum(const char*, int32_t length, const uint8_t* data)
{
    uint32_t sum = 0;
    for (int32_t i = 0; i < length; ++i)
        sum += data[i];
    return sum;
}
