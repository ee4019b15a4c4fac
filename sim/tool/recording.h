// A recorded run: the probe's USB identity and its exchanges, read from a KORVEXLIB_TRACE file or
// from an exchange log of korvex-sim (the same text layout).
#pragma once

#include "probe/virtual_probe.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksim_tool {

struct RecordedExchange {
    size_t line = 0;                                  // of the "#N" line in the file
    bool viaHid = false;
    std::vector<uint8_t> request;                     // as on the wire (HID: the whole report)
    std::optional<std::vector<uint8_t>> reply;        // the first reply read after it; nothing: none came
    unsigned delayMs = 0;                             // "after N ms" of an exchange log
    bool unplug = false;                              // ", then unplugged" of an exchange log
};

struct Recording {
    ksim::UsbIdentity identity;                       // the emulated probe's defaults where the file says nothing
    std::vector<RecordedExchange> exchanges;          // in file order, sessions one after the other
};

// Reads the file. False with "FILE:LINE: reason" for a line that cannot be read, or for a recorded
// probe the emulation cannot be (another vendor or product ID, endpoints other than 64 bytes).
bool readRecording(const std::string &path, Recording &recording, std::string &error);

}  // namespace ksim_tool
