#include "strict_number.h"

#include <gtest/gtest.h>

TEST(StrictNumber, sector_ranges_are_decimal_digits_only)
{
    const struct {
        const char* text;
        bool accepted;
        int32_t first, last;
    } cases[] = {
        {"7", true, 7, 7},     {"2-5", true, 2, 5},     {"5-2", true, 5, 2}, {"0-2147483647", true, 0, 2147483647},
        {"a-b", false, 0, 0},  {"0x10", false, 0, 0},   {"-3", false, 0, 0}, {"3,5", false, 0, 0},
        {"1e2", false, 0, 0},  {"4294967297", false, 0, 0}, {"2147483648", false, 0, 0}, {"0-0x7f", false, 0, 0},
        {"1-2-3", false, 0, 0}, {"", false, 0, 0},      {"3-", false, 0, 0}, {"+3", false, 0, 0},
        {" 3", false, 0, 0},   {"99999999999999999999", false, 0, 0},
    };
    for (const auto& c : cases) {
        int32_t first = -1, last = -1;
        EXPECT_EQ(ParseSectorRange(c.text, first, last), c.accepted) << c.text;
        EXPECT_EQ(std::make_pair(first, last), c.accepted ? std::make_pair(c.first, c.last) : std::make_pair(first, last))
            << c.text;
    }
}

TEST(StrictNumber, hexadecimal_takes_an_optional_prefix_and_32_bits_and_decimal_stays_within_its_limit)
{
    const struct {
        const char* text;
        bool accepted;
        uint32_t value;
    } cases[] = {
        {"8004000", true, 0x08004000},    {"0x5C3E91B7", true, 0x5C3E91B7}, {"5c3e91b7", true, 0x5C3E91B7},
        {"0XFFFFFFFF", true, 0xFFFFFFFF}, {"000000001", true, 1},          {"0", true, 0},
        {"100000000", false, 0},          {"0x", false, 0},                 {"", false, 0},
        {"-1", false, 0},                 {"20000000xyz", false, 0},        {"0x0x1", false, 0},
        {" 1", false, 0},
    };
    for (const auto& c : cases) {
        uint32_t value = 12345;
        EXPECT_EQ(ParseHex32(c.text, value), c.accepted) << c.text;
        EXPECT_EQ(value, c.accepted ? c.value : value) << c.text;
    }
    uint32_t value = 0;
    EXPECT_TRUE(ParseDecimal("4095", 4095, value) && value == 4095u);
    EXPECT_TRUE(ParseDecimal("4294967295", 0xFFFFFFFF, value) && value == 0xFFFFFFFFu);
    for (const auto& [text, limit] : {std::make_pair("4096", 4095u), {"4294967296", 0xFFFFFFFFu}, {"8M", 0xFFFFFFFFu}})
        EXPECT_FALSE(ParseDecimal(text, limit, value)) << text;
}
