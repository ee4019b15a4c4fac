#include "connection_check.h"
#include "share_parameter.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct NeedCase {
    ConnectionNeed need;
    bool metIn[5]; // by ConnectState 0 to 4
    const char* missingLine;
};

const NeedCase kNeeds[] = {
    {ConnectionNeed::Mcu, {false, false, true, false, true}, "Error. Don't connect MCU!\n"},
    {ConnectionNeed::Ble, {false, false, false, true, true}, "Error. Don't connect BLE module!\n"},
    {ConnectionNeed::Target, {false, false, true, true, true}, "Error. Don't connect device!\n"},
};
} // namespace

TEST(ConnectionCheck, EachNeedIsMetOnlyInItsStatesAndNamesWhatIsMissing)
{
    for (const NeedCase& c : kNeeds) {
        for (int state = 0; state < 5; ++state) {
            g_shareParameter.connectState = static_cast<ConnectState>(state);
            testing::internal::CaptureStdout();
            const bool met = HasConnection(c.need);
            const std::string out = testing::internal::GetCapturedStdout();
            EXPECT_EQ(met, c.metIn[state]) << "state " << state;
            EXPECT_EQ(out, met ? "" : c.missingLine) << "state " << state;
        }
    }
    g_shareParameter.connectState = DISCONNECTED;
}

