// What the probe keeps beyond its link settings: the settings of its own hardware, the projects
// stored for offline programming, the firmware updates in progress, its test modes, and the QSPI
// flash behind the target.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "target/qspi_flash.h"
#include "target/sparse_memory.h"

namespace ksim {

// One offline project, stored under a code index.
struct StoredProject {
    static constexpr uint32_t kImageSize = 16u << 20;
    static constexpr uint32_t kAreaSize = 4096;
    static constexpr size_t kOptionBlockSize = 48;

    SparseMemory image{kImageSize, 0xFF};
    SparseMemory written{kImageSize, 0x00};  // 1 for every image byte received, for the verify command
    std::array<uint8_t, kOptionBlockSize> options{};
    SparseMemory optionExtend{kAreaSize, 0xFF};
    SparseMemory otpData{kAreaSize, 0xFF};
    SparseMemory otpLock{kAreaSize, 0xFF};
    SparseMemory otpWrite{kAreaSize, 0xFF};
    std::array<std::vector<uint8_t>, 4> configParts;  // the A to D parts, as written
};

// A firmware image received piece by piece (the probe's own, or its display's).
struct FirmwareUpdate {
    bool updateMode = false;
    bool begun = false;
    uint8_t beginFlag = 0;
    uint32_t start = 0;
    uint32_t size = 0;
    bool lastReceived = false;
    bool verified = false;
    uint8_t endFlag = 0;
    std::vector<uint8_t> received;  // `size` bytes, 0xFF until written
};

struct ProbeStore {
    static constexpr size_t kProjects = 16;
    static constexpr uint32_t kProbeFlashBase = 0x08000000;  // where the probe keeps its firmware
    static constexpr uint32_t kProbeFlashSize = 1u << 20;

    // Target supply and peripherals.
    uint32_t targetStableTime = 100;
    std::map<uint8_t, uint16_t> voltageLevels{{0, 3300}, {1, 5000}, {2, 1800}};
    uint8_t voltageState = 0;
    uint8_t voltageCurrentLevel = 0;
    uint8_t buzzer = 1;
    uint8_t usbToUsart = 0;
    uint8_t usartAutoMode = 0;
    std::array<uint8_t, 2> displayVersion{1, 0};

    // Offline programming.
    uint8_t offlineDownloadState = 0;
    uint8_t offlineDownloadType = 0;
    uint32_t ispUartBps = 115200;
    uint8_t ispAutoBoot = 0;
    uint8_t machineA = 0;
    uint8_t machineB = 0;
    uint32_t machineC = 100;
    uint32_t machineD = 100;
    uint8_t codeNumber = 1;
    std::array<uint8_t, 2> downloadCodeIndex{};
    uint8_t projectOneFunction = 0;
    std::array<StoredProject, kProjects> projects;
    // Verify verdicts per project: matches, mismatches.
    std::array<std::array<uint32_t, 2>, kProjects> verifyCounts{};

    // Firmware updates and the probe's own flash.
    FirmwareUpdate probeFirmware;
    FirmwareUpdate displayFirmware;
    SparseMemory probeFlash{kProbeFlashSize, 0xFF};

    // Production tests.
    bool pinTest = false;
    bool ledTest = false;
    bool lcdTest = false;
    uint32_t resets = 0;

    QspiFlash qspi;
};

}  // namespace ksim
