// Drives a virtual probe with real packets written as hex text, as the host would send them.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "probe/virtual_probe.h"

namespace ksim::test {

using Bytes = std::vector<uint8_t>;

Bytes hex(const std::string &text);
std::string hexText(const std::optional<Bytes> &bytes);
Bytes hidReport(const Bytes &request);  // zero-padded to 64 bytes

struct WireCase {
    std::string what;
    std::string request;  // bytes on the wire, hex
    std::string reply;    // expected reply, hex; "" for no reply
};

class ProbeHarness {
public:
    explicit ProbeHarness(std::initializer_list<std::pair<std::string, std::string>> config = {});

    VirtualProbe probe;

    void set(const std::string &key, const std::string &value);
    // Sends over bulk (or as a HID report) and returns the reply as hex text ("" when silent).
    std::string bulk(const std::string &request);
    std::string hid(const std::string &request);
    // Runs a table of exchanges over bulk on the same probe, in order.
    void expectExchanges(const std::vector<WireCase> &cases);
    const Exchange &lastExchange() const { return probe.exchangeLog().back(); }
};

}  // namespace ksim::test
