// -p against the virtual probe: exact lines and exit codes, and afterwards the target's access
// protection level, its erase/program protection bytes and the BLE module's protection.
#include "virtual_bench.h"

#include "target/ble_module.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace slice_test {
namespace {

const ksim::Settings kS01 = {{"transport", "hid"}, {"series", "1"}, {"pid", "010031C5"}};
const ksim::Settings kS13 = {{"transport", "hid"}, {"series", "13"}, {"pid", "0D043203"}}; // 192 KB, 2 KB sectors
const ksim::Settings kS14 = {{"transport", "hid"}, {"series", "14"}, {"pid", "0E024245"}}; // 256 KB, 4 KB sectors
const ksim::Settings kS15 = {{"transport", "hid"}, {"series", "15"}, {"pid", "0F002001"}};

// The option byte at index holds value afterwards.
struct Byte {
    uint32_t index;
    uint8_t value;
};

struct ProtectCase {
    const char* name;
    const ksim::Settings* target;
    ksim::Settings extra;
    std::vector<std::string> arguments; // after -connect -p
    std::string out;                    // after the connection lines
    int exitCode;
    int level;                          // access protection level afterwards
    std::vector<Byte> bytes = {};       // option bytes afterwards; the EPP bytes not named stay 0xFF
    bool bleProtected = false;
    uint8_t eppBefore = 0xFF;           // every EPP byte before the run
    const char* device = nullptr;       // -device before -connect, for a protected target
};
void PrintTo(const ProtectCase& c, std::ostream* os) { *os << c.name; }

class Protect : public testing::TestWithParam<ProtectCase> {};

TEST_P(Protect, changes_exactly_what_it_reports)
{
    const ProtectCase& c = GetParam();
    VirtualBench bench(*c.target + c.extra);
    bench.testbed().withProbe(0, [&](ksim::VirtualProbe& p) { p.target().userSystemData().setAllEpp(c.eppBefore); });
    std::vector<std::string> arguments = {"-connect", "-p"};
    if (c.device != nullptr)
        arguments.insert(arguments.begin(), {"-device", c.device});
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const ConsoleRun run = bench.console(arguments, 30000);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(AfterConnect(run.out), c.out);
    EXPECT_EQ(run.exitCode, c.exitCode);
    bench.testbed().withProbe(0, [&](ksim::VirtualProbe& p) {
        const ksim::UserSystemData& usd = p.target().userSystemData();
        EXPECT_EQ(p.target().protectionLevel(), c.level);
        EXPECT_EQ(p.ble().isProtected(), c.bleProtected);
        // EPP0-EPP3 as they were unless named; named bytes as named.
        for (uint32_t i = 4; i < 8; ++i) {
            const bool named = std::any_of(c.bytes.begin(), c.bytes.end(), [i](const Byte& b) { return b.index == i; });
            if (!named && c.level == 0) {
                EXPECT_EQ(usd.logical(i), c.eppBefore) << "option byte " << i;
            }
        }
        for (const Byte& b : c.bytes)
            EXPECT_EQ(usd.logical(b.index), b.value) << "option byte " << b.index;
    });
}

const std::string kEnable = "Enable flash access protection ......\n";
const std::string kEnabled = kEnable + "Enable flash access protection finished!\n";
const std::string kEnableFailed = kEnable + "Error. Enable flash access protection failed!\n";
const std::string kPor = "To run the program, a Power-On Reset(POR) needs to be executed!\n";
const std::string kDisable = "Disable flash access protection ......\n";
const std::string kDepp = "Disable erase and program protection ......\n";
const std::string kEepp = "Enable erase and program protection for sector codes ......\n";
const std::string kEeppDone = kEepp + "Enable erase and program protection for sector codes finished!\n";
const std::string kEeppFailed = kEepp + "Enable erase and program protection for sector codes failed!\n";
const std::string kNeedY = "ZR32S15/S18/S29/S16/S19/S20/S21/S22/S23/S30/S25/S26/S28/S33/S34 need a parameter \"--y\" for "
                           "operation \"--efap2\"!\n";
const std::string kBleOn = "Enable BLE module access protection ......\n";
const std::string kBleOff = "Disable BLE module access protection ......\n";

const ProtectCase kProtects[] = {
    {"Level1", &kHidProbe, {}, {"--efap1"}, kEnabled + kPor + kDone, 0, 1},
    {"Level1ReplyLost", &kHidProbe, {{"fault_status", "B5.00,0x22"}}, {"--efap1"}, kEnableFailed, 0x20, 1},
    {"Level1NoReply", &kHidProbe, {{"fault_no_reply", "B5.00"}}, {"--efap1"}, kEnableFailed, 0x20, 1},
    {"HighLevelIsLevel2OnS09", &kApModeTarget, {}, {"--efap2"}, kEnabled + kDone, 0, 2},
    {"HighLevelIsLevel1OnS01", &kS01, {}, {"--EFAP2"}, kEnabled + kDone, 0, 1},
    {"PermanentLevelWithoutYes", &kS15, {}, {"--efap2"}, kEnable + kNeedY, 0x21, 0},
    {"PermanentLevelWithYes", &kS15, {}, {"--efap2", "--y"}, kEnabled + kDone, 0, 2},
    {"YesWhereNotNeeded", &kApModeTarget, {}, {"--efap2", "--y"}, kEnabled + "bad parameter \"--y\"\n", 1, 2},
    {"HighLevelWrongEcho", &kApModeTarget, {{"fault_wrong_echo", "B5.00"}}, {"--efap2"}, kEnableFailed, 0x21, 2},
    {"Unprotect", &kHidProbe, {{"protection", "1"}}, {"--dfap"},
     kDisable + "Disable flash access protection finished!\n" + kDone, 0, 0, {}, false, 0xFF, "ZR32S04RCT6"},
    {"PermanentLevelStays", &kS15, {{"protection", "2"}}, {"--dfap"},
     kDisable + "Error. Disable flash access protection failed!\n", 0x22, 2, {}, false, 0xFF, "ZR32S15F4P6"},
    {"PermanentLevelNotLowered", &kS15, {{"protection", "2"}}, {"--efap1"}, kEnableFailed, 0x20, 2, {}, false, 0xFF,
     "ZR32S15F4P6"},
    {"UnprotectedStaysSo", &kHidProbe, {}, {"--dfap"}, kDisable + "Disable flash access protection finished!\n" + kDone,
     0, 0},
    {"UnprotectReplyLost", &kHidProbe, {{"protection", "1"}, {"fault_status", "B5.00,0x22"}}, {"--dfap"},
     kDisable + "Error. Disable flash access protection failed!\n", 0x22, 0, {}, false, 0xFF, "ZR32S04RCT6"},
    {"AllEppOff", &kHidProbe, {}, {"--depp"}, kDepp + "Disable erase and program protection finished!\n" + kDone, 0, 0,
     {{4, 0xFF}, {5, 0xFF}, {6, 0xFF}, {7, 0xFF}}, false, 0x00},
    {"AllEppOffReadFails", &kHidProbe, {{"fault_status", "B2.02,0x22"}}, {"--depp"},
     kDepp + "Error. Disable erase and program protection failed!\n", 0x23, 0, {}, false, 0x00},
    {"AllEppOffWriteFails", &kHidProbe, {{"fault_status", "B3.05,0x22"}}, {"--depp"},
     kDepp + "Disable erase and program protection failed!\n", 0x23, 0, {}, false, 0x00},
    {"FirstFourSectorsOneBit", &kApModeTarget, {}, {"--eepp", "0-3"}, kEeppDone + kDone, 0, 0, {{4, 0xFE}}},
    {"FiveSectorsTwoBits", &kApModeTarget, {}, {"--eepp", "0-4"}, kEeppDone + kDone, 0, 0, {{4, 0xFC}}},
    {"KeptProtections", &kApModeTarget, {}, {"--eepp", "0-0", "--eepp", "63"}, kEeppDone + kEeppDone + kDone, 0, 0,
     {{4, 0xFE}, {5, 0x7F}}},
    {"SpimSectorLastBit", &kHidProbe, {}, {"--eepp", "32768"}, kEeppDone + kDone, 0, 0, {{7, 0x7F}}},
    {"HugeSpimRangeAtOnce", &kHidProbe, {}, {"--eepp", "32768-2147483647"}, kEeppDone + kDone, 0, 0, {{7, 0x7F}}},
    {"BootSectorLastBit", &kApModeTarget, {}, {"--eepp", "16384-16385"}, kEeppDone + kDone, 0, 0, {{7, 0x7F}}},
    {"BootNotInApMode", &kApModeTarget, {{"ap_mode", "0"}}, {"--eepp", "16384"},
     kEepp + "Error. The MCU boot memory is not in AP mode!\nbad parameter \"16384\"\n", 1, 0},
    {"PastTheFlash", &kHidProbe, {}, {"--eepp", "0-128"}, kEepp + "bad parameter \"0-128\"\n", 1, 0},
    {"EppReadFails", &kHidProbe, {{"fault_status", "B2.02,0x22"}}, {"--eepp", "0"}, kEeppFailed, 0x24, 0},
    {"EppWriteUnplugged", &kHidProbe, {{"fault_unplug", "B3.05"}}, {"--eepp", "0"}, kEeppFailed, 0x24, 0},
    {"S13TwoKilobyteSectors", &kS13, {}, {"--eepp", "1", "--eepp", "63-64"}, kEeppDone + kEeppDone + kDone, 0, 0,
     {{4, 0xFE}, {7, 0x7F}, {10, 0xFE}}},
    {"S14FourKilobyteSectors", &kS14, {}, {"--eepp", "31-32"}, kEeppDone + kDone, 0, 0, {{7, 0x7F}, {10, 0xFE}}},
    {"BleOn", &kBleTarget, {}, {"--ebfap"}, kBleOn + "Enable BLE module access protection finished!\n" + kDone, 0, 0,
     {}, true},
    {"BleOff", &kBleTarget, {{"ble_protected", "1"}}, {"--dbfap"},
     kBleOff + "Disable BLE module access protection finished!\n" + kDone, 0, 0},
    {"BleOnReplyLost", &kBleTarget, {{"fault_status", "BE.0C,0x22"}}, {"--ebfap"},
     kBleOn + "Error. Enable BLE module access protection failed!\n", 0x25, 0, {}, true},
    {"BleOffReplyLost", &kBleTarget, {{"ble_protected", "1"}, {"fault_status", "BE.0C,0x22"}}, {"--dbfap"},
     kBleOff + "Error. Disable BLE module access protection failed!\n", 0x26, 0, {}, false},
    {"BleWithoutModule", &kHidProbe, {}, {"--ebfap"}, kBleOn + "Error. Don't connect BLE module!\n", 2, 0},
    // Level 1 stays in place when a later option fails on the protected target.
    {"Level1ThenRefusedDepp", &kHidProbe, {}, {"--efap1", "-p", "--depp"},
     kEnabled + kPor + kDepp + "Error. Disable erase and program protection failed!\n", 0x23, 1},
    {"LevelUnknown", &kHidProbe, {{"fault_reply_byte", "B1.00@2,3,00"}}, {"--dfap"},
     kDisable + "Error. Disable flash access protection failed!\n", 0x22, 0},
    {"InOrderUntilAFailure", &kHidProbe, {{"fault_status", "B5.00,0x22"}}, {"--eepp", "0", "--efap1", "--depp"},
     kEeppDone + kEnableFailed, 0x20, 1, {{4, 0xFE}}},
};
INSTANTIATE_TEST_SUITE_P(Rows, Protect, testing::ValuesIn(kProtects),
                         [](const testing::TestParamInfo<ProtectCase>& info) { return info.param.name; });

}  // namespace
}  // namespace slice_test
