#pragma once
#include <QString>
#include <optional>

#include "history/HistoryServer.h"

namespace quorvane {

// history_server.txt of the app folder. Nothing when there is none (the
// history stays local); nothing with *problem set when it cannot be used.
// A missing station name is the computer's host name.
std::optional<HistoryServerSettings> LoadHistoryServer(const QString& appDirectory, QString* problem);

// Writes the file whole, readable and writable by its owner only (it holds
// the password). Empty settings remove it: the history stays local.
bool SaveHistoryServer(const QString& appDirectory, const std::optional<HistoryServerSettings>& settings,
                       QString* error);

}  // namespace quorvane
