#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One record of an OTP project file: 32 data bytes for one OTP block and what to do with them.
struct OtpRecord {
    static constexpr size_t kDataSize = 32;
    static constexpr size_t kFileSize = 38; // address (big-endian), data, lock flag, write flag

    uint32_t partAddress = 0;               // offset of the block's data in the OTP data area
    std::array<uint8_t, kDataSize> data{};
    uint8_t writeFlag = 0xFF;               // 0: write the data
    uint8_t lockFlag = 0xFF;                // 0: lock the block

    bool Writes() const { return writeFlag == 0; }
    bool Locks() const { return lockFlag == 0; }
};

// The OTP areas of the connected series (all 0 on a series without OTP).
struct OtpAreas {
    uint32_t dataAddress = 0;
    int32_t dataLength = 0;
    uint32_t lockAddress = 0;
    int32_t lockLength = 0;

    bool Present() const { return dataAddress != 0 || dataLength != 0 || lockAddress != 0 || lockLength != 0; }
};

// The records of a file's bytes; false unless the bytes are whole records.
bool ParseOtpRecords(const std::vector<uint8_t>& bytes, std::vector<OtpRecord>& records);

// Whether every record can be programmed as it stands: written data inside the data area, no
// block written twice, every lock position (the record's place in the list) inside the lock area.
// OTP cannot be undone, so a file is taken whole or not at all.
bool AreOtpRecordsProgrammable(const std::vector<OtpRecord>& records, const OtpAreas& areas);
