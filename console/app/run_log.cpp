#include "run_log.h"

#include "console_output.h"
#include "link_interface.h"
#include "memory_map.h"
#include "share_parameter.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdlib>

namespace {

constexpr int kUidBytes = 12;

QJsonValue TextOrNull(const std::string& text)
{
    return text.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(text));
}

// The unique ID, only while a target is connected; a protected target refuses the read.
QJsonValue ReadTargetUid()
{
    if (!IsMcuConnected(g_shareParameter.connectState))
        return QJsonValue();
    uint8_t uid[kUidBytes] = {};
    if (g_link.DebugReadMemory(ZR32MCU_UID_ADDR, kUidBytes, uid, 32) != 0)
        return QJsonValue();
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(uid), kUidBytes).toHex().toUpper());
}

QJsonValue DownloadedImage()
{
    const ShareParameter& shared = g_shareParameter;
    if (shared.downloadedImageName.empty())
        return QJsonValue();
    return QJsonObject{{"name", QString::fromStdString(shared.downloadedImageName)},
                       {"size", static_cast<qint64>(shared.downloadedImageSize)},
                       {"checksum", QString::asprintf("%08X", shared.downloadedImageChecksum)}};
}

} // namespace

RunLog::RunLog()
{
    const char* path = std::getenv("KORVEX_LOG");
    if (path == nullptr || *path == '\0')
        return;
    path_ = path;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    startMs_ = now.toMSecsSinceEpoch();
    startTime_ = now.toString(Qt::ISODateWithMs).toStdString();
}

void RunLog::OptionDone(const std::string& option, const std::vector<std::string>& arguments, int exitCode)
{
    if (!Enabled())
        return;
    QJsonArray values;
    for (const std::string& argument : arguments)
        values.append(QString::fromStdString(argument));
    options_.append(QJsonObject{{"option", QString::fromStdString(option)}, {"arguments", values}, {"exit_code", exitCode}});
}

void RunLog::Finish(int exitCode)
{
    if (!Enabled())
        return;
    const ShareParameter& shared = g_shareParameter;
    const QJsonObject run{
        {"time", QString::fromStdString(startTime_)},
        {"duration_ms", QDateTime::currentMSecsSinceEpoch() - startMs_},
        {"exit_code", exitCode},
        {"probe_serial", TextOrNull(shared.probeSerialNumber)},
        {"target_part", TextOrNull(shared.partName)},
        {"target_uid", ReadTargetUid()},
        {"options", options_},
        {"image", DownloadedImage()},
        {"serial_number", TextOrNull(shared.serialNumberWritten)},
    };
    // One write of one line in append mode: runs of parallel stations do not interleave.
    QFile file(QString::fromStdString(path_));
    const QByteArray line = QJsonDocument(run).toJson(QJsonDocument::Compact) + '\n';
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered) ||
        file.write(line) != line.size())
        PrintHint("the production log " + path_ + " cannot be written: " + file.errorString().toStdString());
}
