// -p against the virtual probe: exact lines and exit codes, and afterwards the target's access
// protection level, its erase/program protection bytes and the BLE module's protection.
#include "virtual_bench.h"

#include <gtest/gtest.h>

#include <map>

namespace slice_test {
namespace {

const ksim::Settings kS01 = {{"transport", "hid"}, {"series", "1"}, {"pid", "010031C5"}};
const ksim::Settings kS13 = {{"transport", "hid"}, {"series", "13"}, {"pid", "0D043203"}}; // 192 KB, 2 KB sectors
const ksim::Settings kS14 = {{"transport", "hid"}, {"series", "14"}, {"pid", "0E024245"}}; // 256 KB, 4 KB sectors
const ksim::Settings kS15 = {{"transport", "hid"}, {"series", "15"}, {"pid", "0F002001"}};

// After -connect -p (with -device first for a protected target), EPP bytes all eppBefore: the access
// protection level afterwards, the BLE module's protection, and the option bytes named (index: value);
// EPP0-EPP3 not named stay as they were while the target is unprotected.
Scenario P(const char* name, const ksim::Settings& target, const ksim::Settings& extra, std::vector<std::string> arguments,
           const std::string& out, int exitCode, int level, const std::map<uint32_t, uint8_t>& bytes = {}, bool bleProtected = false,
           uint8_t eppBefore = 0xFF, const char* device = nullptr)
{
    arguments.insert(arguments.begin(), {"-connect", "-p"});
    if (device != nullptr)
        arguments.insert(arguments.begin(), {"-device", device});
    Scenario s{name, target + extra, arguments, out, exitCode};
    s.before = [eppBefore](RowRun& row) {
        row.bench.testbed().withProbe(0, [&](ksim::VirtualProbe& p) { p.target().userSystemData().setAllEpp(eppBefore); });
    };
    s.afterConnect = true;
    s.checks = {Level(level), [=](RowRun& row) {
                    std::map<uint32_t, uint8_t> expected = bytes;
                    for (uint32_t i = 4; i < 8 && level == 0; ++i)
                        expected.emplace(i, eppBefore);
                    row.bench.testbed().withProbe(0, [&](ksim::VirtualProbe& p) {
                        EXPECT_EQ(p.ble().isProtected(), bleProtected);
                        for (const auto& [index, value] : expected)
                            EXPECT_EQ(p.target().userSystemData().logical(index), value) << "option byte " << index;
                    });
                }};
    return s;
}

const std::string kEnable = "Enable flash access protection ......\n";
const std::string kEnabled = kEnable + "Enable flash access protection finished!\n";
const std::string kEnableFailed = kEnable + "Error. Enable flash access protection failed!\n";
const std::string kPor = "To run the program, a Power-On Reset(POR) needs to be executed!\n";
const std::string kDisable = "Disable flash access protection ......\n";
const std::string kEeppFailed = kEepp + "Enable erase and program protection for sector codes failed!\n";
const std::string kNeedY = "ZR32S15/S18/S29/S16/S19/S20/S21/S22/S23/S30/S25/S26/S28/S33/S34 need a parameter \"--y\" for "
                           "operation \"--efap2\"!\n";
const std::string kBleOn = "Enable BLE module access protection ......\n";
const std::string kBleOff = "Disable BLE module access protection ......\n";

const Scenario kProtects[] = {
    P("Level1", kHidProbe, {}, {"--efap1"}, kEnabled + kPor + kDone, 0, 1),
    P("Level1ReplyLost", kHidProbe, {{"fault_status", "B5.00,0x22"}}, {"--efap1"}, kEnableFailed, 0x20, 1),
    P("Level1NoReply", kHidProbe, {{"fault_no_reply", "B5.00"}}, {"--efap1"}, kEnableFailed, 0x20, 1),
    P("HighLevelIsLevel2OnS09", kApModeTarget, {}, {"--efap2"}, kEnabled + kDone, 0, 2),
    P("HighLevelIsLevel1OnS01", kS01, {}, {"--EFAP2"}, kEnabled + kDone, 0, 1),
    P("PermanentLevelWithoutYes", kS15, {}, {"--efap2"}, kEnable + kNeedY, 0x21, 0),
    P("PermanentLevelWithYes", kS15, {}, {"--efap2", "--y"}, kEnabled + kDone, 0, 2),
    P("YesWhereNotNeeded", kApModeTarget, {}, {"--efap2", "--y"}, kEnabled + "bad parameter \"--y\"\n", 1, 2),
    P("HighLevelWrongEcho", kApModeTarget, {{"fault_wrong_echo", "B5.00"}}, {"--efap2"}, kEnableFailed, 0x21, 2),
    P("Unprotect", kHidProbe, {{"protection", "1"}}, {"--dfap"},
     kDisable + "Disable flash access protection finished!\n" + kDone, 0, 0, {}, false, 0xFF, "ZR32S04RCT6"),
    P("PermanentLevelStays", kS15, {{"protection", "2"}}, {"--dfap"},
     kDisable + "Error. Disable flash access protection failed!\n", 0x22, 2, {}, false, 0xFF, "ZR32S15F4P6"),
    P("PermanentLevelNotLowered", kS15, {{"protection", "2"}}, {"--efap1"}, kEnableFailed, 0x20, 2, {}, false, 0xFF, "ZR32S15F4P6"),
    P("UnprotectedStaysSo", kHidProbe, {}, {"--dfap"}, kDisable + "Disable flash access protection finished!\n" + kDone, 0, 0),
    P("UnprotectReplyLost", kHidProbe, {{"protection", "1"}, {"fault_status", "B5.00,0x22"}}, {"--dfap"},
     kDisable + "Error. Disable flash access protection failed!\n", 0x22, 0, {}, false, 0xFF, "ZR32S04RCT6"),
    P("AllEppOff", kHidProbe, {}, {"--depp"}, kDepp + "Disable erase and program protection finished!\n" + kDone, 0, 0,
     {{4, 0xFF}, {5, 0xFF}, {6, 0xFF}, {7, 0xFF}}, false, 0x00),
    P("AllEppOffReadFails", kHidProbe, {{"fault_status", "B2.02,0x22"}}, {"--depp"},
     kDepp + "Error. Disable erase and program protection failed!\n", 0x23, 0, {}, false, 0x00),
    P("AllEppOffWriteFails", kHidProbe, {{"fault_status", "B3.05,0x22"}}, {"--depp"},
     kDepp + "Disable erase and program protection failed!\n", 0x23, 0, {}, false, 0x00),
    P("FirstFourSectorsOneBit", kApModeTarget, {}, {"--eepp", "0-3"}, kEeppDone + kDone, 0, 0, {{4, 0xFE}}),
    P("FiveSectorsTwoBits", kApModeTarget, {}, {"--eepp", "0-4"}, kEeppDone + kDone, 0, 0, {{4, 0xFC}}),
    P("KeptProtections", kApModeTarget, {}, {"--eepp", "0-0", "--eepp", "63"}, kEeppDone + kEeppDone + kDone, 0, 0, {{4, 0xFE}, {5, 0x7F}}),
    P("SpimSectorLastBit", kHidProbe, {}, {"--eepp", "32768"}, kEeppDone + kDone, 0, 0, {{7, 0x7F}}),
    P("HugeSpimRangeAtOnce", kHidProbe, {}, {"--eepp", "32768-2147483647"}, kEeppDone + kDone, 0, 0, {{7, 0x7F}}),
    P("BootSectorLastBit", kApModeTarget, {}, {"--eepp", "16384-16385"}, kEeppDone + kDone, 0, 0, {{7, 0x7F}}),
    P("BootNotInApMode", kApModeTarget, {{"ap_mode", "0"}}, {"--eepp", "16384"},
     kEepp + "Error. The MCU boot memory is not in AP mode!\nbad parameter \"16384\"\n", 1, 0),
    P("PastTheFlash", kHidProbe, {}, {"--eepp", "0-128"}, kEepp + "bad parameter \"0-128\"\n", 1, 0),
    P("EppReadFails", kHidProbe, {{"fault_status", "B2.02,0x22"}}, {"--eepp", "0"}, kEeppFailed, 0x24, 0),
    P("EppWriteUnplugged", kHidProbe, {{"fault_unplug", "B3.05"}}, {"--eepp", "0"}, kEeppFailed, 0x24, 0),
    P("S13TwoKilobyteSectors", kS13, {}, {"--eepp", "1", "--eepp", "63-64"}, kEeppDone + kEeppDone + kDone, 0, 0,
     {{4, 0xFE}, {7, 0x7F}, {10, 0xFE}}),
    P("S14FourKilobyteSectors", kS14, {}, {"--eepp", "31-32"}, kEeppDone + kDone, 0, 0, {{7, 0x7F}, {10, 0xFE}}),
    P("BleOn", kBleTarget, {}, {"--ebfap"}, kBleOn + "Enable BLE module access protection finished!\n" + kDone, 0, 0, {}, true),
    P("BleOff", kBleTarget, {{"ble_protected", "1"}}, {"--dbfap"},
     kBleOff + "Disable BLE module access protection finished!\n" + kDone, 0, 0),
    P("BleOnReplyLost", kBleTarget, {{"fault_status", "BE.0C,0x22"}}, {"--ebfap"},
     kBleOn + "Error. Enable BLE module access protection failed!\n", 0x25, 0, {}, true),
    P("BleOffReplyLost", kBleTarget, {{"ble_protected", "1"}, {"fault_status", "BE.0C,0x22"}}, {"--dbfap"},
     kBleOff + "Error. Disable BLE module access protection failed!\n", 0x26, 0, {}, false),
    P("BleWithoutModule", kHidProbe, {}, {"--ebfap"}, kBleOn + "Error. Don't connect BLE module!\n", 2, 0),
    // Level 1 stays in place when a later option fails on the protected target.
    P("Level1ThenRefusedDepp", kHidProbe, {}, {"--efap1", "-p", "--depp"},
     kEnabled + kPor + kDepp + "Error. Disable erase and program protection failed!\n", 0x23, 1),
    P("LevelUnknown", kHidProbe, {{"fault_reply_byte", "B1.00@2,3,00"}}, {"--dfap"},
     kDisable + "Error. Disable flash access protection failed!\n", 0x22, 0),
    P("InOrderUntilAFailure", kHidProbe, {{"fault_status", "B5.00,0x22"}}, {"--eepp", "0", "--efap1", "--depp"},
     kEeppDone + kEnableFailed, 0x20, 1, {{4, 0xFE}}),
};
INSTANTIATE_TEST_SUITE_P(Protect, ScenarioRun, testing::ValuesIn(kProtects), ScenarioName);

}  // namespace
}  // namespace slice_test
