// Injected faults, kept as data: each rule names a trigger (the n-th exchange, a command, or every
// exchange) and what goes wrong. The plan acts on the firmware's reply after the command has run, so
// command handlers know nothing about faults.
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

    // "#17", "B2", "B2.00", "*"
    static std::optional<FaultTrigger> parse(const std::string &text);
    bool matches(uint64_t index, const std::vector<uint8_t> &request) const;
    std::string text() const;
};

enum class FaultKind {
    NoReply,      // the probe stays silent
    WrongEcho,    // byte 0 of the reply changes
    Status,       // byte 1 of the reply becomes the given status
    Delay,        // the reply comes value ms later
    CorruptRead,  // one data byte of a memory read reply is inverted (value: index in the data)
    Unplug,       // the probe leaves the bus after answering
};

struct FaultRule {
    FaultTrigger trigger;
    FaultKind kind = FaultKind::NoReply;
    uint32_t value = 0;
};

class FaultPlan {
public:
    void add(const FaultRule &rule) { rules_.push_back(rule); }
    void clear() { rules_.clear(); }
    const std::vector<FaultRule> &rules() const { return rules_; }

    // Applies every rule that matches; returns a description of each one applied.
    std::vector<std::string> apply(uint64_t index, const std::vector<uint8_t> &request, FirmwareAction &action) const;

private:
    std::vector<FaultRule> rules_;
};

std::string faultName(FaultKind kind);

}  // namespace ksim
