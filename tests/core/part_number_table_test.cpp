// PID tables against the part-name scheme: each name promises its series, pin code and flash size.
#include "mcu_identification.h"
#include "part_number_table.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>

namespace {
// Each lookup and the series whose parts it names.
const std::map<std::string, std::set<int>> kLookups = {
    {"S01", {1, 2}}, {"S04", {4}}, {"S05", {5}}, {"S07", {7}}, {"S08", {8}}, {"S09", {9}}, {"S13", {13}},
    {"S14", {14}}, {"S15", {15}}, {"S16", {16}}, {"S17", {17}}, {"S18", {18}}, {"S19_S20_S30", {19, 20, 30}},
    {"S21_S22_S23", {21, 22, 23}}, {"S24", {24}}, {"S25_S26_S28", {25, 26, 28}}, {"S29", {29}},
    {"S33_S34", {33, 34}}, {"S35", {35}}, {"S36", {36}},
};

// Flash size letters and pin code letters of the part-name scheme.
const std::map<char, int32_t> kFlashKBByLetter = {
    {'4', 16}, {'5', 24}, {'6', 32}, {'7', 48}, {'8', 64}, {'9', 72}, {'A', 96}, {'B', 128},
    {'Z', 192}, {'C', 256}, {'D', 384}, {'Y', 448}, {'E', 512}, {'F', 768}, {'X', 960}, {'G', 1024},
    {'H', 1536}, {'W', 1984}, {'I', 2048}, {'V', 4032}, {'J', 4096}, {'K', 5120},
};
const std::map<char, uint32_t> kPinCodeByLetter = {
    {'F', 1}, {'G', 2}, {'K', 3}, {'T', 4}, {'C', 5}, {'R', 6}, {'V', 7}, {'Z', 8}, {'I', 9},
};

const std::regex kPartName("ZR32S(\\d\\d)([FGKTCRVZI])([0-9A-Z])([PUTH])([67])");

const std::set<int> kSeriesWithoutSpim = {5, 9, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};
const std::set<int> kSeriesWithApMode = {5, 9, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};
const std::set<int> kSeriesWithPermanentFap2 = {15, 16, 18, 19, 20, 21, 22, 23, 25, 26, 28, 29, 30, 33, 34};
} // namespace

TEST(PartNumberTables, EveryPidDecodesToWhatItsPartNamePromises)
{
    ASSERT_EQ(PartLookupTables().size(), kLookups.size());
    std::set<std::string> parts;
    std::set<uint32_t> pids;
    size_t rows = 0;
    for (const PartLookupTable& table : PartLookupTables()) {
        const std::set<int>& series = kLookups.at(table.name);
        rows += table.count;
        for (size_t i = 0; i < table.count; ++i) {
            const std::string part = table.rows[i].partNumber;
            const uint32_t pid = table.rows[i].pid;
            parts.insert(part);
            pids.insert(pid);
            std::smatch fields;
            ASSERT_TRUE(std::regex_match(part, fields, kPartName)) << part;
            EXPECT_EQ(series.count(std::stoi(fields[1])), 1u) << part << " in lookup " << table.name;
            EXPECT_EQ(pid >> 24, static_cast<uint32_t>(std::stoi(fields[1]))) << part;
            EXPECT_EQ(pid & 0x3F, kPinCodeByLetter.at(fields[2].str()[0])) << part;
            const int32_t flashKb = kFlashKBByLetter.at(fields[3].str()[0]);
            EXPECT_EQ(FlashKilobytesOfPid(static_cast<int32_t>(pid)), flashKb) << part;
            const int32_t sector = SectorSizeOfPid(static_cast<int32_t>(pid));
            ASSERT_GT(sector, 0) << part << ": sector size code " << ((pid >> 12) & 7);
            EXPECT_EQ(flashKb * 1024 % sector, 0) << part << ": the flash is whole sectors";
        }
    }
    EXPECT_EQ(parts.size(), rows);
    EXPECT_EQ(pids.size(), rows);
}

// Every series asks its own lookup and no other, and a lookup matches the whole PID.
TEST(PartNumberTables, EverySeriesFindsExactlyItsOwnRows)
{
    for (const PartLookupTable& table : PartLookupTables()) {
        const std::set<int>& served = kLookups.at(table.name);
        for (size_t row = 0; row < table.count; ++row) {
            const auto pid = static_cast<int32_t>(table.rows[row].pid);
            for (int series = -1; series < 1001; series += series < 256 ? 1 : 1000 - 256) {
                EXPECT_EQ(PartNumberOfPid(pid, series), served.count(series) ? table.rows[row].partNumber : "")
                    << table.name << " row " << row << " series " << series;
            }
            EXPECT_EQ(PartNumberOfPid(pid ^ 0x00800000, *served.begin()), "") << table.name << " row " << row;
        }
        EXPECT_EQ(PartNumberOfPid(0, *served.begin()), "") << table.name;
        EXPECT_EQ(PartNumberOfPid(-1, *served.begin()), "") << table.name;
    }
}

TEST(SeriesCapabilities, EachHoldsForItsSeriesOnlyAndSpimForEveryValueNotKnownToLackIt)
{
    for (int series = 0; series < 256; ++series) {
        const auto value = static_cast<McuSeries>(series);
        EXPECT_EQ(MCUHaveSPIM(value), kSeriesWithoutSpim.count(series) == 0) << "series " << series;
        EXPECT_EQ(MCUHaveAPMode(value), kSeriesWithApMode.count(series) == 1) << "series " << series;
        EXPECT_EQ(MCUFAPLevel2CanNotDisable(value), kSeriesWithPermanentFap2.count(series) == 1) << "series " << series;
    }
}

// Every real product ID is checked against its part name above; these are
// the rules the table rows do not reach: the bits that do not count, unassigned codes, code zero.
TEST(FlashGeometryFromPid, DocumentedExamplesAndTheEdgesOfTheTables)
{
    const struct {
        uint32_t pid;
        int32_t flashKb;
        int32_t sectorSize;
    } cases[] = {
        {0x00001240, 256, 512},  {0x000002C0, 512, 2048}, {0x00000640, 0, 1024},  {0x80001240, 256, 512},
        {0xFFFFFB7F, 1024, 0},   {0x00000580, 448, 2048}, {0x000005C0, 0, 1024},  // index 23: no entry
        {0x00000200, 192, 1024}, {0x00000240, 256, 2048},  // code 0: 2 KB sectors from 256 KB
        {0x00004000, 16, 4096},  {0x00005000, 16, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FlashKilobytesOfPid(static_cast<int32_t>(c.pid)), c.flashKb) << std::hex << c.pid;
        EXPECT_EQ(SectorSizeOfPid(static_cast<int32_t>(c.pid)), c.sectorSize) << std::hex << c.pid;
    }
}
