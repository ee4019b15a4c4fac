// The probe's own settings and identity bytes, as the probe information commands report them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ksim {

struct ProbeSettings {
    std::array<uint8_t, 3> firmware{2, 1, 7};  // major, minor, patch
    uint8_t hardware = 0;                       // hardware version byte (10 to 12 reach a BLE module)
    uint8_t appState = 1;                       // 1: application running
    uint32_t swdSpeed = 1000000;
    uint8_t resetMode = 0;
    uint32_t vkpVersion = 0;
    std::vector<uint8_t> transferKey{0, 0, 0, 0, 0, 0};
    std::array<uint8_t, 12> uid{};
    uint8_t buttonFree = 0;
    uint8_t offlineStep = 0;
    uint8_t bleSpiRate = 0;
    bool probeEncryption = false;
    bool targetEncryption = false;
    bool swdAutoDetected = false;

    bool reachesBle() const { return hardware >= 10 && hardware <= 12; }
};

}  // namespace ksim
