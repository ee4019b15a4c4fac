#include "target/sparse_memory.h"

#include <algorithm>

namespace ksim {

SparseMemory::SparseMemory(uint32_t size, uint8_t fill) : size_(size), fill_(fill) {}

void SparseMemory::resize(uint32_t size)
{
    size_ = size;
    pages_.erase(pages_.lower_bound((size + kPageSize - 1) / kPageSize), pages_.end());
    if (size % kPageSize != 0) {
        auto last = pages_.find(size / kPageSize);
        if (last != pages_.end()) {
            std::fill(last->second.begin() + size % kPageSize, last->second.end(), fill_);
            dropIfBlank(last->first);
        }
    }
}

bool SparseMemory::contains(uint32_t offset, uint32_t length) const
{
    return offset <= size_ && length <= size_ - offset;
}

uint8_t SparseMemory::at(uint32_t offset) const
{
    auto page = pages_.find(offset / kPageSize);
    return page == pages_.end() ? fill_ : page->second[offset % kPageSize];
}

std::vector<uint8_t> SparseMemory::read(uint32_t offset, uint32_t length) const
{
    std::vector<uint8_t> out(length, fill_);
    for (uint32_t i = 0; i < length; ++i)
        out[i] = at(offset + i);
    return out;
}

template <typename Op>
void SparseMemory::modify(uint32_t offset, uint32_t length, Op op)
{
    uint32_t done = 0;
    while (done < length) {
        const uint32_t address = offset + done;
        const uint32_t index = address / kPageSize;
        const uint32_t inPage = address % kPageSize;
        const uint32_t count = std::min(length - done, kPageSize - inPage);
        auto page = pages_.find(index);
        if (page == pages_.end())
            page = pages_.emplace(index, Page(kPageSize, fill_)).first;
        for (uint32_t i = 0; i < count; ++i)
            page->second[inPage + i] = op(page->second[inPage + i], done + i);
        dropIfBlank(index);
        done += count;
    }
}

void SparseMemory::store(uint32_t offset, const uint8_t *data, uint32_t length)
{
    modify(offset, length, [data](uint8_t, uint32_t i) { return data[i]; });
}

void SparseMemory::program(uint32_t offset, const uint8_t *data, uint32_t length)
{
    modify(offset, length, [data](uint8_t old, uint32_t i) { return static_cast<uint8_t>(old & data[i]); });
}

void SparseMemory::fill(uint32_t offset, uint32_t length, uint8_t value)
{
    if (value == fill_) {
        // Erasing whole pages just forgets them; only partial pages are touched byte by byte.
        uint32_t done = 0;
        while (done < length) {
            const uint32_t address = offset + done;
            const uint32_t inPage = address % kPageSize;
            const uint32_t count = std::min(length - done, kPageSize - inPage);
            auto page = pages_.find(address / kPageSize);
            if (page != pages_.end()) {
                std::fill_n(page->second.begin() + inPage, count, fill_);
                dropIfBlank(page->first);
            }
            done += count;
        }
        return;
    }
    modify(offset, length, [value](uint8_t, uint32_t) { return value; });
}

bool SparseMemory::isBlank(uint32_t offset, uint32_t length) const
{
    for (uint32_t i = 0; i < length; ++i) {
        if (at(offset + i) != fill_)
            return false;
    }
    return true;
}

uint32_t SparseMemory::usedExtent() const
{
    if (pages_.empty())
        return 0;
    const auto &[index, bytes] = *pages_.rbegin();
    auto last = std::find_if(bytes.rbegin(), bytes.rend(), [this](uint8_t b) { return b != fill_; });
    return index * kPageSize + static_cast<uint32_t>(bytes.rend() - last);
}

void SparseMemory::forEachPage(const std::function<void(uint32_t, const std::vector<uint8_t> &)> &visit) const
{
    for (const auto &[index, bytes] : pages_)
        visit(index * kPageSize, bytes);
}

void SparseMemory::dropIfBlank(uint32_t pageIndex)
{
    auto page = pages_.find(pageIndex);
    if (page != pages_.end() && std::all_of(page->second.begin(), page->second.end(), [this](uint8_t b) { return b == fill_; }))
        pages_.erase(page);
}

}  // namespace ksim
