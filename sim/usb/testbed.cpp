#include "usb/testbed.h"

#include "usb/preload.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <umockdev.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace ksim {
namespace {

constexpr int kBusNumber = 1;
constexpr int kUsbDeviceMajor = 189;
constexpr int kMaxDeviceNumber = 127;

std::string formatted(const char *format, int a, int b = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// Tells listening clients (libusb's hotplug monitor) of the change. umockdev finds the device
// through the preloaded libudev, so only a process under the preload can send events; clients
// started later enumerate the testbed as it is anyway.
void announce(UMockdevTestbed *testbed, const std::string &sysPath, const char *action)
{
    if (runningUnderPreload()) umockdev_testbed_uevent(testbed, sysPath.c_str(), action);
}

std::string takeString(gchar *owned)
{
    std::string text = owned ? owned : "";
    g_free(owned);
    return text;
}

}  // namespace

// The umockdev testbed object; unreferencing it stops its worker thread.
struct Testbed::UmockdevTestbed {
    GObjectRef<UMockdevTestbed> testbed;
};

struct Testbed::Slot {
    int deviceNumber = 0;
    std::string sysPath;
    std::string devNode;
    std::string devNumbers;  // major:minor
    std::unique_ptr<VirtualProbe> probe;
    std::unique_ptr<EmulatedDevice> device;
    GObjectRef<UMockdevIoctlBase> handler;
    bool onBus = false;
};

namespace {

gboolean onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, gpointer device)
{
    static_cast<EmulatedDevice *>(device)->handleIoctl(client);
    return TRUE;
}

void disconnectHandler(UMockdevIoctlBase *handler)
{
    g_signal_handlers_disconnect_matched(handler, G_SIGNAL_MATCH_FUNC, 0, 0, nullptr,
                                         reinterpret_cast<gpointer>(onIoctl), nullptr);
}

}  // namespace

Testbed::Testbed() : umockdev_(std::make_unique<UmockdevTestbed>())
{
    umockdev_->testbed = GObjectRef<UMockdevTestbed>::adopt(umockdev_testbed_new());
    if (!umockdev_->testbed) throw std::runtime_error("cannot create the umockdev testbed");
    rootDir_ = takeString(umockdev_testbed_get_root_dir(umockdev_->testbed.get()));
}

Testbed::~Testbed()
{
    // Stop the worker first so that no ioctl or timer runs while the devices go away.
    std::vector<GObjectRef<UMockdevIoctlBase>> handlers;
    for (auto &s : slots_) handlers.push_back(std::move(s->handler));
    umockdev_.reset();
    for (auto &handler : handlers) disconnectHandler(handler.get());
}

size_t Testbed::deviceCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return slots_.size();
}

Testbed::Slot &Testbed::slot(size_t index)
{
    if (index >= slots_.size()) throw std::out_of_range("no device " + std::to_string(index) + " on the bench");
    return *slots_[index];
}

const Testbed::Slot &Testbed::slot(size_t index) const
{
    if (index >= slots_.size()) throw std::out_of_range("no device " + std::to_string(index) + " on the bench");
    return *slots_[index];
}

VirtualProbe &Testbed::probeUnlocked(size_t index)
{
    Slot &s = slot(index);
    if (!s.probe) throw std::out_of_range("device " + std::to_string(index) + " is not a probe");
    return *s.probe;
}

VirtualProbe &Testbed::probe(size_t index)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return probeUnlocked(index);
}

std::string Testbed::devNode(size_t index) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return slot(index).devNode;
}

void Testbed::setNodeMode(size_t index, unsigned mode)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string nodePath = rootDir_ + slot(index).devNode;
    if (chmod(nodePath.c_str(), static_cast<mode_t>(mode)) != 0)
        throw std::runtime_error("cannot change the mode of " + nodePath);
}

bool Testbed::isPlugged(size_t index) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return slot(index).onBus;
}

VirtualProbe &Testbed::addProbe(const Settings &settings)
{
    auto probe = std::make_unique<VirtualProbe>();
    for (const auto &setting : settings) {
        std::string error;
        if (!probe->configure(setting.first, setting.second, error))
            throw std::invalid_argument(setting.first + "=" + setting.second + ": " + error);
    }
    return plugInProbe(std::move(probe));
}

VirtualProbe &Testbed::plugInProbe(std::unique_ptr<VirtualProbe> probe)
{
    if (!probe) throw std::invalid_argument("no probe to plug in");
    VirtualProbe &result = *probe;
    const UsbIdentity identity = probe->usbIdentity();
    RequestHandler handler = [&result](const std::vector<uint8_t> &packet, bool viaHid) {
        return result.handleRequest(packet, viaHid);
    };
    plugIn(identity, std::move(handler), std::move(probe));
    return result;
}

size_t Testbed::addDevice(const UsbIdentity &identity, RequestHandler handler)
{
    return plugIn(identity, std::move(handler), nullptr);
}

