#include "probe/virtual_probe.h"

#include "probe/firmware.h"
#include "probe/probe_impl.h"

#include <algorithm>

namespace ksim {

VirtualProbe::Impl::Impl() { uidFromSerial(); }

void VirtualProbe::Impl::uidFromSerial()
{
    const std::string &serial = identity.serial;
    settings.uid.fill(0);
    std::copy_n(serial.begin(), std::min(serial.size(), settings.uid.size()), settings.uid.begin());
}

void VirtualProbe::Impl::retryPendingImages()
{
    auto still = std::remove_if(pendingImages.begin(), pendingImages.end(),
                                [this](const PendingImage &image) { return target.loadImage(image.address, image.bytes); });
    pendingImages.erase(still, pendingImages.end());
}

void VirtualProbe::Impl::reportPendingImages()
{
    for (const PendingImage &image : pendingImages) {
        Exchange note;
        note.command = "flash_image";
        note.diagnostic = image.source + ": " + std::to_string(image.bytes.size()) + " bytes at " + hexWord(image.address) +
                          " fit no memory of this target; not loaded";
        log.push_back(std::move(note));
    }
    pendingImages.clear();
}

bool VirtualProbe::configurationComplete(std::string &error) const
{
    if (impl_->pendingImages.empty())
        return true;
    const Impl::PendingImage &image = impl_->pendingImages.front();
    error = "flash_image=" + image.source + ": " + std::to_string(image.bytes.size()) + " bytes at " + hexWord(image.address) +
            " fit no memory of the configured target (series " + std::to_string(impl_->target.series()) + ", pid " +
            hexWord(impl_->target.pid()) + ")";
    return false;
}

VirtualProbe::VirtualProbe() : impl_(std::make_unique<Impl>()) {}
VirtualProbe::~VirtualProbe() = default;

UsbIdentity VirtualProbe::usbIdentity() const { return impl_->identity; }

FirmwareAction VirtualProbe::handleRequest(const std::vector<uint8_t> &packet, bool viaHid)
{
    Impl &p = *impl_;
    p.reportPendingImages();
    p.lastRunLog.reset();
    Exchange exchange;
    exchange.index = ++p.requests;
    exchange.viaHid = viaHid;
    exchange.request = packet;
    FirmwareAction action;
    if (p.unplugged) {
        exchange.diagnostic = "the probe was unplugged; request not answered";
        p.log.push_back(std::move(exchange));
        return action;
    }
    // A refusing probe answers without carrying the command out; other faults act on that answer too.
    DecodedExchange decoded;
    if (const auto status = p.faults.refusal(exchange.index, packet, exchange.faults)) {
        decoded = {{packet.empty() ? uint8_t{0} : packet[0], *status}, describeRequest(packet), {}};
    } else {
        FirmwareContext ctx{p.settings, p.target, p.ble, p.store, {}};
        decoded = runFirmware(packet, viaHid, ctx);
    }
    if (!decoded.reply.empty())  // the commands that reset or blink the probe answer nothing
        action.reply = std::move(decoded.reply);
    action.delayMs = p.replyDelayMs;
    const std::vector<std::string> applied = p.faults.apply(exchange.index, packet, action);
    exchange.faults.insert(exchange.faults.end(), applied.begin(), applied.end());
    p.unplugged = action.unplug;
    exchange.reply = action.reply;
    exchange.delayMs = action.delayMs;
    exchange.unplug = action.unplug;
    exchange.command = std::move(decoded.command);
    exchange.diagnostic = std::move(decoded.diagnostic);
    p.log.push_back(std::move(exchange));
    return action;
}

std::vector<std::vector<uint8_t>> VirtualProbe::takeUnsolicitedReports()
{
    std::vector<std::vector<uint8_t>> reports(impl_->unsolicited.begin(), impl_->unsolicited.end());
    impl_->unsolicited.clear();
    impl_->lastRunLog.reset();
    for (const auto &report : reports) {
        Exchange exchange;
        exchange.reply = report;
        exchange.command = "unsolicited report";
        impl_->log.push_back(std::move(exchange));
    }
    return reports;
}

const std::vector<Exchange> &VirtualProbe::exchangeLog() const { return impl_->log; }
void VirtualProbe::clearExchangeLog() { impl_->log.clear(); }
uint64_t VirtualProbe::requestCount() const { return impl_->requests; }
bool VirtualProbe::unplugged() const { return impl_->unplugged; }
TargetMcu &VirtualProbe::target() { return impl_->target; }
const TargetMcu &VirtualProbe::target() const { return impl_->target; }
BleModule &VirtualProbe::ble() { return impl_->ble; }
const BleModule &VirtualProbe::ble() const { return impl_->ble; }
ProbeSettings &VirtualProbe::settings() { return impl_->settings; }
const FaultPlan &VirtualProbe::faultPlan() const { return impl_->faults; }

}  // namespace ksim
