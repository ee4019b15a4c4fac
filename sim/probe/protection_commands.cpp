// Group B5 (access and erase/program protection, security library areas, CRC, boot memory AP mode)
// and group B6 (flash lock, SPIM enable).
#include <iterator>

#include "probe/command_table.h"
#include "target/target_mcu.h"

namespace ksim {
namespace {

constexpr uint8_t kEnable = 0x01;
constexpr uint8_t kDisable = 0x00;

Bytes accessProtection(const Packet &r, FirmwareContext &ctx)
{
    const Status status = ctx.target.setAccessProtection(r.u8(3));
    if (status == Status::BadRequest)
        return malformed(r, ctx, "protection code " + hexByte(r.u8(3)) + ", expected FF, CC or A5");
    return statusReply(r.cmd(), status);
}

// B5 01 04 FF switches erase/program protection on (the request names no sectors, so all of them);
// B5 01 04 00 00 00 00 switches it off everywhere.
size_t eraseProgramLength(const Bytes &request)
{
    if (request.size() < 4 || request[2] != 0x04)
        return 0;
    return request[3] == 0xFF ? 4 : 7;
}

Bytes eraseProgramProtection(const Packet &r, FirmwareContext &ctx)
{
    if (r.size() == 4)
        return statusReply(r.cmd(), ctx.target.setEraseProgramProtection(true));
    if (r.be32(3) != 0)
        return malformed(r, ctx, "sector mask " + hexBytes(r.data(3), 4) + ", expected 00 00 00 00");
    return statusReply(r.cmd(), ctx.target.setEraseProgramProtection(false));
}

Bytes securityLibraryState(const Packet &r, FirmwareContext &ctx)
{
    const SecurityLibrary &lib = ctx.target.securityLibrary();
    Bytes data{static_cast<uint8_t>(lib.enabled)};
    for (uint16_t value : {lib.a, lib.b, lib.c, uint16_t{0}})
        appendBe16(data, value);
    return dataReply(r.cmd(), r.sub(), data);
}

// Security library requests: byte 3 switches (01 on, 00 off), bytes 4-7 hold the password.
bool validLibrarySwitch(const Packet &r)
{
    const uint32_t password = r.be32(4);
    return password != 0 && password != 0xFFFFFFFF && (r.u8(3) == kEnable || r.u8(3) == kDisable);
}

// Enables the library with `wanted` and the request's password, or disables it, as byte 3 says.
Bytes switchLibrary(const Packet &r, FirmwareContext &ctx, SecurityLibrary &lib, SecurityLibrary wanted)
{
    if (!validLibrarySwitch(r))
        return malformed(r, ctx, "switch " + hexByte(r.u8(3)) + " password " + hexBytes(r.data(4), 4) +
                                     ": expected 00/01 and a password other than 0 and FFFFFFFF");
    wanted.password = r.be32(4);
    if (r.u8(3) == kDisable)
        return statusReply(r.cmd(), ctx.target.disableSecurityLibrary(lib, wanted.password));
    return statusReply(r.cmd(), ctx.target.enableSecurityLibrary(lib, wanted));
}

Bytes securityLibrary(const Packet &r, FirmwareContext &ctx)
{
    SecurityLibrary wanted;
    wanted.a = r.be16(8);
    wanted.b = r.be16(10);
    wanted.c = r.be16(12);
    return switchLibrary(r, ctx, ctx.target.securityLibrary(), wanted);
}

Bytes flashCrc(const Packet &r, FirmwareContext &ctx)
{
    const uint8_t n = r.u8(2);
    if (n != 2 && n != 4)
        return malformed(r, ctx, "parameter count " + hexByte(n) + ", expected 02 (sector) or 04 (start, count)");
    const uint16_t start = r.be16(3);
    const uint16_t count = n == 4 ? r.be16(5) : 1;
    uint32_t crc = 0;
    const Status status = ctx.target.flashCrc(start, count, crc);
    if (status != Status::Ok)
        return statusReply(r.cmd(), status);
    Bytes data;
    appendBe16(data, start);
    appendBe32(data, crc);
    return dataReply(r.cmd(), r.sub(), data);
}

Bytes systemLibraryState(const Packet &r, FirmwareContext &ctx)
{
    const SecurityLibrary &lib = ctx.target.systemSecurityLibrary();
    return dataReply(r.cmd(), r.sub(), {static_cast<uint8_t>(lib.enabled), static_cast<uint8_t>(lib.a)});
}

Bytes systemLibrary(const Packet &r, FirmwareContext &ctx)
{
    SecurityLibrary wanted;
    wanted.a = r.u8(8);
    return switchLibrary(r, ctx, ctx.target.systemSecurityLibrary(), wanted);
}

Bytes readApMode(const Packet &r, FirmwareContext &ctx)
{
    if (ctx.target.protectionLevel() != 0)
        return statusReply(r.cmd(), Status::Protected);
    return dataReply(r.cmd(), r.sub(), {static_cast<uint8_t>(ctx.target.apMode())});
}

Bytes writeApMode(const Packet &r, FirmwareContext &ctx) { return statusReply(r.cmd(), ctx.target.setApMode(r.be32(3))); }

Bytes flashLock(const Packet &r, FirmwareContext &ctx)
{
    const Status status = ctx.target.setFlashLock(r.u8(3), r.sub() == 0x01);
    if (status == Status::BadRequest)
        return malformed(r, ctx, "lock kind " + hexByte(r.u8(3)) + ", expected 01 to 03");
    return statusReply(r.cmd(), status);
}

Bytes enableSpim(const Packet &r, FirmwareContext &ctx)
{
    return statusReply(r.cmd(), ctx.target.enableSpim(r.u8(3), r.be32(4), r.be32(8)));
}

constexpr CommandRow kProtectionRows[] = {
    {0x00, "access protection", param(1, "B5 00 01 code"), accessProtection},
    {0x01, "erase/program protection", custom(eraseProgramLength, "B5 01 04 FF | B5 01 04 00 00 00 00"), eraseProgramProtection},
    {0x02, "read security library state", fixed(2, "B5 02"), securityLibraryState},
    {0x03, "security library", param(0x0B, "B5 03 0B switch password(4) a(2) b(2) c(2)"), securityLibrary},
    {0x06, "flash CRC", countU8(3, 2, "B5 06 04 start(2) count(2) | B5 06 02 sector(2)"), flashCrc},
    {0x07, "read system security library state", fixed(2, "B5 07"), systemLibraryState},
    {0x08, "system security library", param(6, "B5 08 06 switch password(4) value"), systemLibrary},
    {0x09, "read boot memory AP mode", fixed(2, "B5 09"), readApMode},
    {0x0A, "set boot memory AP mode", param(4, "B5 0A 04 key(4)"), writeApMode},
};

constexpr CommandRow kFlashControlRows[] = {
    {0x00, "unlock flash", param(1, "B6 00 01 kind"), flashLock},
    {0x01, "lock flash", param(1, "B6 01 01 kind"), flashLock},
    {0x02, "enable SPIM", param(9, "B6 02 09 config limit(4) size(4)"), enableSpim},
};

}  // namespace

const CommandGroup kProtectionGroup{0xB5, "protection, security library, CRC, AP mode", kProtectionRows, std::size(kProtectionRows)};
const CommandGroup kFlashControlGroup{0xB6, "flash lock and SPIM", kFlashControlRows, std::size(kFlashControlRows)};

}  // namespace ksim
