#include "scripted_probe.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace korvex_test {
namespace {

// Every reply time-out of the library shrinks twentyfold, so silent-probe cases cost 150 ms
// instead of 3 s. Set before main() so that the library reads it on its first exchange, also in
// the process re-executed under the preload.
const bool kShortTimeouts = (setenv("KORVEXLIB_TIMEOUT_DIVISOR", "20", 1), true);

}  // namespace

uint32_t be32(const Bytes &b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

Bytes pattern(uint32_t address, size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>((address + i) * 7 + 3);
    return b;
}

std::optional<Bytes> serveMemory(const Bytes &r) {
    const bool debug = r[0] == 0xCF;
    const size_t a = debug ? 3 : 2;
    const bool read = r[0] == 0xB2 || r[0] == 0xB9 || (r[0] == 0xBA && r[1] >= 0x10) ||
                      (r[0] == 0xBE && r[1] == 0x04) || (r[0] == 0xC2 && r[1] == 0x05) || (debug && r[1] == 0x00);
    if (!read) return Bytes{r[0], 0xF1};
    Bytes reply(r.begin(), r.begin() + a + 6);
    const Bytes data = pattern(be32(r, a), size_t(r[a + 4] << 8 | r[a + 5]));
    reply.insert(reply.end(), data.begin(), data.end());
    return reply;
}

struct ScriptedProbe::State {
    mutable std::mutex mutex;
    Responder responder;
    std::vector<Bytes> log;
    unsigned nextDelayMs = 0;
};

ScriptedProbe::ScriptedProbe() : state_(std::make_shared<State>()) { (void)kShortTimeouts; }

ksim::RequestHandler ScriptedProbe::handler() const {
    std::shared_ptr<State> state = state_;
    return [state](const Bytes &packet, bool) {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->log.push_back(packet);
        ksim::FirmwareAction action;
        if (state->responder) action.reply = state->responder(packet);
        action.delayMs = std::exchange(state->nextDelayMs, 0u);
        return action;
    };
}

void ScriptedProbe::respond(Responder responder) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->responder = std::move(responder);
}

void ScriptedProbe::respondAlways(const Bytes &reply) {
    respond([reply](const Bytes &) { return std::optional<Bytes>(reply); });
}

void ScriptedProbe::delayNextReply(unsigned ms) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->nextDelayMs = ms;
}

std::vector<Bytes> ScriptedProbe::requests() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->log;
}

void ScriptedProbe::clearLog() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->log.clear();
}

LibrarySession::LibrarySession() { KORVEX_Init(); }
LibrarySession::~LibrarySession() { KORVEX_Exit(); }

std::vector<std::string> LibrarySession::list(uint8_t capacity, uint8_t *count) {
    tagKORVEXDeviceInfo info{};
    uint8_t n = capacity;
    KORVEX_GetKorvexDeviceList(&n, &info.deviceInfo[0][0]);
    if (count) *count = n;
    std::vector<std::string> serials;
    for (uint8_t i = 0; i < n; ++i) serials.emplace_back(info.deviceInfo[i]);
    return serials;
}

KORVEX_HANDLE LibrarySession::open(const char *serial) {
    list();
    const KORVEX_HANDLE h = KORVEX_Open(serial);
    EXPECT_NE(h, KORVEX_INVALID_HANDLE) << (serial ? serial : "the first listed");
    return h;
}

ksim::UsbIdentity probeIdentity(const std::string &serial, ksim::Transport transport) {
    return {"Korvex", "Korvex Probe", serial, "Korvex HID", "Korvex Bulk", transport};
}

OpenProbe::OpenProbe(ksim::Transport transport, const std::string &serial) : transport_(transport) {
    bench_.addDevice(probeIdentity(serial, transport), probe_.handler());
    handle_ = library_.open(serial.c_str());
}

}  // namespace korvex_test
