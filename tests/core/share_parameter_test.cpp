#include "share_parameter.h"

#include <gtest/gtest.h>

#include <climits>

TEST(NumberText, StringToUInt32ReadsLikeStrtollAndKeepsTheLow32Bits)
{
    const std::pair<const char*, uint32_t> rows[] = {
        {"ffffffff", 0xFFFFFFFF}, {"0x08000000", 0x08000000}, {"8004000", 0x08004000}, {"5c3e91b7", 0x5C3E91B7},
        {"-1", 0xFFFFFFFF},       {"20000000xyz", 0x20000000}, {"junk", 0},             {"123456789A", 0x3456789A},
    };
    for (const auto& [text, value] : rows)
        EXPECT_EQ(ShareParameter::StringToUInt32(text, 16), value) << text;
    EXPECT_EQ(ShareParameter::StringToUInt32("-1", 10), 0xFFFFFFFFu);
}

TEST(NumberText, IntToHexStringPadsCutsFromTheLeftAndUpperCases)
{
    const struct {
        int32_t value;
        int width;
        const char* text;
    } rows[] = {
        {0x1A, 8, "0000001A"}, {255, 2, "FF"}, {-1, 8, "FFFFFFFF"}, {0x12345, 4, "2345"}, {0xABCDEF, 1, "F"},
        {5, 0, ""},            {5, -3, ""},    {-1, 10, "00FFFFFFFF"}, {INT_MIN, 8, "80000000"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ShareParameter::IntToHexString(row.value, row.width), row.text) << row.value << " " << row.width;
    EXPECT_EQ(ShareParameter::ToLower("flash\xA1\xA2SPIM"), "flash\xA1\xA2spim"); // ASCII letters only
}
