// VirtualProbe::configure: one row per configuration key.
#include <algorithm>
#include <iterator>
#include <sstream>

#include "probe/probe_impl.h"
#include "probe/text_values.h"

namespace ksim {
namespace {

using Impl = VirtualProbe::Impl;
using Apply = bool (*)(Impl &, const std::string &value, std::string &error);

struct ConfigKey {
    ConfigurationKey doc;
    Apply apply;
};

bool fail(std::string &error, const std::string &what)
{
    error = what;
    return false;
}

template <typename T>
bool number(const std::string &value, uint64_t max, T &out, std::string &error)
{
    const auto parsed = parseNumber(value, max);
    if (!parsed)
        return fail(error, "expected a number up to " + std::to_string(max) + ", got \"" + value + "\"");
    out = static_cast<T>(*parsed);
    return true;
}

bool flag(const std::string &value, bool &out, std::string &error)
{
    if (value != "0" && value != "1")
        return fail(error, "expected 0 or 1, got \"" + value + "\"");
    out = value == "1";
    return true;
}

// A 0/1 key that switches one property of the target or the module.
template <typename Part, void (Part::*set)(bool)>
bool switchOf(Part &part, const std::string &value, std::string &error)
{
    bool on = false;
    if (!flag(value, on, error))
        return false;
    (part.*set)(on);
    return true;
}

bool hexWordValue(const std::string &value, uint32_t &out, std::string &error)
{
    const auto parsed = parseHex(value, 0xFFFFFFFF);
    if (!parsed)
        return fail(error, "expected a 32-bit hex value, got \"" + value + "\"");
    out = static_cast<uint32_t>(*parsed);
    return true;
}

bool text(const std::string &value, std::string &out, std::string &)
{
    out = value;
    return true;
}

bool serial(Impl &p, const std::string &value, std::string &)
{
    p.identity.serial = value;
    if (!p.uidGiven)
        p.uidFromSerial();
    return true;
}

bool transport(Impl &p, const std::string &value, std::string &error)
{
    if (value == "hid")
        p.identity.transport = Transport::Hid;
    else if (value == "bulk")
        p.identity.transport = Transport::Bulk;
    else if (value == "both")
        p.identity.transport = Transport::Both;
    else
        return fail(error, "expected hid, bulk or both, got \"" + value + "\"");
    return true;
}

bool hardware(Impl &p, const std::string &value, std::string &error)
{
    if (!number(value, 255, p.settings.hardware, error))
        return false;
    p.updateBlePresence();
    return true;
}

bool firmware(Impl &p, const std::string &value, std::string &error)
{
    std::array<uint8_t, 3> parts{};
    std::istringstream in(value);
    std::string part;
    size_t count = 0;
    while (std::getline(in, part, '.')) {
        if (count == parts.size() || !number(part, 255, parts[count], error))
            return fail(error, "expected MAJOR.MINOR.PATCH (each 0-255), got \"" + value + "\"");
        ++count;
    }
    if (count != parts.size())
        return fail(error, "expected MAJOR.MINOR.PATCH (each 0-255), got \"" + value + "\"");
    p.settings.firmware = parts;
    return true;
}

bool uid(Impl &p, const std::string &value, std::string &error)
{
    const auto bytes = parseHexBytes(value);
    if (!bytes || bytes->size() != p.settings.uid.size())
        return fail(error, "expected 24 hex digits, got \"" + value + "\"");
    std::copy(bytes->begin(), bytes->end(), p.settings.uid.begin());
    p.uidGiven = true;
    return true;
}

bool series(Impl &p, const std::string &value, std::string &error)
{
    const auto parsed = parseSeries(value);
    if (!parsed || *parsed == 0)
        return fail(error, "expected a series 1-255 or a name like ZR32_S07, got \"" + value + "\"");
    p.target.setIdentity(*parsed, p.target.pid());
    p.retryPendingImages();
    return true;
}

bool pid(Impl &p, const std::string &value, std::string &error)
{
    const auto parsed = parseHex(value, 0xFFFFFFFF);
    if (!parsed)
        return fail(error, "expected a 32-bit hex product ID, got \"" + value + "\"");
    p.target.setIdentity(p.target.series(), static_cast<uint32_t>(*parsed));
    p.retryPendingImages();
    return true;
}

bool protection(Impl &p, const std::string &value, std::string &error)
{
    static constexpr uint8_t kCodes[] = {UserSystemData::kFapOff, UserSystemData::kFapLevel1, UserSystemData::kFapLevel2};
    uint8_t level = 0;
    if (!number(value, 2, level, error))
        return false;
    p.target.userSystemData().setLogical(0, kCodes[level]);
    return true;
}

bool spimEnabled(Impl &p, const std::string &value, std::string &error)
{
    bool on = false;
    if (!flag(value, on, error))
        return false;
    p.target.setSpimState(on, p.target.spimSize());
    return true;
}

bool spimSize(Impl &p, const std::string &value, std::string &error)
{
    uint32_t size = 0;
    if (!number(value, TargetMcu::kSpimWindow, size, error))
        return false;
    p.target.setSpimState(p.target.spimEnabled(), size);
    return true;
}

bool sramSize(Impl &p, const std::string &value, std::string &error)
{
    uint32_t size = 0;
    if (!number(value, 0x1000000, size, error))
        return false;
    p.target.sram().resize(size);
    p.retryPendingImages();
    return true;
}

bool image(const std::string &value, std::string &file, uint32_t &address, std::string &error)
{
    const auto parts = splitAt(value, ':');
    const auto parsed = parts ? parseHex(parts->first, 0xFFFFFFFF) : std::nullopt;
    if (!parsed || parts->second.empty())
        return fail(error, "expected ADDR:FILE with a hex address, got \"" + value + "\"");
    address = static_cast<uint32_t>(*parsed);
    file = parts->second;
    return true;
}

bool flashImage(Impl &p, const std::string &value, std::string &error)
{
    std::string file;
    uint32_t address = 0;
    std::vector<uint8_t> bytes;
    if (!image(value, file, address, error) || !readBinaryFile(file, bytes, error))
        return false;
    if (p.target.loadImage(address, bytes))
        return true;
    if (!TargetMcu::mappableOnSomeTarget(address, static_cast<uint32_t>(bytes.size())))
        return fail(error, "no memory of any target holds " + std::to_string(bytes.size()) + " bytes at " + hexWord(address));
    p.pendingImages.push_back({address, std::move(bytes), value});
    return true;
}

bool usdBytes(Impl &p, const std::string &value, std::string &error)
{
    UserSystemData &usd = p.target.userSystemData();
    const auto bytes = parseHexBytes(value);
    if (!bytes || bytes->size() > usd.logicalLength())
        return fail(error, "expected 1 to " + std::to_string(usd.logicalLength()) + " hex bytes, got \"" + value + "\"");
    for (size_t i = 0; i < bytes->size(); ++i)
        usd.setLogical(static_cast<uint32_t>(i), (*bytes)[i]);
    return true;
}

bool usdImage(Impl &p, const std::string &value, std::string &error)
{
    std::vector<uint8_t> bytes;
    if (!readBinaryFile(value, bytes, error))
        return false;
    UserSystemData &usd = p.target.userSystemData();
    if (bytes.size() != usd.image().size())
        return fail(error, value + " holds " + std::to_string(bytes.size()) + " bytes, the series' block " +
                               std::to_string(usd.image().size()));
    usd.setImage(bytes);
    return true;
}

bool bleFitted(Impl &p, const std::string &value, std::string &error)
{
    if (!flag(value, p.bleFitted, error))
        return false;
    p.updateBlePresence();
    return true;
}

bool bleImage(Impl &p, const std::string &value, std::string &error)
{
    const auto parts = splitAt(value, ':');
    uint8_t space = 0;
    std::string file;
    uint32_t address = 0;
    std::vector<uint8_t> bytes;
    if (!parts || !number(parts->first, BleModule::SpaceCount - 1, space, error))
        return fail(error, "expected SPACE:ADDR:FILE with space 0-2, got \"" + value + "\"");
    if (!image(parts->second, file, address, error) || !readBinaryFile(file, bytes, error))
        return false;
    SparseMemory &memory = p.ble.space(space);
    if (!memory.contains(address, static_cast<uint32_t>(bytes.size())))
        return fail(error, std::to_string(bytes.size()) + " bytes at " + hexWord(address) + " do not fit the BLE space");
    memory.store(address, bytes.data(), static_cast<uint32_t>(bytes.size()));
    return true;
}

bool bleCrc(Impl &p, const std::string &value, std::string &error)
{
    const auto parts = splitAt(value, ':');
    uint8_t index = 0;
    const auto crc = parts ? parseHex(parts->second, 0xFFFFFFFF) : std::nullopt;
    if (!parts || !crc || !number(parts->first, 255, index, error))
        return fail(error, "expected INDEX:HEX, got \"" + value + "\"");
    p.ble.setStoredCrc(index, static_cast<uint32_t>(*crc));
    return true;
}

bool suppliedId(Impl &p, const std::string &value, std::string &error)
{
    const auto parts = splitAt(value, ':');
    uint8_t seriesByte = 0;
    const auto pidValue = parts ? parseHex(parts->second, 0xFFFFFFFF) : std::nullopt;
    if (!parts || !pidValue || !number(parts->first, 255, seriesByte, error))
        return fail(error, "expected SERIES:PID, got \"" + value + "\"");
    p.target.supplyDeviceId({seriesByte, static_cast<uint32_t>(*pidValue)});
    return true;
}

bool flashLocks(Impl &p, const std::string &value, std::string &error)
{
    uint8_t mask = 0;
    if (!number(value, 15, mask, error))
        return false;
    for (uint8_t kind = TargetMcu::LockMain; kind <= TargetMcu::LockBoot; ++kind)
        p.target.setFlashLock(kind, (mask >> kind) & 1);
    return true;
}

bool spimConfig(Impl &p, const std::string &value, std::string &error)
{
    uint8_t config = 0;
    if (!number(value, 15, config, error))
        return false;
    p.target.setSpimSetup(config, p.target.spimLimit());
    return true;
}

bool spimLimit(Impl &p, const std::string &value, std::string &error)
{
    uint32_t limit = 0;
    if (!hexWordValue(value, limit, error))
        return false;
    p.target.setSpimSetup(p.target.spimConfig(), limit);
    return true;
}

bool vkpVersion(Impl &p, const std::string &value, std::string &error) { return hexWordValue(value, p.settings.vkpVersion, error); }

// Fault rules: TRIGGER, TRIGGER,VALUE or TRIGGER,OFFSET,VALUE.
struct FaultValue {
    bool hex;
    uint64_t max;
};

bool addFault(Impl &p, const std::string &value, FaultKind kind, std::vector<FaultValue> needed, std::string &error,
              uint32_t defaultValue = 0)
{
    std::vector<std::string> parts{""};
    for (char c : value) {
        if (c == ',')
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    std::string why;
    const auto trigger = FaultTrigger::parse(parts[0], why);
    if (!trigger)
        return fail(error, why);
    const bool optionalValue = kind == FaultKind::CorruptRead;
    if (parts.size() - 1 != needed.size() && !(optionalValue && parts.size() == 1))
        return fail(error, "expected TRIGGER" + std::string(needed.empty() ? "" : needed.size() == 1 ? ",VALUE" : ",OFFSET,VALUE") +
                               ", got \"" + value + "\"");
    std::vector<uint32_t> numbers;
    for (size_t i = 1; i < parts.size(); ++i) {
        const auto parsed = needed[i - 1].hex ? parseHex(parts[i], needed[i - 1].max) : parseNumber(parts[i], needed[i - 1].max);
        if (!parsed)
            return fail(error, "bad fault value \"" + parts[i] + "\"");
        numbers.push_back(static_cast<uint32_t>(*parsed));
    }
    FaultRule rule{*trigger, kind, defaultValue};
    if (numbers.size() == 2) {
        rule.offset = numbers[0];
        rule.value = numbers[1];
    } else if (numbers.size() == 1) {
        rule.value = numbers[0];
    }
    p.faults.add(rule);
    return true;
}

constexpr FaultValue kStatusByte{true, 255};

bool faultNoReply(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::NoReply, {}, e); }
bool faultWrongEcho(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::WrongEcho, {}, e); }
bool faultStatus(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::Status, {kStatusByte}, e); }
bool faultRefuse(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::Refuse, {kStatusByte}, e); }
bool faultReplyByte(Impl &p, const std::string &v, std::string &e)
{
    return addFault(p, v, FaultKind::ReplyByte, {{false, 63}, kStatusByte}, e);
}
bool faultDelay(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::Delay, {{false, 600000}}, e); }
bool faultCorruptRead(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::CorruptRead, {{false, 63}}, e); }
bool faultUnplug(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::Unplug, {}, e); }
bool faultUnplugAfter(Impl &p, const std::string &v, std::string &e) { return addFault(p, "#" + v, FaultKind::Unplug, {}, e); }

