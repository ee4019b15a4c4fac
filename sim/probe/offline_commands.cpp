// Offline programming: group BB (code number, index, project bookkeeping) and the groups B7 to BD,
// the images, option data, OTP data and configuration parts stored under a code index. Byte 1 of the
// stored-data requests is an area base plus the code index (0 to 15).
#include <algorithm>
#include <iterator>

#include "probe/command_table.h"
#include "probe/probe_store.h"

namespace ksim {
namespace {

constexpr uint8_t kIndexMask = 0x0F;
constexpr uint8_t kSelectorAll = 0xA0;
constexpr uint8_t kSelectorFirst = 0xB0;
constexpr uint8_t kSelectorLast = 0xBF;
constexpr uint8_t kMaxProjects = 16;
constexpr uint8_t kMaxTimesKind = 2;
constexpr uint16_t kMaxRead = 64 - 8;

Bytes ok(const Packet &r) { return statusReply(r.cmd(), Status::Ok); }
StoredProject &projectOf(const Packet &r, FirmwareContext &ctx) { return ctx.store.projects[r.sub() & kIndexMask]; }
bool validSelector(uint8_t sel) { return sel == kSelectorAll || (sel >= kSelectorFirst && sel <= kSelectorLast); }

// ---- BB ----

Bytes readCodeNumber(const Packet &r, FirmwareContext &ctx) { return dataReply(r.cmd(), r.sub(), {ctx.store.codeNumber}); }

Bytes writeCodeNumber(const Packet &r, FirmwareContext &ctx)
{
    const uint8_t n = r.u8(3);
    if (n != 1 && n != 2 && n != 4 && n != 8 && n != 16)
        return malformed(r, ctx, "code number " + std::to_string(n) + ", expected 1, 2, 4, 8 or 16");
    ctx.store.codeNumber = n;
    return ok(r);
}

Bytes readCodeIndex(const Packet &r, FirmwareContext &ctx)
{
    return dataReply(r.cmd(), r.sub(), Bytes(ctx.store.downloadCodeIndex.begin(), ctx.store.downloadCodeIndex.end()));
}

Bytes writeCodeIndex(const Packet &r, FirmwareContext &ctx)
{
    ctx.store.downloadCodeIndex = {r.u8(3), r.u8(4)};
    return ok(r);
}

// A0 forgets every project, B0 + i project i alone.
Bytes deleteProjects(const Packet &r, FirmwareContext &ctx)
{
    const uint8_t sel = r.u8(3), n = r.u8(4);
    if (!validSelector(sel) || n > kMaxProjects)
        return malformed(r, ctx, "selector " + hexByte(sel) + " count " + std::to_string(n) + ", expected A0 or B0-BF and at most 16");
    for (size_t i = 0; i < ProbeStore::kProjects; ++i) {
        if (sel == kSelectorAll || i == size_t(sel - kSelectorFirst)) {
            ctx.store.projects[i] = StoredProject{};
            ctx.store.verifyCounts[i] = {};
        }
    }
    return ok(r);
}

Bytes beginOfflineDownload(const Packet &r, FirmwareContext &ctx)
{
    if (r.u8(3) != 0)
        return malformed(r, ctx, "begin marker " + hexByte(r.u8(3)) + ", expected 00");
    ctx.store.offlineDownloadState = 1;
    return ok(r);
}

// Kind 0: verifies that matched, 1: that did not, 2: all; for A0 summed over every project.
Bytes downloadTimes(const Packet &r, FirmwareContext &ctx)
{
    const uint8_t sel = r.u8(3), n = r.u8(4), kind = r.u8(5);
    if (!validSelector(sel) || n > kMaxProjects || kind > kMaxTimesKind)
        return malformed(r, ctx, "selector " + hexByte(sel) + " count " + std::to_string(n) + " kind " + std::to_string(kind));
    uint32_t total = 0;
    for (size_t i = 0; i < ProbeStore::kProjects; ++i) {
        if (sel != kSelectorAll && i != size_t(sel - kSelectorFirst))
            continue;
        const auto &counts = ctx.store.verifyCounts[i];
        total += kind == 2 ? counts[0] + counts[1] : counts[kind];
    }
    Bytes data;
    appendBe32(data, total);
    return dataReply(r.cmd(), r.sub(), data);
}

Bytes readProjectOneFunction(const Packet &r, FirmwareContext &ctx)
{
    return dataReply(r.cmd(), r.sub(), {ctx.store.projectOneFunction});
}

constexpr CommandRow kCodeRows[] = {
    {0x02, "read offline code number", fixed(2, "BB 02"), readCodeNumber},
    {0x03, "write offline code number", param(1, "BB 03 01 n"), writeCodeNumber},
    {0x04, "read download code index", fixed(2, "BB 04"), readCodeIndex},
    {0x05, "write download code index", param(2, "BB 05 02 a b"), writeCodeIndex},
    {0x06, "delete offline projects", param(2, "BB 06 02 sel n"), deleteProjects},
    {0x07, "begin offline download", param(1, "BB 07 01 00"), beginOfflineDownload},
    {0x08, "read download times", param(3, "BB 08 03 sel n kind"), downloadTimes},
    {0x09, "read project one download function", fixed(2, "BB 09"), readProjectOneFunction},
};

// ---- B7 to BA: areas by address ----

Status storeInto(SparseMemory &area, uint32_t address, const uint8_t *data, uint16_t length)
{
    if (!area.contains(address, length))
        return Status::OutOfRange;
    area.store(address, data, length);
    return Status::Ok;
}

Bytes readFrom(const Packet &r, FirmwareContext &ctx, const SparseMemory &area)
{
    return answerMemoryRead(r, ctx, [&](uint32_t address, uint16_t length, Bytes &data) {
        if (!area.contains(address, length))
            return Status::OutOfRange;
        data = area.read(address, length);
        return Status::Ok;
    });
}

Bytes writeImage(const Packet &r, FirmwareContext &ctx)
{
    StoredProject &p = projectOf(r, ctx);
    const uint32_t address = r.be32(2);
    const uint16_t length = r.be16(6);
    const Status status = storeInto(p.image, address, r.data(8), length);
    if (status == Status::Ok)
        p.written.fill(address, length, 1);
    return statusReply(r.cmd(), status);
}

// Matches when every byte of the range was received since the project was last deleted.
Bytes verifyImage(const Packet &r, FirmwareContext &ctx)
{
    const size_t index = r.sub() & kIndexMask;
    const StoredProject &p = ctx.store.projects[index];
    const uint32_t address = r.be32(3), length = r.be32(7);
    bool complete = p.written.contains(address, length);
    if (complete) {
        const Bytes marks = p.written.read(address, length);
        complete = std::all_of(marks.begin(), marks.end(), [](uint8_t b) { return b == 1; });
    }
    ++ctx.store.verifyCounts[index][complete ? 0 : 1];
    return {r.cmd(), r.sub(), 0x01, static_cast<uint8_t>(complete ? 0 : 1)};
}

Bytes readImage(const Packet &r, FirmwareContext &ctx) { return readFrom(r, ctx, projectOf(r, ctx).image); }

Bytes writeOptionBlock(const Packet &r, FirmwareContext &ctx)
{
    if (r.be16(2) != StoredProject::kOptionBlockSize)
        return malformed(r, ctx, "option block of " + std::to_string(r.be16(2)) + " bytes, expected 48");
    std::copy_n(r.data(4), StoredProject::kOptionBlockSize, projectOf(r, ctx).options.begin());
    return ok(r);
}

Bytes readOptionBlock(const Packet &r, FirmwareContext &ctx)
{
    if (r.be16(2) != StoredProject::kOptionBlockSize)
        return malformed(r, ctx, "option block of " + std::to_string(r.be16(2)) + " bytes, expected 48");
    const auto &options = projectOf(r, ctx).options;
    Bytes out{r.cmd(), r.sub(), r.u8(2), r.u8(3)};
    out.insert(out.end(), options.begin(), options.end());
    return out;
}

// The areas of group B8 by their base: 10 option extension, 20 OTP data, 30 OTP lock, 40 OTP write.
SparseMemory &areaOf(const Packet &r, FirmwareContext &ctx)
{
    StoredProject &p = projectOf(r, ctx);
    switch (r.sub() & 0xF0) {
    case 0x20: return p.otpData;
    case 0x30: return p.otpLock;
    case 0x40: return p.otpWrite;
    default: return p.optionExtend;
    }
}

Bytes writeArea(const Packet &r, FirmwareContext &ctx)
{
    return statusReply(r.cmd(), storeInto(areaOf(r, ctx), r.be32(2), r.data(8), r.be16(6)));
}

Bytes readOptionExtend(const Packet &r, FirmwareContext &ctx) { return readFrom(r, ctx, projectOf(r, ctx).optionExtend); }

// ---- BC, BD: configuration parts A to D (base 00, 10, 20, 30) ----

std::vector<uint8_t> &partOf(const Packet &r, FirmwareContext &ctx) { return projectOf(r, ctx).configParts[r.sub() >> 4]; }

Bytes readConfigPart(const Packet &r, FirmwareContext &ctx)
{
    const std::vector<uint8_t> &part = partOf(r, ctx);
    Bytes out{r.cmd(), r.sub()};
    appendBe16(out, static_cast<uint16_t>(part.size()));
    out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes writeConfigPart(const Packet &r, FirmwareContext &ctx)
{
    const uint16_t length = r.be16(2);
    if (length > kMaxRead + 4)
        return malformed(r, ctx, "configuration part of " + std::to_string(length) + " bytes, at most 60 fit a reply");
    partOf(r, ctx).assign(r.data(4), r.data(4) + length);
    return ok(r);
}

constexpr CommandRow kImageRows[] = {
    {0x00, "write stored image", countBe16(8, 6, "B7 ix addr(4) len(2) data(len)"), writeImage, 16},
    {0x10, "verify stored image", param(8, "B7 ix 08 addr(4) len(4)"), verifyImage, 16},
};
constexpr CommandRow kDataWriteRows[] = {
    {0x00, "write stored option block", countBe16(4, 2, "B8 ix 00 30 block(48)"), writeOptionBlock, 16},
    {0x10, "write stored option extension", countBe16(8, 6, "B8 ix addr(4) len(2) data(len)"), writeArea, 16},
    {0x20, "write stored OTP data", countBe16(8, 6, "B8 ix addr(4) len(2) data(len)"), writeArea, 16},
    {0x30, "write stored OTP lock parameters", countBe16(8, 6, "B8 ix addr(4) len(2) data(len)"), writeArea, 16},
    {0x40, "write stored OTP write parameters", countBe16(8, 6, "B8 ix addr(4) len(2) data(len)"), writeArea, 16},
};
constexpr CommandRow kImageReadRows[] = {
    {0x00, "read stored image", fixed(8, "B9 ix addr(4) len(2)"), readImage, 16},
};
constexpr CommandRow kDataReadRows[] = {
    {0x00, "read stored option block", fixed(4, "BA ix 00 30"), readOptionBlock, 16},
    {0x10, "read stored option extension", fixed(8, "BA ix addr(4) len(2)"), readOptionExtend, 16},
};
constexpr CommandRow kConfigReadRows[] = {
    {0x00, "read offline configuration part", fixed(2, "BC ix"), readConfigPart, 64},
};
constexpr CommandRow kConfigWriteRows[] = {
    {0x00, "write offline configuration part", countBe16(4, 2, "BD ix len(2) data(len)"), writeConfigPart, 64},
};

}  // namespace

const CommandGroup kOfflineCodeRows{0xBB, "offline code number and index", kCodeRows, std::size(kCodeRows)};
const CommandGroup kStoredImageGroup{0xB7, "write and verify stored images", kImageRows, std::size(kImageRows)};
const CommandGroup kStoredDataWriteGroup{0xB8, "write stored option and OTP data", kDataWriteRows, std::size(kDataWriteRows)};
const CommandGroup kStoredImageReadGroup{0xB9, "read stored images", kImageReadRows, std::size(kImageReadRows)};
const CommandGroup kStoredDataReadGroup{0xBA, "read stored option data", kDataReadRows, std::size(kDataReadRows)};
const CommandGroup kOfflineConfigReadGroup{0xBC, "read offline configuration", kConfigReadRows, std::size(kConfigReadRows)};
const CommandGroup kOfflineConfigWriteGroup{0xBD, "write offline configuration", kConfigWriteRows, std::size(kConfigWriteRows)};

}  // namespace ksim
