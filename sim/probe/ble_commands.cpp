// Group BE: the BLE module of series ZR32_S17, reached over the probe's SPI link.
#include <iterator>

#include "probe/command_table.h"
#include "target/ble_module.h"

namespace ksim {
namespace {

constexpr uint8_t kConnect = 0x00;
constexpr uint8_t kDisconnect = 0x01;

Bytes connection(const Packet &r, FirmwareContext &ctx)
{
    switch (r.u8(3)) {
    case kConnect: return statusReply(r.cmd(), ctx.ble.connect());
    case kDisconnect: return statusReply(r.cmd(), ctx.ble.disconnect());
    default: return malformed(r, ctx, "connection code " + hexByte(r.u8(3)) + ", expected 00 or 01");
    }
}

Bytes selectSpace(const Packet &r, FirmwareContext &ctx) { return statusReply(r.cmd(), ctx.ble.selectSpace(r.u8(3))); }

Bytes storeCrc(const Packet &r, FirmwareContext &ctx) { return statusReply(r.cmd(), ctx.ble.storeCrc(r.u8(3), r.be32(4))); }

Bytes sendData(const Packet &r, FirmwareContext &ctx)
{
    return statusReply(r.cmd(), ctx.ble.program(r.be32(2), r.data(8), r.be16(6)));
}

Bytes readData(const Packet &r, FirmwareContext &ctx)
{
    return answerMemoryRead(r, ctx, [&ctx](uint32_t address, uint32_t length, Bytes &data) { return ctx.ble.read(address, length, data); });
}

Bytes erase(const Packet &r, FirmwareContext &ctx)
{
    if (r.sub() == BleModule::WholeSpace && (r.be32(2) != 0 || r.be16(6) != 0))
        return malformed(r, ctx, "whole-space erase with address " + hexBytes(r.data(2), 4) + " count " + hexBytes(r.data(6), 2) + ", expected zeros");
    return statusReply(r.cmd(), ctx.ble.erase(r.sub(), r.be32(2), r.be16(6)));
}

Bytes writeRegister(const Packet &r, FirmwareContext &ctx) { return statusReply(r.cmd(), ctx.ble.writeRegister(r.u8(2), r.u8(3))); }

// BE, 09 (or the refusing status), register, value
Bytes readRegister(const Packet &r, FirmwareContext &ctx)
{
    if (!ctx.ble.present())
        return {r.cmd(), statusByte(Status::Unavailable), r.u8(2), 0x00};
    return {r.cmd(), r.sub(), r.u8(2), ctx.ble.readRegister(r.u8(2))};
}

Bytes spiCommand(const Packet &r, FirmwareContext &ctx) { return statusReply(r.cmd(), ctx.ble.spiCommand(r.u8(2))); }

// BE, sub (or the refusing status), 01, value
Bytes moduleByte(const Packet &r, FirmwareContext &ctx, uint8_t value)
{
    if (!ctx.ble.present() || !ctx.ble.connected())
        return {r.cmd(), statusByte(Status::Unavailable), 0x01, 0x00};
    return dataReply(r.cmd(), r.sub(), {value});
}

Bytes flashSpace(const Packet &r, FirmwareContext &ctx) { return moduleByte(r, ctx, ctx.ble.selectedSpace()); }
Bytes protectionStatus(const Packet &r, FirmwareContext &ctx) { return moduleByte(r, ctx, ctx.ble.protectionStatus()); }
Bytes checkCrc(const Packet &r, FirmwareContext &ctx) { return moduleByte(r, ctx, ctx.ble.checkCrc()); }

Bytes protection(const Packet &r, FirmwareContext &ctx)
{
    const Status status = ctx.ble.setProtection(r.u8(3));
    if (status == Status::BadRequest)
        return malformed(r, ctx, "protection code " + hexByte(r.u8(3)) + ", expected FF or A5");
    return statusReply(r.cmd(), status);
}

constexpr Layout kEraseLayout = fixed(8, "BE type addr(4) count(2)");

constexpr CommandRow kRows[] = {
    {0x00, "BLE connection", param(1, "BE 00 01 code"), connection},
    {0x01, "BLE select flash space", param(1, "BE 01 01 space"), selectSpace},
    {0x02, "BLE store CRC", param(5, "BE 02 05 index crc(4)"), storeCrc},
    {0x03, "BLE write flash", countBe16(8, 6, "BE 03 addr(4) len(2) data(len)"), sendData},
    {0x04, "BLE read flash", fixed(8, "BE 04 addr(4) len(2)"), readData},
    {0x05, "BLE erase space", kEraseLayout, erase},
    {0x06, "BLE erase sectors", kEraseLayout, erase},
    {0x07, "BLE erase blocks", kEraseLayout, erase},
    {0x08, "BLE write register", fixed(4, "BE 08 reg value"), writeRegister},
    {0x09, "BLE read register", fixed(3, "BE 09 reg"), readRegister},
    {0x0A, "BLE SPI command", fixed(3, "BE 0A cmd"), spiCommand},
    {0x0B, "BLE read flash space", fixed(2, "BE 0B"), flashSpace},
    {0x0C, "BLE protection", param(1, "BE 0C 01 code"), protection},
    {0x0D, "BLE read protection", fixed(2, "BE 0D"), protectionStatus},
    {0x0E, "BLE check CRC", fixed(2, "BE 0E"), checkCrc},
};

}  // namespace

const CommandGroup kBleGroup{0xBE, "BLE module", kRows, std::size(kRows)};

}  // namespace ksim