bool faultsClear(Impl &p, const std::string &value, std::string &error)
{
    if (value != "1")
        return fail(error, "expected 1");
    p.faults.clear();
    return true;
}

bool replyDelay(Impl &p, const std::string &v, std::string &e) { return number(v, 600000, p.replyDelayMs, e); }

bool staleReport(Impl &p, const std::string &value, std::string &error)
{
    const auto bytes = parseHexBytes(value);
    if (!bytes || bytes->size() > 64)
        return fail(error, "expected 1 to 64 hex bytes, got \"" + value + "\"");
    p.unsolicited.push_back(*bytes);
    return true;
}

bool staleReports(Impl &p, const std::string &value, std::string &error)
{
    unsigned count = 0;
    if (!number(value, 64, count, error))
        return false;
    for (unsigned i = 0; i < count; ++i)
        p.unsolicited.push_back({0xB0, 0x00, 0x05, 0x09, 0x09, 0x09, 0x09, 0x00});
    return true;
}

// Stored as a lambda per row: a row is the key's whole story, text and effect.
#define KSIM_SET(expr) [](Impl &p, const std::string &v, std::string &e) { return expr; }

// One row per key. --help prints these rows, so what a key is documented to do and what it does
// live side by side. Run-only keys describe a bench condition of one run and never belong to a
// saved state.
const ConfigKey kKeys[] = {
    {{"serial", "TEXT", "KV0000000001",
      "USB iSerialNumber. With --probes N the default serials are numbered: KV0000000001, "
      "KV0000000002, ... A serial set here also gives the probe ID (uid) unless uid is set.", false},
     KSIM_SET(serial(p, v, e))},
    {{"manufacturer", "TEXT", "Korvex", "USB iManufacturer.", false}, KSIM_SET(text(v, p.identity.manufacturer, e))},
    {{"product", "TEXT", "Korvex Probe", "USB iProduct.", false}, KSIM_SET(text(v, p.identity.product, e))},
    {{"hid_interface", "TEXT", "Korvex HID", "iInterface of the HID interface (the product string the library reports).", false},
     KSIM_SET(text(v, p.identity.hidInterfaceName, e))},
    {{"bulk_interface", "TEXT", "Korvex Bulk", "iInterface of the vendor-specific bulk interface.", false},
     KSIM_SET(text(v, p.identity.bulkInterfaceName, e))},
    {{"transport", "hid | bulk | both", "both", "The command interfaces the probe offers.", false}, transport},
    {{"hw_version", "0-255", "0", "Hardware byte of the version reply; 10 to 12 reach a BLE module.", false}, hardware},
    {{"fw_version", "MAJOR.MINOR.PATCH", "2.1.7", "Firmware version of the version reply (each part 0-255).", false}, firmware},
    {{"app_state", "0-255", "1", "Last byte of the version reply (1: application running).", false},
     KSIM_SET(number(v, 255, p.settings.appState, e))},
    {{"uid", "24 hex digits", "the serial's 12 characters", "The probe's 12-byte unique ID.", false}, uid},
    {{"swd_speed", "NUMBER", "1000000", "SWD clock reported by the probe, in Hz.", false},
     KSIM_SET(number(v, UINT32_MAX, p.settings.swdSpeed, e))},
    {{"reset_mode", "0-2", "0", "Reset mode reported by the probe.", false}, KSIM_SET(number(v, 2, p.settings.resetMode, e))},
    {{"series", "1-255 | ZR32_Snn | Snn", "4", "Series of the target MCU (4 is ZR32_S04: SPIM, no boot memory AP mode).", false},
     series},
    {{"pid", "HEX", "04000246", "Product ID of the target; it gives the flash size and the sector size (04000246: "
      "256 KiB flash, 2 KiB sectors).", false},
     pid},
    {{"protection", "0 | 1 | 2", "0", "Access protection level (option byte 0 becomes A5, FF or CC; nothing is erased).", false},
     protection},
    {{"protected_id_reply", "0 | 1", "1",
      "0: an access-protected target refuses the device-ID read with a two-byte status reply that "
      "carries no ID; 1: the refusal still carries the product ID.", false},
     KSIM_SET((switchOf<TargetMcu, &TargetMcu::setProtectedIdReply>(p.target, v, e)))},
    {{"ap_mode", "0 | 1", "0", "Boot memory AP mode (no effect on a series without it).", false},
     KSIM_SET((switchOf<TargetMcu, &TargetMcu::forceApMode>(p.target, v, e)))},
    {{"status_valid", "0 | 1", "1", "0: the target status reply says the probe cannot tell.", true},
     KSIM_SET((switchOf<TargetMcu, &TargetMcu::setStatusValid>(p.target, v, e)))},
    {{"target", "0 | 1", "1", "0: no MCU on the probe; every target command fails.", true},
     KSIM_SET((switchOf<TargetMcu, &TargetMcu::setAttached>(p.target, v, e)))},
    {{"spim_size", "BYTES (0x for hex)", "0", "Size of the external SPI memory window, at most 16 MiB.", false}, spimSize},
    {{"spim_enabled", "0 | 1", "0", "The SPIM is enabled.", false}, spimEnabled},
    {{"sram_size", "BYTES", "65536",
      "SRAM at 0x20000000 for debug access. The register windows at 0x40000000 and 0xE0000000 keep "
      "what debug writes put there and are not saved.", false},
     sramSize},
    {{"flash_image", "ADDR:FILE (ADDR hex)", "none",
      "Loads a binary file as is at ADDR: main flash, boot memory, SPIM, OTP or SRAM (repeatable). "
      "An image that fits only after a later series or pid key waits for it; one that fits no "
      "memory of the configured target is an error.", false},
     flashImage},
    {{"usd", "HEX bytes", "the series' factory block",
      "The first logical bytes of the user system data (byte 0 is the access protection byte), "
      "each stored with its complement; at most the series' length.", false},
     usdBytes},
    {{"usd_image", "FILE", "none",
      "The stored user system data block as byte/complement pairs, exactly twice the series' "
      "logical length (the layout of the console's binary user system data files).", false},
     usdImage},
    {{"ble", "0 | 1", "0", "A BLE module is fitted (reachable with hw_version 10-12).", false}, bleFitted},
    {{"ble_protected", "0 | 1", "0", "The BLE module's flash is protected.", false},
     KSIM_SET((switchOf<BleModule, &BleModule::forceProtected>(p.ble, v, e)))},
    {{"ble_image", "SPACE:ADDR:FILE", "none", "Loads a file into BLE space 0 (main), 1 (NVR) or 2 (RDN).", false}, bleImage},
    {{"ble_crc", "INDEX:HEX", "none", "A CRC value stored in the BLE module.", false}, bleCrc},
    {{"supplied_id", "SERIES:PID (hex)", "none", "The device ID given by the set-ID command.", false}, suppliedId},
    {{"flash_locks", "0-15", "0", "Lock bits: bit 1 main flash, bit 2 SPIM, bit 3 boot memory.", false}, flashLocks},
    {{"spim_config", "0-15", "0", "Remap and 4 x flash type of the last SPIM enable.", false}, spimConfig},
    {{"spim_limit", "HEX", "0", "FLASH_DA value of the last SPIM enable.", false}, spimLimit},
    {{"vkp_version", "HEX", "0", "Programmer version last told to the probe.", false}, vkpVersion},
    {{"ignore_writes", "0 | 1", "0",
      "1: main flash, boot memory and SPIM acknowledge writes and keep nothing (for verify failures).", true},
     KSIM_SET((switchOf<TargetMcu, &TargetMcu::setIgnoreWrites>(p.target, v, e)))},
    {{"reply_delay_ms", "NUMBER", "0", "Every reply comes this much later.", true}, replyDelay},
    {{"fault_no_reply", "TRIGGER", "none", "No reply at all.", true}, faultNoReply},
    {{"fault_wrong_echo", "TRIGGER", "none", "Byte 0 of the reply XOR 01.", true}, faultWrongEcho},
    {{"fault_status", "TRIGGER,BYTE (hex)", "none", "Byte 1 of the reply replaced.", true}, faultStatus},
    {{"fault_reply_byte", "TRIGGER,OFFSET,BYTE (hex)", "none",
      "Byte OFFSET (from 0) of the reply becomes BYTE, when the reply is that long.", true},
     faultReplyByte},
    {{"fault_refuse", "TRIGGER,BYTE (hex)", "none",
      "The probe answers [group, BYTE] and does not carry the command out: the target is "
      "unchanged, as when a real probe refuses.", true},
     faultRefuse},
    {{"fault_delay", "TRIGGER,MS", "none", "The reply comes MS later.", true}, faultDelay},
    {{"fault_corrupt_read", "TRIGGER[,INDEX]", "none", "Data byte INDEX (default 0) of a memory read reply inverted.", true},
     faultCorruptRead},
    {{"fault_unplug", "TRIGGER", "none", "The probe leaves the bus after this reply.", true}, faultUnplug},
    {{"fault_unplug_after", "N", "none", "Same as fault_unplug=#N.", true}, faultUnplugAfter},
    {{"faults_clear", "1", "none", "Drops every fault rule given before it.", true}, faultsClear},
    {{"stale_report", "HEX bytes", "none", "One report queued on the IN endpoint before the host opens the probe.", true},
     staleReport},
    {{"stale_reports", "N", "0", "N stale version replies (fw 9.9.9, hw 9) queued before the host opens the probe.", true},
     staleReports},
};

