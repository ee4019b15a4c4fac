// Memory transfers, erases and debug access of the target.
#include "target/target_mcu.h"

#include <optional>

namespace ksim {
namespace {

bool within(uint32_t address, uint32_t length, uint32_t base, uint32_t size)
{
    return address >= base && address - base <= size && length <= size - (address - base);
}

struct Span {
    uint32_t first = 0;
    uint32_t length = 0;
};

// `count` whole units (sectors, blocks) from the one that holds `offset`, when they fit in `size`.
std::optional<Span> unitSpan(uint32_t offset, uint32_t count, uint32_t unit, uint32_t size)
{
    if (count == 0 || unit == 0 || offset >= size)
        return std::nullopt;
    const uint32_t first = offset / unit * unit;
    const uint64_t length = uint64_t{count} * unit;
    if (length > size - first)
        return std::nullopt;
    return Span{first, static_cast<uint32_t>(length)};
}

}  // namespace

SparseMemory &TargetMcu::memory(Memory which)
{
    return const_cast<SparseMemory &>(static_cast<const TargetMcu &>(*this).memory(which));
}

const SparseMemory &TargetMcu::memory(Memory which) const
{
    switch (which) {
    case Memory::Boot: return boot_;
    case Memory::Spim: return spim_;
    case Memory::Sram: return sram_;
    case Memory::Peripherals: return peripherals_;
    case Memory::System: return system_;
    case Memory::OtpData: return otp_.data();
    case Memory::OtpLock: return otp_.locks();
    default: return flash_;
    }
}

TargetMcu::Region TargetMcu::flashRegion(uint32_t address, uint32_t length) const
{
    if (within(address, length, kFlashBase, flash_.size()))
        return {Memory::Main, address - kFlashBase};
    if (boot_.size() != 0 && within(address, length, info_.bootAddress, boot_.size()))
        return {Memory::Boot, address - info_.bootAddress};
    return {};
}

Status TargetMcu::checkSectorsWritable(uint32_t offset, uint32_t length) const
{
    if (length == 0 || sectorSize_ == 0)
        return Status::Ok;
    for (uint32_t sector = offset / sectorSize_; sector <= (offset + length - 1) / sectorSize_; ++sector) {
        if (usd_.sectorProtected(sector))
            return Status::Protected;
    }
    return Status::Ok;
}

Status TargetMcu::mainFlashErasable(uint32_t offset, uint32_t length) const
{
    if (flashLocked(LockMain))
        return Status::Protected;
    return checkSectorsWritable(offset, length);
}

Status TargetMcu::bootWritable() const
{
    return apMode() && !flashLocked(LockBoot) ? Status::Ok : Status::Protected;
}

Status TargetMcu::readFlash(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    const Region region = flashRegion(address, length);
    if (!region)
        return Status::OutOfRange;
    out = memory(region.memory).read(region.offset, length);
    return Status::Ok;
}

Status TargetMcu::readSpim(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!spimEnabled())
        return Status::Unavailable;
    if (!within(address, length, kSpimBase, spimSize_))
        return Status::OutOfRange;
    out = spim_.read(address - kSpimBase, length);
    return Status::Ok;
}

Status TargetMcu::readUserSystemData(uint32_t offset, uint32_t length, std::vector<uint8_t> &out) const
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    const auto &image = usd_.image();
    if (offset > image.size() || length > image.size() - offset)
        return Status::OutOfRange;
    out.assign(image.begin() + offset, image.begin() + offset + length);
    return Status::Ok;
}

Status TargetMcu::readOtpData(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    return otp_.readData(address, length, out);
}

Status TargetMcu::readOtpLock(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    return otp_.readLock(address, length, out);
}

Status TargetMcu::beginWrite(uint8_t kind)
{
    if (kind < MainFlashWrite || kind > OtpWrite)
        return Status::BadRequest;
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (kind == SpimWrite && !spimEnabled())
        return Status::Unavailable;
    if (kind == UsdWrite)
        usdStaging_.assign(usd_.image().size(), 0xFF);  // the option page is erased first
    openWrites_ |= static_cast<uint8_t>(1u << kind);
    return Status::Ok;
}

Status TargetMcu::endWrite(uint8_t kind)
{
    if (kind < MainFlashWrite || kind > OtpWrite)
        return Status::BadRequest;
    if (kind == UsdWrite && writeOpen(UsdWrite)) {
        if (!ignoreWrites_)
            usd_.setImage(usdStaging_);  // takes effect at once, protection byte included
        usdStaging_.clear();
    }
    openWrites_ &= static_cast<uint8_t>(~(1u << kind));
    return Status::Ok;
}

