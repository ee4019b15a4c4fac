// The library against the virtual probe's own firmware, whose decoder was written apart from the
// library's command tables: every request must be understood and every reply parsed. Round trips
// of target data through it are the end-to-end tests' work; the probe's own state (settings, stored
// projects, QSPI flash, firmware updates), which no console command reaches, is round-tripped here.
#include "packet_rows.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using korvex_test::Bytes;
using korvex_test::LibrarySession;
using korvex_test::PacketRow;

struct VirtualBench {
    explicit VirtualBench(ksim::Settings settings) {
        settings.emplace_back("serial", "KV-VIRTUAL");
        probe = &bench.addProbe(settings);
        library.emplace();
        library->list();
        handle = KORVEX_Open("KV-VIRTUAL");
    }
    std::vector<ksim::Exchange> exchanges() {
        return bench.withProbe(0, [](ksim::VirtualProbe &p) { return p.exchangeLog(); });
    }
    void clearLog() {
        bench.withProbe(0, [](ksim::VirtualProbe &p) { p.clearExchangeLog(); });
    }
    ksim::Testbed bench;
    ksim::VirtualProbe *probe = nullptr;
    std::optional<LibrarySession> library;
    KORVEX_HANDLE handle = KORVEX_INVALID_HANDLE;
};

// Targets ready for every command: SPIM fitted and enabled; a BLE module behind a version-10 probe.
const ksim::Settings kReadyTarget = {{"spim_enabled", "1"}, {"spim_size", "0x1000000"}, {"transport", "bulk"}};
const ksim::Settings kReadyBle = {{"hw_version", "10"}, {"ble", "1"}, {"series", "17"}, {"transport", "bulk"}};

bool isBleRow(const PacketRow &row) { return row.name.find("BLECHIP_") != std::string::npos; }

// One case per command group, so that the benches are built side by side.
class VirtualProbeDecoding : public ::testing::TestWithParam<int> {};

