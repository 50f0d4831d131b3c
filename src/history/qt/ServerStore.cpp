#include "history/qt/ServerStore.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>

#include "history/HistoryCsv.h"
#include "history/HistorySchema.h"
#include "history/qt/HitSelection.h"

namespace quorvane {
namespace {

const HitSelection kHits("ILIKE", true);

// libpq's words on one line.
QString Words(const QSqlError& error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty()) text = error.driverText().trimmed();
    return text.replace(QRegularExpression("\\s*\\n\\s*"), "; ");
}

std::atomic<int> connectionSerial{0};

}  // namespace

ServerStore::ServerStore(HistoryServerSettings settings)
    : settings_(std::move(settings)),
      address_(ParseServerUrl(settings_.Url, nullptr)),
      station_(QString::fromStdString(settings_.Station)) {}

ServerStore::~ServerStore() { Disconnect(); }

QString ServerStore::Name() const {
    return address_ ? QString::fromStdString(ServerName(*address_)) : QString::fromStdString(settings_.Url);
}

QSqlDatabase ServerStore::Db() const { return QSqlDatabase::database(name_, false); }

void ServerStore::Disconnect() {
    connected_ = false;
    runIds_.clear();
    nameIds_.clear();
    if (name_.isEmpty()) return;
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
}

bool ServerStore::Failed(const QSqlError& error, ServerProblem* problem, QString* detail) {
    const QString words = Words(error);
    const ServerProblem kind = ClassifyServerError(error.nativeErrorCode().toStdString(), words.toStdString());
    if (problem) *problem = kind;
    if (detail) *detail = words;
    if (kind != ServerProblem::HitRefused) Disconnect();
    return false;
}

bool ServerStore::Connect(ServerProblem* problem, QString* detail) {
    if (connected_) return true;
    Disconnect();
    if (!address_) {
        if (problem) *problem = ServerProblem::Other;
        if (detail) *detail = "history_server.txt holds no usable address";
        return false;
    }
    name_ = QString("history-server-%1").arg(++connectionSerial);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", name_);
        if (!db.isValid()) {
            if (problem) *problem = ServerProblem::Other;
            if (detail) *detail = "Qt's PostgreSQL driver is not installed (Debian: libqt6sql6-psql)";
            Disconnect();
            return false;
        }
        db.setHostName(QString::fromStdString(address_->Host));
        if (address_->Port > 0) db.setPort(address_->Port);
        db.setDatabaseName(QString::fromStdString(address_->Database));
        db.setUserName(QString::fromStdString(address_->User));
        db.setPassword(QString::fromStdString(address_->Password));
        db.setConnectOptions(QString::fromStdString(ConnectOptions(*address_)));
    }
    QSqlError error;
    {
        QSqlDatabase db = Db();
        if (!db.open()) error = db.lastError();
    }
    // No handle of the connection is left when a failure removes it.
    if (error.isValid()) return Failed(error, problem, detail);
    if (!EnsureSchema(problem, detail)) return false;
    connected_ = true;
    return true;
}

void ServerStore::Rollback() {
    QSqlDatabase db = Db();
    if (db.isOpen()) db.rollback();
}

// The queries end before a failure is handled: a lost connection is removed then.
bool ServerStore::EnsureSchema(ServerProblem* problem, QString* detail) {
    QSqlError error;
    const std::optional<int> version = MakeSchema(&error);
    if (!version) return Failed(error, problem, detail);
    if (*version > kServerSchemaVersion) {
        if (problem) *problem = ServerProblem::NewerSchema;
        if (detail) *detail = QString("layout version %1").arg(*version);
        Disconnect();
        return false;
    }
    return true;
}

std::optional<int> ServerStore::MakeSchema(QSqlError* error) {
    QSqlDatabase db = Db();
    QSqlQuery query(db);
    const auto failed = [&](const QSqlError& why) -> std::optional<int> {
        *error = why;
        query.finish();
        Rollback();
        return std::nullopt;
    };
    if (!db.transaction()) return failed(db.lastError());
    // Two stations that start together: the second waits for the first.
    if (!query.exec(QString("SELECT pg_advisory_xact_lock(%1)").arg(kServerSchemaLock)) ||
        !query.exec("SELECT to_regclass('history_schema') IS NOT NULL") || !query.next()) {
        return failed(query.lastError());
    }
    int version = 0;
    if (query.value(0).toBool()) {
        if (!query.exec("SELECT coalesce(max(version), 0) FROM history_schema") || !query.next()) {
            return failed(query.lastError());
        }
        version = query.value(0).toInt();
    }
    if (version < kServerSchemaVersion) {
        for (const std::string& statement : ServerSchemaStatements()) {
            if (!query.exec(QString::fromStdString(statement))) return failed(query.lastError());
        }
    }
    query.finish();
    if (version > kServerSchemaVersion) {
        Rollback();
        return version;
    }
    if (!db.commit()) return failed(db.lastError());
    return version;
}

