#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// Which hits are shown: Text found anywhere in the system, group, channel,
// frequency or ID (all when empty), started in [FromMs, ToMs) (milliseconds
// since 1970), which are the local days [FromDay, ToDay) (days since
// 1970-01-01); on the server, of one Station (all when empty); and with a
// signal peak above StrongerThan (any, even unknown, when 0).
struct HistoryFilter {
    QString Text;
    qint64 FromMs = 0;
    qint64 ToMs = 0;
    qint64 FromDay = 0;
    qint64 ToDay = 0;
    QString Station;
    int StrongerThan = 0;

    // Whether the counts kept per day answer for this selection.
    bool ByNamesAndDaysOnly() const { return StrongerThan <= 0; }
};
// The filter of the local dates from and to, both included.
HistoryFilter FilterOfDates(const QString& text, const QDate& from, const QDate& to);

struct ChannelCount {
    QString Channel;
    qint64 Hits = 0;
};

// Where a row stands in the order of the table (newest first): the next page
// begins after it.
struct RowKey {
    qint64 StartMs = 0;
    qint64 Id = 0;
};

// One row of the History tab's table.
struct HistoryRow {
    RowKey Key;
    QString Start;  // "2026-12-04 14:51:13", the local wall clock
    QString System;
    QString Group;
    QString Channel;
    QString Frequency;
    QString CodeOrId;
    double Seconds = 0;
    std::optional<int> SignalPeak;
    std::optional<int> SignalAverage;
    QString Recording;
    QString Station;  // on the server
};

// The reading side of a history, local or on the server. Each instance has
// its own connection and is used on one thread.
class HistoryReading {
public:
    virtual ~HistoryReading() = default;
    virtual std::array<qint64, 24> HourCounts(const HistoryFilter& filter) = 0;
    virtual std::vector<ChannelCount> BusiestChannels(const HistoryFilter& filter, int limit) = 0;
    // Up to limit rows newest first, after `after` when given. matches: how
    // many there are (the sum of HourCounts), which decides how they are
    // best found.
    virtual std::vector<HistoryRow> Rows(const HistoryFilter& filter, qint64 matches,
                                         const std::optional<RowKey>& after, int limit) = 0;
    virtual std::optional<qint64> OldestStart() = 0;
    virtual QStringList Stations() = 0;
    // Appends up to limit hits after `after` to out as CSV records (the
    // columns of kHistoryCsvColumns) and moves `after` on; returns how many.
    virtual int ExportPage(const HistoryFilter& filter, std::optional<RowKey>& after, int limit, std::string& out) = 0;
    // Why the last read failed; empty when it worked.
    virtual QString ReadError() const = 0;
};

}  // namespace quorvane
