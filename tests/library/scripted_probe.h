// Test benches for the probe library: emulated probes on umockdev (the real libusb underneath)
// whose firmware is a script, so every byte on the wire can be checked.
#pragma once

#include "packet_rows.h"
#include "usb/testbed.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace korvex_test {

// The big-endian word at `at`, as requests carry addresses.
uint32_t be32(const Bytes &b, size_t at);
// Memory contents a scripted probe serves: a pattern of the address, so misplaced data shows.
Bytes pattern(uint32_t address, size_t n);
// Serves reads from the pattern and acknowledges every other request. Reads are in the memory form
// (address at 2, length at 6) or the debug form (address at 3, length at 7).
std::optional<Bytes> serveMemory(const Bytes &request);

// A probe whose answer to each request comes from a responder set by the test. Requests are
// logged as they arrived. The handler runs on umockdev's worker thread, so all state is locked.
class ScriptedProbe {
public:
    // The reply to one request; nothing (or no responder) keeps the probe silent.
    using Responder = std::function<std::optional<Bytes>(const Bytes &request)>;

    ScriptedProbe();
    ksim::RequestHandler handler() const;

    void respond(Responder responder);
    void respondAlways(const Bytes &reply);        // the same reply to every request
    // The next reply arrives this late (once), e.g. after the library has given up.
    void delayNextReply(unsigned ms);

    // The requests logged since the last clearLog, as they arrived.
    std::vector<Bytes> requests() const;
    void clearLog();

private:
    struct State;
    std::shared_ptr<State> state_;
};

// KORVEX_Init on construction, KORVEX_Exit on destruction.
class LibrarySession {
public:
    LibrarySession();
    ~LibrarySession();
    LibrarySession(const LibrarySession &) = delete;
    LibrarySession &operator=(const LibrarySession &) = delete;

    // KORVEX_GetKorvexDeviceList with this capacity; the rows in list order.
    std::vector<std::string> list(uint8_t capacity = 99, uint8_t *count = nullptr);
    // Lists the probes and opens one (a failed open fails the test).
    KORVEX_HANDLE open(const char *serial);
};

ksim::UsbIdentity probeIdentity(const std::string &serial, ksim::Transport transport = ksim::Transport::Both);

// One scripted probe plugged in, the library initialised, the probe listed and opened.
class OpenProbe {
public:
    explicit OpenProbe(ksim::Transport transport, const std::string &serial = "KV-SCRIPT-1");
    KORVEX_HANDLE handle() const { return handle_; }
    ScriptedProbe &probe() { return probe_; }
    ksim::Testbed &bench() { return bench_; }
    bool viaHid() const { return transport_ == ksim::Transport::Hid; }

private:
    ksim::Transport transport_;
    ksim::Testbed bench_;  // before the library's USB context, gone after it
    ScriptedProbe probe_;
    LibrarySession library_;
    KORVEX_HANDLE handle_ = KORVEX_INVALID_HANDLE;
};

// A call's outputs, read after it returned, as numbers in the order of its parameters.
using Outputs = std::vector<uint64_t>;
template <typename... T>
Outputs outputs(T... values) {
    return {static_cast<uint64_t>(values)...};
}

}  // namespace korvex_test

#define OUTPUTS(...) [] { return korvex_test::outputs(__VA_ARGS__); }