#undef KSIM_SET


}  // namespace

bool VirtualProbe::configure(const std::string &key, const std::string &value, std::string &error)
{
    auto it = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const ConfigKey &k) { return key == k.doc.name; });
    if (it == std::end(kKeys))
        return fail(error, "unknown key " + key);
    error.clear();
    if (it->apply(*impl_, value, error))
        return true;
    if (error.empty())
        error = "bad value \"" + value + "\"";
    error = key + ": " + error;
    return false;
}

const std::vector<ConfigurationKey> &VirtualProbe::configurationKeys()
{
    static const std::vector<ConfigurationKey> keys = [] {
        std::vector<ConfigurationKey> docs;
        for (const ConfigKey &key : kKeys)
            docs.push_back(key.doc);
        return docs;
    }();
    return keys;
}

namespace {

// Words of text on lines of at most 78 characters, each line after `indent` blanks.
std::string wrapped(const std::string &text, size_t indent)
{
    std::istringstream words(text);
    std::string out;
    std::string line;
    for (std::string word; words >> word;) {
        if (!line.empty() && indent + line.size() + 1 + word.size() > 78) {
            out += std::string(indent, ' ') + line + '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty())
        out += std::string(indent, ' ') + line + '\n';
    return out;
}

const char *const kKeyNotes[] = {
    "TRIGGER: #N (the N-th request, from 1), GG (every request of command group GG, hex), GG.SS "
    "(group and byte 1), GG.SS@K (only the K-th request of that command), GG.SS@K+ (the K-th and "
    "every later one), * (every request). Each fault key adds a rule; faults are never saved.",
    "Status bytes of the firmware: F1 done, F2 unknown or malformed request (with a diagnostic in the "
    "exchange log), F3 address, length or index out of range, F4 memory or feature missing, not "
    "enabled or not opened for writing, FE refused by access, erase/program, OTP-lock or BLE "
    "protection, FF refused otherwise (wrong key or password, level 2 that cannot be undone, OTP byte "
    "already programmed, no target). Refused memory reads keep their full length with the status in "
    "byte 1; other refusals are two-byte status replies.",
    "Keys apply in the order given (configuration files are read sorted by key): the option bytes "
    "keep their protection byte when a series change resizes them, and settings a series lacks are "
    "kept without effect.",
};

}  // namespace

std::string VirtualProbe::configurationHelp()
{
    std::string help;
    for (const ConfigKey &key : kKeys) {
        const ConfigurationKey &k = key.doc;
        help += "  " + std::string(k.name) + "=" + k.values + "  (default: " + k.defaultValue + ")\n";
        help += wrapped(std::string(k.meaning) + (k.runOnly ? " Not kept in a saved state." : ""), 6);
    }
    for (const char *note : kKeyNotes)
        help += "\n" + wrapped(note, 2);
    return help;
}

}  // namespace ksim
