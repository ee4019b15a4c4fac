#include "usb/emulated_device.h"

#include "usb/control_requests.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

namespace ksim {
namespace {

constexpr uint32_t kCapabilities = USBDEVFS_CAP_BULK_SCATTER_GATHER | USBDEVFS_CAP_BULK_CONTINUATION |
                                   USBDEVFS_CAP_NO_PACKET_SIZE_LIM | USBDEVFS_CAP_REAP_AFTER_DISCONNECT |
                                   USBDEVFS_CAP_ZERO_PACKET;
constexpr size_t kSetupLength = 8;

template <typename T>
GObjectRef<UMockdevIoctlData> resolveArgument(UMockdevIoctlData *argument)
{
    return GObjectRef<UMockdevIoctlData>::adopt(umockdev_ioctl_data_resolve(argument, 0, sizeof(T), nullptr));
}

template <typename T>
T *view(const GObjectRef<UMockdevIoctlData> &data)
{
    return reinterpret_cast<T *>(data->data);
}

// HID reports are fixed-size: a message becomes whole zero-padded reports.
std::vector<std::vector<uint8_t>> toReports(const std::vector<uint8_t> &message)
{
    std::vector<std::vector<uint8_t>> reports;
    size_t offset = 0;
    do {
        const size_t count = std::min<size_t>(kMaxPacketSize, message.size() - offset);
        std::vector<uint8_t> report(kMaxPacketSize, 0);
        std::copy_n(message.begin() + static_cast<std::ptrdiff_t>(offset), count, report.begin());
        reports.push_back(std::move(report));
        offset += count;
    } while (offset < message.size());
    return reports;
}

}  // namespace

struct EmulatedDevice::Timer {
    EmulatedDevice *device;
    FirmwareAction action;
    ChannelLayout channel;
    GSource *source;
};

EmulatedDevice::EmulatedDevice(const UsbIdentity &identity, RequestHandler handler, const std::string &fifoPath,
                               std::function<void()> onUnplug, std::mutex &lock)
    : descriptors_(identity),
      handler_(std::move(handler)),
      signal_(fifoPath),
      lock_(lock),
      onUnplug_(std::move(onUnplug))
{
}

EmulatedDevice::~EmulatedDevice()
{
    for (GSource *timer : timers_) {
        g_source_destroy(timer);
        g_source_unref(timer);
    }
    if (workerContext_) g_main_context_unref(workerContext_);
}

EmulatedDevice::Client &EmulatedDevice::clientOf(UMockdevIoctlClient *connection)
{
    std::unique_ptr<Client> &slot = clients_[connection];
    if (!slot) {
        slot = std::make_unique<Client>();
        slot->connection = GObjectRef<UMockdevIoctlClient>::share(connection);
    }
    return *slot;
}

void EmulatedDevice::dropVanishedClients()
{
    for (auto it = clients_.begin(); it != clients_.end();) {
        if (umockdev_ioctl_client_get_connected(it->first)) {
            ++it;
            continue;
        }
        const Client *gone = it->second.get();
        pendingIn_.erase(std::remove_if(pendingIn_.begin(), pendingIn_.end(),
                                        [gone](const PendingIn &p) { return p.owner == gone; }),
                         pendingIn_.end());
        it = clients_.erase(it);
    }
    refreshSignal();
}

void EmulatedDevice::handleIoctl(UMockdevIoctlClient *connection)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (!workerContext_) workerContext_ = g_main_context_ref_thread_default();
    dropVanishedClients();
    dispatch(clientOf(connection), umockdev_ioctl_client_get_request(connection),
             umockdev_ioctl_client_get_arg(connection));
}