std::optional<int> ServerStore::Send(const std::vector<QueuedHit>& hits, ServerProblem* problem, QString* detail) {
    if (!connected_ && !Connect(problem, detail)) return std::nullopt;
    QSqlError error;
    const std::optional<int> added = SendInTransaction(hits, &error);
    if (added) return added;
    runIds_.clear();  // ids given in the transaction are gone with it
    nameIds_.clear();
    Failed(error, problem, detail);
    return std::nullopt;
}

std::optional<int> ServerStore::SendInTransaction(const std::vector<QueuedHit>& hits, QSqlError* error) {
    QSqlDatabase db = Db();
    QSqlQuery insertRun(db), selectRun(db), insertName(db), selectName(db), insertHit(db);
    const auto failed = [&](const QSqlError& why) -> std::optional<int> {
        *error = why;
        for (QSqlQuery* query : {&insertRun, &selectRun, &insertName, &selectName, &insertHit}) query->finish();
        Rollback();
        return std::nullopt;
    };
    if (!db.transaction()) return failed(db.lastError());
    const bool prepared =
        insertRun.prepare("INSERT INTO runs (station, started_local, started_utc, launch_date, launch_time) "
                          "VALUES (?, ?, ?, ?, ?) ON CONFLICT (station, launch_date, launch_time) DO NOTHING") &&
        selectRun.prepare("SELECT id FROM runs WHERE station = ? AND launch_date = ? AND launch_time = ?") &&
        insertName.prepare("INSERT INTO names (system, grp, channel, frequency, frequency_digits, code_or_id) "
                           "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING") &&
        selectName.prepare("SELECT id FROM names WHERE system = ? AND grp = ? AND channel = ? AND frequency = ? AND "
                           "frequency_digits = ? AND code_or_id = ?") &&
        insertHit.prepare("INSERT INTO hits (run_id, name_id, station, start_local, start_utc, end_local, end_utc, "
                          "duration_s, recording, start_ms, start_hour, start_day, line_key, occurrence, signal_peak, "
                          "signal_average) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                          "ON CONFLICT (run_id, line_key, occurrence) DO NOTHING");
    if (!prepared) return failed(insertHit.lastError().isValid() ? insertHit.lastError() : insertRun.lastError());
    int added = 0;
    for (const QueuedHit& hit : hits) {
        const std::tuple<QString, QString> runKey{hit.LaunchDate, hit.LaunchTime};
        auto run = runIds_.find(runKey);
        if (run == runIds_.end()) {
            for (const QString& value : {station_, hit.RunStartedLocal, hit.RunStartedUtc, hit.LaunchDate, hit.LaunchTime}) {
                insertRun.addBindValue(value);
            }
            for (const QString& value : {station_, hit.LaunchDate, hit.LaunchTime}) selectRun.addBindValue(value);
            if (!insertRun.exec()) return failed(insertRun.lastError());
            if (!selectRun.exec() || !selectRun.next()) return failed(selectRun.lastError());
            run = runIds_.emplace(runKey, selectRun.value(0).toLongLong()).first;
            selectRun.finish();
        }
        auto name = nameIds_.find(hit.Names);
        if (name == nameIds_.end()) {
            for (const QString& value : hit.Names) {
                insertName.addBindValue(value);
                selectName.addBindValue(value);
            }
            if (!insertName.exec()) return failed(insertName.lastError());
            if (!selectName.exec() || !selectName.next()) return failed(selectName.lastError());
            name = nameIds_.emplace(hit.Names, selectName.value(0).toLongLong()).first;
            selectName.finish();
        }
        insertHit.addBindValue(run->second);
        insertHit.addBindValue(name->second);
        for (const QString& value : {station_, hit.StartLocal, hit.StartUtc, hit.EndLocal, hit.EndUtc}) {
            insertHit.addBindValue(value);
        }
        insertHit.addBindValue(hit.DurationSeconds);
        insertHit.addBindValue(hit.Recording);
        insertHit.addBindValue(hit.StartMs);
        insertHit.addBindValue(hit.StartHour);
        insertHit.addBindValue(hit.StartDay);
        insertHit.addBindValue(hit.LineKey);
        insertHit.addBindValue(hit.Occurrence);
        insertHit.addBindValue(hit.SignalPeak);
        insertHit.addBindValue(hit.SignalAverage);
        if (!insertHit.exec()) return failed(insertHit.lastError());
        added += insertHit.numRowsAffected() > 0 ? 1 : 0;
    }
    for (QSqlQuery* query : {&insertRun, &selectRun, &insertName, &selectName, &insertHit}) query->finish();
    if (!db.commit()) return failed(db.lastError());
    return added;
}

// The connection is dropped at the next Connect, when no query holds it.
void ServerStore::ReadFailed(const QSqlError& error) {
    readError_ = Words(error);
    if (ClassifyServerError(error.nativeErrorCode().toStdString(), readError_.toStdString()) == ServerProblem::Away) {
        connected_ = false;
    }
}

// The hours of the hits of the named names ("{1,2,3}"), one index range per name.
std::array<qint64, 24> ServerStore::HoursOfNames(const HistoryFilter& filter, const QString& names, bool* worked) {
    std::array<qint64, 24> counts{};
    QSqlQuery query(Db());
    query.prepare(QString("SELECT x.start_hour, count(*) FROM unnest(?::bigint[]) AS m(id), LATERAL (SELECT "
                          "h.start_hour FROM hits h WHERE h.name_id = m.id AND h.start_ms >= ? AND h.start_ms < ?") +
                  (filter.Station.isEmpty() ? "" : " AND h.station = ?") + ") x GROUP BY x.start_hour");
    query.addBindValue(names);
    query.addBindValue(filter.FromMs);
    query.addBindValue(filter.ToMs);
    if (!filter.Station.isEmpty()) query.addBindValue(filter.Station);
    *worked = query.exec();
    if (!*worked) {
        ReadFailed(query.lastError());
        return counts;
    }
    while (query.next()) {
        const int hour = query.value(0).toInt();
        if (hour >= 0 && hour < 24) counts[static_cast<size_t>(hour)] = query.value(1).toLongLong();
    }
    return counts;
}

std::array<qint64, 24> ServerStore::HourCounts(const HistoryFilter& filter) {
    std::array<qint64, 24> counts{};
    readError_.clear();
    QSqlQuery query(Db());
    if (!filter.ByNamesAndDaysOnly()) {
        query.prepare("SELECT h.start_hour, count(*) FROM hits h WHERE " + kHits.Where(filter) + " GROUP BY h.start_hour");
        kHits.Bind(query, filter);
    } else {
        query.prepare(QString("SELECT hour, sum(n) FROM hour_counts WHERE day >= ? AND day < ?") +
                      (filter.Station.isEmpty() ? "" : " AND station = ?") + " GROUP BY hour");
        query.addBindValue(filter.FromDay);
        query.addBindValue(filter.ToDay);
        if (!filter.Station.isEmpty()) query.addBindValue(filter.Station);
    }
    if (!query.exec()) {
        ReadFailed(query.lastError());
        return counts;
    }
    while (query.next()) {
        const int hour = query.value(0).toInt();
        if (hour >= 0 && hour < 24) counts[static_cast<size_t>(hour)] = query.value(1).toLongLong();
    }
    query.finish();
    if (filter.Text.isEmpty() || !filter.ByNamesAndDaysOnly()) return counts;

    // A search: the hits of the names it finds, counted from the index of
    // names; when it finds most names, those of the others are counted and
    // taken from all instead.
    query.prepare("SELECT m.id, " + kHits.NamesMatch("m") + " FROM names m");
    kHits.BindPattern(query, filter);
    if (!query.exec()) {
        ReadFailed(query.lastError());
        return {};
    }
    QStringList found;
    QStringList others;
    while (query.next()) (query.value(1).toBool() ? found : others) << query.value(0).toString();
    query.finish();
    const bool fewFound = found.size() <= others.size();
    bool worked = false;
    const std::array<qint64, 24> part = HoursOfNames(filter, "{" + (fewFound ? found : others).join(',') + "}", &worked);
    if (!worked) return {};
    if (fewFound) return part;
    for (size_t hour = 0; hour < counts.size(); ++hour) counts[hour] -= part[hour];
    return counts;
}

std::vector<ChannelCount> ServerStore::BusiestChannels(const HistoryFilter& filter, int limit) {
    QSqlQuery query(Db());
    if (filter.ByNamesAndDaysOnly()) {
        query.prepare(QString("SELECT n.channel, sum(c.n) AS total FROM name_counts c JOIN names n ON n.id = c.name_id "
                              "WHERE c.day >= ? AND c.day < ?") +
                      (filter.Station.isEmpty() ? "" : " AND c.station = ?") +
                      (filter.Text.isEmpty() ? "" : " AND " + kHits.NamesMatch("n")) +
                      " GROUP BY n.channel ORDER BY total DESC, n.channel LIMIT ?");
        query.addBindValue(filter.FromDay);
        query.addBindValue(filter.ToDay);
        if (!filter.Station.isEmpty()) query.addBindValue(filter.Station);
        kHits.BindPattern(query, filter);
    } else {
        query.prepare(kHits.BusiestByHits(filter));
        kHits.Bind(query, filter);
    }
    query.addBindValue(limit);
    if (!query.exec()) {
        ReadFailed(query.lastError());
        return {};
    }
    return ChannelCountsOf(query);
}

std::vector<HistoryRow> ServerStore::Rows(const HistoryFilter& filter, qint64, const std::optional<RowKey>& after,
                                          int limit) {
    std::vector<HistoryRow> rows;
    readError_.clear();
    QSqlQuery query(Db());
    query.setForwardOnly(true);
    // The page's hits are picked from an index first; only they are read whole.
    query.prepare("SELECT h.id, h.start_ms, replace(substr(h.start_local, 1, 19), 'T', ' '), n.system, n.grp, "
                  "n.channel, n.frequency, n.code_or_id, h.duration_s, h.recording, h.signal_peak, h.signal_average, "
                  "h.station FROM (SELECT h.id FROM hits h WHERE " + kHits.Where(filter) + (after ? HitSelection::kAfterKey : "") +
                  HitSelection::kNewestFirst + ") page JOIN hits h ON h.id = page.id JOIN names n ON n.id = h.name_id "
                  "ORDER BY h.start_ms DESC, h.id DESC");
    kHits.Bind(query, filter);
    if (after) HitSelection::BindAfter(query, *after);
    query.addBindValue(limit);
    if (!query.exec()) {
        ReadFailed(query.lastError());
        return rows;
    }
    while (query.next()) {
        HistoryRow row = RowOf(query);
        row.Station = query.value(12).toString();
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<qint64> ServerStore::OldestStart() {
    QSqlQuery query(Db());
    if (!query.exec("SELECT min(start_ms) FROM hits")) {
        ReadFailed(query.lastError());
        return std::nullopt;
    }
    if (!query.next() || query.isNull(0)) return std::nullopt;
    return query.value(0).toLongLong();
}

QStringList ServerStore::Stations() {
    QStringList stations;
    QSqlQuery query(Db());
    if (!query.exec("SELECT DISTINCT station FROM runs ORDER BY station")) {
        ReadFailed(query.lastError());
        return stations;
    }
    while (query.next()) stations << query.value(0).toString();
    return stations;
}

int ServerStore::ExportPage(const HistoryFilter& filter, std::optional<RowKey>& after, int limit, std::string& out) {
    readError_.clear();
    QSqlQuery query(Db());
    query.setForwardOnly(true);
    query.prepare("SELECT h.id, h.start_ms, h.start_local, h.start_utc, h.end_local, h.end_utc, h.duration_s, "
                  "n.system, n.grp, n.channel, n.frequency, n.frequency_digits, n.code_or_id, h.recording, h.run_id, "
                  "h.signal_peak, h.signal_average, h.station FROM hits h JOIN names n ON n.id = h.name_id WHERE " +
                  kHits.Where(filter) + (after ? HitSelection::kAfterKey : "") + HitSelection::kNewestFirst);
    kHits.Bind(query, filter);
    if (after) HitSelection::BindAfter(query, *after);
    query.addBindValue(limit);
    if (!query.exec()) {
        ReadFailed(query.lastError());
        return 0;
    }
    return AppendCsvRows(query, after, out, true);
}

}  // namespace quorvane
