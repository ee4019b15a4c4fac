// -usd: copies the user system data block (the option bytes) between the MCU and a file.
#include "usd_command.h"

#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "open_image_file.h"
#include "share_parameter.h"
#include "sub_option_walk.h"
#include "user_system_data.h"
#include "user_system_data_file.h"
#include "user_system_data_length.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kReadCapacity = 2048;
constexpr uint8_t kAccessProtectionOff = 0xA5;
constexpr uint8_t kAccessProtectionLevel2 = 0xCC;
constexpr int kFirstForcedByte = 36;
constexpr int kForcedBytes = 2;

McuSeries Series()
{
    return g_shareParameter.series;
}

int BlockLength()
{
    return CLinkInterface::GetUserSystemDataLength(Series());
}

// Opens a user system data file and takes its block; prints the progress and failure lines.
// wholeFirstPart: every pair of the first part, else the series' length.
bool LoadBlock(const std::string& path, bool wholeFirstPart, std::vector<uint8_t>& block)
{
    PrintLine("User system data file opening......");
    FileInfo image;
    if (!OpenFile(path, image)) {
        PrintLine("Error. Open file failed!");
        return false;
    }
    PrintLine("Open file succeed!");
    if (!UserSystemDataBlockFromFile(image, Series(), BlockLength(), wholeFirstPart, block)) {
        PrintLine("Error. User system data file size error, please check the file of loaded!");
        return false;
    }
    return true;
}

bool WriteBlock(std::vector<uint8_t>& block)
{
    PrintLine("Begin write user system data........");
    if (!WriteUserSystemDataToDevice(block)) {
        PrintLine("Error. User system data write failed!");
        return false;
    }
    PrintLine("User system data write succeed!");
    return true;
}

// A level-2 code on a series that cannot undo it locks the chip for good: only with --y.
bool LocksForGood(const std::vector<uint8_t>& block)
{
    return MCUFAPLevel2CanNotDisable(Series()) && !block.empty() && block[0] == kAccessProtectionLevel2;
}

// confirmed: a "--y" followed the file name.
int SetFromFile(const std::string& path, bool confirmed)
{
    std::vector<uint8_t> block;
    if (!LoadBlock(path, false, block))
        return OP_SET_USD_FAILED;
    if (LocksForGood(block) && !confirmed) {
        PrintLine("Error. This user system data switches on the protection level that cannot be undone; add --y "
                  "after the file name to confirm.");
        return OP_SET_USD_FAILED;
    }
    return WriteBlock(block) ? OP_SUCCESS : OP_SET_USD_FAILED;
}

int GetToFile(const std::string& path)
{
    PrintLine("Begin read user system data........");
    switch (ReadUserSystemDataFromDevice(path)) {
    case UsdReadResult::SAVED:
        PrintLine("User system data read succeed!");
        return OP_SUCCESS;
    case UsdReadResult::READ_FAILED:
        PrintLine("User system data read failed!");
        return OP_GET_USD_FAILED;
    case UsdReadResult::SAVE_FAILED:
        break;
    }
    return OP_GET_USD_FAILED; // no file was produced: the run must not report success
}

} // namespace

UsdReadResult ReadUserSystemDataFromDevice(const std::string& path)
{
    std::vector<uint8_t> block(kReadCapacity, 0);
    if (!g_link.ReadUserSystemData(Series(), block.data(), kReadCapacity))
        return UsdReadResult::READ_FAILED;
    const std::vector<uint8_t> content = ToDeviceImage(block.data(), BlockLength());
    if (!CUserSystemData::SaveUserSystemDataToFile(path, content.data(), static_cast<int>(content.size()))) {
        PrintLine("Save user system data to file failed!");
        return UsdReadResult::SAVE_FAILED;
    }
    PrintLine("Save user system data to file succeed!");
    return UsdReadResult::SAVED;
}

bool WriteUserSystemDataToDevice(std::vector<uint8_t>& block)
{
    const McuSeries series = Series();
    if (HasExtendedEpp(series) && block.size() >= kFirstForcedByte + kForcedBytes)
        std::fill_n(block.begin() + kFirstForcedByte, kForcedBytes, 0);
    const int size = static_cast<int>(block.size());
    if (block.empty() || !g_link.WriteUserSystemData(series, block.data(), size))
        return false;
    if (block[0] == kAccessProtectionOff) {
        std::vector<uint8_t> readBack(block.size(), 0xFF);
        return g_link.ReadUserSystemData(series, readBack.data(), size) && readBack == block;
    }
    // A protected block cannot be read back: the protection level is the check.
    int level = 0;
    return g_link.IsAccessProtected(level) == 0 && (level == 1 || level == 2);
}

bool GetUserSystemDataFile(int argc, char* argv[])
{
    for (int i = 0; i + 2 < argc; ++i) {
        if (std::strcmp(argv[i], "-usd") == 0 && ShareParameter::ToLower(argv[i + 1]) == "--set" &&
            ShareParameter::ToLower(argv[i + 2]) == "--fn") {
            g_shareParameter.userSystemDataFilePath = i + 3 < argc ? argv[i + 3] : "";
            return true;
        }
    }
    return false;
}

bool LoadUserSystemDataFromFileToDeviceExceptFAP()
{
    const std::string& path = g_shareParameter.userSystemDataFilePath;
    if (!IsValidFileName(path))
        return true;
    std::vector<uint8_t> block;
    if (!LoadBlock(path, true, block))
        return false;
    block[0] = kAccessProtectionOff;
    std::fill_n(block.begin() + 1, 15, 0xFF);
    return WriteBlock(block);
}

int ProgramUserSystemData(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
        const int result = step.name == "--set" ? SetFromFile(step.text, step.confirmed) : GetToFile(step.text);
        if (result != OP_SUCCESS)
            return result;
    }
    return walk.Result();
}
