// bench_download: erases, downloads and verifies a 64 KiB image through the virtual probe exactly as
// -d --v does, then reports
//   - the USB exchanges the job took against the fewest the protocol allows for it, and
//   - the wall time against the same number of bare request/reply round trips on the same probe.
// Usage: bench_download [KiB]   (default 64; the image starts at the flash base)
#include "download_command.h"
#include "link_interface.h"
#include "share_parameter.h"

#include "usb/preload.h"
#include "usb/testbed.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kFlash = 0x08000000;
constexpr uint32_t kSectorSize = 2048;    // the default virtual target
constexpr uint32_t kPacketPayload = 56;   // 64-byte reports less the 8-byte memory header
constexpr uint32_t kCallSize = 1024;      // one library call of the download engine and the reads

uint64_t Packets(uint32_t length)
{
    return (length + kPacketPayload - 1) / kPacketPayload;
}

// The fewest exchanges that move length bytes in library calls of kCallSize bytes each.
uint64_t PacketsInCalls(uint32_t length)
{
    return uint64_t{length / kCallSize} * Packets(kCallSize) + Packets(length % kCallSize);
}

FileInfo MakeImage(uint32_t size)
{
    FileInfo info;
    for (uint32_t offset = 0; offset < size; offset += IMAGE_PART_CAPACITY) {
        ImagePart part;
        part.startAddress = kFlash + offset;
        part.size = std::min(IMAGE_PART_CAPACITY, size - offset);
        part.endAddress = part.startAddress + part.size - 1;
        uint32_t state = offset + 1;
        for (uint32_t i = 0; i < part.size; ++i) {
            state = state * 1103515245u + 12345u;
            part.bytes[i] = static_cast<uint8_t>(state >> 16);
            info.checksum += part.bytes[i];
        }
        info.parts.append(part);
        info.size += static_cast<int32_t>(part.size);
    }
    info.location = FILE_POS_IN_MAIN_FLASH;
    return info;
}

uint64_t Requests(ksim::Testbed& bench)
{
    return bench.withProbe(0, [](ksim::VirtualProbe& p) { return p.requestCount(); });
}

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int Fail(const char* what)
{
    std::fprintf(stderr, "bench_download: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (!ksim::reexecUnderPreloadIfNeeded(argc, argv))
        return 1;
    const uint32_t kib = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 64;
    const uint32_t size = kib * 1024;
    if (size == 0 || size > 256 * 1024)
        return Fail("the image must be 1 to 256 KiB");

    ksim::Testbed bench;
    bench.addProbe({{"transport", "hid"}});
    KORVEX_Init();
    uint8_t count = 99;
    tagKORVEXDeviceInfo list{};
    KORVEX_GetKorvexDeviceList(&count, &list.deviceInfo[0][0]);
    const KORVEX_HANDLE handle = count == 1 ? KORVEX_Open(nullptr) : KORVEX_INVALID_HANDLE;
    if (handle == KORVEX_INVALID_HANDLE)
        return Fail("no virtual probe");
    g_link.SetLinkHandle(handle);
    g_shareParameter.flashSectorSize = kSectorSize;
    g_shareParameter.flashSizeText = "256KB";

    const FileInfo image = MakeImage(size);
    const uint64_t before = Requests(bench);
    const Clock::time_point start = Clock::now();
    if (g_link.SectorEraseForDownload(image) != 0)
        return Fail("erase failed");
    const uint64_t afterErase = Requests(bench);
    uint32_t bleCount = 0;
    if (g_link.DownloadToDevice(image, nullptr, bleCount) != 0)
        return Fail("download failed");
    const uint64_t afterWrite = Requests(bench);
    if (!DownloadVerify(image))
        return Fail("verification failed");
    const double jobSeconds = Seconds(start);
    const uint64_t used = Requests(bench) - before;

    const uint64_t sectors = (size + kSectorSize - 1) / kSectorSize;
    const uint64_t minimum = sectors + 2 + 2 * PacketsInCalls(size);
    const uint64_t packedBound = 1 + 2 + 2 * Packets(size);

    uint8_t version[4];
    const Clock::time_point bareStart = Clock::now();
    for (uint64_t i = 0; i < used; ++i) {
        if (KORVEX_GetVersion(handle, 4, version) != 0)
            return Fail("bare round trip failed");
    }
    const double bareSeconds = Seconds(bareStart);
    KORVEX_Close(handle);
    KORVEX_Exit();

    std::printf("image                 %u KiB at 0x%08X, %llu sectors of %u bytes\n", kib, kFlash,
                static_cast<unsigned long long>(sectors), kSectorSize);
    std::printf("exchanges             %llu (erase %llu, write %llu, verify %llu)\n",
                static_cast<unsigned long long>(used), static_cast<unsigned long long>(afterErase - before),
                static_cast<unsigned long long>(afterWrite - afterErase),
                static_cast<unsigned long long>(before + used - afterWrite));
    std::printf("protocol minimum      %llu (one erase per sector, begin and end, %u-byte payloads in %u-byte calls)\n",
                static_cast<unsigned long long>(minimum), kPacketPayload, kCallSize);
    std::printf("exchanges / minimum   %.4f\n", static_cast<double>(used) / static_cast<double>(minimum));
    std::printf("packed lower bound    %llu (one multi-sector erase, payloads packed across calls)\n",
                static_cast<unsigned long long>(packedBound));
    std::printf("job wall time         %.3f s\n", jobSeconds);
    std::printf("bare round trips      %.3f s for %llu (%.0f per second)\n", bareSeconds,
                static_cast<unsigned long long>(used), static_cast<double>(used) / bareSeconds);
    std::printf("job / bare            %.3f\n", jobSeconds / bareSeconds);
    return 0;
}