void EmulatedDevice::dispatch(Client &client, gulong request, UMockdevIoctlData *argument)
{
    UMockdevIoctlClient *connection = client.connection.get();
    // The FIFO must show the new state before the client learns the ioctl is done and polls it.
    auto answer = [this, connection](int error) {
        refreshSignal();
        umockdev_ioctl_client_complete(connection, error ? -1 : 0, error);
    };

    if (request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY) {
        if (!reap(client, request == USBDEVFS_REAPURB))
            if (request == USBDEVFS_REAPURBNDELAY || unplugged_) answer(unplugged_ ? ENODEV : EAGAIN);
        return;
    }
    if (unplugged_) return answer(ENODEV);

    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        auto caps = resolveArgument<uint32_t>(argument);
        if (!caps) return answer(EFAULT);
        *view<uint32_t>(caps) = kCapabilities;
        return answer(0);
    }
    case USBDEVFS_DISCONNECT_CLAIM: {
        auto claimRequest = resolveArgument<usbdevfs_disconnect_claim>(argument);
        if (!claimRequest) return answer(EFAULT);
        return answer(claim(client, view<usbdevfs_disconnect_claim>(claimRequest)->interface));
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE: {
        auto number = resolveArgument<unsigned>(argument);
        if (!number) return answer(EFAULT);
        const unsigned interface = *view<unsigned>(number);
        return answer(request == USBDEVFS_CLAIMINTERFACE ? claim(client, interface) : release(client, interface));
    }
    case USBDEVFS_IOCTL: {
        // Attaching or detaching a kernel driver: there is none to move.
        auto command = resolveArgument<usbdevfs_ioctl>(argument);
        if (!command) return answer(EFAULT);
        const int code = view<usbdevfs_ioctl>(command)->ioctl_code;
        return answer(code == static_cast<int>(USBDEVFS_CONNECT) || code == static_cast<int>(USBDEVFS_DISCONNECT)
                          ? 0
                          : ENOTTY);
    }
    case USBDEVFS_GETDRIVER: return answer(ENODATA);  // no kernel driver is bound to the probe
    case USBDEVFS_CLEAR_HALT:
    case USBDEVFS_RESETEP: return answer(0);  // the endpoints never halt
    case USBDEVFS_SUBMITURB: return answer(submit(client, argument));
    case USBDEVFS_DISCARDURB: return answer(discard(client, *reinterpret_cast<gulong *>(argument->data)));
    default: return answer(ENOTTY);
    }
}

int EmulatedDevice::claim(Client &client, unsigned interface)
{
    if (!descriptors_.hasInterface(interface)) return ENOENT;
    for (const auto &entry : clients_)
        if (entry.second.get() != &client && entry.second->claimed.count(interface)) return EBUSY;
    client.claimed.insert(interface);
    return 0;
}

int EmulatedDevice::release(Client &client, unsigned interface)
{
    return client.claimed.erase(interface) ? 0 : EINVAL;
}

int EmulatedDevice::submit(Client &client, UMockdevIoctlData *argument)
{
    Urb urb = Urb::resolveSubmitted(argument);
    if (!urb) return EFAULT;
    const uint8_t type = urb.fields().type;
    if (urb.endpoint() == 0 || urb.endpoint() == 0x80) {
        if (type != USBDEVFS_URB_TYPE_CONTROL) return EINVAL;
        const int error = submitControl(urb);
        if (error == 0) makeReapable(client, std::move(urb));
        return error;
    }
    const ChannelLayout *channel = descriptors_.channelOfEndpoint(urb.endpoint());
    if (!channel) return ENOENT;
    const uint8_t expected = channel->viaHid ? USBDEVFS_URB_TYPE_INTERRUPT : USBDEVFS_URB_TYPE_BULK;
    if (type != expected) return EINVAL;
    if (!client.claimed.count(channel->interfaceNumber)) return EINVAL;
    if (urb.isIn()) {
        submitIn(client, std::move(urb));
        return 0;
    }
    if (departing_) {  // a new request before the last reply was read: the probe is gone by now
        unplug();
        return ENODEV;
    }
    submitOut(urb, *channel);
    makeReapable(client, std::move(urb));
    return 0;
}

