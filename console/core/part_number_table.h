#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// One part number and the PID that the target reports for it.
struct PidPartRow {
    uint32_t pid;
    const char* partNumber;
};

// The rows of one PID lookup (some lookups serve several series).
struct PartLookupTable {
    const char* name;
    const PidPartRow* rows;
    size_t count;
};

// Lookups in the order of PartLookupTables().
enum PartLookup : int {
    LOOKUP_S01, LOOKUP_S04, LOOKUP_S05, LOOKUP_S07, LOOKUP_S08, LOOKUP_S09, LOOKUP_S13,
    LOOKUP_S14, LOOKUP_S15, LOOKUP_S16, LOOKUP_S17, LOOKUP_S18, LOOKUP_S19_S20_S30,
    LOOKUP_S21_S22_S23, LOOKUP_S24, LOOKUP_S25_S26_S28, LOOKUP_S29, LOOKUP_S33_S34,
    LOOKUP_S35, LOOKUP_S36,
    PART_LOOKUP_COUNT
};

const std::array<PartLookupTable, PART_LOOKUP_COUNT>& PartLookupTables();
