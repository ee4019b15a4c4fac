// The checksum written into the BLE module, against the known values and an independent
// bit-by-bit CRC-32/MPEG-2 over the words.
#include "link_interface.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

uint32_t Mpeg2OverWords(const std::vector<uint8_t>& data)
{
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i + 4 <= data.size(); i += 4) {
        for (int b = 3; b >= 0; --b) {
            crc ^= static_cast<uint32_t>(data[i + static_cast<size_t>(b)]) << 24;
            for (int k = 0; k < 8; ++k)
                crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

uint32_t FinalValue(CLinkInterface& link, const std::vector<uint8_t>& data)
{
    uint32_t crc = 0xFFFFFFFF;
    link.GetCRCCode(data.data(), static_cast<int>(data.size()), crc);
    return CLinkInterface::ReverseBits(crc);
}

TEST(BleCrc, equals_crc32_mpeg2_over_little_endian_words)
{
    CLinkInterface link;
    EXPECT_EQ(FinalValue(link, std::vector<uint8_t>(4, 0)), 0xC704DD7Bu); // the known value of the reference
    std::mt19937 random(7);
    for (size_t words : {1u, 2u, 255u, 4096u}) {
        std::vector<uint8_t> data(words * 4);
        for (uint8_t& byte : data)
            byte = static_cast<uint8_t>(random());
        EXPECT_EQ(FinalValue(link, data), Mpeg2OverWords(data)) << words;
    }
    EXPECT_EQ(FinalValue(link, std::vector<uint8_t>(163832, 0xFF)), Mpeg2OverWords(std::vector<uint8_t>(163832, 0xFF)));
}

TEST(CalculateCheckSum, a_negative_length_sums_nothing)
{
    const std::vector<uint8_t> bytes(16, 0xFF);
    EXPECT_EQ(CLinkInterface::CalculateCheckSum("", -5, bytes.data()), 0u);
}

}  // namespace