int EmulatedDevice::submitControl(Urb &urb)
{
    if (urb.bufferLength() < kSetupLength) return EINVAL;
    const SetupPacket setup = SetupPacket::parse(urb.buffer());
    if (kSetupLength + setup.length > urb.bufferLength()) return EINVAL;
    const auto data = answerControlRequest(setup, descriptors_);
    if (!data) {
        urb.finish(-EPIPE, 0);  // STALL
        return 0;
    }
    if (setup.deviceToHost())
        urb.finishWithData(0, *data, kSetupLength);
    else
        urb.finish(0, setup.length);
    return 0;
}

void EmulatedDevice::submitOut(Urb &urb, const ChannelLayout &channel)
{
    const std::vector<uint8_t> message = urb.bytes();
    if (channel.viaHid) {
        for (const std::vector<uint8_t> &report : toReports(message)) scheduleAction(askFirmware(report, true), channel);
    } else {
        scheduleAction(askFirmware(message, false), channel);
    }
    urb.finish(0, message.size());
}

// An exception must not unwind into umockdev's C code: the probe just stays silent.
FirmwareAction EmulatedDevice::askFirmware(const std::vector<uint8_t> &packet, bool viaHid)
{
    try {
        return handler_(packet, viaHid);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "virtual probe: request not handled: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "virtual probe: request not handled\n");
    }
    return {};
}

void EmulatedDevice::submitIn(Client &client, Urb urb)
{
    const uint8_t endpoint = urb.endpoint();
    pendingIn_.push_back({&client, std::move(urb)});
    deliverQueuedReplies(endpoint);
}

bool EmulatedDevice::reap(Client &client, bool blocking)
{
    if (client.reapable.empty()) {
        client.waitingToReap = blocking && !unplugged_;
        return false;
    }
    Urb urb = std::move(client.reapable.front());
    client.reapable.pop_front();
    client.waitingToReap = false;
    UMockdevIoctlClient *connection = client.connection.get();
    const bool ok = urb.handBackThrough(umockdev_ioctl_client_get_arg(connection));
    refreshSignal();
    umockdev_ioctl_client_complete(connection, ok ? 0 : -1, ok ? 0 : EFAULT);
    return true;
}

int EmulatedDevice::discard(Client &client, gulong address)
{
    for (auto it = pendingIn_.begin(); it != pendingIn_.end(); ++it) {
        if (it->owner != &client || it->urb.clientAddress() != address) continue;
        Urb urb = std::move(it->urb);
        pendingIn_.erase(it);
        urb.finish(-ENOENT, 0);
        makeReapable(client, std::move(urb));
        return 0;
    }
    return EINVAL;  // already completed (or never submitted): nothing left to cancel
}

void EmulatedDevice::scheduleAction(const FirmwareAction &action, const ChannelLayout &channel)
{
    if (action.delayMs == 0 || !workerContext_) return applyAction(action, channel);
    auto *timer = new Timer{this, action, channel, g_timeout_source_new(action.delayMs)};
    g_source_set_callback(timer->source, &EmulatedDevice::onTimer, timer,
                          [](gpointer data) { delete static_cast<Timer *>(data); });
    timers_.push_back(timer->source);
    g_source_attach(timer->source, workerContext_);
}

gboolean EmulatedDevice::onTimer(gpointer data)
{
    auto *timer = static_cast<Timer *>(data);
    EmulatedDevice &device = *timer->device;
    std::lock_guard<std::mutex> guard(device.lock_);
    auto mine = std::find(device.timers_.begin(), device.timers_.end(), timer->source);
    if (mine != device.timers_.end()) {
        device.timers_.erase(mine);
        g_source_unref(timer->source);
    }
    device.dropVanishedClients();  // a reply must not go to a dead client's read
    device.applyAction(timer->action, timer->channel);
    device.refreshSignal();
    return G_SOURCE_REMOVE;
}

