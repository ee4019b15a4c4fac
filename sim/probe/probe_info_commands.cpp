// Group B0 (probe information and settings) and group BB (encrypted transfer switches).
#include <iterator>

#include "probe/command_table.h"

namespace ksim {
namespace {

constexpr uint8_t kSwitchOn = 0x01;
constexpr uint8_t kSwitchOff = 0x02;

Bytes ok(const Packet &r) { return statusReply(r.cmd(), Status::Ok); }
Bytes byteReply(const Packet &r, uint8_t value) { return dataReply(r.cmd(), r.sub(), {value}); }
Bytes wordReply(const Packet &r, uint32_t value)
{
    Bytes data;
    appendBe32(data, value);
    return dataReply(r.cmd(), r.sub(), data);
}

Bytes version(const Packet &r, FirmwareContext &ctx)
{
    const ProbeSettings &s = ctx.settings;
    return dataReply(r.cmd(), r.sub(), {s.firmware[0], s.firmware[1], s.firmware[2], s.hardware, s.appState});
}

Bytes readKey(const Packet &r, FirmwareContext &ctx)
{
    Bytes key(ctx.settings.transferKey.begin(), ctx.settings.transferKey.begin() + 4);
    return dataReply(r.cmd(), r.sub(), key);
}

Bytes writeKey(const Packet &r, FirmwareContext &ctx)
{
    const uint8_t n = r.u8(2);
    if (n < 6 || n > 24)
        return malformed(r, ctx, "key length " + std::to_string(n) + ", expected 6 to 24");
    ctx.settings.transferKey.assign(r.data(3), r.data(3) + n);
    return ok(r);
}

Bytes readSwdSpeed(const Packet &r, FirmwareContext &ctx) { return wordReply(r, ctx.settings.swdSpeed); }
Bytes writeSwdSpeed(const Packet &r, FirmwareContext &ctx)
{
    ctx.settings.swdSpeed = r.be32(3);
    return ok(r);
}

Bytes readResetMode(const Packet &r, FirmwareContext &ctx) { return byteReply(r, ctx.settings.resetMode); }
Bytes writeResetMode(const Packet &r, FirmwareContext &ctx) { return storeSetting(r, ctx, ctx.settings.resetMode, 2, "reset mode"); }

Bytes readUid(const Packet &r, FirmwareContext &ctx)
{
    return dataReply(r.cmd(), r.sub(), Bytes(ctx.settings.uid.begin(), ctx.settings.uid.end()));
}

Bytes readButton(const Packet &r, FirmwareContext &ctx) { return byteReply(r, ctx.settings.buttonFree); }
Bytes writeButton(const Packet &r, FirmwareContext &ctx) { return storeSetting(r, ctx, ctx.settings.buttonFree, 1, "button state"); }

Bytes readOfflineStep(const Packet &r, FirmwareContext &ctx) { return byteReply(r, ctx.settings.offlineStep); }

Bytes swdAutoDetect(const Packet &r, FirmwareContext &ctx)
{
    if (r.u8(3) != 0x01)
        return malformed(r, ctx, "auto-detect parameter " + hexByte(r.u8(3)) + ", expected 01");
    ctx.settings.swdAutoDetected = true;
    return ok(r);
}

Bytes writeVkpVersion(const Packet &r, FirmwareContext &ctx)
{
    ctx.settings.vkpVersion = r.be32(3);
    return ok(r);
}

Bytes readBleSpiRate(const Packet &r, FirmwareContext &ctx) { return byteReply(r, ctx.settings.bleSpiRate); }
Bytes writeBleSpiRate(const Packet &r, FirmwareContext &ctx) { return storeSetting(r, ctx, ctx.settings.bleSpiRate, 0xFF, "BLE SPI rate"); }

Bytes encryptionSwitch(const Packet &r, FirmwareContext &ctx, bool &flag)
{
    const uint8_t code = r.u8(3);
    if (code != kSwitchOn && code != kSwitchOff)
        return malformed(r, ctx, "switch code " + hexByte(code) + ", expected 01 (on) or 02 (off)");
    flag = code == kSwitchOn;
    return ok(r);
}

Bytes probeEncryption(const Packet &r, FirmwareContext &ctx) { return encryptionSwitch(r, ctx, ctx.settings.probeEncryption); }
Bytes targetEncryption(const Packet &r, FirmwareContext &ctx) { return encryptionSwitch(r, ctx, ctx.settings.targetEncryption); }

constexpr CommandRow kProbeInfoRows[] = {
    {0x00, "version and application state", fixed(2, "B0 00"), version},
    {0x01, "read transfer key", fixed(2, "B0 01"), readKey},
    {0x02, "write transfer key", countU8(3, 2, "B0 02 n key(n)"), writeKey},
    {0x03, "read SWD speed", fixed(2, "B0 03"), readSwdSpeed},
    {0x04, "write SWD speed", param(4, "B0 04 04 speed(4)"), writeSwdSpeed},
    {0x05, "read reset mode", fixed(2, "B0 05"), readResetMode},
    {0x06, "write reset mode", param(1, "B0 06 01 mode"), writeResetMode},
    {0x07, "read probe ID", fixed(2, "B0 07"), readUid},
    {0x08, "read button state", fixed(2, "B0 08"), readButton},
    {0x09, "write button state", param(1, "B0 09 01 state"), writeButton},
    {0x0A, "read offline step state", fixed(2, "B0 0A"), readOfflineStep},
    {0x21, "SWD auto-detect", param(1, "B0 21 01 01"), swdAutoDetect},
    {0x23, "write VKP version", param(4, "B0 23 04 version(4)"), writeVkpVersion},
    {0x26, "read BLE SPI rate", fixed(2, "B0 26"), readBleSpiRate},
    {0x27, "write BLE SPI rate", param(1, "B0 27 01 rate"), writeBleSpiRate},
};

constexpr CommandRow kEncryptionRows[] = {
    {0x00, "probe encrypted transfer", param(1, "BB 00 01 code"), probeEncryption},
    {0x01, "target encrypted transfer", param(1, "BB 01 01 code"), targetEncryption},
};

}  // namespace

const CommandGroup kProbeInfoGroup{0xB0, "probe information and settings", kProbeInfoRows, std::size(kProbeInfoRows),
                                   &kProbeSettingsRows};
const CommandGroup kEncryptionGroup{0xBB, "encrypted transfer", kEncryptionRows, std::size(kEncryptionRows),
                                    &kOfflineCodeRows};

}  // namespace ksim
