// Groups B2 (read target memory), B3 (write target memory, write-sequence brackets) and B4 (erase).
#include <iterator>

#include "probe/command_table.h"
#include "target/target_mcu.h"

namespace ksim {
namespace {

using ReadFn = Status (TargetMcu::*)(uint32_t, uint32_t, Bytes &) const;
using WriteFn = Status (TargetMcu::*)(uint32_t, const uint8_t *, uint32_t);

template <ReadFn read>
Bytes readMemory(const Packet &r, FirmwareContext &ctx)
{
    return answerMemoryRead(r, ctx, [&ctx](uint32_t address, uint32_t length, Bytes &data) {
        return (ctx.target.*read)(address, length, data);
    });
}

template <WriteFn write>
Bytes writeMemory(const Packet &r, FirmwareContext &ctx)
{
    return statusReply(r.cmd(), (ctx.target.*write)(r.be32(2), r.data(8), r.be16(6)));
}

Bytes writeSequence(const Packet &r, FirmwareContext &ctx)
{
    switch (r.u8(3)) {
    case 0: return statusReply(r.cmd(), ctx.target.beginWrite(r.sub()));
    case 1: return statusReply(r.cmd(), ctx.target.endWrite(r.sub()));
    default: return malformed(r, ctx, "phase " + hexByte(r.u8(3)) + ", expected 00 (begin) or 01 (end)");
    }
}

using RangeEraseFn = Status (TargetMcu::*)(uint32_t, uint32_t);

template <RangeEraseFn erase>
Bytes eraseRange(const Packet &r, FirmwareContext &ctx)
{
    return statusReply(r.cmd(), (ctx.target.*erase)(r.be32(2), r.be16(6)));
}

// Whole-memory erases carry address 0 and count 0; anything else is a confused request.
template <typename Erase>
Bytes eraseWhole(const Packet &r, FirmwareContext &ctx, Erase erase)
{
    if (r.be32(2) != 0 || r.be16(6) != 0)
        return malformed(r, ctx, "whole-memory erase with address " + hexBytes(r.data(2), 4) + " count " + hexBytes(r.data(6), 2) + ", expected zeros");
    return statusReply(r.cmd(), erase(ctx.target));
}

Bytes eraseBank1(const Packet &r, FirmwareContext &ctx) { return eraseWhole(r, ctx, [](TargetMcu &t) { return t.eraseBank(1); }); }
Bytes eraseBank2(const Packet &r, FirmwareContext &ctx) { return eraseWhole(r, ctx, [](TargetMcu &t) { return t.eraseBank(2); }); }
Bytes eraseSpim(const Packet &r, FirmwareContext &ctx) { return eraseWhole(r, ctx, [](TargetMcu &t) { return t.eraseSpim(); }); }
Bytes eraseMain(const Packet &r, FirmwareContext &ctx) { return eraseWhole(r, ctx, [](TargetMcu &t) { return t.eraseMainFlash(); }); }
Bytes eraseBoot(const Packet &r, FirmwareContext &ctx) { return eraseWhole(r, ctx, [](TargetMcu &t) { return t.eraseBootMemory(); }); }

constexpr Layout kReadLayout = fixed(8, "B2 type addr(4) len(2)");
constexpr Layout kWriteLayout = countBe16(8, 6, "B3 type addr(4) len(2) data(len)");
constexpr Layout kEraseLayout = fixed(8, "B4 type addr(4) count(2)");

constexpr CommandRow kReadRows[] = {
    {0x00, "read main flash", kReadLayout, readMemory<&TargetMcu::readFlash>},
    {0x01, "read SPIM", kReadLayout, readMemory<&TargetMcu::readSpim>},
    {0x02, "read user system data", kReadLayout, readMemory<&TargetMcu::readUserSystemData>},
    {0x03, "read OTP data", kReadLayout, readMemory<&TargetMcu::readOtpData>},
    {0x04, "read OTP lock", kReadLayout, readMemory<&TargetMcu::readOtpLock>},
};

constexpr CommandRow kWriteRows[] = {
    {0x00, "write main flash", kWriteLayout, writeMemory<&TargetMcu::writeFlash>},
    {0x01, "write SPIM", kWriteLayout, writeMemory<&TargetMcu::writeSpim>},
    {0x02, "write user system data", kWriteLayout, writeMemory<&TargetMcu::writeUserSystemData>},
    {0x03, "main flash write sequence", param(1, "B3 03 01 phase"), writeSequence},
    {0x04, "SPIM write sequence", param(1, "B3 04 01 phase"), writeSequence},
    {0x05, "user system data write sequence", param(1, "B3 05 01 phase"), writeSequence},
    {0x06, "OTP write sequence", param(1, "B3 06 01 phase"), writeSequence},
    {0x07, "write OTP data", kWriteLayout, writeMemory<&TargetMcu::writeOtpData>},
    {0x08, "write OTP lock", kWriteLayout, writeMemory<&TargetMcu::writeOtpLock>},
};

constexpr CommandRow kEraseRows[] = {
    {0x00, "erase main flash sectors", kEraseLayout, eraseRange<&TargetMcu::eraseFlashSectors>},
    {0x01, "erase SPIM sectors", kEraseLayout, eraseRange<&TargetMcu::eraseSpimSectors>},
    {0x03, "erase bank 1", kEraseLayout, eraseBank1},
    {0x04, "erase bank 2", kEraseLayout, eraseBank2},
    {0x05, "erase SPIM", kEraseLayout, eraseSpim},
    {0x06, "erase main flash", kEraseLayout, eraseMain},
    {0x07, "erase boot memory", kEraseLayout, eraseBoot},
    {0x08, "erase main flash blocks", kEraseLayout, eraseRange<&TargetMcu::eraseFlashBlocks>},
};

}  // namespace

const CommandGroup kMemoryReadGroup{0xB2, "read target memory", kReadRows, std::size(kReadRows)};
const CommandGroup kMemoryWriteGroup{0xB3, "write target memory", kWriteRows, std::size(kWriteRows)};
const CommandGroup kEraseGroup{0xB4, "erase target memory", kEraseRows, std::size(kEraseRows)};

}  // namespace ksim