void EmulatedDevice::queueUnsolicited(const std::vector<std::vector<uint8_t>> &reports)
{
    for (const ChannelLayout &channel : descriptors_.channels())
        for (const std::vector<uint8_t> &report : reports) queueReply(channel.inEndpoint, channel.viaHid, report);
}

// A probe that unplugs after a reply sends it first: the host reads it, then the device is gone.
void EmulatedDevice::applyAction(const FirmwareAction &action, const ChannelLayout &channel)
{
    if (unplugged_) return;
    if (action.reply) queueReply(channel.inEndpoint, channel.viaHid, *action.reply);
    if (!action.unplug) return;
    departing_ = true;
    if (!action.reply || replies_[channel.inEndpoint].empty()) unplug();
}

void EmulatedDevice::queueReply(uint8_t endpoint, bool viaHid, const std::vector<uint8_t> &reply)
{
    std::deque<std::vector<uint8_t>> &queue = replies_[endpoint];
    if (viaHid) {
        for (std::vector<uint8_t> &report : toReports(reply)) queue.push_back(std::move(report));
    } else {
        queue.push_back(reply);
    }
    deliverQueuedReplies(endpoint);
}

void EmulatedDevice::deliverQueuedReplies(uint8_t endpoint)
{
    std::deque<std::vector<uint8_t>> &queue = replies_[endpoint];
    while (!queue.empty()) {
        auto it = std::find_if(pendingIn_.begin(), pendingIn_.end(),
                               [endpoint](const PendingIn &p) { return p.urb.endpoint() == endpoint; });
        if (it == pendingIn_.end()) return;
        PendingIn pending = std::move(*it);
        pendingIn_.erase(it);
        completeIn(std::move(pending), queue);
    }
    if (departing_) unplug();
}

// One IN transfer takes the front message. A bulk transfer whose buffer is a whole number of
// packets stops when full and leaves the rest for the next one; anything else that does not fit
// is a babble (-EOVERFLOW), as on the wire.
void EmulatedDevice::completeIn(PendingIn pending, std::deque<std::vector<uint8_t>> &queue)
{
    std::vector<uint8_t> &front = queue.front();
    const size_t room = pending.urb.bufferLength();
    if (front.size() <= room) {
        pending.urb.finishWithData(0, front);
        queue.pop_front();
    } else if (!descriptors_.channelOfEndpoint(pending.urb.endpoint())->viaHid && room % kMaxPacketSize == 0) {
        pending.urb.finishWithData(0, front);
        front.erase(front.begin(), front.begin() + static_cast<std::ptrdiff_t>(room));
    } else {
        pending.urb.finishWithData(-EOVERFLOW, front);
        queue.pop_front();
    }
    makeReapable(*pending.owner, std::move(pending.urb));
}

void EmulatedDevice::makeReapable(Client &client, Urb urb)
{
    client.reapable.push_back(std::move(urb));
    if (client.waitingToReap) reap(client, true);
}

void EmulatedDevice::unplug()
{
    if (unplugged_) return;
    unplugged_ = true;
    replies_.clear();
    for (GSource *timer : timers_) {
        g_source_destroy(timer);
        g_source_unref(timer);
    }
    timers_.clear();
    std::deque<PendingIn> failed;
    failed.swap(pendingIn_);
    for (PendingIn &pending : failed) {
        pending.urb.finish(-ENODEV, 0);
        makeReapable(*pending.owner, std::move(pending.urb));
    }
    for (auto &entry : clients_) {
        Client &client = *entry.second;
        if (client.waitingToReap && client.reapable.empty()) {
            client.waitingToReap = false;
            umockdev_ioctl_client_complete(client.connection.get(), -1, ENODEV);
        }
    }
    refreshSignal();
    if (onUnplug_) onUnplug_();
}

void EmulatedDevice::refreshSignal()
{
    bool reapable = false;
    for (const auto &entry : clients_) reapable = reapable || !entry.second->reapable.empty();
    signal_.set(reapable);
}

}  // namespace ksim
