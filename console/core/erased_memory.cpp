#include "erased_memory.h"

#include <algorithm>

void ErasedMemory::NoteErased(uint32_t address, uint64_t length)
{
    if (length == 0)
        return;
    uint64_t start = address;
    uint64_t end = start + length;
    // Merge with every range that overlaps or touches [start, end).
    auto it = ranges_.upper_bound(start);
    if (it != ranges_.begin() && std::prev(it)->second >= start)
        --it;
    while (it != ranges_.end() && it->first <= end) {
        start = std::min(start, it->first);
        end = std::max(end, it->second);
        it = ranges_.erase(it);
    }
    ranges_[start] = end;
}

void ErasedMemory::NoteWritten(uint32_t address, uint64_t length)
{
    if (length == 0)
        return;
    const uint64_t start = address;
    const uint64_t end = start + length;
    auto it = ranges_.upper_bound(start);
    if (it != ranges_.begin())
        --it;
    while (it != ranges_.end() && it->first < end) {
        const uint64_t rangeStart = it->first;
        const uint64_t rangeEnd = it->second;
        if (rangeEnd <= start) {
            ++it;
            continue;
        }
        it = ranges_.erase(it);
        if (rangeStart < start)
            ranges_[rangeStart] = start;
        if (rangeEnd > end)
            ranges_[end] = rangeEnd;
    }
}

bool ErasedMemory::Covers(uint32_t address, uint64_t length) const
{
    if (length == 0)
        return true;
    const uint64_t start = address;
    auto it = ranges_.upper_bound(start);
    if (it == ranges_.begin())
        return false;
    --it;
    return it->first <= start && start + length <= it->second;
}
