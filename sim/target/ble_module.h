// The BLE module of series ZR32_S17, reached by the probe over its own SPI link: three flash spaces
// (main, NVR, RDN) programmed by AND, a register file, read protection, and a CRC store with a check
// of the main space.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "target/sparse_memory.h"
#include "target/status.h"

namespace ksim {

class BleModule {
public:
    static constexpr uint32_t kSpaceSize = 0x28000;
    static constexpr uint32_t kSectorSize = 512;
    static constexpr uint32_t kBlockSize = 0x8000;
    static constexpr uint32_t kCodeSize = 0x27FF8;  // what the CRC check covers
    static constexpr uint8_t kConnectedRegister = 5;
    static constexpr uint8_t kConnectedValue = 0x32;
    static constexpr uint8_t kProtectOn = 0xFF;
    static constexpr uint8_t kProtectOff = 0xA5;
    static constexpr uint8_t kCrcMatch = 0x01;
    static constexpr uint8_t kCrcMismatch = 0x00;
    enum Space : uint8_t { Main = 0, Nvr = 1, Rdn = 2, SpaceCount = 3 };
    enum EraseType : uint8_t { WholeSpace = 5, Sectors = 6, Blocks = 7 };

    BleModule();

    void setPresent(bool present) { present_ = present; }
    bool present() const { return present_; }
    bool connected() const { return connected_; }

    Status connect();
    Status disconnect();
    Status selectSpace(uint8_t space);
    uint8_t selectedSpace() const { return space_; }
    Status program(uint32_t address, const uint8_t *data, uint32_t length);
    Status read(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    Status erase(uint8_t type, uint32_t address, uint32_t count);
    Status writeRegister(uint8_t reg, uint8_t value);
    uint8_t readRegister(uint8_t reg) const;
    Status spiCommand(uint8_t command);
    Status setProtection(uint8_t code);
    uint8_t protectionStatus() const { return protected_ ? kProtectOn : kProtectOff; }
    bool isProtected() const { return protected_; }
    void forceProtected(bool on) { protected_ = on; }
    Status storeCrc(uint8_t index, uint32_t crc);
    uint8_t checkCrc() const;
    uint32_t mainSpaceCrc() const;
    // CRC-32/MPEG-2 of the bytes taken as little-endian words, each fed most significant byte first.
    static uint32_t wordCrc(const std::vector<uint8_t> &bytes);
    const std::map<uint8_t, uint32_t> &storedCrcs() const { return crcs_; }
    void setStoredCrc(uint8_t index, uint32_t crc) { crcs_[index] = crc; }

    SparseMemory &space(uint8_t index) { return spaces_[index]; }
    const SparseMemory &space(uint8_t index) const { return spaces_[index]; }
    void resetConnection() { connected_ = false; }

private:
    Status usable() const;

    bool present_ = false;
    bool connected_ = false;
    bool protected_ = false;
    uint8_t space_ = Main;
    std::array<uint8_t, 256> registers_{};
    std::map<uint8_t, uint32_t> crcs_;
    std::array<SparseMemory, SpaceCount> spaces_;
};

}  // namespace ksim
