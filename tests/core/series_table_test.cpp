#include "mcu_identification.h"
#include "part_number_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

namespace {
const std::set<int> kSeriesWithoutSpim = {5, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};
const std::set<int> kSeriesWithApMode = {5, 9, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};
const std::set<int> kSeriesWithPermanentFap2 = {15, 16, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};

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

TEST(SeriesCapabilities, EachHoldsForItsSeriesOnlyAndSpimForEveryValueNotKnownToLackIt)
{
    for (int series = 0; series < 256; ++series) {
        EXPECT_EQ(MCUHaveSPIM(Series(series)), kSeriesWithoutSpim.count(series) == 0) << "series " << series;
        EXPECT_EQ(MCUHaveAPMode(Series(series)), kSeriesWithApMode.count(series) == 1) << "series " << series;
        EXPECT_EQ(MCUFAPLevel2CanNotDisable(Series(series)), kSeriesWithPermanentFap2.count(series) == 1)
            << "series " << series;
    }
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
