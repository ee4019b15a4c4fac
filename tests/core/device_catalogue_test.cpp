#include "mcu_identification.h"
#include "part_number_table.h"
#include "share_parameter.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace {
struct ListExpectation {
    int series;
    size_t count;
    bool universalFirst;
};

// The 25 lists in their fixed order.
const ListExpectation kLists[] = {
    {2, 17, false},  {4, 11, false},  {5, 17, false},  {7, 13, false},  {8, 8, false},
    {9, 26, false},  {13, 21, false}, {14, 9, false},  {15, 16, false}, {16, 21, false},
    {17, 1, false},  {18, 24, true},  {19, 11, true},  {20, 11, true},  {21, 11, true},
    {22, 11, true},  {23, 7, true},   {24, 12, false}, {25, 8, false},  {26, 6, false},
    {28, 0, false},  {29, 22, true},  {30, 2, true},   {33, 13, true},  {34, 13, true},
};

// Every part number that any PID lookup can report.
std::set<std::string> KnownPartNumbers()
{
    std::set<std::string> parts;
    for (const PartLookupTable& table : PartLookupTables()) {
        for (size_t i = 0; i < table.count; ++i)
            parts.insert(table.rows[i].partNumber);
    }
    return parts;
}

std::string SeriesTag(int series)
{
    return "ZR32S" + std::string(series < 10 ? "0" : "") + std::to_string(series);
}
} // namespace

TEST(DeviceCatalogue, ListsFollowTheSeriesOrderWithTheirCounts)
{
    const ShareParameter shared;
    ASSERT_EQ(shared.devicePartLists.size(), std::size(kLists));
    for (size_t i = 0; i < std::size(kLists); ++i) {
        EXPECT_EQ(shared.deviceListSeries[i], kLists[i].series) << "list " << i;
        EXPECT_EQ(shared.devicePartLists[i].size(), kLists[i].count) << "series " << kLists[i].series;
        if (kLists[i].universalFirst) {
            EXPECT_EQ(shared.devicePartLists[i].front(), "Universal") << "series " << kLists[i].series;
        }
    }
}

TEST(DeviceCatalogue, EveryNamedPartIsAKnownPartOfItsSeries)
{
    const ShareParameter shared;
    const std::set<std::string> known = KnownPartNumbers();
    std::set<std::string> seen;
    for (size_t i = 0; i < shared.devicePartLists.size(); ++i) {
        for (size_t j = 0; j < shared.devicePartLists[i].size(); ++j) {
            const std::string& name = shared.devicePartLists[i][j];
            if (name == "Universal") {
                EXPECT_TRUE(kLists[i].universalFirst && j == 0) << "series " << kLists[i].series;
                continue;
            }
            EXPECT_EQ(known.count(name), 1u) << name;
            EXPECT_EQ(name.rfind(SeriesTag(kLists[i].series), 0), 0u) << name;
            EXPECT_TRUE(seen.insert(name).second) << name << " is listed twice";
        }
    }
}

TEST(DeviceNames, UniversalResolvesToTheFirstListThatHoldsIt)
{
    McuSeries series = ZR32_S07;
    EXPECT_TRUE(IsZR32Device("Universal", series));
    EXPECT_EQ(series, ZR32_S18);
}

TEST(DeviceNames, EveryListedNameGivesItsListsSeries)
{
    for (size_t i = 0; i < g_shareParameter.devicePartLists.size(); ++i) {
        for (const std::string& name : g_shareParameter.devicePartLists[i]) {
            if (name == "Universal")
                continue;
            McuSeries series = ZR32ErrorMCU2;
            EXPECT_TRUE(IsZR32Device(name, series)) << name;
            EXPECT_EQ(series, kLists[i].series) << name;
        }
    }
}

TEST(DeviceNames, OnlyExactNamesMatch)
{
    const std::string listed = g_shareParameter.devicePartLists[3].front(); // a ZR32_S07 part
    std::string lower = listed;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const std::string& name : {lower, listed.substr(0, listed.size() - 1), listed + "X", std::string("universal"),
                                    std::string(""), std::string(" ") + listed}) {
        McuSeries series = ZR32_S07;
        EXPECT_FALSE(IsZR32Device(name, series)) << name;
        EXPECT_EQ(series, ZR32ErrorMCU2) << name;
    }
}
