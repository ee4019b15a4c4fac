// The library's exports as table rows. One row per probe command: the call, the exact request it
// must put on the wire, a reply the probe gives, the reply form (for the generated bad replies)
// and the result of a silent probe; one table per command group. From them, every per-handle
// export once, with the communication times it moves.
#pragma once

#include "KORVEXLIB.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace korvex_test {

using Bytes = std::vector<uint8_t>;

enum class ReplyKind {
    Status,          // cmd, status
    Data,            // cmd, sub, n, data: wrong sub or n give 4
    DataSubResult,   // as Data, but a wrong sub byte is the result
    DataSubIgnored,  // as Data, the sub byte is not compared
    Memory,          // cmd, type, 4 bytes, length (2), data: a wrong type is the result
    Debug,           // cmd, sub, 5 bytes, length (2), data: a wrong sub is the result
    EchoResult,      // cmd, echo, fields: a wrong echo is the result, the fields are not compared
    EchoLength,      // cmd, echo, length (2), data: a wrong echo is the result, a wrong length gives 4
    Header,          // cmd, sub, fields: a wrong sub gives 4, the fields are not compared
    None,            // the probe answers nothing; sending is the whole command
};

constexpr int kNotWaitedFor = 0;  // silent-probe result not checked (time-out too long for a test)

struct PacketRow {
    std::string name;
    std::function<int(KORVEX_HANDLE)> call;
    std::vector<Bytes> requests;  // in order; composite operations send several
    Bytes reply;                  // given to every request
    ReplyKind kind;
    int silentResult;             // TRANS_WRITE_ERROR or TRANS_READ_ERROR, or kNotWaitedFor
};

// Every table, in the order of kPacketGroupNames.
std::vector<const std::vector<PacketRow> *> allPacketGroups();
extern const char *const kPacketGroupNames[];

// The probe's time moves for every command; the target's or the BLE module's with it for the
// commands addressed to them. The timestamp getters move nothing.
enum class Stamps { None, Link, LinkTarget, LinkBle };

struct ExportCall {
    std::string name;  // the export's own name
    Stamps stamps;
    std::function<int(KORVEX_HANDLE)> call;  // with arguments that pass the export's own checks
};

const std::vector<ExportCall> &everyHandleExport();

}  // namespace korvex_test

// A table row's name and call: the call as written, made on the handle under test (h), with the
// buffer (b) or data (d) the row hands it.
#define ON_HANDLE(call) #call, [](KORVEX_HANDLE h) { return call; }
#define ON_BUFFER(call) #call, [](KORVEX_HANDLE h, uint8_t *b) { return call; }
#define ON_DATA(call) #call, [](KORVEX_HANDLE h, const uint8_t *d) { return call; }
