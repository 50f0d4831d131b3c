#pragma once
#include <QObject>

namespace quorvane {

class RemoteServer;
class Station;

// The browser remote of a station, with or without a window: the pages are
// shown the display after every accepted tick, Text3, the hit log and the
// latching keys; their keys go through the station's key queue (the same
// commands and spacing on the wire as the window's keys); "Listen" keeps the
// station's sound input open and hands its blocks to the pages. Not started:
// Start or StartForRun does that.
RemoteServer* ServeStation(Station& station, QObject* parent);

}  // namespace quorvane
