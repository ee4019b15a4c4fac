#include "target/qspi_flash.h"

namespace ksim {

Status QspiFlash::read(uint32_t address, uint32_t length, std::vector<uint8_t> &out) const
{
    if (!array_.contains(address, length))
        return Status::OutOfRange;
    out = array_.read(address, length);
    return Status::Ok;
}

Status QspiFlash::program(uint32_t address, const uint8_t *data, uint32_t length)
{
    if (!array_.contains(address, length))
        return Status::OutOfRange;
    array_.program(address, data, length);
    return Status::Ok;
}

Status QspiFlash::erase(uint32_t address, uint32_t count, uint32_t unit)
{
    const uint64_t first = address / unit * uint64_t{unit};
    const uint64_t length = uint64_t{count} * unit;
    if (first + length > kSize)
        return Status::OutOfRange;
    array_.fill(static_cast<uint32_t>(first), static_cast<uint32_t>(length), 0xFF);
    return Status::Ok;
}

uint32_t QspiFlash::readRegister(uint32_t address) const
{
    auto it = registers_.find(address);
    return it == registers_.end() ? 0 : it->second;
}

}  // namespace ksim
