#include "history/qt/HistoryServerFile.h"

#include <QFile>
#include <QSaveFile>
#include <QSysInfo>

#include "app/qt/AppFiles.h"

namespace quorvane {

std::optional<HistoryServerSettings> LoadHistoryServer(const QString& appDirectory, QString* problem) {
    const QString path = JoinPath(appDirectory, kHistoryServerFile);
    if (!QFile::exists(path)) return std::nullopt;
    const std::optional<std::string> bytes = ReadFileBytes(path);
    std::string why = "it cannot be read";
    std::optional<HistoryServerSettings> settings;
    if (bytes) settings = ReadHistoryServerFile(*bytes, QSysInfo::machineHostName().toStdString(), &why);
    if (!settings && problem) {
        *problem = QString("%1 cannot be used: %2. The history stays on this computer.")
                       .arg(path, QString::fromStdString(why));
    }
    return settings;
}

bool SaveHistoryServer(const QString& appDirectory, const std::optional<HistoryServerSettings>& settings,
                       QString* error) {
    const QString path = JoinPath(appDirectory, kHistoryServerFile);
    if (!settings) {
        if (!QFile::exists(path) || QFile::remove(path)) return true;
        if (error) *error = "it cannot be removed";
        return false;
    }
    const std::string bytes = WriteHistoryServerFile(*settings);
    QSaveFile file(path);
    // The temporary file is the owner's alone before the password is in it.
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                         file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
                         file.commit();
    if (!written && error) *error = file.errorString();
    return written;
}

}  // namespace quorvane
