#include "app/qt/AppFiles.h"

#include "base/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace quorvane {

QString ResolveAppDirectory(const QString& requested, QString* error) {
    QString folder = requested;
    if (folder.isEmpty()) {
#ifdef Q_OS_WIN
        folder = QCoreApplication::applicationDirPath();
#else
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
#endif
    }
    folder = QDir(folder).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error) *error = QString("The folder %1 cannot be created.").arg(folder);
        return {};
    }
    return folder;
}

QString JoinPath(const QString& folder, const QString& name) {
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

std::string FileSystemBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString FileSystemText(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

bool FileExists(const QString& path) { return QFileInfo(path).isFile(); }

std::optional<std::string> ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error, bool* diskFull) {
    // Unbuffered, so that a write the file system refuses (a full disk) is
    // seen here and the temporary file is dropped: a buffered write would
    // only fail when the buffer is flushed inside commit(), which then still
    // renames the short file over the good one.
    QSaveFile file(path);
    const auto fail = [&] {
        if (error) *error = file.errorString();
        if (diskFull) *diskFull = file.error() == QFileDevice::ResourceError;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return fail();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) return fail();
    if (!file.commit()) return fail();
    return true;
}

}  // namespace quorvane
