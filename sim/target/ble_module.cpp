#include "target/ble_module.h"

namespace ksim {
// Polynomial 0x04C11DB7, initial value all ones, no reflection, no final XOR: the module's CRC unit.
uint32_t BleModule::wordCrc(const std::vector<uint8_t> &bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
        for (int b = 3; b >= 0; --b) {
            crc ^= static_cast<uint32_t>(bytes[i + b]) << 24;
            for (int k = 0; k < 8; ++k)
                crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

BleModule::BleModule()
    : spaces_{SparseMemory(kSpaceSize, 0xFF), SparseMemory(kSpaceSize, 0xFF), SparseMemory(kSpaceSize, 0xFF)}
{
}

Status BleModule::usable() const
{
    if (!present_ || !connected_)
        return Status::Unavailable;
    return Status::Ok;
}

Status BleModule::connect()
{
    if (!present_)
        return Status::Unavailable;
    connected_ = true;
    return Status::Ok;
}

Status BleModule::disconnect()
{
    if (!present_)
        return Status::Unavailable;
    connected_ = false;
    return Status::Ok;
}

Status BleModule::selectSpace(uint8_t space)
{
    if (Status s = usable(); s != Status::Ok)
        return s;
    if (space >= SpaceCount)
        return Status::OutOfRange;
    space_ = space;
    return Status::Ok;
}

Status BleModule::program(uint32_t address, const uint8_t *data, uint32_t length)
{
    if (Status s = usable(); s != Status::Ok)
        return s;
    if (!spaces_[space_].contains(address, length))
        return Status::OutOfRange;
    spaces_[space_].program(address, data, length);
    return Status::Ok;
}

Status BleModule::read(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    if (Status s = usable(); s != Status::Ok)
        return s;
    if (protected_)
        return Status::Protected;
    if (!spaces_[space_].contains(address, length))
        return Status::OutOfRange;
    out = spaces_[space_].read(address, length);
    return Status::Ok;
}

Status BleModule::erase(uint8_t type, uint32_t address, uint32_t count)
{
    if (Status s = usable(); s != Status::Ok)
        return s;
    SparseMemory &space = spaces_[space_];
    if (type == WholeSpace) {
        space.reset();
        return Status::Ok;
    }
    const uint32_t unit = type == Sectors ? kSectorSize : kBlockSize;
    const uint32_t first = address / unit * unit;
    if (count == 0 || !space.contains(first, count * unit))
        return Status::OutOfRange;
    space.fill(first, count * unit, 0xFF);
    return Status::Ok;
}

Status BleModule::writeRegister(uint8_t reg, uint8_t value)
{
    if (Status s = usable(); s != Status::Ok)
        return s;
    if (reg == kConnectedRegister)
        return Status::Failed;  // read-only link state
    registers_[reg] = value;
    return Status::Ok;
}

uint8_t BleModule::readRegister(uint8_t reg) const
{
    if (reg == kConnectedRegister)
        return connected_ ? kConnectedValue : 0x00;
    return registers_[reg];
}

Status BleModule::spiCommand(uint8_t) { return usable(); }

Status BleModule::setProtection(uint8_t code)
{
    if (Status s = usable(); s != Status::Ok)
        return s;
    if (code != kProtectOn && code != kProtectOff)
        return Status::BadRequest;
    protected_ = code == kProtectOn;
    return Status::Ok;
}

Status BleModule::storeCrc(uint8_t index, uint32_t crc)
{
    if (Status s = usable(); s != Status::Ok)
        return s;
    crcs_[index] = crc;
    return Status::Ok;
}

uint32_t BleModule::mainSpaceCrc() const { return wordCrc(spaces_[Main].read(0, kCodeSize)); }

uint8_t BleModule::checkCrc() const
{
    auto stored = crcs_.find(1);
    return stored != crcs_.end() && stored->second == mainSpaceCrc() ? kCrcMatch : kCrcMismatch;
}

}  // namespace ksim
