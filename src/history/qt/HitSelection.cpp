#include "history/qt/HitSelection.h"

#include "history/HistoryCsv.h"

#include <QStringList>
#include <iterator>

#include "history/HistorySchema.h"

namespace quorvane {
namespace {
constexpr const char* kNameColumns[] = {"system", "grp", "channel", "frequency", "frequency_digits", "code_or_id"};
}  // namespace

QString HitSelection::NamesMatch(const QString& alias) const {
    QStringList parts;
    for (const char* column : kNameColumns) parts << QString("%1.%2 %3 ? ESCAPE '\\'").arg(alias, column, like_);
    return "(" + parts.join(" OR ") + ")";
}

QString HitSelection::Where(const HistoryFilter& filter) const {
    QString where = "h.start_ms >= ? AND h.start_ms < ?";
    if (stations_ && !filter.Station.isEmpty()) where += " AND h.station = ?";
    if (!filter.Text.isEmpty()) where += " AND h.name_id IN (SELECT m.id FROM names m WHERE " + NamesMatch("m") + ")";
    if (filter.StrongerThan > 0) where += " AND h.signal_peak > ?";
    return where;
}

void HitSelection::BindPattern(QSqlQuery& query, const HistoryFilter& filter) const {
    if (filter.Text.isEmpty()) return;
    const QString pattern = QString::fromStdString(LikeContains(filter.Text.toStdString()));
    for (std::size_t i = 0; i < std::size(kNameColumns); ++i) query.addBindValue(pattern);
}

void HitSelection::Bind(QSqlQuery& query, const HistoryFilter& filter) const {
    query.addBindValue(filter.FromMs);
    query.addBindValue(filter.ToMs);
    if (stations_ && !filter.Station.isEmpty()) query.addBindValue(filter.Station);
    BindPattern(query, filter);
    if (filter.StrongerThan > 0) query.addBindValue(filter.StrongerThan);
}

void HitSelection::BindAfter(QSqlQuery& query, const RowKey& after) {
    query.addBindValue(after.StartMs);
    query.addBindValue(after.StartMs);
    query.addBindValue(after.Id);
}

std::optional<int> LevelOf(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    return value.toInt();
}

HistoryRow RowOf(const QSqlQuery& query) {
    HistoryRow row;
    row.Key = {query.value(1).toLongLong(), query.value(0).toLongLong()};
    row.Start = query.value(2).toString();
    row.System = query.value(3).toString();
    row.Group = query.value(4).toString();
    row.Channel = query.value(5).toString();
    row.Frequency = query.value(6).toString();
    row.CodeOrId = query.value(7).toString();
    row.Seconds = query.value(8).toDouble();
    row.Recording = query.value(9).toString();
    row.SignalPeak = LevelOf(query.value(10));
    row.SignalAverage = LevelOf(query.value(11));
    return row;
}

QString HitSelection::BusiestByHits(const HistoryFilter& filter) const {
    return "SELECT n.channel, count(*) AS total FROM hits h JOIN names n ON n.id = h.name_id WHERE " + Where(filter) +
           " GROUP BY n.channel ORDER BY total DESC, n.channel LIMIT ?";
}

std::vector<ChannelCount> ChannelCountsOf(QSqlQuery& query) {
    std::vector<ChannelCount> channels;
    while (query.next()) channels.push_back({query.value(0).toString(), query.value(1).toLongLong()});
    return channels;
}

int AppendCsvRows(QSqlQuery& query, std::optional<RowKey>& after, std::string& out, bool stations) {
    int count = 0;
    HistoryCsvValues values;
    const size_t selected = stations ? values.size() : values.size() - 1;
    while (query.next()) {
        after = RowKey{query.value(1).toLongLong(), query.value(0).toLongLong()};
        for (size_t i = 0; i < selected; ++i) {
            const QVariant value = query.value(static_cast<int>(i) + 2);
            // The duration as a plain number, whatever the database's type.
            values[i] = i == 4 ? QString::number(value.toDouble()).toStdString() : value.toString().toStdString();
        }
        if (!stations) values.back().clear();
        AppendHistoryCsvRecord(out, values);
        ++count;
    }
    return count;
}

}  // namespace quorvane
