#include "history/qt/HitSelection.h"

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

}  // namespace quorvane
