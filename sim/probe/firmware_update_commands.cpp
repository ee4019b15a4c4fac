// Groups C0 and C1: firmware updates of the probe and of its display. The probe's image is checked
// against the caller's 32-bit byte sum before it is installed in the probe's flash.
#include <algorithm>
#include <iterator>
#include <numeric>
#include <optional>

#include "probe/command_table.h"
#include "probe/probe_store.h"

namespace ksim {
namespace {

constexpr uint8_t kMarkerBase = 0xA0;

Bytes ok(const Packet &r) { return statusReply(r.cmd(), Status::Ok); }
Bytes notReady(const Packet &r) { return statusReply(r.cmd(), Status::Unavailable); }

// A step of an update is refused when its marker is wrong (the firmware form carries 0xA0 + sub
// after its length; the display's later steps carry their own marker as the first parameter), or
// when the steps before it have not happened (`ready` false).
std::optional<Bytes> refuseStep(const Packet &r, FirmwareContext &ctx, size_t markerAt, uint8_t marker, bool ready)
{
    if (r.u8(markerAt) != marker) {
        ctx.note = "marker " + hexByte(r.u8(markerAt)) + ", expected " + hexByte(marker);
        return statusReply(r.cmd(), Status::BadRequest);
    }
    if (!ready)
        return notReady(r);
    return std::nullopt;
}

std::optional<Bytes> refuseStep(const Packet &r, FirmwareContext &ctx, bool ready)
{
    return refuseStep(r, ctx, 4, static_cast<uint8_t>(kMarkerBase + r.sub()), ready);
}

// ---- C0: the probe ----

Bytes enterUpdateMode(const Packet &r, FirmwareContext &ctx)
{
    if (auto refusal = refuseStep(r, ctx, true))
        return *refusal;
    ctx.store.probeFirmware = FirmwareUpdate{};
    ctx.store.probeFirmware.updateMode = true;
    return {r.cmd(), r.sub(), 0x00, 0x01, 0x01};
}

Bytes beginUpdate(const Packet &r, FirmwareContext &ctx)
{
    FirmwareUpdate &fw = ctx.store.probeFirmware;
    if (auto refusal = refuseStep(r, ctx, fw.updateMode))
        return *refusal;
    fw.begun = true;
    fw.beginFlag = r.u8(5);
    return ok(r);
}

Bytes setCodeRange(const Packet &r, FirmwareContext &ctx)
{
    if (r.be16(2) != 9)
        return malformed(r, ctx, "code range of " + std::to_string(r.be16(2)) + " bytes, expected 9");
    FirmwareUpdate &fw = ctx.store.probeFirmware;
    if (auto refusal = refuseStep(r, ctx, fw.begun))
        return *refusal;
    const uint32_t start = r.be32(5), size = r.be32(9);
    if (start < ProbeStore::kProbeFlashBase || !ctx.store.probeFlash.contains(start - ProbeStore::kProbeFlashBase, size))
        return statusReply(r.cmd(), Status::OutOfRange);
    fw.start = start;
    fw.size = size;
    fw.received.assign(size, 0xFF);
    fw.verified = false;
    return ok(r);
}

Bytes sendUpdateData(const Packet &r, FirmwareContext &ctx)
{
    if (r.be16(2) < 4)
        return malformed(r, ctx, "data packet of " + std::to_string(r.be16(2)) + " bytes, expected an address and data");
    FirmwareUpdate &fw = ctx.store.probeFirmware;
    if (!fw.begun || fw.received.empty())
        return notReady(r);
    const uint32_t address = r.be32(4);
    const size_t length = r.be16(2) - 4u;
    if (address < fw.start || uint64_t{address} - fw.start + length > fw.size)
        return statusReply(r.cmd(), Status::OutOfRange);
    std::copy_n(r.data(8), length, fw.received.begin() + (address - fw.start));
    fw.verified = false;
    return ok(r);
}

Bytes endUpdate(const Packet &r, FirmwareContext &ctx)
{
    FirmwareUpdate &fw = ctx.store.probeFirmware;
    if (auto refusal = refuseStep(r, ctx, fw.begun))
        return *refusal;
    fw.endFlag = r.u8(5);
    return ok(r);
}

Bytes verifyUpdate(const Packet &r, FirmwareContext &ctx)
{
    if (r.be16(2) != 5)
        return malformed(r, ctx, "verify value of " + std::to_string(r.be16(2)) + " bytes, expected 5");
    FirmwareUpdate &fw = ctx.store.probeFirmware;
    if (auto refusal = refuseStep(r, ctx, true))
        return *refusal;
    const uint32_t sum = std::accumulate(fw.received.begin(), fw.received.end(), uint32_t{0});
    fw.verified = fw.begun && !fw.received.empty() && sum == r.be32(5);
    return {r.cmd(), r.sub(), 0x00, 0x00, static_cast<uint8_t>(fw.verified ? 0 : 1)};
}

Bytes runFirmwareImage(const Packet &r, FirmwareContext &ctx)
{
    FirmwareUpdate &fw = ctx.store.probeFirmware;
    if (auto refusal = refuseStep(r, ctx, fw.verified))
        return *refusal;
    ctx.store.probeFlash.store(fw.start - ProbeStore::kProbeFlashBase, fw.received.data(), fw.size);
    fw = FirmwareUpdate{};
    return ok(r);
}

constexpr CommandRow kProbeRows[] = {
    {0x00, "enter firmware update mode", countBe16(4, 2, "C0 00 00 01 A0"), enterUpdateMode},
    {0x01, "begin firmware update", countBe16(4, 2, "C0 01 00 02 A1 01"), beginUpdate},
    {0x02, "set firmware code range", countBe16(4, 2, "C0 02 00 09 A2 start(4) size(4)"), setCodeRange},
    {0x03, "firmware data", countBe16(4, 2, "C0 03 len(2) addr(4) data"), sendUpdateData},
    {0x04, "end firmware update", countBe16(4, 2, "C0 04 00 02 A4 flag"), endUpdate},
    {0x05, "verify firmware", countBe16(4, 2, "C0 05 00 05 A5 sum(4)"), verifyUpdate},
    {0x06, "run firmware", countBe16(4, 2, "C0 06 00 01 A6"), runFirmwareImage},
};

// ---- C1: the display ----

Bytes enterDisplayUpdate(const Packet &r, FirmwareContext &ctx)
{
    if (auto refusal = refuseStep(r, ctx, true))
        return *refusal;
    ctx.store.displayFirmware = FirmwareUpdate{};
    ctx.store.displayFirmware.updateMode = true;
    return ok(r);
}

Bytes beginDisplayUpdate(const Packet &r, FirmwareContext &ctx)
{
    FirmwareUpdate &fw = ctx.store.displayFirmware;
    if (auto refusal = refuseStep(r, ctx, 3, 0xA1, fw.updateMode))
        return *refusal;
    fw.begun = true;
    fw.beginFlag = r.u8(4);
    return ok(r);
}

Bytes setDisplayCodeSize(const Packet &r, FirmwareContext &ctx)
{
    FirmwareUpdate &fw = ctx.store.displayFirmware;
    if (!fw.begun)
        return notReady(r);
    if (r.be32(3) > ProbeStore::kProbeFlashSize)
        return statusReply(r.cmd(), Status::OutOfRange);
    fw.size = r.be32(3);
    fw.received.assign(fw.size, 0xFF);
    fw.lastReceived = false;
    return ok(r);
}

Bytes sendDisplayData(const Packet &r, FirmwareContext &ctx)
{
    if (r.u8(2) < 3)
        return malformed(r, ctx, "display data of " + std::to_string(r.u8(2)) + " bytes, expected the flag and offset first");
    FirmwareUpdate &fw = ctx.store.displayFirmware;
    if (!fw.begun || fw.received.empty())
        return notReady(r);
    const size_t length = r.u8(2) - 3u;
    const uint16_t offset = r.be16(4);
    if (offset + length > fw.size)
        return statusReply(r.cmd(), Status::OutOfRange);
    std::copy_n(r.data(6), length, fw.received.begin() + offset);
    fw.lastReceived = r.u8(3) == 1;
    return ok(r);
}

Bytes endDisplayUpdate(const Packet &r, FirmwareContext &ctx)
{
    FirmwareUpdate &fw = ctx.store.displayFirmware;
    if (auto refusal = refuseStep(r, ctx, 3, 0xA2, fw.lastReceived))
        return *refusal;
    ++ctx.store.displayVersion[1];
    fw = FirmwareUpdate{};
    return ok(r);
}

constexpr CommandRow kDisplayRows[] = {
    {0x00, "enter display update mode", countBe16(4, 2, "C1 00 00 01 A0"), enterDisplayUpdate},
    {0x01, "begin display update", param(2, "C1 01 02 A1 flag"), beginDisplayUpdate},
    {0x02, "set display code size", param(4, "C1 02 04 size(4)"), setDisplayCodeSize},
    {0x03, "display data", countU8(3, 2, "C1 03 n last offset(2) data"), sendDisplayData},
    {0x04, "end display update", param(1, "C1 04 01 A2"), endDisplayUpdate},
};

}  // namespace

const CommandGroup kProbeFirmwareGroup{0xC0, "probe firmware update", kProbeRows, std::size(kProbeRows)};
const CommandGroup kDisplayFirmwareGroup{0xC1, "display firmware update", kDisplayRows, std::size(kDisplayRows)};

}  // namespace ksim
