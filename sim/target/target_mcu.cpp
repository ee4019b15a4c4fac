#include "target/target_mcu.h"

#include <algorithm>

namespace ksim {
namespace {

constexpr uint8_t kDefaultSeries = 4;
constexpr uint32_t kDefaultPid = 0x04000246;  // 256 KiB in 2 KiB sectors

uint32_t crc32(const std::vector<uint8_t> &bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (uint8_t byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

}  // namespace

TargetMcu::TargetMcu() { setIdentity(kDefaultSeries, kDefaultPid); }

void TargetMcu::setIdentity(uint8_t series, uint32_t pid)
{
    info_ = seriesInfo(series);
    pid_ = pid;
    sectorSize_ = sectorSizeFromPid(pid);
    flash_.resize(flashSizeFromPid(pid));
    boot_.resize(info_.bootSize);
    otp_.configure(info_);
    usd_.configure(info_, flash_.size(), sectorSize_);
}

Status TargetMcu::setRunState(uint8_t state)
{
    if (state > Running)
        return Status::BadRequest;
    if (!attached_)
        return Status::Failed;
    runState_ = state;
    openWrites_ = 0;  // a reset abandons any write sequence
    usdStaging_.clear();
    return Status::Ok;
}

Status TargetMcu::accessible() const
{
    if (!attached_)
        return Status::Failed;
    return protectionLevel() == 0 ? Status::Ok : Status::Protected;
}

Status TargetMcu::setAccessProtection(uint8_t code)
{
    if (!attached_)
        return Status::Failed;
    const bool permanent = protectionLevel() == 2 && info_.level2Permanent;
    switch (code) {
    case UserSystemData::kFapLevel1:
        if (permanent)
            return Status::Failed;
        usd_.setLogical(0, code);
        return Status::Ok;
    case UserSystemData::kFapLevel2:
        usd_.setLogical(0, code);
        return Status::Ok;
    case UserSystemData::kFapOff:
        if (protectionLevel() == 0)
            return Status::Ok;
        if (permanent)
            return Status::Failed;
        // Leaving protection wipes what it protected: main flash and the option bytes.
        flash_.reset();
        usd_.resetToFactory();
        hasSuppliedId_ = false;
        return Status::Ok;
    default:
        return Status::BadRequest;
    }
}

Status TargetMcu::readDeviceId(DeviceId &id) const
{
    if (!attached_) {
        id = {};
        return Status::Failed;
    }
    if (protectionLevel() == 0) {
        id = {info_.number, pid_};
        return Status::Ok;
    }
    if (hasSuppliedId_) {
        id = suppliedId_;
        return Status::Ok;
    }
    // The product ID register stays readable; the series lives in protected memory.
    id = {0, pid_};
    return Status::Protected;
}

void TargetMcu::supplyDeviceId(const DeviceId &id)
{
    suppliedId_ = id;
    hasSuppliedId_ = true;
}

Status TargetMcu::setEraseProgramProtection(bool on)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    usd_.setAllEpp(on ? 0x00 : 0xFF);
    return Status::Ok;
}

Status TargetMcu::setFlashLock(uint8_t kind, bool locked)
{
    if (kind < LockMain || kind > LockBoot)
        return Status::BadRequest;
    const uint8_t bit = static_cast<uint8_t>(1u << kind);
    locks_ = locked ? (locks_ | bit) : (locks_ & ~bit);
    return Status::Ok;
}

bool TargetMcu::flashLocked(uint8_t kind) const { return (locks_ >> kind) & 1; }

Status TargetMcu::enableSpim(uint8_t config, uint32_t limit, uint32_t size)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!info_.hasSpim)
        return Status::Unavailable;
    if (config > 0x0F || size > kSpimWindow)
        return Status::OutOfRange;
    setSpimSetup(config, limit);
    setSpimState(true, size);
    return Status::Ok;
}

void TargetMcu::setSpimState(bool enabled, uint32_t size)
{
    spimEnabled_ = enabled;
    spimSize_ = std::min(size, kSpimWindow);
}

void TargetMcu::setSpimSetup(uint8_t config, uint32_t limit)
{
    spimConfig_ = config;
    spimLimit_ = limit;
}

Status TargetMcu::setApMode(uint32_t key)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!info_.hasApMode)
        return Status::Unavailable;
    if (key != kApModeKey)
        return Status::Failed;
    apMode_ = true;
    return Status::Ok;
}

Status TargetMcu::flashCrc(uint16_t firstSector, uint16_t count, uint32_t &crc) const
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    const uint32_t offset = uint32_t{firstSector} * sectorSize_;
    const uint32_t length = uint32_t{count} * sectorSize_;
    if (count == 0 || !flash_.contains(offset, length))
        return Status::OutOfRange;
    crc = crc32(flash_.read(offset, length));
    return Status::Ok;
}

Status TargetMcu::enableSecurityLibrary(SecurityLibrary &lib, const SecurityLibrary &wanted)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (lib.enabled)
        return Status::Failed;
    lib = wanted;
    lib.enabled = true;
    return Status::Ok;
}

Status TargetMcu::disableSecurityLibrary(SecurityLibrary &lib, uint32_t password)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!lib.enabled)
        return Status::Ok;
    if (lib.password != password)
        return Status::Failed;
    lib = SecurityLibrary{};
    return Status::Ok;
}

}  // namespace ksim
