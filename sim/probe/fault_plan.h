// Injected faults, kept as data: each rule names a trigger (the n-th exchange, the k-th request of a
// command, or every exchange) and what goes wrong. Refusals replace the command before it runs;
// every other kind acts on the firmware's reply after the command has run. Command handlers know
// nothing about faults.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ksim {

struct FirmwareAction;

struct FaultTrigger {
    enum Kind { Nth, Command, Every } kind = Every;
    uint64_t exchange = 0;       // Nth: 1-based
    uint8_t cmd = 0;             // Command
    std::optional<uint8_t> sub;  // Command: byte 1 as well, when given
    uint64_t occurrence = 0;     // Command: only the occurrence-th match (0: every match)
    bool andLater = false;       // Command: the occurrence-th match and every later one

    // "#17", "B2", "B2.00", "B2.00@3", "B2.00@3+", "*". A trigger that can never fire (#0, a
    // negative number, a count past 2^63) is refused with the reason.
    static std::optional<FaultTrigger> parse(const std::string &text, std::string &error);
    // Whether the request has the trigger's shape (number, group, sub-command); occurrences aside.
    bool matches(uint64_t index, const std::vector<uint8_t> &request) const;
    // Whether the matchCount-th matching request is one the trigger picks.
    bool picks(uint64_t matchCount) const;
    std::string text() const;
};

enum class FaultKind {
    NoReply,      // the probe stays silent
    WrongEcho,    // byte 0 of the reply changes
    Status,       // byte 1 of the reply becomes the given status
    ReplyByte,    // byte `offset` of the reply becomes `value`
    Refuse,       // the command is not carried out; the reply is [group, value]
    Delay,        // the reply comes value ms later
    CorruptRead,  // one data byte of a memory read reply is inverted (value: index in the data)
    Unplug,       // the probe leaves the bus after answering
};

struct FaultRule {
    FaultTrigger trigger;
    FaultKind kind = FaultKind::NoReply;
    uint32_t value = 0;
    uint32_t offset = 0;      // ReplyByte
    uint64_t matchCount = 0;  // requests of the trigger's shape seen so far
};

class FaultPlan {
public:
    void add(const FaultRule &rule) { rules_.push_back(rule); }
    void clear() { rules_.clear(); }
    const std::vector<FaultRule> &rules() const { return rules_; }

    // Before the command runs: the status of a refusal rule that fires for this request, if any;
    // the rule's description goes to applied. Counts the refusal rules' matches.
    std::optional<uint8_t> refusal(uint64_t index, const std::vector<uint8_t> &request, std::vector<std::string> &applied);
    // After the command ran: applies every other rule that fires; returns a description of each.
    std::vector<std::string> apply(uint64_t index, const std::vector<uint8_t> &request, FirmwareAction &action);

private:
    bool fires(FaultRule &rule, uint64_t index, const std::vector<uint8_t> &request);

    std::vector<FaultRule> rules_;
};

std::string faultName(FaultKind kind);

}  // namespace ksim
