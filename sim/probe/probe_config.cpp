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
    const char *name;
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

// Fault rules: TRIGGER or TRIGGER,VALUE.
bool addFault(Impl &p, const std::string &value, FaultKind kind, bool needsValue, uint64_t defaultValue, uint64_t max,
              std::string &error)
{
    const auto parts = splitAt(value, ',');
    const std::string triggerText = parts ? parts->first : value;
    const auto trigger = FaultTrigger::parse(triggerText);
    if (!trigger)
        return fail(error, "expected a trigger #N, GG, GG.SS or *, got \"" + triggerText + "\"");
    uint64_t parameter = defaultValue;
    if (needsValue && !parts)
        return fail(error, "expected TRIGGER,VALUE, got \"" + value + "\"");
    if (parts) {
        const auto parsed = kind == FaultKind::Status ? parseHex(parts->second, max) : parseNumber(parts->second, max);
        if (!parsed)
            return fail(error, "bad fault value \"" + parts->second + "\"");
        parameter = *parsed;
    }
    p.faults.add({*trigger, kind, static_cast<uint32_t>(parameter)});
    return true;
}

bool faultNoReply(Impl &p, const std::string &v, std::string &e) { return !splitAt(v, ',') && addFault(p, v, FaultKind::NoReply, false, 0, 0, e); }
bool faultWrongEcho(Impl &p, const std::string &v, std::string &e) { return !splitAt(v, ',') && addFault(p, v, FaultKind::WrongEcho, false, 0, 0, e); }
bool faultStatus(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::Status, true, 0, 255, e); }
bool faultDelay(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::Delay, true, 0, 600000, e); }
bool faultCorruptRead(Impl &p, const std::string &v, std::string &e) { return addFault(p, v, FaultKind::CorruptRead, false, 0, 63, e); }
bool faultUnplug(Impl &p, const std::string &v, std::string &e) { return !splitAt(v, ',') && addFault(p, v, FaultKind::Unplug, false, 0, 0, e); }
bool faultUnplugAfter(Impl &p, const std::string &v, std::string &e)
{
    uint64_t n = 0;
    if (!number(v, UINT32_MAX, n, e) || n == 0)
        return fail(e, "expected a request count from 1, got \"" + v + "\"");
    return addFault(p, "#" + std::to_string(n), FaultKind::Unplug, false, 0, 0, e);
}

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

const ConfigKey kKeys[] = {
    {"serial", [](Impl &p, const std::string &v, std::string &e) { return text(v, p.identity.serial, e); }},
    {"manufacturer", [](Impl &p, const std::string &v, std::string &e) { return text(v, p.identity.manufacturer, e); }},
    {"product", [](Impl &p, const std::string &v, std::string &e) { return text(v, p.identity.product, e); }},
    {"hid_interface", [](Impl &p, const std::string &v, std::string &e) { return text(v, p.identity.hidInterfaceName, e); }},
    {"bulk_interface", [](Impl &p, const std::string &v, std::string &e) { return text(v, p.identity.bulkInterfaceName, e); }},
    {"transport", transport},
    {"hw_version", hardware},
    {"fw_version", firmware},
    {"app_state", [](Impl &p, const std::string &v, std::string &e) { return number(v, 255, p.settings.appState, e); }},
    {"uid", uid},
    {"swd_speed", [](Impl &p, const std::string &v, std::string &e) { return number(v, UINT32_MAX, p.settings.swdSpeed, e); }},
    {"reset_mode", [](Impl &p, const std::string &v, std::string &e) { return number(v, 2, p.settings.resetMode, e); }},
    {"series", series},
    {"pid", pid},
    {"protection", protection},
    {"ap_mode", [](Impl &p, const std::string &v, std::string &e) { return switchOf<TargetMcu, &TargetMcu::forceApMode>(p.target, v, e); }},
    {"status_valid", [](Impl &p, const std::string &v, std::string &e) { return switchOf<TargetMcu, &TargetMcu::setStatusValid>(p.target, v, e); }},
    {"target", [](Impl &p, const std::string &v, std::string &e) { return switchOf<TargetMcu, &TargetMcu::setAttached>(p.target, v, e); }},
    {"spim_size", spimSize},
    {"spim_enabled", spimEnabled},
    {"sram_size", sramSize},
    {"flash_image", flashImage},
    {"ble", bleFitted},
    {"ble_protected", [](Impl &p, const std::string &v, std::string &e) { return switchOf<BleModule, &BleModule::forceProtected>(p.ble, v, e); }},
    {"ble_image", bleImage},
    {"ble_crc", bleCrc},
    {"supplied_id", suppliedId},
    {"flash_locks", flashLocks},
    {"spim_config", spimConfig},
    {"spim_limit", spimLimit},
    {"vkp_version", vkpVersion},
    {"ignore_writes", [](Impl &p, const std::string &v, std::string &e) { return switchOf<TargetMcu, &TargetMcu::setIgnoreWrites>(p.target, v, e); }},
    {"reply_delay_ms", replyDelay},
    {"fault_no_reply", faultNoReply},
    {"fault_wrong_echo", faultWrongEcho},
    {"fault_status", faultStatus},
    {"fault_delay", faultDelay},
    {"fault_corrupt_read", faultCorruptRead},
    {"fault_unplug", faultUnplug},
    {"fault_unplug_after", faultUnplugAfter},
    {"faults_clear", faultsClear},
    {"stale_report", staleReport},
    {"stale_reports", staleReports},
};

}  // namespace

bool VirtualProbe::configure(const std::string &key, const std::string &value, std::string &error)
{
    auto it = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const ConfigKey &k) { return key == k.name; });
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

std::string VirtualProbe::configurationHelp()
{
    std::string help;
    for (const ConfigKey &key : kKeys)
        help += std::string(key.name) + "\n";
    return help;
}

}  // namespace ksim
