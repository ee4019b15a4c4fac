// The library against the virtual probe's own firmware, whose decoder was written apart from the
// library's command tables: every request must be understood and every reply parsed. Round trips
// of target data through it are the end-to-end tests' work; the probe's own state (settings, stored
// projects, QSPI flash, display firmware), which no console command reaches, is round-tripped here.
#include "scripted_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace {

using korvex_test::Outputs;
using korvex_test::PacketRow;

// Targets ready for every command: SPIM fitted and enabled; a BLE module behind a version-10 probe.
const ksim::Settings kReadyTarget = {
    {"serial", "KV-V"}, {"transport", "bulk"}, {"spim_enabled", "1"}, {"spim_size", "0x1000000"}};
const ksim::Settings kReadyBle = {
    {"serial", "KV-V"}, {"transport", "bulk"}, {"hw_version", "10"}, {"ble", "1"}, {"series", "17"}};

// One case per command group, so that the benches are built side by side.
class VirtualProbeDecoding : public ::testing::TestWithParam<int> {};

TEST_P(VirtualProbeDecoding, accepts_every_request_the_library_builds) {
    for (const PacketRow &row : *korvex_test::allPacketGroups().at(GetParam())) {
        const bool ble = row.name.find("BLECHIP_") != std::string::npos;
        ksim::Testbed bench;  // fresh: no command's effect decides another's
        bench.addProbe(ble ? kReadyBle : kReadyTarget);
        korvex_test::LibrarySession library;
        const KORVEX_HANDLE h = library.open("KV-V");
        if (ble) {
            ASSERT_EQ(KORVEX_BLECHIP_S17_Connect(h), 0);
        }
        bench.withProbe(0, [](ksim::VirtualProbe &p) { p.clearExchangeLog(); });
        const int result = row.call(h);
        // Success, or a refusal by status byte for a state this bench lacks (a write outside its
        // begin/end bracket, an absent bank): never a reply the library cannot parse.
        // A verify of data this bench never received reports the mismatch.
        EXPECT_TRUE(result == 0 || result >= 0xF0 || result == KORVEX_VERIFY_MISMATCH) << row.name << " result " << result;
        for (const ksim::Exchange &e : bench.withProbe(0, [](ksim::VirtualProbe &p) { return p.exchangeLog(); }))
            EXPECT_EQ(e.diagnostic, "") << row.name << " (" << e.command << ") result " << result;
    }
}

INSTANTIATE_TEST_SUITE_P(Library, VirtualProbeDecoding, ::testing::Range(0, 7),
                         [](const auto &info) { return std::string(korvex_test::kPacketGroupNames[info.param]); });

// ---------------------------------------------------------------- the probe's own state

uint8_t scratch[512];
uint16_t level;
uint32_t word;
int numbers[2];
const uint8_t *const s = scratch;
const std::vector<uint8_t> kImage = [] {
    std::vector<uint8_t> b(300);
    std::iota(b.begin(), b.end(), uint8_t(1));
    return b;
}();
bool readBack(size_t from, size_t n) { return std::equal(scratch, scratch + n, kImage.begin() + from); }

// One call on the probe, its result, and what it read.
struct Step {
    const char *name;
    std::function<int(KORVEX_HANDLE)> call;
    std::function<Outputs()> read = OUTPUTS();
    Outputs expected = {};
    int result = 0;
};

// A write and the read that must see it: the read runs only when the write succeeded.
#define WRITE_READ(write, read) #write, [](KORVEX_HANDLE h) { const int rc = write; return rc ? rc : read; }

