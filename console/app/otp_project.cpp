#include "otp_project.h"

#include <algorithm>
#include <set>

bool ParseOtpRecords(const std::vector<uint8_t>& bytes, std::vector<OtpRecord>& records)
{
    records.clear();
    if (bytes.size() % OtpRecord::kFileSize != 0)
        return false;
    for (size_t offset = 0; offset < bytes.size(); offset += OtpRecord::kFileSize) {
        const uint8_t* field = bytes.data() + offset;
        OtpRecord record;
        record.partAddress = uint32_t{field[0]} << 24 | uint32_t{field[1]} << 16 | uint32_t{field[2]} << 8 | field[3];
        std::copy_n(field + 4, OtpRecord::kDataSize, record.data.begin());
        record.lockFlag = field[36];
        record.writeFlag = field[37];
        records.push_back(record);
    }
    return true;
}

bool AreOtpRecordsProgrammable(const std::vector<OtpRecord>& records, const OtpAreas& areas)
{
    const uint64_t dataLength = areas.dataLength > 0 ? static_cast<uint64_t>(areas.dataLength) : 0;
    const size_t lockLength = areas.lockLength > 0 ? static_cast<size_t>(areas.lockLength) : 0;
    std::set<uint64_t> writtenBlocks;
    for (size_t position = 0; position < records.size(); ++position) {
        const OtpRecord& record = records[position];
        if (record.Locks() && position >= lockLength)
            return false;
        if (!record.Writes())
            continue;
        const uint64_t end = uint64_t{record.partAddress} + OtpRecord::kDataSize;
        if (end > dataLength)
            return false;
        for (uint64_t block = record.partAddress / OtpRecord::kDataSize; block <= (end - 1) / OtpRecord::kDataSize; ++block) {
            if (!writtenBlocks.insert(block).second)
                return false;
        }
    }
    return true;
}
