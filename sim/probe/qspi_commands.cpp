// Group C2: the QSPI controller of the target and the QSPI flash wired to it. The register and
// word requests carry the address right after the sub-command; the memory requests use the memory
// form (address at 2, length or count at 6).
#include <algorithm>
#include <iterator>

#include "probe/command_table.h"
#include "probe/probe_store.h"
#include "target/target_mcu.h"

namespace ksim {
namespace {

Bytes ok(const Packet &r) { return statusReply(r.cmd(), Status::Ok); }

// Nothing on the SWD pins: the controller cannot be reached.
bool noTarget(FirmwareContext &ctx) { return !ctx.target.attached(); }

Bytes writeWords(const Packet &r, FirmwareContext &ctx, size_t words)
{
    if (noTarget(ctx))
        return statusReply(r.cmd(), Status::Failed);
    for (size_t i = 0; i < words; ++i)
        ctx.store.qspi.writeRegister(r.be32(2) + 4 * static_cast<uint32_t>(i), r.be32(6 + 4 * i));
    return ok(r);
}

Bytes bitWrite(const Packet &r, FirmwareContext &ctx) { return writeWords(r, ctx, 2); }
Bytes writeOnly(const Packet &r, FirmwareContext &ctx) { return writeWords(r, ctx, 1); }

Bytes readOnly(const Packet &r, FirmwareContext &ctx)
{
    Bytes out{r.cmd(), noTarget(ctx) ? statusByte(Status::Failed) : r.sub()};
    appendBe32(out, r.be32(2));
    appendBe32(out, ctx.store.qspi.readRegister(r.be32(2)));
    return out;
}

Bytes setState(const Packet &r, FirmwareContext &ctx)
{
    ctx.store.qspi.state = r.u8(3);
    return ok(r);
}

Bytes setBase(const Packet &r, FirmwareContext &ctx)
{
    ctx.store.qspi.registerBase = r.be32(3);
    return ok(r);
}

Bytes readMemory(const Packet &r, FirmwareContext &ctx)
{
    return answerMemoryRead(r, ctx, [&](uint32_t address, uint16_t length, Bytes &data) {
        return noTarget(ctx) ? Status::Failed : ctx.store.qspi.read(address, length, data);
    });
}

Bytes writeMemory(const Packet &r, FirmwareContext &ctx)
{
    if (noTarget(ctx))
        return statusReply(r.cmd(), Status::Failed);
    return statusReply(r.cmd(), ctx.store.qspi.program(r.be32(2), r.data(8), r.be16(6)));
}

Bytes erase(const Packet &r, FirmwareContext &ctx, uint32_t unit)
{
    if (noTarget(ctx))
        return statusReply(r.cmd(), Status::Failed);
    return statusReply(r.cmd(), ctx.store.qspi.erase(r.be32(2), r.be16(6), unit));
}

Bytes sectorErase(const Packet &r, FirmwareContext &ctx) { return erase(r, ctx, QspiFlash::kSectorSize); }
Bytes blockErase(const Packet &r, FirmwareContext &ctx) { return erase(r, ctx, QspiFlash::kBlockSize); }

Bytes chipErase(const Packet &r, FirmwareContext &ctx)
{
    if (r.be32(2) != 0 || r.be16(6) != 0)
        return malformed(r, ctx, "chip erase carries " + hexBytes(r.data(2), 6) + ", expected zeros");
    if (noTarget(ctx))
        return statusReply(r.cmd(), Status::Failed);
    ctx.store.qspi.eraseChip();
    return ok(r);
}

Bytes config(const Packet &r, FirmwareContext &ctx)
{
    std::copy_n(r.data(3), QspiFlash::kConfigSize, ctx.store.qspi.config.begin());
    return ok(r);
}

Bytes customCommand(const Packet &r, FirmwareContext &ctx)
{
    if (noTarget(ctx))
        return statusReply(r.cmd(), Status::Failed);
    std::copy_n(r.data(3), QspiFlash::kCustomSize, ctx.store.qspi.lastCustomCommand.begin());
    ++ctx.store.qspi.customCommands;
    return ok(r);
}

constexpr CommandRow kRows[] = {
    {0x00, "QSPI write two words", fixed(14, "C2 00 addr(4) word(4) word(4)"), bitWrite},
    {0x01, "QSPI write one word", fixed(10, "C2 01 addr(4) word(4)"), writeOnly},
    {0x02, "QSPI read one word", fixed(6, "C2 02 addr(4)"), readOnly},
    {0x03, "QSPI state", param(1, "C2 03 01 state"), setState},
    {0x04, "QSPI register base", param(4, "C2 04 04 addr(4)"), setBase},
    {0x05, "QSPI read", fixed(8, "C2 05 addr(4) len(2)"), readMemory},
    {0x06, "QSPI write", countBe16(8, 6, "C2 06 addr(4) len(2) data(len)"), writeMemory},
    {0x07, "QSPI sector erase", fixed(8, "C2 07 addr(4) count(2)"), sectorErase},
    {0x08, "QSPI block erase", fixed(8, "C2 08 addr(4) count(2)"), blockErase},
    {0x09, "QSPI chip erase", fixed(8, "C2 09 00 00 00 00 00 00"), chipErase},
    {0x0A, "QSPI configuration block", param(18, "C2 0A 12 block(18)"), config},
    {0x0B, "QSPI custom command", param(17, "C2 0B 11 block(17)"), customCommand},
};

}  // namespace

const CommandGroup kQspiGroup{0xC2, "external QSPI flash", kRows, std::size(kRows)};

}  // namespace ksim
