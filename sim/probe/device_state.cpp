// VirtualProbe::saveState / loadState: device.ini of configuration keys plus one binary file per memory.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "probe/probe_impl.h"
#include "probe/text_values.h"

namespace ksim {
namespace {

namespace fs = std::filesystem;

constexpr const char *kSettingsFile = "device.ini";
constexpr const char *kLogFile = "exchanges.log";

struct MemoryFile {
    const char *name;
    SparseMemory &memory;
};

std::vector<MemoryFile> memoryFiles(VirtualProbe::Impl &p)
{
    return {
        {"main_flash.bin", p.target.mainFlash()},  {"boot_memory.bin", p.target.bootMemory()},
        {"spim.bin", p.target.spim()},             {"sram.bin", p.target.sram()},
        {"otp_data.bin", p.target.otp().data()},   {"otp_lock.bin", p.target.otp().locks()},
        {"ble_main.bin", p.ble.space(BleModule::Main)}, {"ble_nvr.bin", p.ble.space(BleModule::Nvr)},
        {"ble_rdn.bin", p.ble.space(BleModule::Rdn)},
        {"qspi.bin", p.store.qspi.array()},        {"probe_flash.bin", p.store.probeFlash},
    };
}

std::string transportName(Transport t)
{
    switch (t) {
    case Transport::Hid: return "hid";
    case Transport::Bulk: return "bulk";
    case Transport::Both: return "both";
    }
    return "both";
}

std::string hex32(uint32_t value) { return hexWord(value).substr(2); }

// The configuration keys that recreate this device, in an order where later keys do not undo earlier ones.
// Bench conditions (faults, ignored writes, a missing target, an undetermined status) belong to a run and
// are not saved.
std::string settingsText(const VirtualProbe::Impl &p)
{
    const ProbeSettings &s = p.settings;
    const TargetMcu &t = p.target;
    std::ostringstream out;
    out << "serial=" << p.identity.serial << "\nmanufacturer=" << p.identity.manufacturer
        << "\nproduct=" << p.identity.product << "\nhid_interface=" << p.identity.hidInterfaceName
        << "\nbulk_interface=" << p.identity.bulkInterfaceName << "\ntransport=" << transportName(p.identity.transport)
        << "\nhw_version=" << unsigned{s.hardware} << "\nfw_version=" << unsigned{s.firmware[0]} << '.'
        << unsigned{s.firmware[1]} << '.' << unsigned{s.firmware[2]} << "\napp_state=" << unsigned{s.appState}
        << "\nuid=" << hexBytes(s.uid.data(), s.uid.size()) << "\nswd_speed=" << s.swdSpeed
        << "\nreset_mode=" << unsigned{s.resetMode} << "\nvkp_version=" << hex32(s.vkpVersion)
        << "\nseries=" << unsigned{t.series()} << "\npid=" << hex32(t.pid()) << "\nap_mode=" << t.apMode()
        << "\nspim_size=" << t.spimSize()
        << "\nspim_enabled=" << t.spimEnabled() << "\nspim_config=" << unsigned{t.spimConfig()}
        << "\nspim_limit=" << hex32(t.spimLimit()) << "\nsram_size=" << t.sram().size()
        << "\nprotected_id_reply=" << t.protectedIdReply() << "\nble=" << p.bleFitted << "\nble_protected=" << p.ble.isProtected();
    unsigned locks = 0;
    for (uint8_t kind = TargetMcu::LockMain; kind <= TargetMcu::LockBoot; ++kind)
        locks |= unsigned{t.flashLocked(kind)} << kind;
    out << "\nflash_locks=" << locks;
    if (t.hasSuppliedId())
        out << "\nsupplied_id=" << unsigned{t.suppliedId().series} << ':' << hex32(t.suppliedId().pid);
    for (const auto &[index, crc] : p.ble.storedCrcs())
        out << "\nble_crc=" << unsigned{index} << ':' << hex32(crc);
    out << '\n';
    return out.str();
}

bool writeFileAtomically(const fs::path &path, const char *data, size_t size, std::string &error)
{
    error.clear();
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(data, static_cast<std::streamsize>(size));
        out.flush();
        if (!out)
            error = "cannot write " + temporary.string();
    }
    std::error_code ec;
    if (error.empty())
        fs::rename(temporary, path, ec);
    if (ec)
        error = "cannot replace " + path.string() + ": " + ec.message();
    if (error.empty())
        return true;
    fs::remove(temporary, ec);  // a failed save leaves the old file and nothing else
    return false;
}

bool saveMemory(const fs::path &path, const SparseMemory &memory, std::string &error)
{
    const std::vector<uint8_t> bytes = memory.read(0, memory.usedExtent());
    return writeFileAtomically(path, reinterpret_cast<const char *>(bytes.data()), bytes.size(), error);
}

bool loadMemory(const fs::path &path, SparseMemory &memory, std::string &error)
{
    memory.reset();
    if (!fs::exists(path))
        return true;
    std::vector<uint8_t> bytes;
    if (!readBinaryFile(path.string(), bytes, error))
        return false;
    if (bytes.size() > memory.size()) {
        error = path.string() + " holds " + std::to_string(bytes.size()) + " bytes, the memory only " + std::to_string(memory.size());
        return false;
    }
    memory.store(0, bytes.data(), static_cast<uint32_t>(bytes.size()));
    return true;
}

bool isRunOnly(const std::string &key)
{
    const auto &keys = VirtualProbe::configurationKeys();
    return std::any_of(keys.begin(), keys.end(), [&](const ConfigurationKey &k) { return k.runOnly && key == k.name; });
}

}  // namespace