size_t Testbed::plugIn(const UsbIdentity &identity, RequestHandler handler, std::unique_ptr<VirtualProbe> probe)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const int deviceNumber = static_cast<int>(slots_.size()) + 1;
    if (deviceNumber > kMaxDeviceNumber) throw std::length_error("the bus holds at most 127 devices");
    auto slot = std::make_unique<Slot>();
    slot->deviceNumber = deviceNumber;
    slot->devNode = formatted("/dev/bus/usb/%03d/%03d", kBusNumber, deviceNumber);
    slot->devNumbers = formatted("%d:%d", kUsbDeviceMajor, (kBusNumber - 1) * 128 + deviceNumber - 1);
    slot->probe = std::move(probe);
    createDevice(*slot, identity, std::move(handler));
    attachHandler(*slot);  // before the device can be enumerated and opened
    try {
        addToSysfs(*slot);
    } catch (...) {
        detachHandler(*slot);
        throw;
    }
    slot->onBus = true;
    announce(umockdev_->testbed.get(), slot->sysPath, "add");
    slots_.push_back(std::move(slot));
    return slots_.size() - 1;
}

void Testbed::createDevice(Slot &slot, const UsbIdentity &identity, RequestHandler handler)
{
    const std::string nodePath = rootDir_ + slot.devNode;
    const std::string nodeDir = takeString(g_path_get_dirname(nodePath.c_str()));
    if (g_mkdir_with_parents(nodeDir.c_str(), 0755) != 0) throw std::runtime_error("cannot create " + nodeDir);
    slot.device = std::make_unique<EmulatedDevice>(identity, std::move(handler), nodePath,
                                                   [this, &slot] { takeOffBus(slot); }, mutex_);
    if (!slot.device->nodeReady()) throw std::runtime_error("cannot create the device node " + nodePath);
    if (slot.probe) slot.device->queueUnsolicited(slot.probe->takeUnsolicitedReports());
}

void Testbed::attachHandler(Slot &slot)
{
    slot.handler = GObjectRef<UMockdevIoctlBase>::adopt(umockdev_ioctl_base_new());
    g_signal_connect(slot.handler.get(), "handle-ioctl", G_CALLBACK(onIoctl), slot.device.get());
    GError *error = nullptr;
    if (umockdev_testbed_attach_ioctl(umockdev_->testbed.get(), slot.devNode.c_str(), slot.handler.get(), &error))
        return;
    const std::string message = error ? error->message : "unknown error";
    g_clear_error(&error);
    disconnectHandler(slot.handler.get());
    throw std::runtime_error("cannot attach the ioctl handler of " + slot.devNode + ": " + message);
}

void Testbed::detachHandler(Slot &slot)
{
    umockdev_testbed_detach_ioctl(umockdev_->testbed.get(), slot.devNode.c_str(), nullptr);
    disconnectHandler(slot.handler.get());
}

// What libusb reads from sysfs and udev: bus and device numbers, speed, the configuration and
// the descriptors, and the node's name and numbers.
void Testbed::addToSysfs(Slot &slot)
{
    UMockdevTestbed *testbed = umockdev_->testbed.get();
    const std::string number = std::to_string(slot.deviceNumber);
    const std::string name = formatted("usb%d/%d-", kBusNumber, kBusNumber) + number;
    const std::string busText = formatted("%03d", kBusNumber);
    const std::string deviceText = formatted("%03d", slot.deviceNumber);
    const std::string minor = std::to_string((kBusNumber - 1) * 128 + slot.deviceNumber - 1);
    const std::string product = formatted("%x/%x/100", kProbeVendorId, kProbeProductId);
    // "dev" goes in without a newline first: umockdev derives the node's major:minor links from it.
    slot.sysPath = takeString(umockdev_testbed_add_device(
        testbed, "usb", name.c_str(), nullptr,
        "busnum", (std::to_string(kBusNumber) + "\n").c_str(), "devnum", (number + "\n").c_str(), "speed", "12\n",
        "bConfigurationValue", "1\n", "dev", slot.devNumbers.c_str(), nullptr,
        "DEVNAME", slot.devNode.c_str(), "DEVTYPE", "usb_device", "DRIVER", "usb", "BUSNUM", busText.c_str(),
        "DEVNUM", deviceText.c_str(), "MAJOR", std::to_string(kUsbDeviceMajor).c_str(), "MINOR", minor.c_str(),
        "PRODUCT", product.c_str(), nullptr));
    if (slot.sysPath.empty()) throw std::runtime_error("cannot add " + name + " to the testbed");
    umockdev_testbed_set_attribute(testbed, slot.sysPath.c_str(), "dev", (slot.devNumbers + "\n").c_str());
    std::vector<uint8_t> descriptors = slot.device->descriptors().sysfsDescriptors();
    umockdev_testbed_set_attribute_binary(testbed, slot.sysPath.c_str(), "descriptors", descriptors.data(),
                                          static_cast<gint>(descriptors.size()));
}

void Testbed::unplug(size_t index)
{
    std::lock_guard<std::mutex> lock(mutex_);
    slot(index).device->unplug();
}

void Testbed::takeOffBus(Slot &slot)
{
    if (!slot.onBus) return;
    slot.onBus = false;
    UMockdevTestbed *testbed = umockdev_->testbed.get();
    announce(testbed, slot.sysPath, "remove");
    umockdev_testbed_detach_ioctl(testbed, slot.devNode.c_str(), nullptr);
    umockdev_testbed_remove_device(testbed, slot.sysPath.c_str());
    // umockdev removes /sys/dev/char/<dev> by the attribute's text, which carries a newline here.
    g_unlink((rootDir_ + "/sys/dev/char/" + slot.devNumbers).c_str());
}

}  // namespace ksim
