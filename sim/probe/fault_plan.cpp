#include "probe/fault_plan.h"

#include <cstdlib>

#include "probe/packet.h"
#include "probe/virtual_probe.h"

namespace ksim {
namespace {

std::optional<uint8_t> parseHexByte(const std::string &text)
{
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    char *end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 16);
    if (*end != '\0')
        return std::nullopt;
    return static_cast<uint8_t>(value);
}

// Where the data of a successful memory read reply starts, for the replies that carry memory.
std::optional<size_t> memoryDataOffset(const std::vector<uint8_t> &request, const std::vector<uint8_t> &reply)
{
    if (request.size() < 2 || reply.size() < 2 || reply[1] != request[1])
        return std::nullopt;
    if (request[0] == 0xB2 || (request[0] == 0xBE && request[1] == 0x04))
        return size_t{8};
    if (request[0] == 0xCF && request[1] == 0x00)
        return size_t{9};
    return std::nullopt;
}

}  // namespace

std::optional<FaultTrigger> FaultTrigger::parse(const std::string &text)
{
    FaultTrigger trigger;
    if (text == "*")
        return trigger;
    if (!text.empty() && text[0] == '#') {
        char *end = nullptr;
        const unsigned long long n = std::strtoull(text.c_str() + 1, &end, 10);
        if (text.size() == 1 || *end != '\0' || n == 0)
            return std::nullopt;
        trigger.kind = Nth;
        trigger.exchange = n;
        return trigger;
    }
    const auto dot = text.find('.');
    const auto cmd = parseHexByte(text.substr(0, dot));
    if (!cmd)
        return std::nullopt;
    trigger.kind = Command;
    trigger.cmd = *cmd;
    if (dot != std::string::npos) {
        trigger.sub = parseHexByte(text.substr(dot + 1));
        if (!trigger.sub)
            return std::nullopt;
    }
    return trigger;
}

bool FaultTrigger::matches(uint64_t index, const std::vector<uint8_t> &request) const
{
    switch (kind) {
    case Every: return true;
    case Nth: return index == exchange;
    case Command:
        return !request.empty() && request[0] == cmd && (!sub || (request.size() > 1 && request[1] == *sub));
    }
    return false;
}

std::string FaultTrigger::text() const
{
    switch (kind) {
    case Every: return "*";
    case Nth: return "#" + std::to_string(exchange);
    case Command: return hexByte(cmd) + (sub ? "." + hexByte(*sub) : std::string());
    }
    return {};
}

std::string faultName(FaultKind kind)
{
    switch (kind) {
    case FaultKind::NoReply: return "no_reply";
    case FaultKind::WrongEcho: return "wrong_echo";
    case FaultKind::Status: return "status";
    case FaultKind::Delay: return "delay";
    case FaultKind::CorruptRead: return "corrupt_read";
    case FaultKind::Unplug: return "unplug";
    }
    return {};
}

std::vector<std::string> FaultPlan::apply(uint64_t index, const std::vector<uint8_t> &request, FirmwareAction &action) const
{
    std::vector<std::string> applied;
    for (const FaultRule &rule : rules_) {
        if (!rule.trigger.matches(index, request))
            continue;
        auto &reply = action.reply;
        switch (rule.kind) {
        case FaultKind::NoReply:
            reply.reset();
            break;
        case FaultKind::WrongEcho:
            if (reply && !reply->empty())
                (*reply)[0] = static_cast<uint8_t>((*reply)[0] ^ 0x01);
            break;
        case FaultKind::Status:
            if (reply && reply->size() >= 2)
                (*reply)[1] = static_cast<uint8_t>(rule.value);
            break;
        case FaultKind::Delay:
            action.delayMs += rule.value;
            break;
        case FaultKind::CorruptRead: {
            const auto offset = reply ? memoryDataOffset(request, *reply) : std::nullopt;
            if (!offset || *offset + rule.value >= reply->size())
                continue;
            (*reply)[*offset + rule.value] = static_cast<uint8_t>(~(*reply)[*offset + rule.value]);
            break;
        }
        case FaultKind::Unplug:
            action.unplug = true;
            break;
        }
        applied.push_back(faultName(rule.kind) + "@" + rule.trigger.text());
    }
    return applied;
}

}  // namespace ksim
