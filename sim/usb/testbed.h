// A bench of emulated Korvex probes that the real libusb sees as USB devices (through umockdev).
//
// In-process use (GoogleTest): link korvex_sim and korvex_sim_gtest_main (whose main() re-executes
// the test binary under umockdev's preload, see preload.h, then runs RUN_ALL_TESTS), and PkgConfig::LIBUSB
// or KORVEXLIB. Then, in a test:
//
//     ksim::Testbed bench;                                   // an empty bus
//     ksim::VirtualProbe &probe = bench.addProbe({{"serial", "KV0001"}});  // keys of VirtualProbe::configure
//     ... libusb_init / KORVEX_Init ... the probe is listed, opened, claimed, talked to ...
//     bench.withProbe(0, [](ksim::VirtualProbe &p) { p.dump(std::cout); });
//     bench.unplug(0);                                       // it leaves the bus
//
// Create the Testbed before the libusb context and destroy it after: a client still talking to a
// device when the bench goes away gets errors (or dies of SIGPIPE), as with a pulled cable.
// One Testbed at a time per process (umockdev points the process at it through UMOCKDEV_DIR).
//
// Other processes reach the bench by running under preloadEnvironment(rootDir()); the korvex-sim
// program does exactly that for a command line.
//
// Threading: the USB side runs on umockdev's worker thread. Configure probes through addProbe()'s
// settings, or through withProbe(), which holds the bench's lock; the reference addProbe() returns
// may be used directly only while no client is in the middle of an exchange with that probe.
#pragma once

#include "probe/virtual_probe.h"
#include "usb/emulated_device.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ksim {

using Settings = std::vector<std::pair<std::string, std::string>>;

class Testbed {
public:
    Testbed();   // throws std::runtime_error when umockdev cannot set up the bench
    ~Testbed();  // stops the worker thread, then removes every device and the testbed directory
    Testbed(const Testbed &) = delete;
    Testbed &operator=(const Testbed &) = delete;

    // Plugs in a new probe after applying the settings in order with VirtualProbe::configure.
    // Its index is the number of devices plugged in before it, unplugged ones included (at most
    // 127 devices: std::length_error beyond). A rejected setting throws std::invalid_argument with
    // the probe's message and plugs nothing in. The USB identity (strings, HID/bulk interfaces) is
    // read from the probe once the settings are applied; stale reports it holds
    // (takeUnsolicitedReports) wait on every IN endpoint.
    VirtualProbe &addProbe(const Settings &settings = {});
    // Plugs in a probe the caller has prepared (state loaded, settings applied).
    VirtualProbe &plugInProbe(std::unique_ptr<VirtualProbe> probe);
    // Plugs in a device with the given identity whose requests go to handler instead of a probe
    // (for tests of the USB layer itself). Returns its index.
    size_t addDevice(const UsbIdentity &identity, RequestHandler handler);

    // Device i leaves the bus: its pending and later transfers fail with LIBUSB_ERROR_NO_DEVICE
    // (-ENODEV), its /dev node and sysfs entry disappear, a new enumeration no longer lists it.
    // Unplugging twice is harmless. Throws std::out_of_range for a bad index.
    void unplug(size_t index);
    bool isPlugged(size_t index) const;

    size_t deviceCount() const;
    // The probe behind device i; throws std::out_of_range when i is no probe (or out of range).
    VirtualProbe &probe(size_t index);
    // Runs fn(probe i) while holding the lock that the USB side takes for each request; fn must
    // not call back into the Testbed.
    template <typename Fn>
    auto withProbe(size_t index, Fn &&fn) -> decltype(fn(std::declval<VirtualProbe &>()))
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return fn(probeUnlocked(index));
    }

    // Sets the permission bits of device i's /dev node, as udev would (0600 for root alone without
    // the probe's udev rule). A client without CAP_DAC_OVERRIDE that the bits do not admit then fails
    // to open the probe with LIBUSB_ERROR_ACCESS; a root client needs that capability dropped.
    // Throws std::out_of_range for a bad index, std::runtime_error when the mode cannot be set.
    void setNodeMode(size_t index, unsigned mode);

    // The testbed directory (what UMOCKDEV_DIR must name for a client in another process).
    std::string rootDir() const { return rootDir_; }
    // /dev/bus/usb/BBB/DDD path of device i, as clients see it.
    std::string devNode(size_t index) const;

private:
    struct Slot;
    VirtualProbe &probeUnlocked(size_t index);
    Slot &slot(size_t index);
    const Slot &slot(size_t index) const;
    size_t plugIn(const UsbIdentity &identity, RequestHandler handler, std::unique_ptr<VirtualProbe> probe);
    void createDevice(Slot &slot, const UsbIdentity &identity, RequestHandler handler);
    void attachHandler(Slot &slot);
    void detachHandler(Slot &slot);
    void addToSysfs(Slot &slot);
    void takeOffBus(Slot &slot);  // with the lock held

    mutable std::mutex mutex_;
    struct UmockdevTestbed;
    std::unique_ptr<UmockdevTestbed> umockdev_;
    std::string rootDir_;
    std::vector<std::unique_ptr<Slot>> slots_;
};

}  // namespace ksim
