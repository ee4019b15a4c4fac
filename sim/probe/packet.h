// Reading requests and building replies of the probe's command frame: byte 0 the command group,
// byte 1 the sub-command (or memory type), multi-byte numbers big-endian.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "target/status.h"

namespace ksim {

using Bytes = std::vector<uint8_t>;

// A request already checked against its layout: every index the layout names is present.
class Packet {
public:
    explicit Packet(const Bytes &bytes) : bytes_(bytes) {}
    size_t size() const { return bytes_.size(); }
    uint8_t cmd() const { return u8(0); }
    uint8_t sub() const { return u8(1); }
    uint8_t u8(size_t at) const { return at < bytes_.size() ? bytes_[at] : 0; }
    uint16_t be16(size_t at) const { return static_cast<uint16_t>(u8(at) << 8 | u8(at + 1)); }
    uint32_t be32(size_t at) const { return uint32_t{be16(at)} << 16 | be16(at + 2); }
    const uint8_t *data(size_t at) const { return bytes_.data() + at; }
    const Bytes &bytes() const { return bytes_; }

private:
    const Bytes &bytes_;
};

void appendBe16(Bytes &out, uint16_t value);
void appendBe32(Bytes &out, uint32_t value);

// cmd, status
Bytes statusReply(uint8_t cmd, Status status);
// cmd, sub, n, then the n data bytes
Bytes dataReply(uint8_t cmd, uint8_t sub, const Bytes &data);
// cmd, type (or the refusing status), address (4), length (2), then length data bytes; a refusal
// keeps the full length with 0xFF data so that the host reads the status byte, not a short reply
Bytes memoryReply(uint8_t cmd, uint8_t typeOrStatus, uint32_t address, uint16_t length, const Bytes &data);

std::string hexBytes(const uint8_t *bytes, size_t count);
inline std::string hexBytes(const Bytes &bytes) { return hexBytes(bytes.data(), bytes.size()); }
// A packet as the exchange log shows it; with trimZeros (HID reports) the zero padding after the
// last non-zero byte (beyond byte 1) is counted instead: "B0 00 (+62 zero bytes)".
std::string hexPacket(const Bytes &packet, bool trimZeros);
std::string hexByte(uint8_t value);
std::string hexWord(uint32_t value);  // 0x08000000

}  // namespace ksim
