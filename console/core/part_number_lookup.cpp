#include "mcu_identification.h"
#include "part_number_table.h"

namespace {
std::string FindPartNumber(PartLookup lookup, int32_t pid)
{
    const PartLookupTable& table = PartLookupTables()[lookup];
    for (size_t i = 0; i < table.count; ++i) {
        if (table.rows[i].pid == static_cast<uint32_t>(pid))
            return table.rows[i].partNumber;
    }
    return {};
}
} // namespace

std::string GetZR32S01PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S01, pid); }
std::string GetZR32S04PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S04, pid); }
std::string GetZR32S05PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S05, pid); }
std::string GetZR32S07PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S07, pid); }
std::string GetZR32S08PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S08, pid); }
std::string GetZR32S09PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S09, pid); }
std::string GetZR32S13PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S13, pid); }
std::string GetZR32S14PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S14, pid); }
std::string GetZR32S15PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S15, pid); }
std::string GetZR32S16PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S16, pid); }
std::string GetZR32S17PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S17, pid); }
std::string GetZR32S18PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S18, pid); }
std::string GetZR32S19_S20_S30PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S19_S20_S30, pid); }
std::string GetZR32S21_S22_S23PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S21_S22_S23, pid); }
std::string GetZR32S24PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S24, pid); }
std::string GetZR32S25_S26_S28PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S25_S26_S28, pid); }
std::string GetZR32S29PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S29, pid); }
std::string GetZR32S33_S34PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S33_S34, pid); }
std::string GetZR32S35PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S35, pid); }
std::string GetZR32S36PartNo(int32_t pid) { return FindPartNumber(LOOKUP_S36, pid); }
