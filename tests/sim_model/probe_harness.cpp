#include "probe_harness.h"

#include <cctype>

namespace ksim::test {

Bytes hex(const std::string &text)
{
    Bytes bytes;
    std::string digits;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
    }
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string hexText(const std::optional<Bytes> &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    if (!bytes)
        return text;
    for (uint8_t b : *bytes) {
        if (!text.empty())
            text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

Bytes hidReport(const Bytes &request)
{
    Bytes report(request);
    report.resize(64, 0);
    return report;
}

ProbeHarness::ProbeHarness(std::initializer_list<std::pair<std::string, std::string>> config)
{
    for (const auto &[key, value] : config)
        set(key, value);
}

void ProbeHarness::set(const std::string &key, const std::string &value)
{
    std::string error;
    ASSERT_TRUE(probe.configure(key, value, error)) << key << "=" << value << ": " << error;
}

std::string ProbeHarness::bulk(const std::string &request) { return hexText(probe.handleRequest(hex(request), false).reply); }

std::string ProbeHarness::hid(const std::string &request)
{
    return hexText(probe.handleRequest(hidReport(hex(request)), true).reply);
}

void ProbeHarness::expectExchanges(const std::vector<WireCase> &cases)
{
    for (const WireCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(bulk(c.request), hexText(hex(c.reply))) << "bulk request " << c.request;
    }
}

}  // namespace ksim::test
