// The checksum the BLE module keeps of its flash: CRC-32 with the polynomial 0x04C11DB7, computed
// with the reflected table over bit-reversed words, so that reversing the final register gives the
// checksum of a word-oriented CRC unit (CRC-32/MPEG-2 over little-endian words, MSB first).
#include "link_interface.h"

namespace {
constexpr uint32_t kPolynomial = 0x04C11DB7;
constexpr int kWordBytes = 4;
} // namespace

uint32_t CLinkInterface::ReverseBits(uint32_t value)
{
    uint32_t reversed = 0;
    for (int bit = 0; bit < 32; ++bit) {
        reversed = (reversed << 1) | (value & 1u);
        value >>= 1;
    }
    return reversed;
}

void CLinkInterface::MakeCrcTable()
{
    const uint32_t reflected = ReverseBits(kPolynomial);
    for (uint32_t n = 0; n < crcTable_.size(); ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? (c >> 1) ^ reflected : c >> 1;
        crcTable_[n] = c;
    }
}

uint32_t CLinkInterface::UpdateCrc(uint32_t crc, const uint8_t* bytes, uint32_t n) const
{
    for (uint32_t i = 0; i < n; ++i)
        crc = (crc >> 8) ^ crcTable_[(crc ^ bytes[i]) & 0xFF];
    return crc;
}

void CLinkInterface::GetCRCCode(const uint8_t* data, int len, uint32_t& crc)
{
    MakeCrcTable();
    for (int offset = 0; offset < len; offset += kWordBytes) {
        // A short last group reads as a word padded with zero bytes.
        uint32_t word = 0;
        for (int i = 0; i < kWordBytes && offset + i < len; ++i)
            word |= static_cast<uint32_t>(data[offset + i]) << (8 * i);
        const uint32_t r = ReverseBits(word);
        const uint8_t bytes[kWordBytes] = {static_cast<uint8_t>(r), static_cast<uint8_t>(r >> 8),
                                           static_cast<uint8_t>(r >> 16), static_cast<uint8_t>(r >> 24)};
        crc = UpdateCrc(crc, bytes, kWordBytes);
    }
}
