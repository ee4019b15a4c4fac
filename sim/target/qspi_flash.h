// An external QSPI flash wired to the target's QSPI controller: the controller's register words and
// parameter blocks, and the flash array, which erases to 0xFF and programs by AND.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "target/sparse_memory.h"
#include "target/status.h"

namespace ksim {

class QspiFlash {
public:
    static constexpr uint32_t kSize = 16u << 20;
    static constexpr uint32_t kSectorSize = 4096;
    static constexpr uint32_t kBlockSize = 65536;
    static constexpr size_t kConfigSize = 18;
    static constexpr size_t kCustomSize = 17;

    // Flash addresses are offsets into the array.
    Status read(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    Status program(uint32_t address, const uint8_t *data, uint32_t length);
    // `count` units of `unit` bytes from the unit holding `address`.
    Status erase(uint32_t address, uint32_t count, uint32_t unit);
    void eraseChip() { array_.reset(); }

    // Controller registers: whatever word was last written at an address reads back (0 before).
    void writeRegister(uint32_t address, uint32_t value) { registers_[address] = value; }
    uint32_t readRegister(uint32_t address) const;

    uint8_t state = 0;
    uint32_t registerBase = 0;
    std::array<uint8_t, kConfigSize> config{};
    std::array<uint8_t, kCustomSize> lastCustomCommand{};
    uint32_t customCommands = 0;

    SparseMemory &array() { return array_; }
    const SparseMemory &array() const { return array_; }

private:
    SparseMemory array_{kSize, 0xFF};
    std::map<uint32_t, uint32_t> registers_;
};

}  // namespace ksim
