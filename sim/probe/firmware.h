// The probe firmware's request decoder: finds the group and the row of a request, checks its length
// against the row's layout, and runs the row's handler. Anything it cannot decode is answered with
// the BadRequest status and a diagnostic naming the bytes received and the layout expected.
#pragma once

#include <string>

#include "probe/command_table.h"

namespace ksim {

struct DecodedExchange {
    Bytes reply;
    std::string command;     // "B0.00 version and application state", or empty when undecoded
    std::string diagnostic;  // empty when the request was understood
};

DecodedExchange runFirmware(const Bytes &packet, bool viaHid, FirmwareContext &ctx);

// "B0.00 version and application state" for a request of a known row, else empty; runs nothing.
std::string describeRequest(const Bytes &packet);

// Expected length of a request for a row, from its layout; 0 when the request is too short to tell.
size_t expectedLength(const Layout &layout, const Bytes &request);

// Every group the firmware knows, for tests and documentation.
const CommandGroup *const *firmwareGroups(size_t &count);

}  // namespace ksim
