#include "share_parameter.h"

#include <gtest/gtest.h>

#include <vector>

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
