#pragma once

#include <cstdint>
#include <map>

// What the run has erased and not written since, as byte ranges of the target's address space
// (main flash, SPIM, boot memory). A download may skip its own erase only where every byte it is
// about to write lies in these ranges: an earlier erase of fewer sectors, or of sectors that were
// written since, leaves flash that programming would corrupt.
class ErasedMemory {
public:
    void Clear() { ranges_.clear(); }
    void NoteErased(uint32_t address, uint64_t length);
    void NoteWritten(uint32_t address, uint64_t length);
    // True when every byte of [address, address + length) is erased and unwritten; an empty
    // range is covered.
    bool Covers(uint32_t address, uint64_t length) const;

private:
    std::map<uint64_t, uint64_t> ranges_; // start -> end (exclusive); disjoint and never touching
};
