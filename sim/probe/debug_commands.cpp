// Group CF: debug access to target memory (the production tests of the group come later).
#include <iterator>

#include "probe/command_table.h"
#include "target/target_mcu.h"

namespace ksim {
namespace {

constexpr uint16_t kMaxDebugRead = 64 - 9;

// CF, sub echo (or the refusing status), width, address (4), length (2), data
Bytes debugReadReply(const Packet &r, uint8_t echo, const Bytes &data)
{
    Bytes out{r.cmd(), echo, r.u8(2)};
    appendBe32(out, r.be32(3));
    appendBe16(out, r.be16(7));
    out.insert(out.end(), data.begin(), data.end());
    out.resize(9u + r.be16(7), 0xFF);
    return out;
}

Bytes debugRead(const Packet &r, FirmwareContext &ctx)
{
    const uint16_t length = r.be16(7);
    if (length > kMaxDebugRead)
        return malformed(r, ctx, "debug read length " + std::to_string(length) + ", at most " + std::to_string(kMaxDebugRead) + " fit a reply");
    Bytes data;
    const Status status = ctx.target.debugRead(r.be32(3), length, r.u8(2), data);
    return debugReadReply(r, status == Status::Ok ? r.sub() : statusByte(status), data);
}

Bytes debugWrite(const Packet &r, FirmwareContext &ctx)
{
    return statusReply(r.cmd(), ctx.target.debugWrite(r.be32(3), r.data(9), r.be16(7), r.u8(2)));
}

constexpr CommandRow kRows[] = {
    {0x00, "debug read", fixed(9, "CF 00 width addr(4) len(2)"), debugRead},
    {0x01, "debug write", countBe16(9, 7, "CF 01 width addr(4) len(2) data(len)"), debugWrite},
};

}  // namespace

const CommandGroup kDebugGroup{0xCF, "debug access", kRows, std::size(kRows), &kProbeTestRows};

}  // namespace ksim
