#include "share_parameter.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

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

namespace {
void ExpectWindows(const ShareParameter& shared, const std::vector<std::pair<const char*, bool>>& cases)
{
    for (const auto& [address, valid] : cases)
        EXPECT_EQ(shared.IsAddressTextInTarget(address), valid) << address;
}
} // namespace

// Main flash ends at the flash size and never reaches into the SPIM window; SPIM counts only when
// enabled and below its size (a huge size does not wrap); boot memory is that of the series.
TEST(AddressWindows, EachMemoryCountsWithinItsWindow)
{
    ShareParameter shared;
    shared.flashSizeText = "256KB";
    shared.connectState = LINK_MCU_CONNECTED;
    ExpectWindows(shared, {{"08000000", true}, {"0x08000000", true}, {"0803FFFF", true}, {"08040000", false},
                           {"083FFFFF", false}, {"", false}, {"08400000", false}, {"1FFFA400", false}});
    shared.flashSizeText = "5120KB";
    ExpectWindows(shared, {{"083FFFFF", true}, {"08400000", false}});
    shared.spimEnabled = true;
    shared.spimSizeMb = 0;
    ExpectWindows(shared, {{"08400000", false}});
    shared.spimSizeMb = 1;
    ExpectWindows(shared, {{"08400000", true}, {"084FFFFF", true}, {"08500000", false}});
    shared.spimSizeMb = 16;
    ExpectWindows(shared, {{"093FFFFF", true}, {"09400000", false}});
    shared.spimSizeMb = 4096; // 4 GB: the end lies past 32 bits
    ExpectWindows(shared, {{"08400000", true}, {"093FFFFF", true}});
    shared.otp3Address = 0x1FFFA400;
    shared.otp3Size = 0x5000;
    ExpectWindows(shared, {{"1FFFA3FF", false}, {"1FFFA400", true}, {"1FFFF3FF", true}, {"1FFFF400", false},
                           {"FFFFFFFF", false}});
}

TEST(AddressWindows, BelowTheFlashOnlyTheConnectedBleModuleCounts)
{
    ShareParameter shared;
    shared.flashSizeText = "256KB";
    shared.bleFlashAddress = 0;
    shared.bleFlashSize = 163832;
    const std::pair<ConnectState, std::vector<std::pair<const char*, bool>>> rows[] = {
        {LINK_MCU_CONNECTED, {{"00001000", false}}},
        {LINK_BLE_CONNECTED, {{"00000000", true}, {"00001000", true}, {"00027FF7", true}, {"00027FF8", false}}},
        {LINK_MCU_BLE_CONNECTED, {{"00001000", true}, {"07FFFFFF", false}}},
        {LINK_CONNECTED, {{"00001000", false}}},
    };
    for (const auto& [state, cases] : rows) {
        shared.connectState = state;
        ExpectWindows(shared, cases);
    }
}
