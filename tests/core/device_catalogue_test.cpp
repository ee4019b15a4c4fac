#include "mcu_identification.h"
#include "part_number_table.h"
#include "share_parameter.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// Each listed name is a known part of its list's series, listed once, and -device sets that series;
// "Universal" only heads a list, and resolves to the first list that holds it.
TEST(DeviceCatalogue, EveryNamedPartIsAKnownPartOfItsListsSeries)
{
    const ShareParameter& shared = g_shareParameter;
    std::set<std::string> known; // every part number that any PID lookup can report
    for (const PartLookupTable& table : PartLookupTables())
        for (size_t i = 0; i < table.count; ++i)
            known.insert(table.rows[i].partNumber);
    std::set<std::string> seen;
    int firstUniversal = -1;
    for (size_t i = 0; i < shared.devicePartLists.size(); ++i) {
        const int listSeries = shared.deviceListSeries[i];
        const std::string seriesTag = (listSeries < 10 ? "ZR32S0" : "ZR32S") + std::to_string(listSeries);
        for (size_t j = 0; j < shared.devicePartLists[i].size(); ++j) {
            const std::string& name = shared.devicePartLists[i][j];
            if (name == "Universal") {
                EXPECT_EQ(j, 0u) << "series " << listSeries;
                if (firstUniversal < 0)
                    firstUniversal = listSeries;
                continue;
            }
            EXPECT_EQ(known.count(name), 1u) << name;
            EXPECT_EQ(name.rfind(seriesTag, 0), 0u) << name;
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