TEST_P(VirtualProbeDecoding, accepts_every_request_the_library_builds) {
    for (const PacketRow &row : *korvex_test::allPacketGroups().at(GetParam())) {
        VirtualBench v(isBleRow(row) ? kReadyBle : kReadyTarget);  // fresh: no command's effect decides another's
        ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
        if (isBleRow(row)) {
            ASSERT_EQ(KORVEX_BLECHIP_S17_Connect(v.handle), 0);
        }
        v.clearLog();
        const int result = row.call(v.handle);
        // Success, or a refusal by status byte for a state this bench lacks (a write outside its
        // begin/end bracket, an absent bank): never a reply the library cannot parse.
        // A verify of data this bench never received reports the mismatch.
        EXPECT_TRUE(result == 0 || result >= 0xF0 || result == KORVEX_VERIFY_MISMATCH) << row.name << " result " << result;
        for (const ksim::Exchange &e : v.exchanges()) {
            EXPECT_EQ(e.diagnostic, "") << row.name << " (" << e.command << ") result " << result;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Library, VirtualProbeDecoding, ::testing::Range(0, 7),
                         [](const auto &info) { return std::string(korvex_test::kPacketGroupNames[info.param]); });

// ---------------------------------------------------------------- the probe's own state

struct SettingCase {
    const char *name;
    std::function<int(KORVEX_HANDLE)> set;
    std::function<int(KORVEX_HANDLE, uint32_t &)> get;
    uint32_t expected;
};

template <typename T, typename Get>
std::function<int(KORVEX_HANDLE, uint32_t &)> reading(Get get) {
    return [get](KORVEX_HANDLE h, uint32_t &value) {
        T v{};
        int rc = get(h, &v);
        value = static_cast<uint32_t>(v);
        return rc;
    };
}

const std::vector<SettingCase> kSettings = {
    {ON_HANDLE(KORVEX_SetTargetStableTime(h, 250)), reading<uint32_t>(KORVEX_GetTargetStableTime), 250},
    {ON_HANDLE(KORVEX_SetVoltageLevelValue(h, 2, 2500)),
     reading<uint16_t>([](KORVEX_HANDLE h, uint16_t *v) { return KORVEX_GetVoltageLevelValue(h, 2, v); }), 2500},
    {ON_HANDLE(KORVEX_SetVoltageState(h, 1)), reading<uint8_t>(KORVEX_GetVoltageState), 1},
    {"supply follows state and level",
     [](KORVEX_HANDLE h) {
         int rc = KORVEX_SetVoltageState(h, 1);
         if (rc == 0) rc = KORVEX_SetVoltageLevelValue(h, 3, 1234);
         return rc == 0 ? KORVEX_SetVoltageCurrentLevel(h, 3) : rc;
     },
     reading<int>(KORVEX_GetTVCCVoltageValue), 1234},
    {ON_HANDLE(KORVEX_SetBuzzerState(h, 0)), reading<uint8_t>(KORVEX_GetBuzzerState), 0},
    {ON_HANDLE(KORVEX_SetUSBToUsartState(h, 1)), reading<uint8_t>(KORVEX_GetUSBToUsartState), 1},
    {ON_HANDLE(KORVEX_SetUsartAutoMode(h, 1)), reading<uint8_t>(KORVEX_GetUsartAutoMode), 1},
    {ON_HANDLE(KORVEX_SetOfflineDownloadType(h, 7)), reading<uint8_t>(KORVEX_GetOfflineDownloadType), 7},
    {ON_HANDLE(KORVEX_SetOfflineISPUartBps(h, 921600)), reading<uint32_t>(KORVEX_GetOfflineISPUartBps), 921600},
    {ON_HANDLE(KORVEX_SetOfflineISPAutoBoot(h, 1)), reading<uint8_t>(KORVEX_GetOfflineISPAutoBoot), 1},
    {ON_HANDLE(KORVEX_SetMachineBurningState(h, 1, 1, 10, 999)),
     [](KORVEX_HANDLE h, uint32_t &v) {
         uint8_t a = 0, b = 0;
         int c = 0, d = 0;
         int rc = KORVEX_GetMachineBurningState(h, &a, &b, &c, &d);
         v = uint32_t(a) << 28 | uint32_t(b) << 24 | uint32_t(c) << 12 | uint32_t(d);
         return rc;
     },
     1u << 28 | 1u << 24 | 10u << 12 | 999u},
    {ON_HANDLE(KORVEX_SetCodeNumber(h, 16)), reading<uint8_t>(KORVEX_GetCodeNumber), 16},
    {ON_HANDLE(KORVEX_SetDownloadCodeIndex(h, 4, 9)),
     [](KORVEX_HANDLE h, uint32_t &v) {
         uint8_t a = 0, b = 0;
         int rc = KORVEX_GetDownloadCodeIndex(h, &a, &b);
         v = uint32_t(a) << 8 | b;
         return rc;
     },
     0x0409},
    {ON_HANDLE(KORVEX_BeginOfflineDownloadCode(h)), reading<uint8_t>(KORVEX_GetOfflineDNState), 1},
};

TEST(VirtualProbe, a_setting_written_is_read_back) {
    VirtualBench v(ksim::Settings{{"transport", "hid"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    for (const SettingCase &c : kSettings) {
        ASSERT_EQ(c.set(v.handle), 0) << c.name;
        uint32_t value = 0xDEAD;
        ASSERT_EQ(c.get(v.handle, value), 0) << c.name;
        EXPECT_EQ(value, c.expected) << c.name;
    }
    // The factory reset forgets them all.
    ASSERT_EQ(KORVEX_FactoryDataReset(v.handle), 0);
    uint8_t buzzer = 0;
    ASSERT_EQ(KORVEX_GetBuzzerState(v.handle, &buzzer), 0);
    EXPECT_EQ(buzzer, 1);
}

Bytes counting(size_t n, uint8_t first) {
    Bytes b(n);
    std::iota(b.begin(), b.end(), first);
    return b;
}

TEST(VirtualProbe, an_offline_project_is_stored_read_back_verified_and_deleted) {
    VirtualBench v(ksim::Settings{{"transport", "bulk"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    const Bytes image = counting(200, 3);
    ASSERT_EQ(KORVEX_WriteMainData_Device(v.handle, 5, 0x400, int(image.size()), image.data()), 0);
    Bytes back(image.size());
    ASSERT_EQ(KORVEX_ReadMainData_Device(v.handle, 5, 0x400, int(back.size()), back.data()), 0);
    EXPECT_EQ(back, image);
    ASSERT_EQ(KORVEX_ReadMainData_Device(v.handle, 6, 0x400, int(back.size()), back.data()), 0);
    EXPECT_EQ(back, Bytes(image.size(), 0xFF)) << "another code index holds its own project";

    EXPECT_EQ(KORVEX_VerifyMainData_Device(v.handle, 5, 0x400, 200), 0);
    EXPECT_EQ(KORVEX_VerifyMainData_Device(v.handle, 5, 0x400, 201), KORVEX_VERIFY_MISMATCH);
    int times = -1;
    ASSERT_EQ(KORVEX_GetDownloadTimes(v.handle, 0xB5, 1, 0, &times), 0);
    EXPECT_EQ(times, 1);
    ASSERT_EQ(KORVEX_GetDownloadTimes(v.handle, 0xA0, 16, 2, &times), 0);
    EXPECT_EQ(times, 2);

    const Bytes options = counting(48, 0x40), otp = counting(70, 0x90);
    ASSERT_EQ(KORVEX_WriteOPTData_Device(v.handle, 5, 48, options.data()), 0);
    ASSERT_EQ(KORVEX_WriteOPTDataExtend_Device(v.handle, 5, int(otp.size()), otp.data()), 0);
    ASSERT_EQ(KORVEX_WriteOTPData_Device(v.handle, 5, 0x20, 8, otp.data()), 0);
    ASSERT_EQ(KORVEX_SetOfflineConfig_Cpart(v.handle, 5, 5, options.data()), 0);
    Bytes block(48), extend(otp.size()), part(5);
    ASSERT_EQ(KORVEX_ReadOPTData_Device(v.handle, 5, 48, block.data()), 0);
    EXPECT_EQ(block, options);
    ASSERT_EQ(KORVEX_ReadOPTDataExtend_Device(v.handle, 5, int(extend.size()), extend.data()), 0);
    EXPECT_EQ(extend, otp);
    ASSERT_EQ(KORVEX_GetOfflineConfig_Cpart(v.handle, 5, 5, part.data()), 0);
    EXPECT_EQ(part, Bytes(options.begin(), options.begin() + 5));
    EXPECT_EQ(KORVEX_GetOfflineConfig_Bpart(v.handle, 5, 5, part.data()), TRANS_READ_PARAMS_ERROR)
        << "part B was never written";

    ASSERT_EQ(KORVEX_DeleteOfflineConfIndex(v.handle, 0xB5, 1), 0);
    ASSERT_EQ(KORVEX_ReadMainData_Device(v.handle, 5, 0x400, int(back.size()), back.data()), 0);
    EXPECT_EQ(back, Bytes(image.size(), 0xFF));
    EXPECT_EQ(KORVEX_VerifyMainData_Device(v.handle, 5, 0x400, 200), KORVEX_VERIFY_MISMATCH);
    for (const ksim::Exchange &e : v.exchanges()) EXPECT_EQ(e.diagnostic, "") << e.command;
}

TEST(VirtualProbe, qspi_flash_erases_to_ff_and_programs_by_and) {
    VirtualBench v(ksim::Settings{{"transport", "hid"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    const Bytes data = counting(300, 1);
    ASSERT_EQ(KORVEX_QSPI_ChipErase(v.handle), 0);
    ASSERT_EQ(KORVEX_QSPI_DownLoad_Target(v.handle, 0x1F80, int(data.size()), data.data()), 0);
    Bytes back(data.size());
    ASSERT_EQ(KORVEX_QSPI_Upload(v.handle, 0x1F80, int(back.size()), back.data()), 0);
    EXPECT_EQ(back, data);

    const uint8_t first = 0xF0, second = 0x3C;
    ASSERT_EQ(KORVEX_QSPI_DownLoad_Target(v.handle, 0x5000, 1, &first), 0);
    ASSERT_EQ(KORVEX_QSPI_DownLoad_Target(v.handle, 0x5000, 1, &second), 0);
    uint8_t anded = 0;
    ASSERT_EQ(KORVEX_QSPI_Upload(v.handle, 0x5000, 1, &anded), 0);
    EXPECT_EQ(anded, 0x30);

    // The sector holding 0x1F80 (0x1000-0x1FFF) is erased, the next one keeps its data.
    ASSERT_EQ(KORVEX_QSPI_SectorErase(v.handle, 0x1F80, 1), 0);
    ASSERT_EQ(KORVEX_QSPI_Upload(v.handle, 0x1F80, int(back.size()), back.data()), 0);
    EXPECT_EQ(Bytes(back.begin(), back.begin() + 0x80), Bytes(0x80, 0xFF));
    EXPECT_EQ(Bytes(back.begin() + 0x80, back.end()), Bytes(data.begin() + 0x80, data.end()));
    ASSERT_EQ(KORVEX_QSPI_BlockErase(v.handle, 0, 1), 0);
    ASSERT_EQ(KORVEX_QSPI_Upload(v.handle, 0x5000, 1, &anded), 0);
    EXPECT_EQ(anded, 0xFF);
    EXPECT_EQ(KORVEX_QSPI_Upload(v.handle, 0xFFFFFF, 2, back.data()), 0xF3) << "past the end of the flash";
}

TEST(VirtualProbe, probe_firmware_update_is_checked_before_it_runs) {
    VirtualBench v(ksim::Settings{{"transport", "bulk"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    const Bytes image = counting(150, 0x21);
    const uint32_t sum = std::accumulate(image.begin(), image.end(), 0u);
    uint8_t mode = 0;
    ASSERT_EQ(KORVEX_EnterFWUpdateMode(v.handle, &mode), 0);
    EXPECT_EQ(mode, 1);
    ASSERT_EQ(KORVEX_FWUpdateBegin(v.handle), 0);
    ASSERT_EQ(KORVEX_FWUpdateSetCodeRange(v.handle, 0x08001000, int(image.size())), 0);
    ASSERT_EQ(KORVEX_FWUpdate(v.handle, 0x08001000, int(image.size()), image.data()), 0);
    ASSERT_EQ(KORVEX_FWUpdateEnd(v.handle, 1), 0);
    EXPECT_EQ(KORVEX_FWUpdateVerify(v.handle, sum + 1), KORVEX_VERIFY_MISMATCH);
    EXPECT_EQ(KORVEX_FWRun(v.handle), 0xF4) << "an image that failed its check must not run";
    ASSERT_EQ(KORVEX_FWUpdateVerify(v.handle, sum), 0);
    ASSERT_EQ(KORVEX_FWRun(v.handle), 0);
    Bytes flash(image.size());
    for (size_t at = 0; at < image.size(); at += 50)
        ASSERT_EQ(KORVEX_DebugReadMemory_Device(v.handle, uint32_t(0x08001000 + at), 50, flash.data() + at), 0);
    EXPECT_EQ(flash, image);
}

TEST(VirtualProbe, display_firmware_update_moves_the_display_version) {
    VirtualBench v(ksim::Settings{{"transport", "hid"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    uint8_t before[2] = {}, after[2] = {};
    ASSERT_EQ(KORVEX_GetLCDFWVersion(v.handle, 2, before), 0);
    const Bytes image = counting(120, 0);
    ASSERT_EQ(KORVEX_EnterLCDFWUpdateMode(v.handle), 0);
    ASSERT_EQ(KORVEX_LCDFWUpdateBegin(v.handle, 1), 0);
    ASSERT_EQ(KORVEX_LCDFWUpdateSetCodeSize(v.handle, int(image.size())), 0);
    ASSERT_EQ(KORVEX_LCDFWUpdate(v.handle, 116, image.data()), 0);
    ASSERT_EQ(KORVEX_LCDFWUpdateEnd(v.handle), 0) << "116 bytes ended with the last flag";
    ASSERT_EQ(KORVEX_GetLCDFWVersion(v.handle, 2, after), 0);
    EXPECT_EQ(after[1], before[1] + 1);
    EXPECT_EQ(KORVEX_LCDFWUpdateEnd(v.handle), 0xF4) << "no update under way";
}

TEST(VirtualProbe, test_commands_without_a_reply_leave_nothing_for_the_next_command) {
    VirtualBench v(ksim::Settings{{"transport", "hid"}});
    ASSERT_NE(v.handle, KORVEX_INVALID_HANDLE);
    uint32_t pins = 0;
    ASSERT_EQ(KORVEX_PinTestMode(v.handle, &pins), 0);
    EXPECT_NE(pins, 0u);
    ASSERT_EQ(KORVEX_PinTestSysReset(v.handle), 0);
    ASSERT_EQ(KORVEX_LEDTestMode(v.handle), 0);
    ASSERT_EQ(KORVEX_PROLCDTestMode(v.handle), 0);
    uint8_t version[4] = {};
    EXPECT_EQ(KORVEX_GetVersion(v.handle, 4, version), 0);
    EXPECT_EQ(version[0], 2);
}

}  // namespace
