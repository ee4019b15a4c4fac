// One emulated Korvex probe with the target MCU (and BLE module) behind it.
// The USB layer (sim/usb) owns the wire; this object owns everything the probe and target know.
//
// Configuration keys (configure(key, value, error); the same keys serve command-line options, INI
// files and the saved state). Numbers are decimal unless marked hex; hex accepts an optional 0x.
// Keys may come in any order (INI readers sort them): the option bytes keep their protection byte
// when a series change resizes them, and settings a series lacks are kept without effect.
//
//   key                  value                      default / meaning
//   -------------------  -------------------------  ----------------------------------------------------
//   serial               text                       KV0000000001 (USB iSerialNumber)
//   manufacturer         text                       Korvex
//   product              text                       Korvex Probe
//   hid_interface        text                       Korvex HID (iInterface of the HID interface)
//   bulk_interface       text                       Korvex Bulk (iInterface of the bulk interface)
//   transport            hid | bulk | both          both
//   hw_version           0-255                      0 (hardware byte of the version reply; 10-12 reach BLE)
//   fw_version           MAJOR.MINOR.PATCH          2.1.7
//   app_state            0-255                      1 (last byte of the version reply)
//   uid                  24 hex digits              the 12 characters of the default serial
//   swd_speed            number                     1000000
//   reset_mode           0-2                        0
//   series               1-255, ZR32_Snn or Snn     4 (ZR32_S04: SPIM, no boot memory AP mode)
//   pid                  hex                        04000246 (256 KiB flash, 2 KiB sectors)
//   protection           0 | 1 | 2                  0 (access protection byte A5, FF or CC; no erase)
//   ap_mode              0 | 1                      0 (boot memory AP mode; no effect on a series without)
//   status_valid         0 | 1                      1 (0: the status reply says "cannot tell")
//   target               0 | 1                      1 (0: no MCU on the probe; every target command fails)
//   spim_enabled         0 | 1                      0
//   spim_size            bytes (hex with 0x)        0; at most 16 MiB
//   sram_size            bytes                      65536 (SRAM at 0x20000000 for debug access; the
//                                                   register windows at 0x40000000 and 0xE0000000 keep
//                                                   what debug writes put there, and are not saved)
//   flash_image          ADDR:FILE (ADDR hex)       loads a binary file as is at ADDR (flash, boot,
//                                                   SPIM, OTP or SRAM; repeatable); an image that fits
//                                                   only after a later series/pid key waits for it, one
//                                                   that never fits is reported in the exchange log
//   ble                  0 | 1                      0 (a BLE module is fitted; reachable with hw 10-12)
//   ble_protected        0 | 1                      0
//   ble_image            SPACE:ADDR:FILE            loads a file into BLE space 0 (main), 1 (NVR), 2 (RDN)
//   ble_crc              INDEX:HEX                  a CRC value stored in the module
//   supplied_id          SERIES:PID (hex)           the device ID given by the set-ID command
//   flash_locks          0-15                       lock bits (bit 1 main flash, 2 SPIM, 3 boot memory)
//   spim_config          0-15                       remap + 4 x flash type of the last SPIM enable
//   spim_limit           hex                        FLASH_DA value of the last SPIM enable
//   vkp_version          hex                        0
//   ignore_writes        0 | 1                      0: a flash (main, boot, SPIM) that acknowledges writes
//                                                   and keeps nothing, for verify-failure tests
//   reply_delay_ms       number                     0 (every reply comes this much later)
//   fault_no_reply       TRIGGER                    no reply at all
//   fault_wrong_echo     TRIGGER                    byte 0 of the reply XOR 01
//   fault_status         TRIGGER,BYTE (hex)         byte 1 of the reply replaced
//   fault_delay          TRIGGER,MS                 the reply comes MS later
//   fault_corrupt_read   TRIGGER[,INDEX]            data byte INDEX (default 0) of a memory read inverted
//   fault_unplug         TRIGGER                    the probe leaves the bus after this reply
//   fault_unplug_after   N                          same as fault_unplug=#N
//   faults_clear         1                          drops every fault rule
//   stale_report         hex bytes                  one report queued on the IN endpoint before open
//   stale_reports        N                          N stale version replies (fw 9.9.9, hw 9) queued
//
// TRIGGER: "#N" (the N-th request, from 1), "GG" (every request of command group GG, hex), "GG.SS"
// (group and byte 1), "*" (every request). Fault keys add a rule each; rules act on the reply only,
// after the command has taken effect.
//
// Status bytes of the firmware: F1 done, F2 unknown or malformed request (with a diagnostic in the
// exchange log), F3 address/length/index out of range, F4 memory or feature missing, not enabled or
// not opened for writing (write-begin), FE refused by access, erase/program, OTP-lock or BLE
// protection, FF refused otherwise (wrong key or password, level 2 that cannot be undone, OTP byte
// already programmed, no target). Refused memory reads keep their full length with the status in
// byte 1 (so does the device-ID read, which still carries the product ID); other refusals are
// two-byte status replies.
//
// Saved state (saveState/loadState, one directory): device.ini (key=value lines with the keys above
// that describe the device; not the fault keys, ignore_writes, status_valid, target, reply_delay_ms,
// stale reports), and the memories as binary files cut after their last
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
class VirtualProbe {
public:
    VirtualProbe();
    ~VirtualProbe();
    VirtualProbe(const VirtualProbe &) = delete;
    VirtualProbe &operator=(const VirtualProbe &) = delete;

    // Configuration by key/value (the same keys serve command-line options and INI files).
    // Returns false and fills error for an unknown key or a bad value.
    bool configure(const std::string &key, const std::string &value, std::string &error);
    // The key table above, one line per key, for help texts.
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
    // Human- and test-readable dump of the state and the exchange log.
    void dump(std::ostream &out) const;

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