bool TargetMcu::writeOpen(uint8_t kind) const { return (openWrites_ >> kind) & 1; }

Status TargetMcu::programRegion(const Region &region, const uint8_t *data, uint32_t length)
{
    if (!ignoreWrites_)
        memory(region.memory).program(region.offset, data, length);
    return Status::Ok;
}

Status TargetMcu::writeFlash(uint32_t address, const uint8_t *data, uint32_t length)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!writeOpen(MainFlashWrite))
        return Status::Unavailable;
    const Region region = flashRegion(address, length);
    if (!region)
        return Status::OutOfRange;
    const Status allowed = region.memory == Memory::Boot ? bootWritable() : mainFlashErasable(region.offset, length);
    if (allowed != Status::Ok)
        return allowed;
    return programRegion(region, data, length);
}

Status TargetMcu::writeSpim(uint32_t address, const uint8_t *data, uint32_t length)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!spimEnabled() || !writeOpen(SpimWrite))
        return Status::Unavailable;
    if (!within(address, length, kSpimBase, spimSize_))
        return Status::OutOfRange;
    if (flashLocked(LockSpim))
        return Status::Protected;
    return programRegion({Memory::Spim, address - kSpimBase}, data, length);
}

Status TargetMcu::writeUserSystemData(uint32_t offset, const uint8_t *data, uint32_t length)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!writeOpen(UsdWrite))
        return Status::Unavailable;
    if (offset > usdStaging_.size() || length > usdStaging_.size() - offset)
        return Status::OutOfRange;
    for (uint32_t i = 0; i < length; ++i)
        usdStaging_[offset + i] &= data[i];
    return Status::Ok;
}

Status TargetMcu::writeOtpData(uint32_t address, const uint8_t *data, uint32_t length)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!writeOpen(OtpWrite))
        return Status::Unavailable;
    return otp_.writeData(address, data, length);
}

Status TargetMcu::writeOtpLock(uint32_t address, const uint8_t *data, uint32_t length)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!writeOpen(OtpWrite))
        return Status::Unavailable;
    return otp_.writeLock(address, data, length);
}

Status TargetMcu::eraseFlashSectors(uint32_t address, uint32_t count)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    const Region start = flashRegion(address, 1);
    const auto span = start ? unitSpan(start.offset, count, sectorSize_, memory(start.memory).size()) : std::nullopt;
    if (!span)
        return Status::OutOfRange;
    const Status allowed = start.memory == Memory::Boot ? bootWritable() : mainFlashErasable(span->first, span->length);
    if (allowed != Status::Ok)
        return allowed;
    memory(start.memory).fill(span->first, span->length, 0xFF);
    return Status::Ok;
}

Status TargetMcu::eraseFlashBlocks(uint32_t address, uint32_t count)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    const auto span = address >= kFlashBase ? unitSpan(address - kFlashBase, count, kFlashBlockSize, flash_.size()) : std::nullopt;
    if (!span)
        return Status::OutOfRange;
    if (Status s = mainFlashErasable(span->first, span->length); s != Status::Ok)
        return s;
    flash_.fill(span->first, span->length, 0xFF);
    return Status::Ok;
}

Status TargetMcu::eraseSpimSectors(uint32_t address, uint32_t count)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!spimEnabled())
        return Status::Unavailable;
    const auto span = address >= kSpimBase ? unitSpan(address - kSpimBase, count, kSpimSectorSize, spimSize_) : std::nullopt;
    if (!span)
        return Status::OutOfRange;
    if (flashLocked(LockSpim))
        return Status::Protected;
    spim_.fill(span->first, span->length, 0xFF);
    return Status::Ok;
}

Status TargetMcu::eraseBank(int bank)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    const uint32_t first = bank == 1 ? 0 : kBankSize;
    if ((bank != 1 && bank != 2) || first >= flash_.size())
        return Status::OutOfRange;  // a flash of at most 512 KiB has no bank 2
    const uint32_t length = bank == 1 && flash_.size() > kBankSize ? kBankSize : flash_.size() - first;
    if (Status s = mainFlashErasable(first, length); s != Status::Ok)
        return s;
    flash_.fill(first, length, 0xFF);
    return Status::Ok;
}

