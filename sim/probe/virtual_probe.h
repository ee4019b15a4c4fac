// One emulated Korvex probe with the target MCU (and BLE module) behind it.
// The USB layer (sim/usb) owns the wire; this object owns everything the probe and target know.
//
// Configuration: configure(key, value, error) with the keys of the rows in probe_config.cpp, which
// carry each key's values, default and meaning; configurationHelp() prints them (korvex-sim --help).
// The same keys serve command-line options, INI files and the saved state.
//
// Saved state (saveState/loadState, one directory): device.ini (key=value lines with the keys that
// describe the device; a run-only key there is refused), exchanges.log (the exchange log of the run
// that saved the state, in dump()'s layout), and the memories as binary files cut after their last
// non-blank byte: main_flash.bin, boot_memory.bin, spim.bin, sram.bin, otp_data.bin, otp_lock.bin,
// usd.bin (the stored byte/complement image), ble_main.bin, ble_nvr.bin, ble_rdn.bin, qspi.bin (the QSPI
// flash behind the target), probe_flash.bin (the probe's firmware after an update). The probe's own
// settings, offline projects and test modes of the library's configuration commands last one run.
//
// dump(): "probe", "settings", "target" and "ble" lines of key=value fields; "memory NAME base=..
// size=.." followed by "  ADDRESS: 16 hex bytes" lines for every 16-byte row holding a non-blank byte;
// "usd length=L" with the stored image as hex rows; "exchanges N" followed, per exchange, by
// "  #N hid|bulk COMMAND", "    > request", "    < reply" (or "    < (no reply)"), "    ! diagnostic"
// and "    fault NAME@TRIGGER" lines. HID requests are shown up to their last non-zero byte.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "probe/exchange.h"
#include "probe/probe_settings.h"

namespace ksim {

class TargetMcu;
class BleModule;
class FaultPlan;

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

// Not thread-safe: one caller at a time (the USB layer's worker, or a test).
// One configuration key as --help describes it.
struct ConfigurationKey {
    const char *name;
    const char *values;        // what the value may be
    const char *defaultValue;
    const char *meaning;
    bool runOnly;              // a bench condition of one run (faults...): never part of a saved state
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
    // Every key configure() accepts, in the order of its rows.
    static const std::vector<ConfigurationKey> &configurationKeys();
    // Every key with its values, default and meaning, then notes on triggers and status bytes.
    static std::string configurationHelp();

    UsbIdentity usbIdentity() const;

    // One request as it arrived on the OUT endpoint: a 64-byte zero-padded report over HID,
    // exactly the bytes sent over bulk.
    FirmwareAction handleRequest(const std::vector<uint8_t> &packet, bool viaHid);

    // Reports the probe had queued on its IN endpoint before the host opened it (stale replies of an
    // earlier session). The USB layer takes them once, when it creates the device, and puts them at the
    // head of the IN queue, where the host's drain-on-open (or its first command) meets them.
    std::vector<std::vector<uint8_t>> takeUnsolicitedReports();

    // Whole device state (memories, user system data, OTP, protection, BLE flash, probe settings).
    bool loadState(const std::string &dir, std::string &error);
    bool saveState(const std::string &dir, std::string &error) const;
    // Human- and test-readable dump of the state and the exchange log (after loadState, the log
    // saved with the state, until the probe handles anything).
    void dump(std::ostream &out) const;
    // The exchange log alone, from the "exchanges N" line on.
    void dumpExchangeLog(std::ostream &out) const;
    // False with a one-line message naming the key when the settings applied so far leave something
    // undone: an image that fits no memory of the configured target.
    bool configurationComplete(std::string &error) const;

    // For tests and the tool: the wire as the probe saw it, and the hardware behind it.
    const std::vector<Exchange> &exchangeLog() const;
    void clearExchangeLog();
    uint64_t requestCount() const;  // requests handled since construction
    bool unplugged() const;
    TargetMcu &target();
    const TargetMcu &target() const;
    BleModule &ble();
    const BleModule &ble() const;
    ProbeSettings &settings();
    const FaultPlan &faultPlan() const;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace ksim
