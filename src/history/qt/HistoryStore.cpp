#include "history/qt/HistoryStore.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QSqlError>
#include <QVariant>

#include "history/Csv.h"
#include "history/HistorySchema.h"
#include "app/qt/ScannerText.h"

namespace quorvane {
namespace {

// Every condition on the selection binds, in this order: the start of the
// range, its end, then the search pattern once per name column.
constexpr const char* kNameColumns[] = {"system", "grp", "channel", "frequency", "frequency_digits", "code_or_id"};

QString NamesMatch(const QString& alias) {
    QStringList parts;
    for (const char* column : kNameColumns) parts << QString("%1.%2 LIKE ? ESCAPE '\\'").arg(alias, column);
    return "(" + parts.join(" OR ") + ")";
}

QString HitsWhere(const HistoryFilter& filter) {
    QString where = "h.start_ms >= ? AND h.start_ms < ?";
    if (!filter.Text.isEmpty()) where += " AND h.name_id IN (SELECT m.id FROM names m WHERE " + NamesMatch("m") + ")";
    return where;
}

void BindPattern(QSqlQuery& query, const HistoryFilter& filter) {
    if (filter.Text.isEmpty()) return;
    const QString pattern = QString::fromStdString(LikeContains(filter.Text.toStdString()));
    for (size_t i = 0; i < std::size(kNameColumns); ++i) query.addBindValue(pattern);
}

void BindFilter(QSqlQuery& query, const HistoryFilter& filter) {
    query.addBindValue(filter.FromMs);
    query.addBindValue(filter.ToMs);
    BindPattern(query, filter);
}

// SQLite reports a damaged file as SQLITE_CORRUPT (11) or SQLITE_NOTADB (26).
bool IsDamage(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    return code == 11 || code == 26;
}

QVariant TextOrNull(const std::string& text) {
    return text.empty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(QString::fromStdString(text));
}

int connectionSerial = 0;

// Above this many matches the newest hits are found by walking the hits from
// the newest on; below it, by the names' own index and a sort of the matches.
constexpr qint64 kDenseMatches = 2000;

void BindDays(QSqlQuery& query, const HistoryFilter& filter) {
    query.addBindValue(filter.FromDay);
    query.addBindValue(filter.ToDay);
}

}  // namespace

HistoryHit AsStoredText(HistoryHit hit) {
    hit.Names.ForEachText([](std::string& text) { text = ScreenText(text).toStdString(); });
    hit.RecordingFile = QFile::decodeName(QByteArray::fromStdString(hit.RecordingFile)).toStdString();
    return hit;
}

HistoryFilter FilterOfDates(const QString& text, const QDate& from, const QDate& to) {
    const QDate after = to.addDays(1);
    return HistoryFilter{text,
                         QDateTime(from, QTime(0, 0)).toMSecsSinceEpoch(),
                         QDateTime(after, QTime(0, 0)).toMSecsSinceEpoch(),
                         DaysFromCivil(from.year(), from.month(), from.day()),
                         DaysFromCivil(after.year(), after.month(), after.day())};
}

HistoryStore::HistoryStore() = default;

HistoryStore::~HistoryStore() { Close(); }

bool HistoryStore::Open(const QString& path) {
    Close();
    path_ = path;
    Outcome outcome = OpenConnections();
    if (outcome == Outcome::Damaged) {
        CloseConnections();
        outcome = KeepDamagedAside() ? OpenConnections() : Outcome::Failed;
    }
    open_ = outcome == Outcome::Done;
    if (!open_) CloseConnections();
    return open_;
}

void HistoryStore::Close() {
    CloseConnections();
    open_ = false;
}

void HistoryStore::CloseConnections() {
    if (writerName_.isEmpty()) return;
    if (onClosing_) onClosing_();
    for (const QString& name : {writerName_, readerName_}) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    writerName_.clear();
    readerName_.clear();
    runIds_.clear();
}

HistoryStore::Outcome HistoryStore::OpenConnections() {
    ++connectionSerial;
    writerName_ = QString("history-writer-%1").arg(connectionSerial);
    readerName_ = QString("history-reader-%1").arg(connectionSerial);
    const auto cannotOpen = [this](const QSqlError& error) {
        if (IsDamage(error)) return Outcome::Damaged;
        report_ = QString("The history file %1 cannot be opened (%2).\nHits are still logged on the Log tab and "
                          "in the log file.")
                      .arg(path_, error.text());
        return Outcome::Failed;
    };
    // A short wait for another program's write: a hit is never held up for long.
    for (const QString& name : {writerName_, readerName_}) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path_);
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=50");
    }
    QSqlDatabase writer = QSqlDatabase::database(writerName_, false);
    if (!writer.open()) return cannotOpen(writer.lastError());
    QSqlQuery query(writer);
    if (!query.exec("PRAGMA journal_mode=WAL") || !query.exec("PRAGMA synchronous=NORMAL") ||
        !query.exec("PRAGMA user_version") || !query.next()) {
        return cannotOpen(query.lastError());
    }
    const int version = query.value(0).toInt();
    query.finish();
    if (version > kHistorySchemaVersion) {
        report_ = QString("The history file %1 was made by a newer Quorvane; hits are not added to it.").arg(path_);
        return Outcome::Failed;
    }
    if (version < kHistorySchemaVersion) {
        writer.transaction();
        for (const std::string_view statement : kHistorySchema) {
            if (!query.exec(QString::fromUtf8(statement.data(), static_cast<qsizetype>(statement.size())))) {
                writer.rollback();
                return cannotOpen(query.lastError());
            }
        }
        query.exec(QString("PRAGMA user_version=%1").arg(kHistorySchemaVersion));
        if (!writer.commit()) return cannotOpen(writer.lastError());
    }
    QSqlDatabase reader = Reader();
    if (!reader.open()) return cannotOpen(reader.lastError());
    return Outcome::Done;
}

