#pragma once
#include <QString>
#include <optional>

#include "program/qt/ProgramOptions.h"

namespace quorvane {

// A station without a screen (quorvane --headless): the station of the app
// folder runs with no window and no display, for a small computer beside
// the scanner. It reads com_settings.txt (the port and speed a window's Run
// saved) and pgm_settings.txt's log settings ("Log To Text File", "Record
// Audio", the log folder), then polls, logs, records, keeps the history and
// serves the browser remote (at --web when given, else as web_remote.txt
// says), sends the live feed (with --feed, or as feed.txt says) and the
// calls, and publishes to the MQTT broker (with --mqtt, or as mqtt.txt says)
// until SIGTERM, SIGINT or SIGHUP, which end it as closing the window
// does (status 0). A port that is not there yet is tried again every 2 s.
// Messages for the user go to standard error. Needs a QCoreApplication;
// returns the exit status: 1 when there is no port to poll or the remote or
// the broker asked for cannot start.
int RunHeadless(const QString& appDirectory, const ProgramOptions& options);

}  // namespace quorvane
