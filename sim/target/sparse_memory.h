// A memory array that allocates its pages only when a byte differs from the fill value, so a 16 MiB
// SPIM costs nothing until written. Erased flash is the fill 0xFF; SRAM uses 0x00.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace ksim {

class SparseMemory {
public:
    static constexpr uint32_t kPageSize = 4096;

    SparseMemory(uint32_t size, uint8_t fill);

    uint32_t size() const { return size_; }
    uint8_t fillValue() const { return fill_; }
    // Bytes past the new size are dropped; new bytes read as the fill value.
    void resize(uint32_t size);

    bool contains(uint32_t offset, uint32_t length) const;
    uint8_t at(uint32_t offset) const;
    std::vector<uint8_t> read(uint32_t offset, uint32_t length) const;
    // Stores bytes as they are (loading an image, SRAM writes).
    void store(uint32_t offset, const uint8_t *data, uint32_t length);
    // Flash programming: a bit can only go from 1 to 0, so the result is old AND data.
    void program(uint32_t offset, const uint8_t *data, uint32_t length);
    void fill(uint32_t offset, uint32_t length, uint8_t value);
    void reset() { pages_.clear(); }

    bool isBlank(uint32_t offset, uint32_t length) const;
    // End of the last byte that differs from the fill value (0 when all blank).
    uint32_t usedExtent() const;
    size_t allocatedPages() const { return pages_.size(); }
    // Calls visit(offset, bytes) for every allocated page in address order.
    void forEachPage(const std::function<void(uint32_t, const std::vector<uint8_t> &)> &visit) const;

private:
    using Page = std::vector<uint8_t>;
    template <typename Op>
    void modify(uint32_t offset, uint32_t length, Op op);
    void dropIfBlank(uint32_t pageIndex);

    uint32_t size_;
    uint8_t fill_;
    std::map<uint32_t, Page> pages_;
};

}  // namespace ksim
