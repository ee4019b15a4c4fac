// The ZR32 MCU behind the probe, modelled as flash silicon: erased bytes read 0xFF, programming can only
// clear bits, erases work on whole sectors, and access protection, erase/program protection, OTP locks
// and the boot memory AP mode refuse what the real chip refuses.
#pragma once

#include <cstdint>
#include <vector>

#include "target/otp_area.h"
#include "target/series_info.h"
#include "target/sparse_memory.h"
#include "target/status.h"
#include "target/user_system_data.h"

namespace ksim {

struct DeviceId {
    uint8_t series = 0;
    uint32_t pid = 0;
};

// A protected code area of the flash (security library) and the one of the system memory.
struct SecurityLibrary {
    bool enabled = false;
    uint32_t password = 0;
    uint16_t a = 0, b = 0, c = 0;
};

class TargetMcu {
public:
    static constexpr uint32_t kFlashBase = 0x08000000;
    static constexpr uint32_t kBankSize = 0x80000;  // bank 1 is the first 512 KiB, bank 2 the rest
    static constexpr uint32_t kFlashBlockSize = 0x10000;
    static constexpr uint32_t kSpimBase = 0x08400000;
    static constexpr uint32_t kSpimWindow = 0x1000000;
    static constexpr uint32_t kSpimSectorSize = 0x1000;
    static constexpr uint32_t kSramBase = 0x20000000;
    // Register windows for debug access: they keep what is written and read it back.
    static constexpr uint32_t kPeripheralBase = 0x40000000;
    static constexpr uint32_t kPeripheralSize = 0x20000000;
    static constexpr uint32_t kSystemBase = 0xE0000000;
    static constexpr uint32_t kSystemSize = 0x00100000;
    static constexpr uint32_t kApModeKey = 0x5C3E91B7;
    enum RunState : uint8_t { Idle = 0, Prepared = 1, Running = 2 };
    enum WriteKind : uint8_t { MainFlashWrite = 3, SpimWrite = 4, UsdWrite = 5, OtpWrite = 6 };
    enum LockKind : uint8_t { LockMain = 1, LockSpim = 2, LockBoot = 3 };

    TargetMcu();

    // Identity: the series byte and the product ID, from which the flash geometry follows. Settings
    // that a series lacks (SPIM, AP mode) are kept but have no effect; the option bytes keep what
    // fits a block of another length, so the order in which a bench is set up does not matter.
    void setIdentity(uint8_t series, uint32_t pid);
    uint8_t series() const { return info_.number; }
    uint32_t pid() const { return pid_; }
    const SeriesInfo &info() const { return info_; }
    uint32_t flashSize() const { return flash_.size(); }
    uint32_t sectorSize() const { return sectorSize_; }

    Status setRunState(uint8_t state);
    uint8_t runState() const { return runState_; }
    bool statusValid() const { return statusValid_; }
    void setStatusValid(bool valid) { statusValid_ = valid; }
    // Whether a refused device-ID read (protected target) still carries the product ID.
    bool protectedIdReply() const { return protectedIdReply_; }
    void setProtectedIdReply(bool carriesId) { protectedIdReply_ = carriesId; }
    // A probe with nothing on its SWD pins: every target operation fails.
    bool attached() const { return attached_; }
    void setAttached(bool attached) { attached_ = attached; }

    // Access protection (level 0, 1, 2), kept in the user system data like on the chip.
    int protectionLevel() const { return usd_.protectionLevel(); }
    Status setAccessProtection(uint8_t code);  // 0xFF level 1, 0xCC level 2, 0xA5 off
    Status readDeviceId(DeviceId &id) const;
    void supplyDeviceId(const DeviceId &id);
    bool hasSuppliedId() const { return hasSuppliedId_; }
    const DeviceId &suppliedId() const { return suppliedId_; }

