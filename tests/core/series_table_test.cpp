#include "mcu_identification.h"
#include "part_number_table.h"
#include "share_parameter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

namespace {
const std::set<int> kSeriesWithoutSpim = {5, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};
const std::set<int> kSeriesWithApMode = {5, 9, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};
const std::set<int> kSeriesWithPermanentFap2 = {15, 16, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};

struct Area {
    uint32_t address;
    uint32_t size;
};
const std::map<int, Area> kBootMemory = {
    {5, {0x1FFFAC00, 18432}},  {9, {0x1FFFE400, 4096}},   {15, {0x1FFFE400, 4096}},  {16, {0x1FFFE400, 4096}},
    {17, {0x1FFFAC00, 18432}}, {18, {0x1FFFA400, 20480}}, {19, {0x1FFFA400, 20480}}, {20, {0x1FFFA400, 20480}},
    {21, {0x1FFF7C00, 26624}}, {22, {0x1FFF7C00, 26624}}, {23, {0x1FFF7C00, 26624}}, {25, {0x1FFF8000, 28672}},
    {26, {0x1FFF8000, 28672}}, {28, {0x1FFF8000, 28672}}, {29, {0x1FFFA400, 20480}}, {30, {0x1FFFA400, 20480}},
    {33, {0x1FFF8000, 28672}}, {34, {0x1FFF8000, 28672}},
};

struct Otp {
    uint32_t dataAddress;
    int32_t dataLength;
    uint32_t lockAddress;
    int32_t lockLength;
};
const Otp kOtp4K = {0x1FFFE400, 4096, 0x1FFFF500, 128};
const Otp kOtp1K = {0x1FFFF000, 1024, 0x1FFFF500, 128};
const std::map<int, Otp> kOtpAreas = {
    {21, kOtp4K}, {22, kOtp4K}, {23, kOtp4K}, {25, kOtp1K}, {26, kOtp1K}, {28, kOtp1K}, {33, kOtp1K}, {34, kOtp1K},
};

// The lookup that serves each series.
const std::map<int, const char*> kLookupOfSeries = {
    {1, "S01"}, {2, "S01"}, {4, "S04"}, {5, "S05"}, {7, "S07"}, {8, "S08"}, {9, "S09"}, {13, "S13"},
    {14, "S14"}, {15, "S15"}, {16, "S16"}, {17, "S17"}, {18, "S18"}, {19, "S19_S20_S30"}, {20, "S19_S20_S30"},
    {21, "S21_S22_S23"}, {22, "S21_S22_S23"}, {23, "S21_S22_S23"}, {24, "S24"}, {25, "S25_S26_S28"},
    {26, "S25_S26_S28"}, {28, "S25_S26_S28"}, {29, "S29"}, {30, "S19_S20_S30"}, {33, "S33_S34"},
    {34, "S33_S34"}, {35, "S35"}, {36, "S36"},
};

McuSeries Series(int value) { return static_cast<McuSeries>(value); }
} // namespace

TEST(SeriesCapabilities, SpimIsAssumedForEveryValueNotKnownToLackIt)
{
    for (int series = 0; series < 256; ++series)
        EXPECT_EQ(MCUHaveSPIM(Series(series)), kSeriesWithoutSpim.count(series) == 0) << "series " << series;
}

TEST(SeriesCapabilities, BootMemoryApModeOnlyOnItsSeries)
{
    for (int series = 0; series < 256; ++series)
        EXPECT_EQ(MCUHaveAPMode(Series(series)), kSeriesWithApMode.count(series) == 1) << "series " << series;
}

TEST(SeriesCapabilities, PermanentLevel2ProtectionOnlyOnItsSeries)
{
    for (int series = 0; series < 256; ++series)
        EXPECT_EQ(MCUFAPLevel2CanNotDisable(Series(series)), kSeriesWithPermanentFap2.count(series) == 1)
            << "series " << series;
}

TEST(SeriesCapabilities, DocumentedExamples)
{
    EXPECT_FALSE(MCUHaveSPIM(ZR32_S33));
    EXPECT_TRUE(MCUHaveSPIM(ZR32_S35));
    EXPECT_TRUE(MCUHaveSPIM(ZR32ErrorMCU2));
    EXPECT_TRUE(MCUHaveSPIM(ZR32ErrorMCU1));
    EXPECT_FALSE(MCUHaveAPMode(ZR32_S13));
    EXPECT_TRUE(MCUFAPLevel2CanNotDisable(ZR32_S28));
    EXPECT_FALSE(MCUFAPLevel2CanNotDisable(ZR32_S35));
}

TEST(SeriesMemories, BootMemoryOfEverySeries)
{
    for (int series = 0; series < 256; ++series) {
        uint32_t address = 0xDEAD;
        uint32_t size = 0xBEEF;
        ShareParameter::GetBootMemoryInfo(Series(series), address, size);
        const auto found = kBootMemory.find(series);
        const Area expected = found != kBootMemory.end() ? found->second : Area{0, 0};
        EXPECT_EQ(address, expected.address) << "series " << series;
        EXPECT_EQ(size, expected.size) << "series " << series;
    }
}

TEST(SeriesMemories, OtpAreasOfEverySeriesGoIntoTheSharedRecord)
{
    const McuSeries saved = g_shareParameter.series;
    for (int series = 0; series < 256; ++series) {
        g_shareParameter.series = Series(series);
        g_shareParameter.otpDataAddress = 0xDEAD;
        g_shareParameter.otpLockLength = 0xBEEF;
        InitOTPAndLOCKInfo();
        const auto found = kOtpAreas.find(series);
        const Otp expected = found != kOtpAreas.end() ? found->second : Otp{0, 0, 0, 0};
        EXPECT_EQ(g_shareParameter.otpDataAddress, expected.dataAddress) << "series " << series;
        EXPECT_EQ(g_shareParameter.otpDataLength, expected.dataLength) << "series " << series;
        EXPECT_EQ(g_shareParameter.otpLockAddress, expected.lockAddress) << "series " << series;
        EXPECT_EQ(g_shareParameter.otpLockLength, expected.lockLength) << "series " << series;
    }
    g_shareParameter.series = saved;
}

TEST(PartNumberDispatch, EverySeriesAsksItsOwnLookupAndNoOther)
{
    for (const PartLookupTable& table : PartLookupTables()) {
        for (size_t row = 0; row < table.count; ++row) {
            const auto pid = static_cast<int32_t>(table.rows[row].pid);
            for (int series = -1; series < 256; ++series) {
                const auto lookup = kLookupOfSeries.find(series);
                const bool served = lookup != kLookupOfSeries.end() && std::strcmp(lookup->second, table.name) == 0;
                EXPECT_EQ(UpdatePartNumber(pid, series), served ? table.rows[row].partNumber : "")
                    << table.name << " row " << row << " series " << series;
            }
        }
    }
}

TEST(PartNumberDispatch, UnknownPidsAndUnassignedSeriesGiveNothing)
{
    EXPECT_EQ(UpdatePartNumber(0, 7), "");
    EXPECT_EQ(UpdatePartNumber(-1, 18), "");
    const auto pid = static_cast<int32_t>(PartLookupTables()[LOOKUP_S07].rows[0].pid);
    for (int series : {0, 3, 6, 10, 11, 12, 27, 31, 32, 37, 255, 1000})
        EXPECT_EQ(UpdatePartNumber(pid, series), "") << "series " << series;
}
