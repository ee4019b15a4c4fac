#include "probe/virtual_probe.h"

namespace ksim {

struct VirtualProbe::Impl {
    UsbIdentity identity{"Korvex", "Korvex Probe", "KV0000000001", "Korvex HID", "Korvex Bulk", Transport::Both};
};

VirtualProbe::VirtualProbe() : impl_(std::make_unique<Impl>()) {}
VirtualProbe::~VirtualProbe() = default;

bool VirtualProbe::configure(const std::string &key, const std::string &, std::string &error)
{
    error = "unknown key " + key;
    return false;
}

UsbIdentity VirtualProbe::usbIdentity() const { return impl_->identity; }

FirmwareAction VirtualProbe::handleRequest(const std::vector<uint8_t> &, bool) { return {}; }

bool VirtualProbe::loadState(const std::string &, std::string &error)
{
    error = "not implemented";
    return false;
}

bool VirtualProbe::saveState(const std::string &, std::string &error) const
{
    error = "not implemented";
    return false;
}

void VirtualProbe::dump(std::ostream &) const {}

}  // namespace ksim
