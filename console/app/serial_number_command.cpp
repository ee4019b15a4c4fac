// -wsn: writes the next serial number of WriteSN.ini into the target and advances the file.
#include "command_handlers.h"
#include "connection_check.h"
#include "console_output.h"
#include "exit_codes.h"
#include "link_interface.h"
#include "mcu_identification.h"
#include "strict_number.h"
#include "sub_option_walk.h"
#include "share_parameter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr uint32_t kSerialBytes = 4;
constexpr int kLockWaitMs = 60000;
const QString kWriteAddressKey = QStringLiteral("SNOperation/WriteAddr");
const QString kCurrentKey = QStringLiteral("SNOperation/CurrentSN");
const QString kStepKey = QStringLiteral("SNOperation/IncreaseStep");

int Fail(const char* line)
{
    PrintLine(line);
    return OP_WRITESN_FAILED;
}

// The file beside the program, or the one KORVEX_WRITESN_INI names (for a program folder that
// nobody may write to).
QString SerialNumberFilePath()
{
    const char* chosen = std::getenv("KORVEX_WRITESN_INI");
    if (chosen != nullptr && *chosen != '\0')
        return QString::fromLocal8Bit(chosen);
    return QCoreApplication::applicationDirPath() + QStringLiteral("/WriteSN.ini");
}

bool IsEightHexDigits(const std::string& text)
{
    return text.size() == 2 * kSerialBytes &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

bool InWindow(uint32_t address, uint64_t start, uint64_t length)
{
    return address >= start && uint64_t{address} + kSerialBytes <= start + length;
}


// The four bytes must lie in one memory the target can take them in now: main flash, the
// enabled SPIM, or the boot memory in AP mode.
bool IsWritableSerialAddress(uint32_t address)
{
    const ShareParameter& shared = g_shareParameter;
    if (InWindow(address, ZRCHIP_FLASH_BASE_ADDRESS, shared.GetFlashSize()))
        return true;
    if (InWindow(address, ZRCHIP_SPIM_BASE_ADDRESS, shared.EnabledSpimBytes()))
        return shared.spimEnabled && MCUHaveSPIM(shared.series);
    return shared.otp3Size != 0 && InWindow(address, shared.otp3Address, shared.otp3Size) &&
           MCUHaveAPMode(shared.series) && IsBootMemoryAPMode();
}

struct SerialSettings {
    std::string address;
    std::string current;
    uint32_t addressValue = 0;
    uint32_t currentValue = 0;
    uint32_t step = 0;
};

bool ReadSettings(QSettings& file, SerialSettings& settings)
{
    settings.address = file.value(kWriteAddressKey).toString().toStdString();
    settings.current = file.value(kCurrentKey).toString().toStdString();
    const std::string step = file.value(kStepKey).toString().toStdString();
    return IsEightHexDigits(settings.current) && ParseHex32(settings.current, settings.currentValue) &&
           ParseHex32(settings.address, settings.addressValue) && ParseHex32(step, settings.step);
}

int WriteAndAdvance(bool erase)
{
    const QString path = SerialNumberFilePath();
    if (!QFileInfo(path).isFile())
        return Fail("No configuration file with burning serial number.");
    // Held from the read to the update: two programmers on one station never take one number.
    QLockFile lock(path + QStringLiteral(".wsn.lock"));
    lock.setStaleLockTime(0); // the owner's death frees it, not its age
    if (!lock.tryLock(kLockWaitMs)) {
        PrintHint("cannot lock " + path.toStdString() + ".wsn.lock");
        return Fail("Error. Serial number file update failed!");
    }
    QSettings file(path, QSettings::IniFormat);
    SerialSettings settings;
    if (!ReadSettings(file, settings))
        return Fail("Configuration parameter error.");
    if (IsInSpimWindow(settings.addressValue) && !g_shareParameter.spimEnabled)
        return Fail("Error. SPIM does not enabled. ");
    if (!IsWritableSerialAddress(settings.addressValue))
        return Fail("Configuration parameter error.");
    if (erase && g_link.SectorErase(&settings.addressValue, 1) != 0)
        return Fail("Sector erase failed.");
    if (!g_link.WriteSNNumber(settings.address, settings.current, g_shareParameter.series))
        return Fail("Serial number write failed!");
    PrintLine("SN write succeed!");
    g_shareParameter.serialNumberWritten = settings.current;
    char next[16];
    std::snprintf(next, sizeof next, "%08x", settings.currentValue + settings.step); // wraps modulo 2^32
    file.setValue(kCurrentKey, QString::fromLatin1(next));
    file.sync();
    if (file.status() != QSettings::NoError)
        return Fail("Error. Serial number file update failed!");
    return OP_SUCCESS;
}
} // namespace

int WriteSN(int argc, char* argv[], int& index)
{
    if (!HasConnection(ConnectionNeed::Mcu))
        return OP_CONNECT_FAILED;
    PrintLine("Write software serial number.......");
    bool erase = true;
    SubOptionWalk walk(argc, argv, index);
    WalkStep step;
    while (walk.Next(step))
        erase = false; // --ne, the one sub-option
    if (walk.Result() != OP_SUCCESS)
        return walk.Result();
    return WriteAndAdvance(erase);
}
