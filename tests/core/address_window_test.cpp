#include "share_parameter.h"

#include <gtest/gtest.h>

namespace {
struct WindowCase {
    const char* address;
    bool valid;
};

void ExpectWindows(const ShareParameter& shared, std::initializer_list<WindowCase> cases)
{
    for (const WindowCase& c : cases)
        EXPECT_EQ(shared.IsAddressTextInTarget(c.address), c.valid) << c.address;
}

ShareParameter TargetWith256KBFlash()
{
    ShareParameter shared;
    shared.flashSizeText = "256KB";
    shared.connectState = LINK_MCU_CONNECTED;
    return shared;
}
} // namespace

TEST(AddressWindows, MainFlashEndsAtTheFlashSize)
{
    const ShareParameter shared = TargetWith256KBFlash();
    ExpectWindows(shared, {{"08000000", true}, {"0x08000000", true}, {"0803FFFF", true},
                           {"08040000", false}, {"083FFFFF", false}, {"", false}});
}

TEST(AddressWindows, MainFlashNeverReachesIntoTheSpimWindow)
{
    ShareParameter shared = TargetWith256KBFlash();
    shared.flashSizeText = "5120KB";
    ExpectWindows(shared, {{"083FFFFF", true}, {"08400000", false}});
}

TEST(AddressWindows, SpimCountsOnlyWhenEnabledAndBelowItsSize)
{
    ShareParameter shared = TargetWith256KBFlash();
    ExpectWindows(shared, {{"08400000", false}});
    shared.spimEnabled = true;
    shared.spimSizeMb = 0;
    ExpectWindows(shared, {{"08400000", false}});
    shared.spimSizeMb = 1;
    ExpectWindows(shared, {{"08400000", true}, {"084FFFFF", true}, {"08500000", false}});
    shared.spimSizeMb = 16;
    ExpectWindows(shared, {{"093FFFFF", true}, {"09400000", false}});
}

TEST(AddressWindows, AHugeSpimSizeDoesNotWrapTheWindowEnd)
{
    ShareParameter shared = TargetWith256KBFlash();
    shared.spimEnabled = true;
    shared.spimSizeMb = 4096; // 4 GB: the end lies past 32 bits
    ExpectWindows(shared, {{"08400000", true}, {"093FFFFF", true}});
}

TEST(AddressWindows, BootMemoryAboveTheFlashWindowsIsThatOfTheSeries)
{
    ShareParameter shared = TargetWith256KBFlash();
    ExpectWindows(shared, {{"1FFFA400", false}, {"09400000", false}});
    shared.otp3Address = 0x1FFFA400;
    shared.otp3Size = 0x5000;
    ExpectWindows(shared, {{"1FFFA3FF", false}, {"1FFFA400", true}, {"1FFFF3FF", true},
                           {"1FFFF400", false}, {"FFFFFFFF", false}});
}

TEST(AddressWindows, BelowTheFlashOnlyTheConnectedBleModuleCounts)
{
    ShareParameter shared = TargetWith256KBFlash();
    shared.bleFlashAddress = 0;
    shared.bleFlashSize = 163832;
    ExpectWindows(shared, {{"00001000", false}});
    shared.connectState = LINK_BLE_CONNECTED;
    ExpectWindows(shared, {{"00000000", true}, {"00001000", true}, {"00027FF7", true}, {"00027FF8", false}});
    shared.connectState = LINK_MCU_BLE_CONNECTED;
    ExpectWindows(shared, {{"00001000", true}, {"07FFFFFF", false}});
    shared.connectState = LINK_CONNECTED;
    ExpectWindows(shared, {{"00001000", false}});
}
