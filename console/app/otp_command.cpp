// -otp: programs OTP data blocks and their locks from an OTP project file.
#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "file_open_lines.h"
#include "otp_command.h"
#include "otp_file_name.h"
#include "otp_project.h"
#include "share_parameter.h"
#include "sub_option_walk.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {
// More records than any lock area has blocks can never be programmable; read no further.
constexpr std::streamoff kLargestFile = 4096 * static_cast<std::streamoff>(OtpRecord::kFileSize);

// The records of the last file read, in file order; a record's place is its lock position.
std::vector<OtpRecord> g_otpRecords;

OtpAreas ConnectedOtpAreas()
{
    const ShareParameter& shared = g_shareParameter;
    return {shared.otpDataAddress, shared.otpDataLength, shared.otpLockAddress, shared.otpLockLength};
}

bool WriteRecordData(OtpRecord& record)
{
    if (g_link.DownloadOtpData(record.partAddress, OtpRecord::kDataSize, record.data.data(), OTP_DATA_AREA) == 0)
        return true;
    char address[16];
    std::snprintf(address, sizeof address, "%x", g_shareParameter.otpDataAddress + record.partAddress);
    PrintLine(std::string("Write OTP data failed!Write address: 0x") + address);
    return false;
}

bool WriteRecordLock(OtpRecord& record, size_t position)
{
    const uint32_t address = g_shareParameter.otpLockAddress + static_cast<uint32_t>(position);
    if (g_link.DownloadOtpData(address, 1, &record.lockFlag, OTP_LOCK_AREA) == 0)
        return true;
    PrintLine("Write OTP lock failed!");
    return false;
}

int ReadFileAndProgram()
{
    InitOTPAndLOCKInfo();
    if (!ConnectedOtpAreas().Present()) {
        PrintLine("Error. The MCU has no OTP area.");
        return OTP_FAILED;
    }
    if (!OTPProjectFileOpen(g_shareParameter.otpFileName) ||
        !AreOtpRecordsProgrammable(g_otpRecords, ConnectedOtpAreas())) {
        PrintOtpFileFailure();
        return OTP_FAILED;
    }
    if (!WriteOTPData())
        return OTP_FAILED;
    PrintLine("set OTP data to device succeed!");
    return OP_SUCCESS;
}
} // namespace

bool OTPProjectFileOpen(const std::string& path)
{
    g_otpRecords.clear();
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    const std::streamoff size = file.tellg();
    if (size < 0 || size > kLargestFile)
        return false;
    file.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), size))
        return false;
    return ParseOtpRecords(bytes, g_otpRecords);
}

// Every data block before any lock byte: a failure in the data pass leaves every block unlocked.
bool WriteOTPData()
{
    bool anything = false;
    for (const OtpRecord& record : g_otpRecords)
        anything = anything || record.Writes() || record.Locks();
    if (!anything) {
        PrintLine("No data needs to be written!");
        return true;
    }
    if (g_link.BeginOtpWrite() != 0) {
        PrintLine("Error. OTP write begin failed!");
        return false;
    }
    for (OtpRecord& record : g_otpRecords) {
        if (record.Writes() && !WriteRecordData(record))
            return false;
    }
    for (size_t position = 0; position < g_otpRecords.size(); ++position) {
        if (g_otpRecords[position].Locks() && !WriteRecordLock(g_otpRecords[position], position))
            return false;
    }
    if (g_link.EndOtpWrite() != 0) {
        PrintLine("Error. OTP write end failed!");
        return false;
    }
    return true;
}

// Walks like -e, but a stray argument is printed alone; --fn names the file, other sub-options
// are passed over.
int DownLoadOTPData(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step)) {
        PrintLine("Set OTP data to device");
        PrintLine("running...");
        g_shareParameter.otpFileName = step.text;
    }
    if (walk.Result() != OP_SUCCESS)
        return walk.Result();
    return ReadFileAndProgram();
}
