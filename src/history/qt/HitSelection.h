#pragma once
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <optional>
#include <string>
#include <vector>

#include "history/qt/HistoryReading.h"

namespace quorvane {

// The hits a filter selects, as the SQL both history stores (the local file
// and the server) share. Every condition binds, in this order: the start of
// the range, its end, the station (on the server), the search pattern once
// per name column, the signal level, then where the page begins.
class HitSelection {
public:
    // like: "LIKE" (SQLite: ASCII letters alike in either case) or "ILIKE"
    // (PostgreSQL); stations: the hits carry the station that logged them.
    HitSelection(const char* like, bool stations) : like_(like), stations_(stations) {}

    // A name row (alias) holds the search text in one of its columns.
    QString NamesMatch(const QString& alias) const;
    // The condition on the hits h.
    QString Where(const HistoryFilter& filter) const;
    void BindPattern(QSqlQuery& query, const HistoryFilter& filter) const;
    void Bind(QSqlQuery& query, const HistoryFilter& filter) const;

    // Pages, newest first: the condition and binding of where a page begins
    // (after the last row of the one before), and the order with its limit.
    static constexpr const char* kAfterKey = " AND h.start_ms <= ? AND (h.start_ms < ? OR h.id < ?)";
    static constexpr const char* kNewestFirst = " ORDER BY h.start_ms DESC, h.id DESC LIMIT ?";
    static void BindAfter(QSqlQuery& query, const RowKey& after);

    // The busiest channels counted hit by hit (for a filter the day counts
    // cannot answer), bound up to its limit, which the caller binds last.
    QString BusiestByHits(const HistoryFilter& filter) const;

private:
    const char* like_;
    bool stations_;
};

// A signal level column: empty when the level is not known.
std::optional<int> LevelOf(const QVariant& value);

// The row of the table a query stands on, whose columns are, as both stores
// select them: id, start_ms, the start as text, system, group, channel,
// frequency, code or ID, seconds, recording, signal peak and average.
HistoryRow RowOf(const QSqlQuery& query);

// The channels and their counts an executed busiest-channels query found.
std::vector<ChannelCount> ChannelCountsOf(QSqlQuery& query);

// The CSV records of an executed export query, appended to out; after moves
// on to the last row's key. Its columns, as both stores select them: id,
// start_ms, then the CSV's values in order, the station last when the store
// keeps stations (else the station is left empty: one station's history).
int AppendCsvRows(QSqlQuery& query, std::optional<RowKey>& after, std::string& out, bool stations);

}  // namespace quorvane
