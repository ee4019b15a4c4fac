// -p: switches access protection and erase/program protection (EPP) of the target and the access
// protection of the BLE module, sub-option by sub-option in command-line order.
#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "sector_range.h"
#include "share_parameter.h"
#include "sub_option_walk.h"
#include "user_system_data.h"
#include "user_system_data_length.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kReadCapacity = 2048;
// The longest stretch the 20-byte EPP map gives bits to: 128 KB in EPP0-EPP3, then 16 bytes of
// 8 bits of 128 KB each. Sectors past it map to no bit, and on the 4-byte map every sector from
// the flash's sector count on maps to the same bit.
constexpr long long kLargestEppSpan = 129LL * 128 * 1024;

// One sub-option's lines: its progress line, then success or failure.
struct Lines {
    const char* progress;
    const char* success;
    const char* failure;
};

int Finish(bool ok, const Lines& lines, int failure)
{
    PrintLine(ok ? lines.success : lines.failure);
    return ok ? OP_SUCCESS : failure;
}

const Lines kEnableAccess = {"Enable flash access protection ......", "Enable flash access protection finished!",
                             "Error. Enable flash access protection failed!"};

int EnableLevel1()
{
    PrintLine(kEnableAccess.progress);
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    const int result = Finish(g_link.EnableAccessProtection(1), kEnableAccess, OP_EFAP1_FAILED);
    if (result == OP_SUCCESS)
        PrintLine("To run the program, a Power-On Reset(POR) needs to be executed!");
    return result;
}

// The series that cannot undo the high level take it only with the "--y" that follows.
int EnableHighLevel(const WalkStep& step, SubOptionWalk& walk)
{
    PrintLine(kEnableAccess.progress);
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    const McuSeries series = g_shareParameter.series;
    uint8_t level = series == ZR32_S05 || series == ZR32_S09 ? 2 : 1;
    if (MCUFAPLevel2CanNotDisable(series)) {
        if (!step.confirmationFollows) {
            PrintLine("ZR32S15/S18/S29/S16/S19/S20/S21/S22/S23/S30/S25/S26/S28/S33/S34 need a parameter \"--y\" for "
                      "operation \"--efap2\"!");
            return OP_EFAP2_FAILED;
        }
        walk.TakeConfirmation();
        level = 2;
    }
    return Finish(g_link.EnableAccessProtection(level), kEnableAccess, OP_EFAP2_FAILED);
}

int DisableAccess()
{
    const Lines lines = {"Disable flash access protection ......", "Disable flash access protection finished!",
                         "Error. Disable flash access protection failed!"};
    PrintLine(lines.progress);
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    return Finish(g_link.DisableAccessProtection(), lines, OP_DFAP_FAILED);
}

// A fresh copy of the block from the device, ready for EPP changes; false when it cannot be read
// or the target's geometry gives no sector map.
bool ReadEpp(std::vector<uint8_t>& buffer, int& sectorCount)
{
    const ShareParameter& shared = g_shareParameter;
    sectorCount = MainFlashSectorCount();
    if (shared.flashSectorSize <= 0)
        return false;
    buffer.assign(kReadCapacity, 0);
    return g_link.ReadUserSystemData(shared.series, buffer.data(), kReadCapacity) != 0;
}

CUserSystemData EppBlock(const std::vector<uint8_t>& buffer, int sectorCount)
{
    const ShareParameter& shared = g_shareParameter;
    const uint8_t sectorsPerBit = HasExtendedEpp(shared.series)
                                      ? static_cast<uint8_t>(4096 / shared.flashSectorSize)
                                      : (shared.GetFlashSize() < 0x40000 ? 4 : 2);
    return CUserSystemData(shared.series, sectorCount, sectorsPerBit, buffer.data(), kReadCapacity,
                           shared.hasOtherMemory);
}

bool WriteEpp(const CUserSystemData& usd)
{
    std::vector<uint8_t> block;
    const int length = usd.GetUserSystemDataArrays(block);
    return g_link.WriteUserSystemData(g_shareParameter.series, block.data(), length) != 0;
}

int DisableEpp()
{
    PrintLine("Disable erase and program protection ......");
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    std::vector<uint8_t> buffer;
    int sectorCount = 0;
    if (!ReadEpp(buffer, sectorCount)) {
        PrintLine("Error. Disable erase and program protection failed!");
        return OP_DEPP_FAILED;
    }
    CUserSystemData usd = EppBlock(buffer, sectorCount);
    std::fill(usd.EPP.begin(), usd.EPP.end(), 0xFF);
    // Scripts tell the two failures apart by this line without "Error.".
    const Lines lines = {"", "Disable erase and program protection finished!",
                         "Disable erase and program protection failed!"};
    return Finish(WriteEpp(usd), lines, OP_DEPP_FAILED);
}

int EnableEpp(const WalkStep& range)
{
    const Lines lines = {"Enable erase and program protection for sector codes ......",
                         "Enable erase and program protection for sector codes finished!",
                         "Enable erase and program protection for sector codes failed!"};
    PrintLine(lines.progress);
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    if (!IsSectorsValid(range.first, range.last)) {
        PrintBadParameterText(range.text.c_str());
        return OP_BAD_PARAM;
    }
    std::vector<uint8_t> buffer;
    int sectorCount = 0;
    if (!ReadEpp(buffer, sectorCount))
        return Finish(false, lines, OP_EEPP_FAILED);
    CUserSystemData usd = EppBlock(buffer, sectorCount);
    const long long bound = std::max<long long>(sectorCount, kLargestEppSpan / g_shareParameter.flashSectorSize);
    const long long last = std::min<long long>(range.last, std::max<long long>(range.first, bound));
    for (long long k = range.first; k <= last; ++k)
        usd.SetEPP(static_cast<int>(k), true);
    return Finish(WriteEpp(usd), lines, OP_EEPP_FAILED);
}

int SwitchBleProtection(bool enable)
{
    const Lines on = {"Enable BLE module access protection ......", "Enable BLE module access protection finished!",
                      "Error. Enable BLE module access protection failed!"};
    const Lines off = {"Disable BLE module access protection ......",
                       "Disable BLE module access protection finished!",
                       "Error. Disable BLE module access protection failed!"};
    const Lines& lines = enable ? on : off;
    PrintLine(lines.progress);
    if (!HasConnection(ConnectionNeed::Ble))
        return OP_CONNECT_FAILED;
    const bool ok = enable ? g_link.EnableBleAccessProtection() : g_link.DisableBleAccessProtection();
    return Finish(ok, lines, enable ? OP_EBFAP_FAILED : OP_DBFAP_FAILED);
}

int RunSubOption(const WalkStep& step, SubOptionWalk& walk)
{
    const std::string& name = step.name;
    if (name == "--efap1")
        return EnableLevel1();
    if (name == "--efap2")
        return EnableHighLevel(step, walk);
    if (name == "--dfap")
        return DisableAccess();
    if (name == "--depp")
        return DisableEpp();
    if (name == "--eepp")
        return EnableEpp(step);
    return SwitchBleProtection(name == "--ebfap");
}

} // namespace

int Protection(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Target))
        return OP_CONNECT_FAILED;
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
        const int result = RunSubOption(step, walk);
        if (result != OP_SUCCESS)
            return result;
    }
    return walk.Result();
}
