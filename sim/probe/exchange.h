// One entry of the probe's exchange log: the tests' window onto the wire.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksim {

struct Exchange {
    uint64_t index = 0;                             // 1-based request number; 0 for an unsolicited report
    bool viaHid = false;
    std::vector<uint8_t> request;                   // as received (HID reports with their padding)
    std::optional<std::vector<uint8_t>> reply;      // as queued after faults; nothing = no reply
    unsigned delayMs = 0;
    bool unplug = false;
    std::string command;                            // "B0.00 version and application state"
    std::string diagnostic;                         // why a request was refused as malformed
    std::vector<std::string> faults;                // injected faults applied to this exchange
};

}  // namespace ksim
