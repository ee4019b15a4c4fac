// One probe command as a table row: what goes out, what must come back, how long to wait, and
// what a silent probe costs. Each command group has its own table of rows (commands_*.h).
#pragma once

#include "result_codes.h"

#include <cstdint>

namespace korvex {

// Layout of the request on the wire (multi-byte fields big-endian).
enum class RequestForm : uint8_t {
    Query,        // cmd, sub, then fixed argument bytes (none for plain getters)
    Parameter,    // cmd, sub, n, then n parameter bytes
    Memory,       // cmd, type, address (4), length or count (2), then data when writing
    DebugMemory,  // cmd, sub, width, address (4), length (2), then data when writing
    Block,        // cmd, sub, length (2), then the data
    Firmware,     // cmd, sub, length (2), 0xA0 + sub, then parameters
    Address,      // cmd, sub, address (4), then the data
};

// Layout of the reply and the checks it undergoes after its length and echoed command byte.
enum class ReplyForm : uint8_t {
    Status,       // cmd, status: 0xF1 is success, any other byte is the result
    Data,         // cmd, sub, n, then n bytes
    MemoryData,   // cmd, type, 4 bytes, length (2), data: a wrong type echo is the result
    DebugData,    // cmd, sub, 5 bytes, length (2), data: a wrong sub echo is the result
    None,         // the probe does not answer; sending is the whole command
};

// How byte 1 of a data reply is judged.
enum class SubEcho : uint8_t {
    Compare,     // must equal the sub-command, else TRANS_READ_PARAMS_ERROR
    IsResult,    // must equal the sub-command, else that byte is the result
    Ignored,     // not compared
};

constexpr int kAnyCount = -1;  // Data replies whose byte 2 the caller checks itself

struct Command {
    const char *name;
    uint8_t group;          // byte 0 of request and reply
    uint8_t sub;            // byte 1 of the request (sub-command, memory type or base of an index)
    RequestForm request;
    ReplyForm reply;
    int count;              // Data replies: byte 2, also the data length; kAnyCount: not compared
    SubEcho subEcho;        // Data replies only
    uint32_t timeoutMs;     // how long the reply may take
    int silentResult;       // the result when no reply arrives (TRANS_WRITE_ERROR or TRANS_READ_ERROR)

    // The same command with another byte 1 (a memory type, an erase type, an index-combined area).
    constexpr Command withSub(uint8_t newSub) const {
        Command c = *this;
        c.sub = newSub;
        return c;
    }
    constexpr Command withTimeout(uint32_t ms) const {
        Command c = *this;
        c.timeoutMs = ms;
        return c;
    }
};

// Shorthands for the rows of the tables.
constexpr uint32_t kShort = 3000;
constexpr uint32_t kMedium = 10000;
constexpr uint32_t kLong = 30000;
constexpr uint32_t kVeryLong = 300000;
constexpr int R2 = TRANS_WRITE_ERROR;
constexpr int R3 = TRANS_READ_ERROR;

constexpr Command statusCommand(const char *name, uint8_t group, uint8_t sub, RequestForm form,
                                uint32_t timeout = kShort, int silent = R2) {
    return Command{name, group, sub, form, ReplyForm::Status, kAnyCount, SubEcho::Compare, timeout, silent};
}
constexpr Command dataCommand(const char *name, uint8_t group, uint8_t sub, RequestForm form, int count,
                              SubEcho echo = SubEcho::Compare, uint32_t timeout = kShort, int silent = R2) {
    return Command{name, group, sub, form, ReplyForm::Data, count, echo, timeout, silent};
}

}  // namespace korvex
