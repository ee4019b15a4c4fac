#include "mcu_identification.h"
#include "part_number_table.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {
struct LookupExpectation {
    const char* name;
    std::string (*lookup)(int32_t);
    std::set<int> series; // series whose parts the lookup names
};

const LookupExpectation kLookups[] = {
    {"S01", GetZR32S01PartNo, {1, 2}},
    {"S04", GetZR32S04PartNo, {4}},
    {"S05", GetZR32S05PartNo, {5}},
    {"S07", GetZR32S07PartNo, {7}},
    {"S08", GetZR32S08PartNo, {8}},
    {"S09", GetZR32S09PartNo, {9}},
    {"S13", GetZR32S13PartNo, {13}},
    {"S14", GetZR32S14PartNo, {14}},
    {"S15", GetZR32S15PartNo, {15}},
    {"S16", GetZR32S16PartNo, {16}},
    {"S17", GetZR32S17PartNo, {17}},
    {"S18", GetZR32S18PartNo, {18}},
    {"S19_S20_S30", GetZR32S19_S20_S30PartNo, {19, 20, 30}},
    {"S21_S22_S23", GetZR32S21_S22_S23PartNo, {21, 22, 23}},
    {"S24", GetZR32S24PartNo, {24}},
    {"S25_S26_S28", GetZR32S25_S26_S28PartNo, {25, 26, 28}},
    {"S29", GetZR32S29PartNo, {29}},
    {"S33_S34", GetZR32S33_S34PartNo, {33, 34}},
    {"S35", GetZR32S35PartNo, {35}},
    {"S36", GetZR32S36PartNo, {36}},
};

// Flash size in KB by the PID's flash size index (23 to 31 have no entry).
constexpr int32_t kFlashKBByIndex[32] = {
    16, 24, 32, 48, 64, 72, 96, 128, 192, 256, 384, 512, 768, 1024, 1536, 2048,
    4096, 5120, 192, 960, 1984, 4032, 448, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

// Flash size letters of the part-name scheme.
const std::map<char, int32_t> kFlashKBByLetter = {
    {'4', 16}, {'5', 24}, {'6', 32}, {'7', 48}, {'8', 64}, {'9', 72}, {'A', 96}, {'B', 128},
    {'Z', 192}, {'C', 256}, {'D', 384}, {'Y', 448}, {'E', 512}, {'F', 768}, {'X', 960}, {'G', 1024},
    {'H', 1536}, {'W', 1984}, {'I', 2048}, {'V', 4032}, {'J', 4096}, {'K', 5120},
};
const std::map<char, uint32_t> kPinCodeByLetter = {
    {'F', 1}, {'G', 2}, {'K', 3}, {'T', 4}, {'C', 5}, {'R', 6}, {'V', 7}, {'Z', 8}, {'I', 9},
};

const std::regex kPartName("ZR32S(\\d\\d)([FGKTCRVZI])([0-9A-Z])([PUTH])([67])");

const PartLookupTable& TableNamed(const std::string& name)
{
    for (const PartLookupTable& table : PartLookupTables()) {
        if (name == table.name)
            return table;
    }
    throw std::runtime_error("no lookup " + name);
}
} // namespace

TEST(PartNumberTables, EveryPidDecodesToTheFlashSizeItsPartNamePromises)
{
    for (const LookupExpectation& expected : kLookups) {
        const PartLookupTable& table = TableNamed(expected.name);
        for (size_t i = 0; i < table.count; ++i) {
            const std::string part = table.rows[i].partNumber;
            const uint32_t pid = table.rows[i].pid;
            std::smatch fields;
            ASSERT_TRUE(std::regex_match(part, fields, kPartName)) << part;
            EXPECT_EQ(expected.series.count(std::stoi(fields[1])), 1u) << part << " in lookup " << expected.name;
            EXPECT_EQ(pid >> 24, static_cast<uint32_t>(std::stoi(fields[1]))) << part;
            EXPECT_EQ(pid & 0x3F, kPinCodeByLetter.at(fields[2].str()[0])) << part;

            const auto letter = kFlashKBByLetter.find(fields[3].str()[0]);
            ASSERT_NE(letter, kFlashKBByLetter.end()) << part;
            EXPECT_EQ(kFlashKBByIndex[(pid & 0x7C0) >> 6], letter->second) << part;
            EXPECT_EQ(UpdateFlashSize(static_cast<int32_t>(pid)), letter->second) << part;

            const int32_t sector = UpdateFlashSectorSize(static_cast<int32_t>(pid));
            ASSERT_GT(sector, 0) << part << ": sector size code " << ((pid >> 12) & 7);
            EXPECT_EQ(letter->second * 1024 % sector, 0) << part << ": the flash is whole sectors";
        }
    }
}

TEST(PartNumberTables, EachLookupFindsExactlyItsOwnRows)
{
    for (const LookupExpectation& expected : kLookups) {
        const PartLookupTable& table = TableNamed(expected.name);
        for (size_t i = 0; i < table.count; ++i) {
            const auto pid = static_cast<int32_t>(table.rows[i].pid);
            EXPECT_EQ(expected.lookup(pid), table.rows[i].partNumber) << expected.name;
            EXPECT_EQ(expected.lookup(pid ^ 0x00800000), "") << expected.name << " row " << i << " altered";
        }
        EXPECT_EQ(expected.lookup(0), "") << expected.name;
        EXPECT_EQ(expected.lookup(-1), "") << expected.name;
    }
}

TEST(PartNumberTables, PartNamesAndPidsAreUniqueAcrossAllLookups)
{
    ASSERT_EQ(PartLookupTables().size(), std::size(kLookups));
    std::set<std::string> parts;
    std::set<uint32_t> pids;
    size_t rows = 0;
    for (const PartLookupTable& table : PartLookupTables()) {
        rows += table.count;
        for (size_t i = 0; i < table.count; ++i) {
            parts.insert(table.rows[i].partNumber);
            pids.insert(table.rows[i].pid);
        }
    }
    EXPECT_EQ(parts.size(), rows);
    EXPECT_EQ(pids.size(), rows);
}
