#pragma once
#include <QString>
#include <optional>
#include <string>

namespace quorvane {

// The folder of the user's settings, hit_intel.txt, notes and (by default)
// logs: --app-dir when given, else the per-user data folder. Created when
// missing; empty with *error set when that is impossible.
QString ResolveAppDirectory(const QString& requested, QString* error);

QString JoinPath(const QString& folder, const QString& name);
// A path as the file system's bytes (what settings files and the core keep)
// and back: QFile::encodeName / decodeName.
std::string FileSystemBytes(const QString& path);
QString FileSystemText(const std::string& bytes);

bool FileExists(const QString& path);

// A whole file as bytes; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const QString& path);

// Writes the whole file through a temporary file renamed into place, so a
// crash or a full disk never leaves half a file: the file is replaced only
// once all of the new content is written. On failure *error says why and
// *diskFull whether the file system had no room.
bool WriteFileAtomically(const QString& path, const std::string& bytes, QString* error = nullptr,
                         bool* diskFull = nullptr);

}  // namespace quorvane
