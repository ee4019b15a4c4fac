#include "exchange.h"

#include "device_control.h"
#include "result_codes.h"
#include "timeouts.h"

#include <algorithm>
#include <chrono>

namespace korvex {
namespace {

constexpr size_t kMemoryHeader = 8;
constexpr size_t kDebugHeader = 9;
constexpr uint8_t kFirmwareMarker = 0xA0;

size_t impliedReplyLength(const Command &command, const RequestArgs &args) {
    switch (command.reply) {
    case ReplyForm::Status: return 2;
    case ReplyForm::Data: return command.count == kAnyCount ? 0 : 3 + static_cast<size_t>(command.count);
    case ReplyForm::MemoryData: return kMemoryHeader + args.length;
    case ReplyForm::DebugData: return kDebugHeader + args.length;
    case ReplyForm::None: return 0;
    }
    return 0;
}

// A refusal byte the probe sent in place of a status or echo goes to the caller unchanged, except
// 0: passed on, it would read as success although the probe never said so.
int refusal(uint8_t byte) { return byte == 0 ? int{TRANS_READ_PARAMS_ERROR} : int{byte}; }

int checkData(const Command &command, const Reply &reply) {
    if (reply[1] != command.sub) {
        if (command.subEcho == SubEcho::IsResult) return refusal(reply[1]);
        if (command.subEcho == SubEcho::Compare) return TRANS_READ_PARAMS_ERROR;
    }
    if (command.count != kAnyCount && reply[2] != command.count) return TRANS_READ_PARAMS_ERROR;
    return kSuccess;
}

// Memory and debug data replies echo the type (or sub-command) and the requested length.
int checkMemoryData(const Command &command, const RequestArgs &args, const Reply &reply, size_t lengthOffset) {
    if (reply[1] != command.sub) return refusal(reply[1]);
    if (getU16(reply.bytes() + lengthOffset) != args.length) return TRANS_READ_PARAMS_ERROR;
    return kSuccess;
}

int checkReply(const Command &command, const RequestArgs &args, const Reply &reply) {
    switch (command.reply) {
    case ReplyForm::Status: return reply[1] == kStatusSuccess ? kSuccess : refusal(reply[1]);
    case ReplyForm::Data: return checkData(command, reply);
    case ReplyForm::MemoryData: return checkMemoryData(command, args, reply, 6);
    case ReplyForm::DebugData: return checkMemoryData(command, args, reply, 7);
    case ReplyForm::None: return kSuccess;
    }
    return TRANS_READ_PARAMS_ERROR;
}

}  // namespace

std::vector<uint8_t> buildRequest(const Command &command, const RequestArgs &args) {
    std::vector<uint8_t> packet{command.group, command.sub};
    switch (command.request) {
    case RequestForm::Query: break;
    case RequestForm::Parameter: putU8(packet, static_cast<uint8_t>(args.bytes.size())); break;
    case RequestForm::DebugMemory: putU8(packet, args.width); [[fallthrough]];
    case RequestForm::Memory:
        putU32(packet, args.address);
        putU16(packet, args.length);
        break;
    case RequestForm::Block: putU16(packet, static_cast<uint16_t>(args.bytes.size())); break;
    case RequestForm::Firmware:
        putU16(packet, static_cast<uint16_t>(args.bytes.size() + 1));
        putU8(packet, static_cast<uint8_t>(kFirmwareMarker + command.sub));
        break;
    case RequestForm::Address: putU32(packet, args.address); break;
    }
    putBytes(packet, args.bytes);
    return packet;
}

int exchange(ZRDeviceControl &device, const Command &command, const RequestArgs &args, Reply &reply,
             size_t replyLength) {
    if (!device.usbHandle()) return TRANS_INVALID_HANDLE_VALUE;
    // After a time-out, whatever is already waiting answers an earlier request, not this one.
    device.discardWaitingLateReplies();
    const std::vector<uint8_t> request = buildRequest(command, args);
    if (device.trans_write(request) <= 0) return TRANS_WRITE_ERROR;
    if (command.reply == ReplyForm::None) return kSuccess;

    const size_t wanted = replyLength ? replyLength : impliedReplyLength(command, args);
    // A reply longer than one packet can never arrive whole; the length check below refuses it.
    const size_t receivable = std::min(wanted, Reply::kMaxSize);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(replyTimeoutMs(command.timeoutMs));
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        // libusb would take a time-out of 0 as "wait for ever".
        const int received = left < 1 ? 0
                                      : device.trans_read_timeout(reply.buffer(), static_cast<int>(receivable),
                                                                  static_cast<unsigned>(left));
        if (received <= 0) {
            device.noteMissingReply();
            return command.silentResult;
        }
        reply.setSize(static_cast<size_t>(received));
        const int result = reply.size() != wanted || reply[0] != command.group ? int{TRANS_READ_PARAMS_ERROR}
                                                                                : checkReply(command, args, reply);
        // A reply that does not fit this request, while an earlier one is still owed, is that one
        // arriving late: it is dropped, and the wait for this request's own reply goes on.
        if (result == TRANS_READ_PARAMS_ERROR && device.takeLateReply()) continue;
        return result;
    }
}

int statusExchange(ZRDeviceControl &device, const Command &command, const RequestArgs &args) {
    Reply reply;
    return exchange(device, command, args, reply);
}

int dataExchange(ZRDeviceControl &device, const Command &command, const RequestArgs &args, uint8_t *out,
                 size_t n) {
    Reply reply;
    int rc = exchange(device, command, args, reply);
    if (rc == kSuccess) std::copy_n(reply.bytes() + 3, n, out);
    return rc;
}

int statusWith(ZRDeviceControl &device, const Command &command, const std::vector<uint8_t> &params) {
    return statusExchange(device, command, {params});
}

int readByte(ZRDeviceControl &device, const Command &command, uint8_t *out) {
    if (!out) return INPUT_PARAMS_ERROR;
    return dataExchange(device, command, {}, out, 1);
}

}  // namespace korvex
