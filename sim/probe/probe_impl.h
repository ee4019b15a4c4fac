// The probe's insides, shared by the files that implement VirtualProbe.
#pragma once

#include <deque>

#include "probe/fault_plan.h"
#include "probe/packet.h"
#include "probe/probe_store.h"
#include "probe/virtual_probe.h"
#include "target/ble_module.h"
#include "target/target_mcu.h"

namespace ksim {

struct VirtualProbe::Impl {
    Impl();
    void uidFromSerial();  // the default probe ID: the serial's first 12 characters

    UsbIdentity identity{"Korvex", "Korvex Probe", "KV0000000001", "Korvex HID", "Korvex Bulk", Transport::Both};
    ProbeSettings settings;
    ProbeStore store;
    TargetMcu target;
    BleModule ble;
    bool uidGiven = false;  // the uid key was set: a later serial leaves it alone
    bool bleFitted = false;
    FaultPlan faults;
    unsigned replyDelayMs = 0;
    std::vector<Exchange> log;
    std::optional<std::string> lastRunLog;  // exchanges.log of a loaded state, until the next run starts
    uint64_t requests = 0;
    bool unplugged = false;
    std::deque<Bytes> unsolicited;
    // Images that do not fit the target as configured so far; retried after each identity change,
    // because configuration files may name the image before the series or product ID.
    struct PendingImage {
        uint32_t address;
        Bytes bytes;
        std::string source;
    };
    std::vector<PendingImage> pendingImages;

    void retryPendingImages();
    void reportPendingImages();  // into the exchange log, once the probe is in use

    void updateBlePresence() { ble.setPresent(bleFitted && settings.reachesBle()); }
};

}  // namespace ksim
