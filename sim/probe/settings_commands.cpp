// Group B0, the probe's own hardware settings (target supply, timing, buzzer, USART bridge, offline
// ISP parameters, display firmware version), and group CF, the probe's own memory, its factory
// reset and its production tests.
#include <algorithm>
#include <iterator>

#include "probe/command_table.h"
#include "probe/probe_store.h"
#include "target/target_mcu.h"

namespace ksim {
namespace {

constexpr uint8_t kMaxLevel = 3;
constexpr uint32_t kMachineTimeMin = 10;
constexpr uint32_t kMachineTimeMax = 1000;
constexpr uint8_t kFactoryResetCode[] = {0x52, 0x53, 0x54, 0x21};
constexpr uint8_t kPinTestStart = 0x55;
constexpr uint8_t kPinTestSysReset = 0xAA;
constexpr uint8_t kLedTest = 0x66;
constexpr uint8_t kLcdTestStart = 0x55;
constexpr uint32_t kPinTestPattern = 0x00FF00FF;  // every second pin answered high
constexpr uint16_t kMaxProbeRead = 64 - 9;

Bytes ok(const Packet &r) { return statusReply(r.cmd(), Status::Ok); }
Bytes byteReply(const Packet &r, uint8_t value) { return dataReply(r.cmd(), r.sub(), {value}); }
Bytes wordReply(const Packet &r, uint32_t value)
{
    Bytes data;
    appendBe32(data, value);
    return dataReply(r.cmd(), r.sub(), data);
}

// One handler per stored byte: read it, or write it up to a limit.
template <uint8_t ProbeStore::*Field>
Bytes readField(const Packet &r, FirmwareContext &ctx) { return byteReply(r, ctx.store.*Field); }

template <uint8_t ProbeStore::*Field, uint8_t Max>
Bytes writeField(const Packet &r, FirmwareContext &ctx) { return storeSetting(r, ctx, ctx.store.*Field, Max, "value"); }

Bytes readStableTime(const Packet &r, FirmwareContext &ctx) { return wordReply(r, ctx.store.targetStableTime); }
Bytes writeStableTime(const Packet &r, FirmwareContext &ctx)
{
    if (r.be32(3) == 0)
        return malformed(r, ctx, "target stable time 0");
    ctx.store.targetStableTime = r.be32(3);
    return ok(r);
}

Bytes readVoltageLevel(const Packet &r, FirmwareContext &ctx)
{
    const uint8_t sel = r.u8(3);
    auto it = ctx.store.voltageLevels.find(sel);
    if (it == ctx.store.voltageLevels.end())
        return statusReply(r.cmd(), Status::OutOfRange);
    return dataReply(r.cmd(), r.sub(), {sel, static_cast<uint8_t>(it->second >> 8), static_cast<uint8_t>(it->second)});
}

Bytes writeVoltageLevel(const Packet &r, FirmwareContext &ctx)
{
    if (r.u8(3) > kMaxLevel)
        return statusReply(r.cmd(), Status::OutOfRange);
    ctx.store.voltageLevels[r.u8(3)] = r.be16(4);
    return ok(r);
}

// The supply the probe measures: the selected level while the supply is switched on, else 0.
Bytes readTvcc(const Packet &r, FirmwareContext &ctx)
{
    const ProbeStore &s = ctx.store;
    auto level = s.voltageLevels.find(s.voltageCurrentLevel);
    const uint16_t millivolts = s.voltageState && level != s.voltageLevels.end() ? level->second : 0;
    Bytes data{s.voltageState, static_cast<uint8_t>(millivolts >> 8), static_cast<uint8_t>(millivolts), 0, 0, 0, 0, 0, 0};
    return dataReply(r.cmd(), r.sub(), data);
}

Bytes readIspBps(const Packet &r, FirmwareContext &ctx) { return wordReply(r, ctx.store.ispUartBps); }
Bytes writeIspBps(const Packet &r, FirmwareContext &ctx)
{
    ctx.store.ispUartBps = r.be32(3);
    return ok(r);
}

Bytes readMachine(const Packet &r, FirmwareContext &ctx)
{
    const ProbeStore &s = ctx.store;
    Bytes data{s.machineA, s.machineB};
    appendBe32(data, s.machineC);
    appendBe32(data, s.machineD);
    return dataReply(r.cmd(), r.sub(), data);
}

Bytes writeMachine(const Packet &r, FirmwareContext &ctx)
{
    const uint32_t c = r.be32(5), d = r.be32(9);
    auto inRange = [](uint32_t t) { return t >= kMachineTimeMin && t <= kMachineTimeMax; };
    if (r.u8(3) > 1 || r.u8(4) > 1 || !inRange(c) || !inRange(d))
        return malformed(r, ctx, "machine programming state " + hexBytes(r.data(3), 10) + ", expected 0-1, 0-1, 10-1000, 10-1000");
    ctx.store.machineA = r.u8(3);
    ctx.store.machineB = r.u8(4);
    ctx.store.machineC = c;
    ctx.store.machineD = d;
    return ok(r);
}

Bytes readDisplayVersion(const Packet &r, FirmwareContext &ctx)
{
    return dataReply(r.cmd(), r.sub(), Bytes(ctx.store.displayVersion.begin(), ctx.store.displayVersion.end()));
}

using S = ProbeStore;

constexpr CommandRow kSettingsRows[] = {
    {0x0B, "read offline download state", fixed(2, "B0 0B"), readField<&S::offlineDownloadState>},
    {0x0C, "read target stable time", fixed(2, "B0 0C"), readStableTime},
    {0x0D, "write target stable time", param(4, "B0 0D 04 time(4)"), writeStableTime},
    {0x0E, "read voltage level value", param(1, "B0 0E 01 sel"), readVoltageLevel},
    {0x0F, "write voltage level value", param(3, "B0 0F 03 sel value(2)"), writeVoltageLevel},
    {0x10, "read voltage state", fixed(2, "B0 10"), readField<&S::voltageState>},
    {0x11, "write voltage state", param(1, "B0 11 01 state"), writeField<&S::voltageState, 1>},
    {0x12, "read voltage current level", fixed(2, "B0 12"), readField<&S::voltageCurrentLevel>},
    {0x13, "write voltage current level", param(1, "B0 13 01 level"), writeField<&S::voltageCurrentLevel, kMaxLevel>},
    {0x14, "read target supply voltage", fixed(2, "B0 14"), readTvcc},
    {0x15, "read offline download type", fixed(2, "B0 15"), readField<&S::offlineDownloadType>},
    {0x16, "write offline download type", param(1, "B0 16 01 type"), writeField<&S::offlineDownloadType, 0xFF>},
    {0x17, "read offline ISP UART rate", fixed(2, "B0 17"), readIspBps},
    {0x18, "write offline ISP UART rate", param(4, "B0 18 04 bps(4)"), writeIspBps},
    {0x19, "read offline ISP auto-boot", fixed(2, "B0 19"), readField<&S::ispAutoBoot>},
    {0x1A, "write offline ISP auto-boot", param(1, "B0 1A 01 on"), writeField<&S::ispAutoBoot, 1>},
    {0x1B, "read buzzer state", fixed(2, "B0 1B"), readField<&S::buzzer>},
    {0x1C, "write buzzer state", param(1, "B0 1C 01 state"), writeField<&S::buzzer, 1>},
    {0x1D, "read machine programming state", fixed(2, "B0 1D"), readMachine},
    {0x1E, "write machine programming state", param(10, "B0 1E 0A a b c(4) d(4)"), writeMachine},
    {0x1F, "read USB-to-USART state", fixed(2, "B0 1F"), readField<&S::usbToUsart>},
    {0x20, "write USB-to-USART state", param(1, "B0 20 01 state"), writeField<&S::usbToUsart, 1>},
    {0x22, "read display firmware version", fixed(2, "B0 22"), readDisplayVersion},
    {0x24, "read USART auto mode", fixed(2, "B0 24"), readField<&S::usartAutoMode>},
    {0x25, "write USART auto mode", param(1, "B0 25 01 mode"), writeField<&S::usartAutoMode, 1>},
};

// ---- group CF ----

Bytes readProbeMemory(const Packet &r, FirmwareContext &ctx)
{
    const uint32_t address = r.be32(3);
    const uint16_t length = r.be16(7);
    if (r.u8(2) != 8)
        return malformed(r, ctx, "probe memory width " + hexByte(r.u8(2)) + ", expected 08");
    if (length > kMaxProbeRead)
        return malformed(r, ctx, "probe memory read length " + std::to_string(length) + ", at most " + std::to_string(kMaxProbeRead));
    const SparseMemory &flash = ctx.store.probeFlash;
    const uint32_t offset = address - ProbeStore::kProbeFlashBase;
    const bool inside = address >= ProbeStore::kProbeFlashBase && flash.contains(offset, length);
    Bytes out{r.cmd(), inside ? r.sub() : statusByte(Status::OutOfRange), r.u8(2)};
    appendBe32(out, address);
    appendBe16(out, length);
    if (inside) {
        const Bytes data = flash.read(offset, length);
        out.insert(out.end(), data.begin(), data.end());
    }
    out.resize(9u + length, 0xFF);
    return out;
}

Bytes factoryReset(const Packet &r, FirmwareContext &ctx)
{
    if (r.be16(2) != sizeof kFactoryResetCode)
        return malformed(r, ctx, "confirmation length " + std::to_string(r.be16(2)) + ", expected 4");
    if (!std::equal(std::begin(kFactoryResetCode), std::end(kFactoryResetCode), r.data(4)))
        return malformed(r, ctx, "confirmation code " + hexBytes(r.data(4), 4) + ", expected " + hexBytes(kFactoryResetCode, 4));
    ProbeStore &s = ctx.store;
    QspiFlash qspi = std::move(s.qspi);  // on the target's board, not in the probe
    const uint32_t resets = s.resets + 1;
    s = ProbeStore{};
    s.qspi = std::move(qspi);
    s.resets = resets;
    return ok(r);
}

// CF 04: start the pin test (answers the pins' levels), reset out of it, or blink the LEDs; the
// last two leave the probe without a word.
Bytes pinTest(const Packet &r, FirmwareContext &ctx)
{
    switch (r.u8(3)) {
    case kPinTestStart:
        ctx.store.pinTest = true;
        return wordReply(r, kPinTestPattern);
    case kPinTestSysReset:
        ctx.store.pinTest = false;
        ++ctx.store.resets;
        return {};
    case kLedTest:
        ctx.store.ledTest = true;
        return {};
    default:
        return malformed(r, ctx, "test code " + hexByte(r.u8(3)) + ", expected 55, AA or 66");
    }
}

Bytes displayTest(const Packet &r, FirmwareContext &ctx)
{
    if (r.u8(3) != kLcdTestStart)
        return malformed(r, ctx, "display test code " + hexByte(r.u8(3)) + ", expected 55");
    ctx.store.lcdTest = true;
    return ok(r);
}

constexpr CommandRow kTestRows[] = {
    {0x02, "read probe memory", fixed(9, "CF 02 08 addr(4) len(2)"), readProbeMemory},
    {0x03, "factory data reset", countBe16(4, 2, "CF 03 00 04 code(4)"), factoryReset},
    {0x04, "pin test, reset, LED test", param(1, "CF 04 01 code"), pinTest},
    {0x07, "display test", param(1, "CF 07 01 55"), displayTest},
};

}  // namespace

const CommandGroup kProbeSettingsRows{0xB0, "probe hardware settings", kSettingsRows, std::size(kSettingsRows)};
const CommandGroup kProbeTestRows{0xCF, "probe memory and tests", kTestRows, std::size(kTestRows)};

}  // namespace ksim
