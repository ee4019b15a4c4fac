// Group B1: target status, device ID, flash size, run state, connection state.
#include <iterator>

#include "probe/command_table.h"
#include "target/target_mcu.h"

namespace ksim {
namespace {

constexpr uint8_t kStatusKey = 0xA5;
constexpr uint8_t kValidFlag = 0x01;
constexpr uint8_t kProtectedFlag = 0x02;
constexpr uint8_t kLevel2Flag = 0x04;

Bytes targetStatus(const Packet &r, FirmwareContext &ctx)
{
    if (r.u8(3) != kStatusKey)
        return malformed(r, ctx, "status parameter " + hexByte(r.u8(3)) + ", expected A5");
    uint8_t flags = 0;
    if (ctx.target.statusValid() && ctx.target.attached()) {
        flags |= kValidFlag;
        if (ctx.target.protectionLevel() != 0)
            flags |= kProtectedFlag;
        if (ctx.target.protectionLevel() == 2)
            flags |= kLevel2Flag;
    }
    return dataReply(r.cmd(), r.sub(), {flags});
}

Bytes deviceId(const Packet &r, FirmwareContext &ctx)
{
    DeviceId id;
    const Status status = ctx.target.readDeviceId(id);
    if (status == Status::Protected && !ctx.target.protectedIdReply())
        return statusReply(r.cmd(), status);
    // A refused read keeps the full length: the product ID register stays readable.
    Bytes data{id.series};
    appendBe32(data, id.pid);
    Bytes reply = dataReply(r.cmd(), r.sub(), data);
    if (status != Status::Ok)
        reply[1] = statusByte(status);
    return reply;
}

Bytes flashSize(const Packet &r, FirmwareContext &ctx)
{
    if (!ctx.target.attached())
        return statusReply(r.cmd(), Status::Failed);
    Bytes data;
    appendBe16(data, static_cast<uint16_t>(ctx.target.flashSize() / 1024));
    return dataReply(r.cmd(), r.sub(), data);
}

Bytes runState(const Packet &r, FirmwareContext &ctx)
{
    const Status status = ctx.target.setRunState(r.u8(3));
    if (status == Status::BadRequest)
        return malformed(r, ctx, "run state " + hexByte(r.u8(3)) + ", expected 00 to 02");
    return statusReply(r.cmd(), status);
}

Bytes connectState(const Packet &r, FirmwareContext &ctx)
{
    return dataReply(r.cmd(), r.sub(), {static_cast<uint8_t>(ctx.target.runState() != TargetMcu::Idle)});
}

Bytes setDeviceId(const Packet &r, FirmwareContext &ctx)
{
    ctx.target.supplyDeviceId({r.u8(3), r.be32(4)});
    return statusReply(r.cmd(), Status::Ok);
}

constexpr CommandRow kRows[] = {
    {0x00, "target status", param(1, "B1 00 01 A5"), targetStatus},
    {0x01, "read device ID", fixed(2, "B1 01"), deviceId},
    {0x02, "read flash size", fixed(2, "B1 02"), flashSize},
    {0x03, "set target state", param(1, "B1 03 01 state"), runState},
    {0x04, "read connection state", fixed(2, "B1 04"), connectState},
    {0x05, "set device ID", param(5, "B1 05 05 series pid(4)"), setDeviceId},
};

}  // namespace

const CommandGroup kTargetInfoGroup{0xB1, "target status and identity", kRows, std::size(kRows)};

}  // namespace ksim