Status TargetMcu::eraseMainFlash()
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (Status s = mainFlashErasable(0, flash_.size()); s != Status::Ok)
        return s;
    flash_.reset();
    return Status::Ok;
}

Status TargetMcu::eraseSpim()
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!spimEnabled())
        return Status::Unavailable;
    if (flashLocked(LockSpim))
        return Status::Protected;
    spim_.fill(0, spimSize_, 0xFF);
    return Status::Ok;
}

Status TargetMcu::eraseBootMemory()
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (boot_.size() == 0)
        return Status::Unavailable;
    if (Status s = bootWritable(); s != Status::Ok)
        return s;
    boot_.reset();
    return Status::Ok;
}

TargetMcu::Region TargetMcu::writableRegion(uint32_t address, uint32_t length) const
{
    if (within(address, length, kSramBase, sram_.size()))
        return {Memory::Sram, address - kSramBase};
    if (within(address, length, kPeripheralBase, kPeripheralSize))
        return {Memory::Peripherals, address - kPeripheralBase};
    if (within(address, length, kSystemBase, kSystemSize))
        return {Memory::System, address - kSystemBase};
    return {};
}

TargetMcu::Region TargetMcu::debugRegion(uint32_t address, uint32_t length) const
{
    if (Region ram = writableRegion(address, length))
        return ram;
    if (Region flash = flashRegion(address, length))
        return flash;
    if (spimEnabled() && within(address, length, kSpimBase, spimSize_))
        return {Memory::Spim, address - kSpimBase};
    if (otp_.present() && within(address, length, otp_.dataAddress(), otp_.data().size()))
        return {Memory::OtpData, address - otp_.dataAddress()};
    if (otp_.present() && within(address, length, otp_.lockAddress(), otp_.locks().size()))
        return {Memory::OtpLock, address - otp_.lockAddress()};
    return {};
}

namespace {

bool alignedAccess(uint32_t address, uint32_t length, uint8_t width)
{
    if (width != 8 && width != 16 && width != 32)
        return false;
    const uint32_t unit = width / 8u;
    return address % unit == 0 && length % unit == 0;
}

}  // namespace

Status TargetMcu::debugRead(uint32_t address, uint32_t length, uint8_t width, std::vector<uint8_t> &out) const
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!alignedAccess(address, length, width))
        return Status::BadRequest;
    const Region region = debugRegion(address, length);
    if (!region)
        return Status::Failed;  // bus fault: nothing mapped there
    out = memory(region.memory).read(region.offset, length);
    return Status::Ok;
}

Status TargetMcu::debugWrite(uint32_t address, const uint8_t *data, uint32_t length, uint8_t width)
{
    if (Status s = accessible(); s != Status::Ok)
        return s;
    if (!alignedAccess(address, length, width))
        return Status::BadRequest;
    const Region region = writableRegion(address, length);
    if (!region)
        return Status::Failed;  // flash and unmapped space take no plain bus writes
    memory(region.memory).store(region.offset, data, length);
    return Status::Ok;
}

bool TargetMcu::mappableOnSomeTarget(uint32_t address, uint32_t length)
{
    constexpr uint32_t kLargestFlash = 5120 * 1024;
    constexpr uint32_t kSystemAreaBase = 0x1FFF7C00;  // lowest boot memory start
    constexpr uint32_t kSystemAreaEnd = 0x1FFFF580;   // end of the OTP lock area
    constexpr uint32_t kLargestSram = 0x1000000;
    return within(address, length, kFlashBase, kLargestFlash) || within(address, length, kSpimBase, kSpimWindow) ||
           within(address, length, kSystemAreaBase, kSystemAreaEnd - kSystemAreaBase) ||
           within(address, length, kSramBase, kLargestSram) || within(address, length, kPeripheralBase, kPeripheralSize) ||
           within(address, length, kSystemBase, kSystemSize);
}

bool TargetMcu::loadImage(uint32_t address, const std::vector<uint8_t> &bytes)
{
    const auto length = static_cast<uint32_t>(bytes.size());
    Region region = debugRegion(address, length);
    if (!region && within(address, length, kSpimBase, kSpimWindow) && info_.hasSpim)
        region = {Memory::Spim, address - kSpimBase};
    if (!region)
        return false;
    memory(region.memory).store(region.offset, bytes.data(), length);
    return true;
}

}  // namespace ksim
