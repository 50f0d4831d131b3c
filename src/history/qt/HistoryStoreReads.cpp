// The reads of the History tab on the local history: a page of rows, the
// counts per hour, the busiest channels, the oldest hit, and the export.
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include "history/qt/HistoryStore.h"
#include "history/qt/HitSelection.h"

namespace quorvane {
namespace {

const HitSelection kHits("LIKE", false);

void BindDays(QSqlQuery& query, const HistoryFilter& filter) {
    query.addBindValue(filter.FromDay);
    query.addBindValue(filter.ToDay);
}

// Above this many matches of a search the newest hits are found by walking
// the hits from the newest on; below it, by the names' own index and a sort
// of the matches. Without search text the walk is always the way.
constexpr qint64 kDenseMatches = 2000;

}  // namespace

QString HistoryStore::RowsSql(const HistoryFilter& filter, qint64 matches, bool after) const {
    const char* index = !filter.Text.isEmpty() && matches <= kDenseMatches ? "hits_by_name" : "hits_by_start";
    return "SELECT h.id, h.start_ms, replace(substr(h.start_local, 1, 19), 'T', ' '), n.system, n.grp, n.channel, "
           "n.frequency, n.code_or_id, h.duration_s, h.recording, h.signal_peak, h.signal_average "
           "FROM hits h INDEXED BY " + QString(index) + " JOIN names n ON n.id = h.name_id WHERE " +
           kHits.Where(filter) + (after ? HitSelection::kAfterKey : "") + HitSelection::kNewestFirst;
}

std::vector<HistoryRow> HistoryStore::Rows(const HistoryFilter& filter, qint64 matches,
                                           const std::optional<RowKey>& after, int limit) {
    std::vector<HistoryRow> rows;
    readError_.clear();
    if (!open_) return rows;
    QSqlQuery query(Db());
    query.setForwardOnly(true);
    query.prepare(RowsSql(filter, matches, after.has_value()));
    kHits.Bind(query, filter);
    if (after) HitSelection::BindAfter(query, *after);
    query.addBindValue(limit);
    if (!query.exec()) {
        readError_ = query.lastError().text();
        return rows;
    }
    while (query.next()) {
        rows.push_back(RowOf(query));
    }
    return rows;
}

QString HistoryStore::RowsPlan(const HistoryFilter& filter, qint64 matches) {
    QSqlQuery query(Db());
    query.prepare("EXPLAIN QUERY PLAN " + RowsSql(filter, matches, false));
    kHits.Bind(query, filter);
    query.addBindValue(256);
    QStringList steps;
    if (query.exec()) {
        while (query.next()) steps << query.value(3).toString();
    }
    return steps.join('\n');
}

std::array<qint64, 24> HistoryStore::HourCounts(const HistoryFilter& filter) {
    std::array<qint64, 24> counts{};
    readError_.clear();
    if (!open_) return counts;
    QSqlQuery query(Db());
    if (filter.Text.isEmpty() && filter.ByNamesAndDaysOnly()) {
        query.prepare("SELECT hour, sum(n) FROM hour_counts WHERE day >= ? AND day < ? GROUP BY hour");
        BindDays(query, filter);
    } else if (filter.ByNamesAndDaysOnly()) {
        // One index range per hour of day and name: no sorting of the selection.
        query.prepare("WITH RECURSIVE hours(hour) AS (SELECT 0 UNION ALL SELECT hour + 1 FROM hours WHERE hour < 23) "
                      "SELECT hour, (SELECT count(*) FROM hits h WHERE h.start_hour = hours.hour AND " +
                      kHits.Where(filter) + ") FROM hours");
        kHits.Bind(query, filter);
    } else {
        query.prepare("SELECT h.start_hour, count(*) FROM hits h WHERE " + kHits.Where(filter) + " GROUP BY h.start_hour");
        kHits.Bind(query, filter);
    }
    if (!query.exec()) {
        readError_ = query.lastError().text();
        return counts;
    }
    while (query.next()) {
        const int hour = query.value(0).toInt();
        if (hour >= 0 && hour < 24) counts[static_cast<size_t>(hour)] = query.value(1).toLongLong();
    }
    return counts;
}

std::vector<ChannelCount> HistoryStore::BusiestChannels(const HistoryFilter& filter, int limit) {
    if (!open_) return {};
    QSqlQuery query(Db());
    if (filter.ByNamesAndDaysOnly()) {
        // The day counts of each name in the range, added up per channel.
        query.prepare("SELECT n.channel, sum((SELECT sum(c.n) FROM name_counts c WHERE c.name_id = n.id AND "
                      "c.day >= ? AND c.day < ?)) AS total FROM names n" +
                      QString(filter.Text.isEmpty() ? "" : " WHERE " + kHits.NamesMatch("n")) +
                      " GROUP BY n.channel HAVING total > 0 ORDER BY total DESC, n.channel LIMIT ?");
        BindDays(query, filter);
        kHits.BindPattern(query, filter);
    } else {
        query.prepare(kHits.BusiestByHits(filter));
        kHits.Bind(query, filter);
    }
    query.addBindValue(limit);
    if (!query.exec()) {
        readError_ = query.lastError().text();
        return {};
    }
    return ChannelCountsOf(query);
}

std::optional<qint64> HistoryStore::OldestStart() {
    QSqlQuery query(Db());
    if (!open_ || !query.exec("SELECT min(start_ms) FROM hits") || !query.next() || query.isNull(0)) return std::nullopt;
    return query.value(0).toLongLong();
}

int HistoryStore::ExportPage(const HistoryFilter& filter, std::optional<RowKey>& after, int limit, std::string& out) {
    readError_.clear();
    if (!open_) {
        readError_ = "the history is not open";
        return 0;
    }
    // A search's hits are found by their names, unless there are so many
    // that sorting what is left for each page costs more than walking every
    // hit of the range.
    constexpr qint64 kExportByName = 50000;
    qint64 matches = kExportByName + 1;
    if (!filter.Text.isEmpty()) {
        QSqlQuery count(Db());
        count.prepare("SELECT coalesce(sum(c.n), 0) FROM name_counts c WHERE c.day >= ? AND c.day < ? AND c.name_id IN "
                      "(SELECT m.id FROM names m WHERE " + kHits.NamesMatch("m") + ")");
        BindDays(count, filter);
        kHits.BindPattern(count, filter);
        if (count.exec() && count.next()) matches = count.value(0).toLongLong();
    }
    const char* index = matches <= kExportByName ? "hits_by_name" : "hits_by_start";
    QSqlQuery query(Db());
    query.setForwardOnly(true);
    query.prepare("SELECT h.id, h.start_ms, h.start_local, h.start_utc, h.end_local, h.end_utc, h.duration_s, "
                  "n.system, n.grp, n.channel, n.frequency, n.frequency_digits, n.code_or_id, h.recording, h.run_id, "
                  "h.signal_peak, h.signal_average "
                  "FROM hits h INDEXED BY " + QString(index) + " JOIN names n ON n.id = h.name_id WHERE " +
                  kHits.Where(filter) + (after ? HitSelection::kAfterKey : "") + HitSelection::kNewestFirst);
    kHits.Bind(query, filter);
    if (after) HitSelection::BindAfter(query, *after);
    query.addBindValue(limit);
    if (!query.exec()) {
        readError_ = query.lastError().text();
        return 0;
    }
    return AppendCsvRows(query, after, out, false);
}

}  // namespace quorvane
