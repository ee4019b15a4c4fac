#include "mcu_identification.h"
#include "part_number_table.h"
#include "share_parameter.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {
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

// Each listed name is a known part of its list's series, listed once, and -device sets that series;
// "Universal" only heads a list, and resolves to the first list that holds it.
TEST(DeviceCatalogue, EveryNamedPartIsAKnownPartOfItsListsSeries)
{
    const ShareParameter& shared = g_shareParameter;
    const std::set<std::string> known = KnownPartNumbers();
    std::set<std::string> seen;
    int firstUniversal = -1;
    for (size_t i = 0; i < shared.devicePartLists.size(); ++i) {
        const int listSeries = shared.deviceListSeries[i];
        for (size_t j = 0; j < shared.devicePartLists[i].size(); ++j) {
            const std::string& name = shared.devicePartLists[i][j];
            if (name == "Universal") {
                EXPECT_EQ(j, 0u) << "series " << listSeries;
                if (firstUniversal < 0)
                    firstUniversal = listSeries;
                continue;
            }
            EXPECT_EQ(known.count(name), 1u) << name;
            EXPECT_EQ(name.rfind(SeriesTag(listSeries), 0), 0u) << name;
            EXPECT_TRUE(seen.insert(name).second) << name << " is listed twice";
            McuSeries series = ZR32ErrorMCU2;
            EXPECT_TRUE(IsZR32Device(name, series)) << name;
            EXPECT_EQ(series, listSeries) << name;
        }
    }
    McuSeries series = ZR32_S07;
    EXPECT_TRUE(IsZR32Device("Universal", series));
    EXPECT_EQ(series, firstUniversal);
}
