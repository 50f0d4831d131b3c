#pragma once
// Shared pieces of the history's Qt tests: the application, waiting with a
// deadline, and hits to store.
#include <QApplication>
#include <QTest>
#include <functional>
#include <string>

#include "history/qt/HistoryStore.h"
#include "QtTestApp.h"

namespace quorvane::test {

inline QApplication& App() { return QtApp(); }

// A hit of "County / Fire" on channel at startMs (UTC+1), 12 s long, stored text.
inline HistoryHit StoredHit(const std::string& channel, std::int64_t startMs, std::int64_t key, int occurrence = 0) {
    HistoryHit hit;
    hit.Names = {"County", "Fire", channel, " 154.4300", "01544300", ""};
    hit.Start = {startMs, 3600};
    hit.End = {startMs + 12000, 3600};
    hit.LineKey = key;
    hit.Occurrence = occurrence;
    return AsStoredText(hit);
}

// A logged hit as the poll ends it.
inline HitEnded EndedHit(const std::string& channel, const std::string& start = "2:51:13 PM") {
    HitEnded ended;
    ended.Names = {"County", "Fire", channel, " 154.4300", "", "", start, start};
    ended.RawFrequency = "01544300";
    ended.LogLine = "County / Fire\t" + channel + "\t 154.4300\t\t" + start + "\t" + start + "\t12-04-2025\r\n";
    return ended;
}

}  // namespace quorvane::test
