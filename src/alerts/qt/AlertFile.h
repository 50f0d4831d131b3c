#pragma once
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <string>

#include "alerts/AlertList.h"

namespace quorvane {

// alerts.txt in the app folder: its bytes and the list read from them, kept
// up to date when another program (an editor, a script) changes the file.
// A missing file is an empty list; a file that cannot be read, or is too big
// to be a list, is an empty list too, and Problem() says why.
class AlertFile : public QObject {
    Q_OBJECT
public:
    explicit AlertFile(const QString& path, QObject* parent = nullptr);

    const QString& Path() const { return path_; }
    const std::string& Bytes() const { return bytes_; }
    const AlertList& List() const { return list_; }
    const QString& Problem() const { return problem_; }

    // Writes the file whole through a temporary file renamed into place; the
    // list follows at once. On failure the file on disk and the list stay as
    // they were and *error says why.
    bool Save(const std::string& bytes, QString* error = nullptr);
    // Reads the file again; Changed follows when the list's bytes differ.
    void Reload();

signals:
    // The list changed: read from disk after a change there, or saved.
    void Changed();

private:
    void Watch();
    void Take(std::string bytes, QString problem);

    QString path_;
    std::string bytes_;
    AlertList list_;
    QString problem_;
    QFileSystemWatcher watcher_;
};

}  // namespace quorvane
