#include "probe/fault_plan.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "probe/packet.h"
#include "probe/virtual_probe.h"

namespace ksim {
namespace {

std::optional<uint8_t> parseHexByte(const std::string &text)
{
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    return static_cast<uint8_t>(std::strtoul(text.c_str(), nullptr, 16));
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

// The largest request or match number a trigger may name: counters are 64-bit, and nothing
// reaches 2^63 requests.
constexpr uint64_t kMaxCount = uint64_t{1} << 63;

// A count from 1 to 2^63: nothing when the text is no number at all, else the count or 0 with the
// reason why it can never be reached.
std::optional<uint64_t> parseCount(const std::string &text, const char *what, std::string &error)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    errno = 0;
    const unsigned long long n = std::strtoull(digits.c_str(), nullptr, 10);
    if (negative || n == 0)
        error = std::string(what) + " are counted from 1";
    else if (errno == ERANGE || n > kMaxCount)
        error = std::string(what) + " are counted up to 2^63";
    else
        return n;
    return uint64_t{0};
}

}  // namespace

std::optional<FaultTrigger> FaultTrigger::parse(const std::string &text, std::string &error)
{
    auto malformed = [&]() {
        error = "expected a trigger #N, GG, GG.SS, GG.SS@K, GG.SS@K+ or *, got \"" + text + "\"";
        return std::nullopt;
    };
    auto neverFires = [&](const std::string &why) {
        error = "trigger " + text + " can never fire: " + why;
        return std::nullopt;
    };
    FaultTrigger trigger;
    if (text == "*")
        return trigger;
    std::string why;
    if (!text.empty() && text[0] == '#') {
        const auto n = parseCount(text.substr(1), "requests", why);
        if (!n)
            return malformed();
        if (*n == 0)
            return neverFires(why);
        trigger.kind = Nth;
        trigger.exchange = *n;
        return trigger;
    }
    const auto at = text.find('@');
    const std::string pattern = text.substr(0, at);
    const auto dot = pattern.find('.');
    const auto cmd = parseHexByte(pattern.substr(0, dot));
    if (!cmd)
        return malformed();
    trigger.kind = Command;
    trigger.cmd = *cmd;
    if (dot != std::string::npos) {
        trigger.sub = parseHexByte(pattern.substr(dot + 1));
        if (!trigger.sub)
            return malformed();
    }
    if (at == std::string::npos)
        return trigger;
    std::string count = text.substr(at + 1);
    trigger.andLater = !count.empty() && count.back() == '+';
    if (trigger.andLater)
        count.pop_back();
    const auto k = parseCount(count, "matches", why);
    if (!k)
        return malformed();
    if (*k == 0)
        return neverFires(why);
    trigger.occurrence = *k;
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

bool FaultTrigger::picks(uint64_t matchCount) const
{
    if (occurrence == 0)
        return true;
    return andLater ? matchCount >= occurrence : matchCount == occurrence;
}

std::string FaultTrigger::text() const
{
    switch (kind) {
    case Every: return "*";
    case Nth: return "#" + std::to_string(exchange);
    case Command: {
        std::string text = hexByte(cmd) + (sub ? "." + hexByte(*sub) : std::string());
        if (occurrence != 0)
            text += "@" + std::to_string(occurrence) + (andLater ? "+" : "");
        return text;
    }
    }
    return {};
}

std::string faultName(FaultKind kind)
{
    switch (kind) {
    case FaultKind::NoReply: return "no_reply";
    case FaultKind::WrongEcho: return "wrong_echo";
    case FaultKind::Status: return "status";
    case FaultKind::ReplyByte: return "reply_byte";
    case FaultKind::Refuse: return "refuse";
    case FaultKind::Delay: return "delay";
    case FaultKind::CorruptRead: return "corrupt_read";
    case FaultKind::Unplug: return "unplug";
    }
    return {};
}

bool FaultPlan::fires(FaultRule &rule, uint64_t index, const std::vector<uint8_t> &request)
{
    if (!rule.trigger.matches(index, request))
        return false;
    return rule.trigger.picks(++rule.matchCount);
}

std::optional<uint8_t> FaultPlan::refusal(uint64_t index, const std::vector<uint8_t> &request, std::vector<std::string> &applied)
{
    std::optional<uint8_t> status;
    for (FaultRule &rule : rules_) {
        if (rule.kind != FaultKind::Refuse || !fires(rule, index, request) || status)
            continue;
        status = static_cast<uint8_t>(rule.value);
        applied.push_back(faultName(rule.kind) + "@" + rule.trigger.text());
    }
    return status;
}

std::vector<std::string> FaultPlan::apply(uint64_t index, const std::vector<uint8_t> &request, FirmwareAction &action)
{
    std::vector<std::string> applied;
    for (FaultRule &rule : rules_) {
        if (rule.kind == FaultKind::Refuse || !fires(rule, index, request))
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
        case FaultKind::ReplyByte:
            if (!reply || rule.offset >= reply->size())
                continue;
            (*reply)[rule.offset] = static_cast<uint8_t>(rule.value);
            break;
        case FaultKind::Refuse:
            continue;
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