const uint8_t *const kData = kImage.data();
const std::vector<Step> kSteps = {
    {WRITE_READ(KORVEX_SetTargetStableTime(h, 250), KORVEX_GetTargetStableTime(h, &word)), OUTPUTS(word), {250}},
    {WRITE_READ(KORVEX_SetVoltageLevelValue(h, 2, 2500), KORVEX_GetVoltageLevelValue(h, 2, &level)), OUTPUTS(level),
     {2500}},
    {WRITE_READ(KORVEX_SetVoltageState(h, 1), KORVEX_GetVoltageState(h, scratch)), OUTPUTS(s[0]), {1}},
    {ON_HANDLE(KORVEX_SetVoltageLevelValue(h, 3, 1234))},
    {WRITE_READ(KORVEX_SetVoltageCurrentLevel(h, 3), KORVEX_GetTVCCVoltageValue(h, numbers)), OUTPUTS(numbers[0]),
     {1234}},  // the supply follows state and level
    {WRITE_READ(KORVEX_SetBuzzerState(h, 0), KORVEX_GetBuzzerState(h, scratch)), OUTPUTS(s[0]), {0}},
    {WRITE_READ(KORVEX_SetUSBToUsartState(h, 1), KORVEX_GetUSBToUsartState(h, scratch)), OUTPUTS(s[0]), {1}},
    {WRITE_READ(KORVEX_SetUsartAutoMode(h, 1), KORVEX_GetUsartAutoMode(h, scratch)), OUTPUTS(s[0]), {1}},
    {WRITE_READ(KORVEX_SetOfflineDownloadType(h, 7), KORVEX_GetOfflineDownloadType(h, scratch)), OUTPUTS(s[0]), {7}},
    {WRITE_READ(KORVEX_SetOfflineISPUartBps(h, 921600), KORVEX_GetOfflineISPUartBps(h, &word)), OUTPUTS(word),
     {921600}},
    {WRITE_READ(KORVEX_SetOfflineISPAutoBoot(h, 1), KORVEX_GetOfflineISPAutoBoot(h, scratch)), OUTPUTS(s[0]), {1}},
    {WRITE_READ(KORVEX_SetMachineBurningState(h, 1, 1, 10, 999),
                KORVEX_GetMachineBurningState(h, scratch, scratch + 1, numbers, numbers + 1)),
     OUTPUTS(s[0], s[1], numbers[0], numbers[1]), {1, 1, 10, 999}},
    {WRITE_READ(KORVEX_SetCodeNumber(h, 16), KORVEX_GetCodeNumber(h, scratch)), OUTPUTS(s[0]), {16}},
    {WRITE_READ(KORVEX_SetDownloadCodeIndex(h, 4, 9), KORVEX_GetDownloadCodeIndex(h, scratch, scratch + 1)),
     OUTPUTS(s[0], s[1]), {4, 9}},
    {WRITE_READ(KORVEX_BeginOfflineDownloadCode(h), KORVEX_GetOfflineDNState(h, scratch)), OUTPUTS(s[0]), {1}},
    // A stored project's option block, extended data and configuration parts.
    {WRITE_READ(KORVEX_WriteOPTData_Device(h, 5, 48, kData), KORVEX_ReadOPTData_Device(h, 5, 48, scratch)),
     OUTPUTS(readBack(0, 48)), {1}},
    {WRITE_READ(KORVEX_WriteOPTDataExtend_Device(h, 5, 70, kData + 1),
                KORVEX_ReadOPTDataExtend_Device(h, 5, 70, scratch)), OUTPUTS(readBack(1, 70)), {1}},
    {WRITE_READ(KORVEX_SetOfflineConfig_Cpart(h, 5, 5, kData), KORVEX_GetOfflineConfig_Cpart(h, 5, 5, scratch)),
     OUTPUTS(readBack(0, 5)), {1}},
    {ON_HANDLE(KORVEX_GetOfflineConfig_Bpart(h, 5, 5, scratch)), OUTPUTS(), {}, TRANS_READ_PARAMS_ERROR},
    // QSPI flash: the sector holding 0x1F80 (0x1000-0x1FFF) is erased, the next one keeps its data.
    {WRITE_READ(KORVEX_QSPI_DownLoad_Target(h, 0x1F80, 300, kData), KORVEX_QSPI_Upload(h, 0x1F80, 300, scratch)),
     OUTPUTS(readBack(0, 300)), {1}},
    {WRITE_READ(KORVEX_QSPI_SectorErase(h, 0x1F80, 1), KORVEX_QSPI_Upload(h, 0x1F80, 300, scratch)),
     OUTPUTS(s[0], s[0x7F], s[0x80], s[299]), {0xFF, 0xFF, kImage[0x80], kImage[299]}},
    {WRITE_READ(KORVEX_QSPI_BlockErase(h, 0, 1), KORVEX_QSPI_Upload(h, 0x1F80, 300, scratch)), OUTPUTS(s[0x80], s[299]),
     {0xFF, 0xFF}},
    {ON_HANDLE(KORVEX_QSPI_Upload(h, 0xFFFFFF, 2, scratch)), OUTPUTS(), {}, 0xF3},  // past the end of the flash
    // A display firmware update moves the display version (1.0 from the factory).
    {ON_HANDLE(KORVEX_EnterLCDFWUpdateMode(h))},
    {ON_HANDLE(KORVEX_LCDFWUpdateBegin(h, 1))},
    {ON_HANDLE(KORVEX_LCDFWUpdateSetCodeSize(h, 116))},
    {ON_HANDLE(KORVEX_LCDFWUpdate(h, 116, kData))},
    {WRITE_READ(KORVEX_LCDFWUpdateEnd(h), KORVEX_GetLCDFWVersion(h, 2, scratch)), OUTPUTS(s[0], s[1]), {1, 1}},
    {ON_HANDLE(KORVEX_LCDFWUpdateEnd(h)), OUTPUTS(), {}, 0xF4},  // no update under way
    // Test commands without a reply leave nothing for the next command.
    {ON_HANDLE(KORVEX_PinTestMode(h, &word)), OUTPUTS(word != 0), {1}},
    {ON_HANDLE(KORVEX_PinTestSysReset(h))},
    {WRITE_READ(KORVEX_LEDTestMode(h), KORVEX_GetVersion(h, 4, scratch)), OUTPUTS(s[0]), {2}},
    // The factory reset forgets the settings.
    {WRITE_READ(KORVEX_FactoryDataReset(h), KORVEX_GetBuzzerState(h, scratch)), OUTPUTS(s[0]), {1}},
};

TEST(VirtualProbe, keeps_what_the_library_stores_in_it) {
    ksim::Testbed bench;
    bench.addProbe({{"serial", "KV-V"}, {"transport", "hid"}});
    korvex_test::LibrarySession library;
    const KORVEX_HANDLE h = library.open("KV-V");
    for (const Step &step : kSteps) {
        EXPECT_EQ(step.call(h), step.result) << step.name;
        EXPECT_EQ(step.read(), step.expected) << step.name;
    }
    for (const ksim::Exchange &e : bench.withProbe(0, [](ksim::VirtualProbe &p) { return p.exchangeLog(); }))
        EXPECT_EQ(e.diagnostic, "") << e.command;
}

}  // namespace
