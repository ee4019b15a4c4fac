// Devices with scripted firmware for the tests of the USB layer.
#pragma once

#include "probe/virtual_probe.h"
#include "usb/emulated_device.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace ksim_test {

using Bytes = std::vector<uint8_t>;
constexpr uint8_t kHidClass = 3;
constexpr uint8_t kVendorClass = 0xFF;

inline ksim::UsbIdentity identity(const std::string &serial, ksim::Transport transport = ksim::Transport::Both)
{
    return {"Maker", "Probe", serial, "Probe HID", "Probe Bulk", transport};
}

// Answers every request with a tag byte and its first 8 bytes, so a reply names its request.
inline ksim::FirmwareAction echo(const Bytes &packet, uint8_t tag = 0xEC)
{
    ksim::FirmwareAction action;
    Bytes reply{tag};
    reply.insert(reply.end(), packet.begin(), packet.begin() + std::min<size_t>(packet.size(), 8));
    action.reply = reply;
    return action;
}

inline ksim::FirmwareAction echoRequest(const Bytes &packet, bool) { return echo(packet); }

// The last request an echoing device received, and the way it came.
struct LastRequest {
    Bytes packet;
    bool viaHid = false;
};

inline ksim::RequestHandler recordingEcho(LastRequest &last)
{
    return [&last](const Bytes &packet, bool viaHid) {
        last = {packet, viaHid};
        return echo(packet);
    };
}

// A HID report: the bytes, zero-padded to 64.
inline Bytes report(Bytes head)
{
    head.resize(64, 0);
    return head;
}

}  // namespace ksim_test
