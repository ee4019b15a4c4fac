// One emulated Korvex probe with the target MCU (and BLE module) behind it.
// The USB layer (sim/usb) owns the wire; this object owns everything the probe and target know.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace ksim {

enum class Transport { Hid, Bulk, Both };

// What the probe does with one request: answer (or stay silent), possibly late, possibly vanishing.
struct FirmwareAction {
    std::optional<std::vector<uint8_t>> reply;  // bytes queued on the IN endpoint; nothing = the probe NAKs
    unsigned delayMs = 0;                       // the reply becomes readable this much later
    bool unplug = false;                        // the probe disappears from the bus after this request
};

// USB identity of the probe, read by the USB layer to build descriptors and strings.
struct UsbIdentity {
    std::string manufacturer;
    std::string product;
    std::string serial;
    std::string hidInterfaceName;
    std::string bulkInterfaceName;
    Transport transport = Transport::Both;
};

class VirtualProbe {
public:
    VirtualProbe();
    ~VirtualProbe();
    VirtualProbe(const VirtualProbe &) = delete;
    VirtualProbe &operator=(const VirtualProbe &) = delete;

    // Configuration by key/value (the same keys serve command-line options and INI files).
    // Returns false and fills error for an unknown key or a bad value.
    bool configure(const std::string &key, const std::string &value, std::string &error);

    UsbIdentity usbIdentity() const;

    // One request as it arrived on the OUT endpoint: a 64-byte zero-padded report over HID,
    // exactly the bytes sent over bulk.
    FirmwareAction handleRequest(const std::vector<uint8_t> &packet, bool viaHid);

    // Whole device state (memories, user system data, OTP, protection, BLE flash, probe settings).
    bool loadState(const std::string &dir, std::string &error);
    bool saveState(const std::string &dir, std::string &error) const;
    // Human- and test-readable dump of the state and the exchange log.
    void dump(std::ostream &out) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace ksim