bool VirtualProbe::saveState(const std::string &dir, std::string &error) const
{
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = "cannot create " + dir + ": " + ec.message();
        return false;
    }
    Impl &p = *impl_;
    const std::string settings = settingsText(p);
    if (!writeFileAtomically(fs::path(dir) / kSettingsFile, settings.data(), settings.size(), error))
        return false;
    const auto &usd = p.target.userSystemData().image();
    if (!writeFileAtomically(fs::path(dir) / "usd.bin", reinterpret_cast<const char *>(usd.data()), usd.size(), error))
        return false;
    for (const MemoryFile &file : memoryFiles(p)) {
        if (!saveMemory(fs::path(dir) / file.name, file.memory, error))
            return false;
    }
    std::ostringstream log;
    dumpExchangeLog(log);
    return writeFileAtomically(fs::path(dir) / kLogFile, log.str().data(), log.str().size(), error);
}

bool VirtualProbe::loadState(const std::string &dir, std::string &error)
{
    const fs::path settingsPath = fs::path(dir) / kSettingsFile;
    std::error_code ec;
    if (fs::exists(dir, ec) && !fs::is_directory(dir, ec)) {
        error = dir + " is not a directory";
        return false;
    }
    std::vector<uint8_t> text;
    if (!readBinaryFile(settingsPath.string(), text, error)) {
        error = "no saved device in " + dir + " (" + error + ")";
        return false;
    }
    std::istringstream in(std::string(text.begin(), text.end()));
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#')
            continue;
        const auto keyValue = splitAt(line, '=');
        std::string why;
        if (keyValue && isRunOnly(keyValue->first))
            why = keyValue->first + ": a setting of one run (faults and bench conditions), never part of a saved state";
        else if (!keyValue)
            why = "expected key=value";
        if (!why.empty() || !configure(keyValue->first, keyValue->second, why)) {
            error = settingsPath.string() + ":" + std::to_string(number) + ": " + why;
            return false;
        }
    }
    Impl &p = *impl_;
    for (const MemoryFile &file : memoryFiles(p)) {
        if (!loadMemory(fs::path(dir) / file.name, file.memory, error))
            return false;
    }
    std::vector<uint8_t> usd;
    const fs::path usdPath = fs::path(dir) / "usd.bin";
    if (fs::exists(usdPath)) {
        if (!readBinaryFile(usdPath.string(), usd, error))
            return false;
        if (usd.size() != p.target.userSystemData().image().size()) {
            error = usdPath.string() + " holds " + std::to_string(usd.size()) + " bytes, the series needs " +
                    std::to_string(p.target.userSystemData().image().size());
            return false;
        }
        p.target.userSystemData().setImage(usd);
    }
    const fs::path logPath = fs::path(dir) / kLogFile;
    std::vector<uint8_t> log;
    if (fs::exists(logPath)) {
        if (!readBinaryFile(logPath.string(), log, error))
            return false;
        p.lastRunLog = std::string(log.begin(), log.end());
    }
    return true;
}

}  // namespace ksim
