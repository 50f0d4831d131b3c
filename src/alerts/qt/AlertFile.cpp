#include "alerts/qt/AlertFile.h"

#include <QFile>
#include <QFileInfo>

#include "app/qt/AppFiles.h"

namespace quorvane {
namespace {
// A list of watched channels is a few hundred bytes; a bigger file is not one.
constexpr qint64 kLargestList = 1 << 20;
}  // namespace

AlertFile::AlertFile(const QString& path, QObject* parent) : QObject(parent), path_(path) {
    // Each change re-reads the file and re-arms the watch: a file renamed into
    // place (how editors and this program save) is a new file the old watch
    // no longer sees, and a file that did not exist is seen through its folder.
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { Reload(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Reload(); });
    Reload();
}

void AlertFile::Reload() {
    const QFileInfo info(path_);
    if (!info.exists()) {
        Take({}, {});
    } else if (info.size() > kLargestList) {
        Take({}, QString("%1 is too big to be a list (over 1 MiB)").arg(info.fileName()));
    } else if (const std::optional<std::string> bytes = ReadFileBytes(path_)) {
        Take(*bytes, {});
    } else {
        Take({}, QString("%1 cannot be read").arg(info.fileName()));
    }
    Watch();
}

bool AlertFile::Save(const std::string& bytes, QString* error) {
    if (!WriteFileAtomically(path_, bytes, error)) return false;
    Take(bytes, {});
    Watch();
    return true;
}

void AlertFile::Take(std::string bytes, QString problem) {
    if (bytes == bytes_ && problem == problem_) return;
    problem_ = std::move(problem);
    if (bytes != bytes_) {
        bytes_ = std::move(bytes);
        list_ = AlertList::Parse(bytes_);
    }
    emit Changed();
}

void AlertFile::Watch() {
    const QString folder = QFileInfo(path_).absolutePath();
    if (QFileInfo::exists(path_)) {
        if (!watcher_.files().contains(path_)) watcher_.addPath(path_);
        if (watcher_.directories().contains(folder)) watcher_.removePath(folder);
    } else if (!watcher_.directories().contains(folder) && QFileInfo::exists(folder)) {
        watcher_.addPath(folder);
    }
}

}  // namespace quorvane