    // Memory transfers; flash and boot memory addresses are absolute, user system data offsets count
    // bytes of the stored image (byte + complement pairs).
    Status readFlash(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    Status readSpim(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    Status readUserSystemData(uint32_t offset, uint32_t length, std::vector<uint8_t> &out) const;
    Status readOtpData(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    Status readOtpLock(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const;
    Status beginWrite(uint8_t kind);
    Status endWrite(uint8_t kind);
    bool writeOpen(uint8_t kind) const;
    Status writeFlash(uint32_t address, const uint8_t *data, uint32_t length);
    Status writeSpim(uint32_t address, const uint8_t *data, uint32_t length);
    Status writeUserSystemData(uint32_t offset, const uint8_t *data, uint32_t length);
    Status writeOtpData(uint32_t address, const uint8_t *data, uint32_t length);
    Status writeOtpLock(uint32_t address, const uint8_t *data, uint32_t length);

    // Erases; sector and block erases take the first address and a count.
    Status eraseFlashSectors(uint32_t address, uint32_t count);
    Status eraseFlashBlocks(uint32_t address, uint32_t count);
    Status eraseSpimSectors(uint32_t address, uint32_t count);
    Status eraseBank(int bank);
    Status eraseMainFlash();
    Status eraseSpim();
    Status eraseBootMemory();

    Status setEraseProgramProtection(bool on);  // all sectors; the request carries no sector list
    Status setFlashLock(uint8_t kind, bool locked);
    bool flashLocked(uint8_t kind) const;

    // SPIM: config = remap + 4 x flash type; limit is the FLASH_DA value; size in bytes.
    Status enableSpim(uint8_t config, uint32_t limit, uint32_t size);
    void setSpimState(bool enabled, uint32_t size);  // size at most kSpimWindow
    void setSpimSetup(uint8_t config, uint32_t limit);
    bool spimEnabled() const { return spimEnabled_ && info_.hasSpim; }
    uint32_t spimSize() const { return spimSize_; }  // the window the last enable opened
    uint8_t spimConfig() const { return spimConfig_; }
    uint32_t spimLimit() const { return spimLimit_; }

    Status setApMode(uint32_t key);
    bool apMode() const { return apMode_ && info_.hasApMode; }
    void forceApMode(bool on) { apMode_ = on; }

    Status flashCrc(uint16_t firstSector, uint16_t count, uint32_t &crc) const;
    SecurityLibrary &securityLibrary() { return slib_; }
    SecurityLibrary &systemSecurityLibrary() { return sysSlib_; }
    Status enableSecurityLibrary(SecurityLibrary &lib, const SecurityLibrary &wanted);
    Status disableSecurityLibrary(SecurityLibrary &lib, uint32_t password);

    // Debug access: width in bits (8, 16, 32); SRAM and the register windows are writable, the
    // memories are readable.
    Status debugRead(uint32_t address, uint32_t length, uint8_t width, std::vector<uint8_t> &out) const;
    Status debugWrite(uint32_t address, const uint8_t *data, uint32_t length, uint8_t width);

    // A flash (and option page) that acknowledges writes and keeps nothing (for verify-failure tests).
    void setIgnoreWrites(bool ignore) { ignoreWrites_ = ignore; }
    bool ignoreWrites() const { return ignoreWrites_; }

    // Stores bytes at an absolute address as they are, whatever memory holds it (preloaded images).
    bool loadImage(uint32_t address, const std::vector<uint8_t> &bytes);
    // Whether some series and product ID would have memory for these bytes.
    static bool mappableOnSomeTarget(uint32_t address, uint32_t length);

    SparseMemory &mainFlash() { return flash_; }
    SparseMemory &bootMemory() { return boot_; }
    SparseMemory &spim() { return spim_; }
    SparseMemory &sram() { return sram_; }
    UserSystemData &userSystemData() { return usd_; }
    OtpArea &otp() { return otp_; }
    const SparseMemory &mainFlash() const { return flash_; }
    const SparseMemory &bootMemory() const { return boot_; }
    const SparseMemory &spim() const { return spim_; }
    const SparseMemory &sram() const { return sram_; }
    const UserSystemData &userSystemData() const { return usd_; }
    const OtpArea &otp() const { return otp_; }

private:
    enum class Memory { None, Main, Boot, Spim, Sram, Peripherals, System, OtpData, OtpLock };
    struct Region {
        Memory memory = Memory::None;
        uint32_t offset = 0;
        explicit operator bool() const { return memory != Memory::None; }
    };
    SparseMemory &memory(Memory which);
    const SparseMemory &memory(Memory which) const;
    Region flashRegion(uint32_t address, uint32_t length) const;
    Status accessible() const;
    Status checkSectorsWritable(uint32_t offset, uint32_t length) const;
    Status mainFlashErasable(uint32_t offset, uint32_t length) const;  // also what programming needs
    Status bootWritable() const;
    Status programRegion(const Region &region, const uint8_t *data, uint32_t length);
    Region writableRegion(uint32_t address, uint32_t length) const;
    Region debugRegion(uint32_t address, uint32_t length) const;

    SeriesInfo info_;
    uint32_t pid_ = 0;
    uint32_t sectorSize_ = 0;
    uint8_t runState_ = Idle;
    bool statusValid_ = true;
    bool protectedIdReply_ = true;
    bool attached_ = true;
    bool hasSuppliedId_ = false;
    DeviceId suppliedId_;
    uint8_t openWrites_ = 0;
    uint8_t locks_ = 0;
    bool spimEnabled_ = false;
    uint8_t spimConfig_ = 0;
    uint32_t spimLimit_ = 0;
    bool apMode_ = false;
    bool ignoreWrites_ = false;
    SecurityLibrary slib_;
    SecurityLibrary sysSlib_;
    std::vector<uint8_t> usdStaging_;
    SparseMemory flash_{0, 0xFF};
    SparseMemory boot_{0, 0xFF};
    uint32_t spimSize_ = 0;
    SparseMemory spim_{kSpimWindow, 0xFF};  // the external chip keeps its content whatever the window
    SparseMemory sram_{64 * 1024, 0x00};
    SparseMemory peripherals_{kPeripheralSize, 0x00};
    SparseMemory system_{kSystemSize, 0x00};
    UserSystemData usd_;
    OtpArea otp_;
};

}  // namespace ksim