bool HistoryStore::KeepDamagedAside() {
    const QString aside = path_ + ".damaged-" + QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss");
    if (!QFile::rename(path_, aside)) {
        report_ = QString("The history file %1 is damaged and cannot be moved aside.\nHits are still logged on the "
                          "Log tab and in the log file.")
                      .arg(path_);
        return false;
    }
    // SQLite's companion files belong to the damaged file: kept beside it.
    for (const char* suffix : {"-wal", "-shm"}) {
        if (QFile::exists(path_ + suffix)) QFile::rename(path_ + suffix, aside + suffix);
    }
    report_ = QString("The history file %1 was damaged. It is kept as %2 and a new history has begun.")
                  .arg(path_, aside);
    return true;
}

QSqlDatabase HistoryStore::Reader() const { return QSqlDatabase::database(readerName_, false); }

HistoryStore::Added HistoryStore::Add(const HistoryRun& run, const HistoryHit& hit) {
    if (!open_) return Added::Failed;
    Added added = Added::Failed;
    Outcome outcome = TryAdd(run, hit, &added);
    if (outcome == Outcome::Damaged) {
        CloseConnections();
        open_ = KeepDamagedAside() && OpenConnections() == Outcome::Done;
        if (!open_) {
            CloseConnections();
            return Added::Failed;
        }
        outcome = TryAdd(run, hit, &added);
    }
    return outcome == Outcome::Done ? added : Added::Failed;
}

