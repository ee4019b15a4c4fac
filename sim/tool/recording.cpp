#include "recording.h"

#include "probe/text_values.h"
#include "usb/usb_descriptors.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace ksim_tool {
namespace {

struct PacketText {
    std::optional<std::vector<uint8_t>> bytes;  // nothing: "(no reply)"
    unsigned delayMs = 0;
    bool unplug = false;
};

bool isHexByte(const std::string &token)
{
    return token.size() == 2 && std::isxdigit(static_cast<unsigned char>(token[0])) &&
           std::isxdigit(static_cast<unsigned char>(token[1]));
}

// "B0 00 (+62 zero bytes)", "B0 F1 after 20 ms, then unplugged", "(no reply)".
bool parsePacket(const std::string &text, PacketText &packet)
{
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    std::vector<uint8_t> bytes;
    bool noReply = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const std::string &t = tokens[i];
        const std::string next = i + 1 < tokens.size() ? tokens[i + 1] : std::string();
        if (isHexByte(t)) {
            bytes.push_back(static_cast<uint8_t>(std::strtoul(t.c_str(), nullptr, 16)));
        } else if (t.rfind("(+", 0) == 0 && next == "zero" && i + 2 < tokens.size() && tokens[i + 2] == "bytes)") {
            const auto zeros = ksim::parseNumber(t.substr(2), 64);
            if (!zeros) return false;
            bytes.resize(bytes.size() + *zeros, 0);
            i += 2;
        } else if (t == "after" && i + 2 < tokens.size() && tokens[i + 2].rfind("ms", 0) == 0) {
            const auto ms = ksim::parseNumber(next, 600000);
            if (!ms) return false;
            packet.delayMs = static_cast<unsigned>(*ms);
            i += 2;
        } else if (t == "then" && next == "unplugged") {
            packet.unplug = true;
            ++i;
        } else if (t == "(no" && next.rfind("reply)", 0) == 0) {
            noReply = true;
            ++i;
        } else {
            return false;
        }
    }
    if (noReply != bytes.empty()) return false;
    if (!noReply) packet.bytes = std::move(bytes);
    return true;
}

// "interface 1 bulk 82/64 02/64 Korvex Bulk": the channel's kind, endpoint sizes and name.
bool parseInterface(std::istringstream &in, ksim::UsbIdentity &identity, bool &hid, bool &bulk, std::string &error)
{
    std::string number, kind, inEndpoint, outEndpoint, name;
    in >> number >> kind >> inEndpoint >> outEndpoint;
    std::getline(in >> std::ws, name);
    const std::string size = "/" + std::to_string(ksim::kMaxPacketSize);
    auto hasSize = [&](const std::string &endpoint) {
        return endpoint.size() > size.size() && endpoint.compare(endpoint.size() - size.size(), size.size(), size) == 0;
    };
    if ((kind != "hid" && kind != "bulk") || !hasSize(inEndpoint) || !hasSize(outEndpoint)) {
        error = "the recorded interface is \"" + kind + " " + inEndpoint + " " + outEndpoint +
                "\"; the emulated probe offers hid or bulk with 64-byte endpoints";
        return false;
    }
    (kind == "hid" ? identity.hidInterfaceName : identity.bulkInterfaceName) = name;
    (kind == "hid" ? hid : bulk) = true;
    return true;
}

bool parseHeader(const std::string &line, ksim::UsbIdentity &identity, bool &hid, bool &bulk, std::string &error)
{
    std::istringstream in(line);
    std::string word;
    in >> word;
    std::string rest;
    if (word == "interface") return parseInterface(in, identity, hid, bulk, error);
    std::getline(in >> std::ws, rest);
    if (word == "usb") {
        char ids[16];
        std::snprintf(ids, sizeof ids, "%04X:%04X", ksim::kProbeVendorId, ksim::kProbeProductId);
        if (rest != ids) {
            error = "the recorded probe is USB " + rest + "; the emulated probe is " + ids;
            return false;
        }
    } else if (word == "manufacturer") {
        identity.manufacturer = rest;
    } else if (word == "product") {
        identity.product = rest;
    } else if (word == "serial") {
        identity.serial = rest;
    }
    return true;
}

}  // namespace

bool readRecording(const std::string &path, Recording &recording, std::string &error)
{
    std::vector<uint8_t> text;
    if (!ksim::readBinaryFile(path, text, error)) return false;
    std::istringstream in(std::string(text.begin(), text.end()));
    ksim::UsbIdentity identity = ksim::VirtualProbe().usbIdentity();
    bool hid = false, bulk = false;
    RecordedExchange *current = nullptr;  // the exchange whose request and reply lines follow
    bool inUnsolicited = false;
    bool replyTaken = false;
    std::string line;
    for (size_t number = 1; std::getline(in, line); ++number) {
        auto bad = [&](const std::string &why) {
            error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        };
        if (line.rfind("  #", 0) == 0) {
            std::istringstream head(line.substr(3));
            std::string index, transport;
            head >> index >> transport;
            if (transport != "hid" && transport != "bulk") return bad("expected \"#N hid\" or \"#N bulk\"");
            recording.exchanges.push_back({number, transport == "hid", {}, {}, 0, false});
            current = &recording.exchanges.back();
            inUnsolicited = false;
            replyTaken = false;
        } else if (line == "  unsolicited") {
            current = nullptr;
            inUnsolicited = true;
        } else if (line.rfind("    > ", 0) == 0 || line.rfind("    < ", 0) == 0) {
            if (inUnsolicited) continue;  // stale reports are not replayed
            PacketText packet;
            if (!current || !parsePacket(line.substr(6), packet)) return bad("cannot read \"" + line + "\"");
            if (line[4] == '>') {
                if (!packet.bytes) return bad("a request without bytes");
                current->request = *packet.bytes;
            } else if (current->request.empty()) {
                return bad("a reply before its request");
            } else if (!replyTaken) {
                replyTaken = true;
                current->reply = packet.bytes;
                current->delayMs = packet.delayMs;
                current->unplug = packet.unplug;
            }
        } else if (!line.empty() && line[0] != ' ' && recording.exchanges.empty()) {
            if (!parseHeader(line, identity, hid, bulk, error)) return bad(error);
        }
    }
    if (hid || bulk) identity.transport = hid && bulk ? ksim::Transport::Both : hid ? ksim::Transport::Hid : ksim::Transport::Bulk;
    recording.identity = identity;
    return true;
}

}  // namespace ksim_tool
