#include "config_file.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace ksim_tool {
namespace {

// QSettings turns an unquoted value with commas into a list; the probe wants the text.
std::string textOf(const QVariant &value)
{
    if (value.type() == QVariant::StringList) return value.toStringList().join(',').toStdString();
    return value.toString().toStdString();
}

bool parseIndex(const QString &text, size_t &index)
{
    bool ok = false;
    const uint value = text.toUInt(&ok, 10);
    index = value;
    return ok && !text.startsWith('+');
}

std::vector<std::pair<std::string, std::string>> keysOf(QSettings &settings, const QStringList &skip = {})
{
    std::vector<std::pair<std::string, std::string>> keys;
    for (const QString &key : settings.childKeys())
        if (!skip.contains(key)) keys.emplace_back(key.toStdString(), textOf(settings.value(key)));
    return keys;
}

}  // namespace

bool ConfigFile::read(const std::string &path, std::string &error)
{
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile() || !QFileInfo(file).isReadable()) {
        error = "cannot read the configuration file '" + path + "'";
        return false;
    }
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        error = "the configuration file '" + path + "' is not a valid INI file";
        return false;
    }
    if (settings.contains("probes")) {
        const QString text = settings.value("probes").toString();
        size_t count = 0;
        if (!parseIndex(text, count)) {
            error = "probes in the configuration file must be a number, got '" + text.toStdString() + "'";
            return false;
        }
        probes = count;
    }
    allProbes = keysOf(settings, {"probes"});
    for (const QString &group : settings.childGroups()) {
        size_t index = 0;
        if (!group.startsWith("probe") || !parseIndex(group.mid(5), index)) {
            error = "unknown group [" + group.toStdString() + "] in the configuration file (expected [probeN])";
            return false;
        }
        settings.beginGroup(group);
        perProbe[index] = keysOf(settings);
        settings.endGroup();
    }
    return true;
}

}  // namespace ksim_tool
