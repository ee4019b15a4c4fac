#include "probe/packet.h"

#include <algorithm>

namespace ksim {

void appendBe16(Bytes &out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void appendBe32(Bytes &out, uint32_t value)
{
    appendBe16(out, static_cast<uint16_t>(value >> 16));
    appendBe16(out, static_cast<uint16_t>(value));
}

Bytes statusReply(uint8_t cmd, Status status) { return {cmd, statusByte(status)}; }

Bytes dataReply(uint8_t cmd, uint8_t sub, const Bytes &data)
{
    Bytes out(3 + data.size());
    out[0] = cmd;
    out[1] = sub;
    out[2] = static_cast<uint8_t>(data.size());
    std::copy(data.begin(), data.end(), out.begin() + 3);
    return out;
}

Bytes memoryReply(uint8_t cmd, uint8_t typeOrStatus, uint32_t address, uint16_t length, const Bytes &data)
{
    Bytes out{cmd, typeOrStatus};
    appendBe32(out, address);
    appendBe16(out, length);
    out.insert(out.end(), data.begin(), data.end());
    out.resize(8u + length, 0xFF);
    return out;
}

std::string hexByte(uint8_t value)
{
    static const char digits[] = "0123456789ABCDEF";
    return {digits[value >> 4], digits[value & 0x0F]};
}

std::string hexWord(uint32_t value)
{
    return "0x" + hexByte(static_cast<uint8_t>(value >> 24)) + hexByte(static_cast<uint8_t>(value >> 16)) +
           hexByte(static_cast<uint8_t>(value >> 8)) + hexByte(static_cast<uint8_t>(value));
}

std::string hexBytes(const uint8_t *bytes, size_t count)
{
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i != 0)
            text += ' ';
        text += hexByte(bytes[i]);
    }
    return text;
}

std::string hexPacket(const Bytes &packet, bool trimZeros)
{
    auto last = std::find_if(packet.rbegin(), packet.rend(), [](uint8_t b) { return b != 0; });
    const size_t shown = trimZeros ? std::max<size_t>(std::min<size_t>(2, packet.size()), static_cast<size_t>(packet.rend() - last))
                                   : packet.size();
    std::string text = hexBytes(packet.data(), shown);
    if (shown < packet.size())
        text += " (+" + std::to_string(packet.size() - shown) + " zero bytes)";
    return text;
}

}  // namespace ksim
