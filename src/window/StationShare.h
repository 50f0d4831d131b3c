#pragma once
#include <QObject>

namespace quorvane {

class CallUploader;
class FeedStreamer;
class Station;

// What a station shares with the world, with or without a window.
// The live feed: while it runs it takes a tap on the station's sound input;
// its title becomes a hit's names on the tick that sees the hit start, and
// the idle title when the hit ends (a hit the automatic skip moved past is
// not named). The calls: every hit whose recording was saved goes to the
// call servers, with the time its start was seen, its frequency, talkgroup
// and names. Nothing is read or started yet: the caller listens to their
// notices, then calls Load on both and starts the feed.
struct StationShare {
    FeedStreamer* feed = nullptr;
    CallUploader* calls = nullptr;
};
StationShare ShareStation(Station& station, QObject* parent);

}  // namespace quorvane
