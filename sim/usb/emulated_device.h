// One emulated probe on the bus as usbfs sees it: claims, URBs, endpoint 0, and the IN queues
// fed by the firmware. Knows nothing of the firmware beyond the request handler it is given.
//
// Threading: umockdev's worker thread runs the ioctls and the delayed replies, each with the
// bench's lock taken here; the owner of the bench calls the other methods with that lock held.
// Nothing here blocks.
#pragma once

#include "probe/virtual_probe.h"
#include "usb/gobject_ref.h"
#include "usb/reap_signal.h"
#include "usb/urb.h"
#include "usb/usb_descriptors.h"

#include <umockdev.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace ksim {

// What the device does with one request from its OUT endpoint (see VirtualProbe::handleRequest).
using RequestHandler = std::function<FirmwareAction(const std::vector<uint8_t> &packet, bool viaHid)>;

class EmulatedDevice {
public:
    // onUnplug runs once, when the firmware or the owner unplugs the device, to take it off the bus.
    // lock is the bench's, shared by all its devices.
    EmulatedDevice(const UsbIdentity &identity, RequestHandler handler, const std::string &fifoPath,
                   std::function<void()> onUnplug, std::mutex &lock);
    ~EmulatedDevice();
    EmulatedDevice(const EmulatedDevice &) = delete;
    EmulatedDevice &operator=(const EmulatedDevice &) = delete;

    const UsbDescriptors &descriptors() const { return descriptors_; }
    bool nodeReady() const { return signal_.ok(); }
    bool unplugged() const { return unplugged_; }

    // Reports already waiting on every IN endpoint when the device appears (stale replies).
    void queueUnsolicited(const std::vector<std::vector<uint8_t>> &reports);
    // Answers one usbfs ioctl of a client: completes it now, or (a blocking reap) later.
    void handleIoctl(UMockdevIoctlClient *client);
    // The device leaves the bus: pending transfers fail with -ENODEV, new ones are refused.
    void unplug();
    // Forgets clients whose connection has closed, with their URBs and claims.
    void dropVanishedClients();

private:
    struct Client {
        GObjectRef<UMockdevIoctlClient> connection;
        std::set<unsigned> claimed;
        std::deque<Urb> reapable;
        bool waitingToReap = false;  // a blocking REAPURB is outstanding
    };
    struct PendingIn {
        Client *owner;
        Urb urb;
    };
    struct Timer;

    Client &clientOf(UMockdevIoctlClient *connection);
    void dispatch(Client &client, gulong request, UMockdevIoctlData *argument);
    int claim(Client &client, unsigned interface);
    int release(Client &client, unsigned interface);
    int submit(Client &client, UMockdevIoctlData *argument);
    int submitControl(Urb &urb);
    void submitOut(Urb &urb, const ChannelLayout &channel);
    FirmwareAction askFirmware(const std::vector<uint8_t> &packet, bool viaHid);
    void submitIn(Client &client, Urb urb);
    bool reap(Client &client, bool blocking);
    int discard(Client &client, gulong address);

    void applyAction(const FirmwareAction &action, const ChannelLayout &channel);
    void scheduleAction(const FirmwareAction &action, const ChannelLayout &channel);
    static gboolean onTimer(gpointer data);
    void queueReply(uint8_t endpoint, bool viaHid, const std::vector<uint8_t> &reply);
    void deliverQueuedReplies(uint8_t endpoint);
    void completeIn(PendingIn pending, std::deque<std::vector<uint8_t>> &queue);
    void makeReapable(Client &client, Urb urb);
    void refreshSignal();

    UsbDescriptors descriptors_;
    RequestHandler handler_;
    ReapSignal signal_;
    std::mutex &lock_;
    std::function<void()> onUnplug_;
    bool unplugged_ = false;
    bool departing_ = false;  // leaves the bus once its last reply has been read
    GMainContext *workerContext_ = nullptr;  // where delayed replies are scheduled (umockdev's worker)
    std::map<UMockdevIoctlClient *, std::unique_ptr<Client>> clients_;
    std::deque<PendingIn> pendingIn_;                               // IN URBs the device NAKs, oldest first
    std::map<uint8_t, std::deque<std::vector<uint8_t>>> replies_;  // queued on each IN endpoint
    std::vector<GSource *> timers_;
};

}  // namespace ksim
