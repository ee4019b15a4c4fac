// One-time-programmable data blocks (32 bytes each) and their lock bytes (one per block).
// A byte can be programmed once: rewriting it with the same value is harmless, another value is
// refused. A block whose lock byte is programmed refuses every write.
#pragma once

#include <cstdint>
#include <vector>

#include "target/series_info.h"
#include "target/sparse_memory.h"
#include "target/status.h"

namespace ksim {

class OtpArea {
public:
    static constexpr uint32_t kBlockSize = 32;

    OtpArea();
    void configure(const SeriesInfo &series);
    bool present() const { return data_.size() != 0; }

    // Addresses may be absolute or offsets into the area.
    Status readData(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    Status readLock(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    Status writeData(uint32_t address, const uint8_t *data, uint32_t length);
    Status writeLock(uint32_t address, const uint8_t *data, uint32_t length);

    bool blockLocked(uint32_t block) const;
    SparseMemory &data() { return data_; }
    SparseMemory &locks() { return lock_; }
    const SparseMemory &data() const { return data_; }
    const SparseMemory &locks() const { return lock_; }
    uint32_t dataAddress() const { return dataAddress_; }
    uint32_t lockAddress() const { return lockAddress_; }

private:
    static bool toOffset(uint32_t base, const SparseMemory &area, uint32_t address, uint32_t length, uint32_t &offset);
    Status readArea(uint32_t base, const SparseMemory &area, uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    static Status programOnce(SparseMemory &area, uint32_t offset, const uint8_t *data, uint32_t length);

    uint32_t dataAddress_ = 0;
    uint32_t lockAddress_ = 0;
    SparseMemory data_{0, 0xFF};
    SparseMemory lock_{0, 0xFF};
};

}  // namespace ksim