HistoryStore::Outcome HistoryStore::TryAdd(const HistoryRun& run, const HistoryHit& hit, Added* added) {
    QSqlDatabase db = QSqlDatabase::database(writerName_, false);
    QSqlQuery query(db);
    const auto failed = [&](const QSqlError& error) {
        db.rollback();
        if (IsDamage(error)) return Outcome::Damaged;
        report_ = QString("A hit could not be added to the history %1 (%2).").arg(path_, error.text());
        return Outcome::Failed;
    };
    if (!db.transaction()) return failed(db.lastError());

    const std::pair<std::string, std::string> runKey{run.LaunchDate, run.LaunchTime};
    std::optional<qint64> runId;
    if (const auto known = runIds_.find(runKey); known != runIds_.end()) runId = known->second;
    if (!runId) {
        query.prepare("INSERT OR IGNORE INTO runs (started_local, started_utc, launch_date, launch_time) "
                      "VALUES (?, ?, ?, ?)");
        for (const std::string& text : {LocalIsoText(run.StartedAt), UtcIsoText(run.StartedAt), run.LaunchDate,
                                        run.LaunchTime}) {
            query.addBindValue(QString::fromStdString(text));
        }
        if (!query.exec()) return failed(query.lastError());
        query.prepare("SELECT id FROM runs WHERE launch_date = ? AND launch_time = ?");
        query.addBindValue(QString::fromStdString(run.LaunchDate));
        query.addBindValue(QString::fromStdString(run.LaunchTime));
        if (!query.exec() || !query.next()) return failed(query.lastError());
        runId = query.value(0).toLongLong();
        query.finish();
    }

    HitNames names = hit.Names;
    QVariantList nameValues;
    names.ForEachText([&](std::string& text) { nameValues << QString::fromStdString(text); });
    query.prepare("SELECT id FROM names WHERE system = ? AND grp = ? AND channel = ? AND frequency = ? AND "
                  "frequency_digits = ? AND code_or_id = ?");
    for (const QVariant& value : nameValues) query.addBindValue(value);
    if (!query.exec()) return failed(query.lastError());
    qint64 nameId = 0;
    if (query.next()) {
        nameId = query.value(0).toLongLong();
        query.finish();
    } else {
        query.prepare("INSERT INTO names (system, grp, channel, frequency, frequency_digits, code_or_id) "
                      "VALUES (?, ?, ?, ?, ?, ?)");
        for (const QVariant& value : nameValues) query.addBindValue(value);
        if (!query.exec()) return failed(query.lastError());
        nameId = query.lastInsertId().toLongLong();
    }

    query.prepare("INSERT OR IGNORE INTO hits (run_id, name_id, start_local, start_utc, end_local, end_utc, "
                  "duration_s, recording, start_ms, start_hour, start_day, line_key) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    query.addBindValue(*runId);
    query.addBindValue(nameId);
    for (const std::string& text : {LocalIsoText(hit.Start), UtcIsoText(hit.Start), LocalIsoText(hit.End),
                                    UtcIsoText(hit.End)}) {
        query.addBindValue(QString::fromStdString(text));
    }
    query.addBindValue(hit.DurationSeconds());
    query.addBindValue(TextOrNull(hit.RecordingFile));
    query.addBindValue(static_cast<qint64>(hit.Start.EpochMs));
    query.addBindValue(hit.StartHour());
    query.addBindValue(static_cast<qint64>(hit.StartDay()));
    query.addBindValue(static_cast<qint64>(hit.LineKey));
    if (!query.exec()) return failed(query.lastError());
    const bool inserted = query.numRowsAffected() == 1;
    if (!db.commit()) return failed(db.lastError());
    runIds_[runKey] = *runId;
    *added = inserted ? Added::Yes : Added::AlreadyThere;
    return Outcome::Done;
}

QSqlQuery HistoryStore::Select(const HistoryFilter& filter, qint64 matches) const {
    const char* index = matches > kDenseMatches ? "hits_by_start" : "hits_by_name";
    QSqlQuery query(Reader());
    query.prepare("SELECT replace(substr(h.start_local, 1, 19), 'T', ' '), n.system, n.grp, n.channel, n.frequency, "
                  "n.code_or_id, printf('%.1f', h.duration_s), h.recording "
                  "FROM hits h INDEXED BY " + QString(index) + " JOIN names n ON n.id = h.name_id WHERE " +
                  HitsWhere(filter) + " ORDER BY h.start_ms DESC");
    BindFilter(query, filter);
    query.exec();
    return query;
}

std::array<qint64, 24> HistoryStore::HourCounts(const HistoryFilter& filter) const {
    QSqlQuery query(Reader());
    if (filter.Text.isEmpty()) {
        query.prepare("SELECT hour, sum(n) FROM hour_counts WHERE day >= ? AND day < ? GROUP BY hour");
        BindDays(query, filter);
    } else {
        // One index range per hour of day and name: no sorting of the selection.
        query.prepare("WITH RECURSIVE hours(hour) AS (SELECT 0 UNION ALL SELECT hour + 1 FROM hours WHERE hour < 23) "
                      "SELECT hour, (SELECT count(*) FROM hits h WHERE h.start_hour = hours.hour AND " +
                      HitsWhere(filter) + ") FROM hours");
        BindFilter(query, filter);
    }
    std::array<qint64, 24> counts{};
    if (!query.exec()) return counts;
    while (query.next()) {
        const int hour = query.value(0).toInt();
        if (hour >= 0 && hour < 24) counts[static_cast<size_t>(hour)] = query.value(1).toLongLong();
    }
    return counts;
}

std::vector<ChannelCount> HistoryStore::BusiestChannels(const HistoryFilter& filter, int limit) const {
    // The day counts of each name in the range, added up per channel.
    QSqlQuery query(Reader());
    query.prepare("SELECT n.channel, sum((SELECT sum(c.n) FROM name_counts c WHERE c.name_id = n.id AND "
                  "c.day >= ? AND c.day < ?)) AS total FROM names n" +
                  QString(filter.Text.isEmpty() ? "" : " WHERE " + NamesMatch("n")) +
                  " GROUP BY n.channel HAVING total > 0 ORDER BY total DESC, n.channel LIMIT ?");
    BindDays(query, filter);
    BindPattern(query, filter);
    query.addBindValue(limit);
    std::vector<ChannelCount> channels;
    if (!query.exec()) return channels;
    while (query.next()) channels.push_back({query.value(0).toString(), query.value(1).toLongLong()});
    return channels;
}

std::optional<qint64> HistoryStore::OldestStart() const {
    QSqlQuery query(Reader());
    if (!query.exec("SELECT min(start_ms) FROM hits") || !query.next() || query.isNull(0)) return std::nullopt;
    return query.value(0).toLongLong();
}

bool HistoryStore::ExportCsv(const HistoryFilter& filter, const QString& path, QString* error) const {
    QSqlQuery query(Reader());
    query.setForwardOnly(true);
    query.prepare("SELECT h.start_local, h.start_utc, h.end_local, h.end_utc, h.duration_s, n.system, n.grp, "
                  "n.channel, n.frequency, n.frequency_digits, n.code_or_id, h.recording, h.run_id "
                  "FROM hits h INDEXED BY hits_by_start JOIN names n ON n.id = h.name_id WHERE " +
                  HitsWhere(filter) + " ORDER BY h.start_ms DESC");
    BindFilter(query, filter);
    QSaveFile file(path);
    if (!query.exec() || !file.open(QIODevice::WriteOnly)) {
        if (error) *error = query.lastError().isValid() ? query.lastError().text() : file.errorString();
        return false;
    }
    std::string chunk;
    AppendCsvRecord(chunk, {"start_local", "start_utc", "end_local", "end_utc", "duration_s", "system", "group",
                            "channel", "frequency", "frequency_digits", "code_or_id", "recording", "run_id"});
    std::array<std::string, 13> values;
    while (query.next()) {
        for (size_t i = 0; i < values.size(); ++i) values[i] = query.value(static_cast<int>(i)).toString().toStdString();
        AppendCsvRecord(chunk, {values[0], values[1], values[2], values[3], values[4], values[5], values[6],
                                values[7], values[8], values[9], values[10], values[11], values[12]});
        if (chunk.size() > (1 << 16)) {
            file.write(chunk.data(), static_cast<qint64>(chunk.size()));
            chunk.clear();
        }
    }
    file.write(chunk.data(), static_cast<qint64>(chunk.size()));
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace quorvane
