// VirtualProbe::dump: the device state and the exchange log as text (layout in virtual_probe.h).
#include <algorithm>
#include <ostream>

#include "probe/probe_impl.h"

namespace ksim {
namespace {

constexpr uint32_t kRow = 16;

// The rows that hold a non-blank byte.
void dumpMemory(std::ostream &out, const char *name, uint32_t base, const SparseMemory &memory)
{
    const uint32_t size = memory.size();
    out << "memory " << name << " base=" << hexWord(base) << " size=" << hexWord(size) << '\n';
    memory.forEachPage([&](uint32_t offset, const std::vector<uint8_t> &page) {
        for (uint32_t row = 0; row < page.size() && offset + row < size; row += kRow) {
            const uint8_t *bytes = page.data() + row;
            if (std::all_of(bytes, bytes + kRow, [&](uint8_t b) { return b == memory.fillValue(); }))
                continue;
            out << "  " << hexWord(base + offset + row).substr(2) << ": " << hexBytes(bytes, kRow) << '\n';
        }
    });
}

// As it travels: over HID a reply is a zero-padded 64-byte report, as the host's record shows it too.
std::string shownReply(const Bytes &reply, bool viaHid)
{
    constexpr size_t kReport = 64;
    if (!viaHid || reply.size() >= kReport)
        return hexBytes(reply);
    Bytes report = reply;
    report.resize(kReport, 0);
    return hexPacket(report, true);
}

void dumpExchange(std::ostream &out, const Exchange &e)
{
    if (e.index == 0)
        out << "  unsolicited\n";
    else
        out << "  #" << e.index << (e.viaHid ? " hid " : " bulk ") << (e.command.empty() ? "?" : e.command) << '\n'
            << "    > " << hexPacket(e.request, e.viaHid) << '\n';
    out << "    < " << (e.reply ? shownReply(*e.reply, e.viaHid) : "(no reply)");
    if (e.delayMs != 0)
        out << " after " << e.delayMs << " ms";
    if (e.unplug)
        out << ", then unplugged";
    out << '\n';
    if (!e.diagnostic.empty())
        out << "    ! " << e.diagnostic << '\n';
    for (const std::string &fault : e.faults)
        out << "    fault " << fault << '\n';
}

}  // namespace

void VirtualProbe::dump(std::ostream &out) const
{
    const Impl &p = *impl_;
    const ProbeSettings &s = p.settings;
    const TargetMcu &t = p.target;
    out << "probe serial=" << p.identity.serial << " hw=" << unsigned{s.hardware} << " fw=" << unsigned{s.firmware[0]} << '.'
        << unsigned{s.firmware[1]} << '.' << unsigned{s.firmware[2]} << " app_state=" << unsigned{s.appState}
        << " unplugged=" << p.unplugged << '\n';
    out << "settings swd_speed=" << s.swdSpeed << " reset_mode=" << unsigned{s.resetMode} << " vkp_version="
        << hexWord(s.vkpVersion) << " key=" << hexBytes(s.transferKey) << " button=" << unsigned{s.buttonFree}
        << " ble_spi_rate=" << unsigned{s.bleSpiRate} << " probe_encryption=" << s.probeEncryption
        << " target_encryption=" << s.targetEncryption << '\n';
    out << "target attached=" << t.attached() << " series=" << unsigned{t.series()} << " pid=" << hexWord(t.pid()) << " flash=" << t.flashSize()
        << " sector=" << t.sectorSize() << " protection=" << t.protectionLevel() << " run_state=" << unsigned{t.runState()}
        << " ap_mode=" << t.apMode() << " spim_enabled=" << t.spimEnabled() << " spim_size=" << t.spimSize()
        << " spim_config=0x" << hexByte(t.spimConfig()) << " spim_limit=" << hexWord(t.spimLimit())
        << " ignore_writes=" << t.ignoreWrites();
    if (t.hasSuppliedId())
        out << " supplied_id=" << unsigned{t.suppliedId().series} << ':' << hexWord(t.suppliedId().pid);
    out << '\n';
    for (const auto &image : p.pendingImages)
        out << "pending_image address=" << hexWord(image.address) << " bytes=" << image.bytes.size() << " from=" << image.source << '\n';
    dumpMemory(out, "main_flash", TargetMcu::kFlashBase, t.mainFlash());
    dumpMemory(out, "boot_memory", t.info().bootAddress, t.bootMemory());
    dumpMemory(out, "spim", TargetMcu::kSpimBase, t.spim());  // the whole chip; spim_size is the window
    dumpMemory(out, "sram", TargetMcu::kSramBase, t.sram());
    dumpMemory(out, "otp_data", t.otp().dataAddress(), t.otp().data());
    dumpMemory(out, "otp_lock", t.otp().lockAddress(), t.otp().locks());
    const auto &usd = t.userSystemData().image();
    out << "usd length=" << usd.size() / 2 << '\n';
    for (size_t row = 0; row < usd.size(); row += kRow)
        out << "  " << hexByte(static_cast<uint8_t>(row >> 8)) << hexByte(static_cast<uint8_t>(row)) << ": "
            << hexBytes(usd.data() + row, std::min<size_t>(kRow, usd.size() - row)) << '\n';
    out << "ble present=" << p.ble.present() << " connected=" << p.ble.connected() << " space="
        << unsigned{p.ble.selectedSpace()} << " protected=" << p.ble.isProtected();
    for (const auto &[index, crc] : p.ble.storedCrcs())
        out << " crc" << unsigned{index} << '=' << hexWord(crc);
    out << '\n';
    dumpMemory(out, "ble_main", 0, p.ble.space(BleModule::Main));
    dumpMemory(out, "ble_nvr", 0, p.ble.space(BleModule::Nvr));
    dumpMemory(out, "ble_rdn", 0, p.ble.space(BleModule::Rdn));
    dumpMemory(out, "qspi", 0, p.store.qspi.array());
    dumpMemory(out, "probe_flash", ProbeStore::kProbeFlashBase, p.store.probeFlash);
    if (p.lastRunLog)
        out << *p.lastRunLog;
    else
        dumpExchangeLog(out);
}

void VirtualProbe::dumpExchangeLog(std::ostream &out) const
{
    out << "exchanges " << impl_->log.size() << '\n';
    for (const Exchange &e : impl_->log)
        dumpExchange(out, e);
}

}  // namespace ksim
