#include "target/otp_area.h"

namespace ksim {

OtpArea::OtpArea() = default;

void OtpArea::configure(const SeriesInfo &series)
{
    if (dataAddress_ != series.otpDataAddress || data_.size() != series.otpDataSize) {
        data_.reset();
        lock_.reset();
    }
    dataAddress_ = series.otpDataAddress;
    lockAddress_ = series.otpLockAddress;
    data_.resize(series.otpDataSize);
    lock_.resize(series.otpLockSize);
}

bool OtpArea::toOffset(uint32_t base, const SparseMemory &area, uint32_t address, uint32_t length, uint32_t &offset)
{
    if (area.size() == 0)
        return false;
    offset = address >= base ? address - base : address;
    return area.contains(offset, length);
}

Status OtpArea::readArea(uint32_t base, const SparseMemory &area, uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    uint32_t offset = 0;
    if (!present())
        return Status::Unavailable;
    if (!toOffset(base, area, address, length, offset))
        return Status::OutOfRange;
    out = area.read(offset, length);
    return Status::Ok;
}

Status OtpArea::readData(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    return readArea(dataAddress_, data_, address, length, out);
}

Status OtpArea::readLock(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    return readArea(lockAddress_, lock_, address, length, out);
}

Status OtpArea::programOnce(SparseMemory &area, uint32_t offset, const uint8_t *data, uint32_t length)
{
    for (uint32_t i = 0; i < length; ++i) {
        const uint8_t old = area.at(offset + i);
        if (old != 0xFF && old != data[i])
            return Status::Failed;
    }
    area.program(offset, data, length);
    return Status::Ok;
}

bool OtpArea::blockLocked(uint32_t block) const
{
    return block < lock_.size() && lock_.at(block) != 0xFF;
}

Status OtpArea::writeData(uint32_t address, const uint8_t *data, uint32_t length)
{
    uint32_t offset = 0;
    if (!present())
        return Status::Unavailable;
    if (!toOffset(dataAddress_, data_, address, length, offset))
        return Status::OutOfRange;
    for (uint32_t block = offset / kBlockSize; length != 0 && block <= (offset + length - 1) / kBlockSize; ++block) {
        if (blockLocked(block))
            return Status::Protected;
    }
    return programOnce(data_, offset, data, length);
}

Status OtpArea::writeLock(uint32_t address, const uint8_t *data, uint32_t length)
{
    uint32_t offset = 0;
    if (!present())
        return Status::Unavailable;
    if (!toOffset(lockAddress_, lock_, address, length, offset))
        return Status::OutOfRange;
    return programOnce(lock_, offset, data, length);
}

}  // namespace ksim
