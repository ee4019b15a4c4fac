// The serial number's trip to the target: four bytes written and read back.
#include "link_interface.h"

#include "link_results.h"
#include "share_parameter.h"

#include <array>

namespace {
constexpr int kSerialBytes = 4;

} // namespace

bool CLinkInterface::WriteSNNumber(const std::string& addressText, const std::string& serialText, McuSeries)
{
    if (!HasHandle())
        return false;
    // Four digit pairs exactly: anything else would not fit the four bytes.
    const QStringList pairs = ShareParameter::SplitLength(serialText, 2);
    if (pairs.size() != kSerialBytes || serialText.size() != 2 * kSerialBytes)
        return false;
    const uint32_t address = ShareParameter::StringToUInt32(addressText, 16);
    KORVEX_DisEncryptionTrans(handle_);
    KORVEX_DisEncryptionTrans_Target(handle_);
    const int begun = IsInSpimWindow(address) ? KORVEX_WriteSPIMBegin_Target(handle_)
                                            : KORVEX_WriteMainFlashBegin_Target(handle_);
    if (!Succeeded(begun))
        return false;
    std::array<uint8_t, kSerialBytes> bytes{};
    for (int j = 0; j < kSerialBytes; ++j)
        bytes[static_cast<size_t>(j)] =
            static_cast<uint8_t>(ShareParameter::StringToUInt32(pairs[kSerialBytes - 1 - j].toStdString(), 16));
    if (!Succeeded(KORVEX_DownLoad_Target(handle_, address, kSerialBytes, bytes.data())))
        return false;
    std::array<uint8_t, kSerialBytes> readBack{};
    if (!Succeeded(KORVEX_UPLoad_Target(handle_, address, kSerialBytes, readBack.data())))
        return false;
    return readBack == bytes;
}
