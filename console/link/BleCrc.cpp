// The checksum the BLE module keeps of its flash: CRC-32 with the polynomial 0x04C11DB7, computed
// with the reflected table over bit-reversed words, so that reversing the final register gives the
// checksum of a word-oriented CRC unit (CRC-32/MPEG-2 over little-endian words, MSB first).
#include "LinkInterface.h"

namespace {
constexpr uint32_t kPolynomial = 0x04C11DB7;
constexpr int kWordBytes = 4;
} // namespace

uint32_t CLinkInterface::HigBitToLowBit(uint32_t value)
{
    uint32_t reversed = 0;
    for (int bit = 0; bit < 32; ++bit) {
        reversed = (reversed << 1) | (value & 1u);
        value >>= 1;
    }
    return reversed;
}

void CLinkInterface::make_crc32_table()
{
    const uint32_t reflected = HigBitToLowBit(kPolynomial);
    for (uint32_t n = 0; n < ble_crc32_table.size(); ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? (c >> 1) ^ reflected : c >> 1;
        ble_crc32_table[n] = c;
    }
}

uint32_t CLinkInterface::make_crc32(uint32_t crc, const uint8_t* bytes, uint32_t n) const
{
    for (uint32_t i = 0; i < n; ++i)
        crc = (crc >> 8) ^ ble_crc32_table[(crc ^ bytes[i]) & 0xFF];
    return crc;
}

void CLinkInterface::GetCRCCode(const uint8_t* data, int len, uint32_t& crc)
{
    make_crc32_table();
    for (int offset = 0; offset < len; offset += kWordBytes) {
        // A short last group reads as a word padded with zero bytes.
        uint32_t word = 0;
        for (int i = 0; i < kWordBytes && offset + i < len; ++i)
            word |= static_cast<uint32_t>(data[offset + i]) << (8 * i);
        const uint32_t r = HigBitToLowBit(word);
        const uint8_t bytes[kWordBytes] = {static_cast<uint8_t>(r), static_cast<uint8_t>(r >> 8),
                                           static_cast<uint8_t>(r >> 16), static_cast<uint8_t>(r >> 24)};
        crc = make_crc32(crc, bytes, kWordBytes);
    }
}
