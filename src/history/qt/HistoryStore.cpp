#include "history/qt/HistoryStore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#include "app/qt/ScannerText.h"
#include "history/HistorySchema.h"
#include "history/qt/HitSelection.h"

namespace quorvane {
namespace {

// SQLite reports a damaged file as SQLITE_CORRUPT (11) or SQLITE_NOTADB (26).
bool IsDamage(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xFF;
    return code == 11 || code == 26;
}

QVariant TextOrNull(const std::string& text) {
    return text.empty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(QString::fromStdString(text));
}

QVariant LevelOrNull(const std::optional<int>& level) {
    return level ? QVariant(*level) : QVariant(QMetaType::fromType<int>());
}

std::atomic<int> connectionSerial{0};

}  // namespace

HistoryHit AsStoredText(HistoryHit hit) {
    hit.Names.ForEachText([](std::string& text) { text = ScreenText(text).toStdString(); });
    hit.RecordingFile = QFile::decodeName(QByteArray::fromStdString(hit.RecordingFile)).toStdString();
    return hit;
}

HistoryFilter FilterOfDates(const QString& text, const QDate& from, const QDate& to) {
    const QDate after = to.addDays(1);
    HistoryFilter filter;
    filter.Text = text;
    filter.FromMs = QDateTime(from, QTime(0, 0)).toMSecsSinceEpoch();
    filter.ToMs = QDateTime(after, QTime(0, 0)).toMSecsSinceEpoch();
    filter.FromDay = DaysFromCivil(from.year(), from.month(), from.day());
    filter.ToDay = DaysFromCivil(after.year(), after.month(), after.day());
    return filter;
}

QVariant SentMarkValue(SentMark mark) {
    switch (mark) {
    case SentMark::LocalOnly: return QVariant(QMetaType::fromType<int>());
    case SentMark::NotYetSent: return 0;
    case SentMark::Sent: return 1;
    case SentMark::Refused: return 2;
    }
    return {};
}

HistoryStore::HistoryStore() = default;

HistoryStore::~HistoryStore() { Close(); }

void HistoryStore::SetBusyTimeout(int ms) {
    busyMs_ = ms;
    if (!open_) return;
    QSqlQuery query(Db());
    query.exec(QString("PRAGMA busy_timeout=%1").arg(ms));
}

bool HistoryStore::Open(const QString& path) {
    Close();
    path_ = path;
    Outcome outcome = OpenConnection(true);
    if (outcome == Outcome::Damaged) {
        CloseConnection();
        outcome = KeepDamagedAside() ? OpenConnection(true) : Outcome::Failed;
    }
    open_ = outcome == Outcome::Done;
    if (!open_) CloseConnection();
    return open_;
}

bool HistoryStore::OpenExisting(const QString& path) {
    Close();
    path_ = path;
    open_ = QFileInfo(path).isFile() && OpenConnection(false) == Outcome::Done;
    if (!open_) CloseConnection();
    return open_;
}

void HistoryStore::Close() {
    CloseConnection();
    open_ = false;
}

void HistoryStore::CloseConnection() {
    batch_ = false;
    if (name_.isEmpty()) return;
    QSqlDatabase::database(name_, false).close();
    QSqlDatabase::removeDatabase(name_);
    name_.clear();
    runIds_.clear();
}

QSqlDatabase HistoryStore::Db() const { return QSqlDatabase::database(name_, false); }

QString HistoryStore::TakeReport() {
    QString report;
    report.swap(report_);
    return report;
}

HistoryStore::Outcome HistoryStore::OpenConnection(bool create) {
    name_ = QString("history-%1").arg(++connectionSerial);
    const auto cannotOpen = [this](const QSqlError& error) {
        if (IsDamage(error)) return Outcome::Damaged;
        report_ = QString("The history file %1 cannot be opened (%2).\nHits are still logged on the Log tab and "
                          "in the log file.")
                      .arg(path_, error.text());
        return Outcome::Failed;
    };
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name_);
        db.setDatabaseName(path_);
        db.setConnectOptions(QString("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMs_));
    }
    QSqlDatabase db = Db();
    if (!db.open()) return cannotOpen(db.lastError());
    QSqlQuery query(db);
    // A file left in write-ahead mode by an older Quorvane goes back to a
    // rollback journal (its log is folded in and removed); the memory map
    // of the file stays off.
    if (!query.exec("PRAGMA mmap_size=0") || (create && !query.exec("PRAGMA journal_mode=DELETE"))) {
        return cannotOpen(query.lastError());
    }
    query.exec("PRAGMA journal_size_limit=1048576");
    if (!query.exec("PRAGMA user_version") || !query.next()) return cannotOpen(query.lastError());
    const int version = query.value(0).toInt();
    query.finish();
    if (version > kHistorySchemaVersion) {
        report_ = QString("The history file %1 was made by a newer Quorvane; hits are not added to it.").arg(path_);
        return Outcome::Failed;
    }
    if (version < kHistorySchemaVersion) {
        if (!create) {
            report_ = QString("The history file %1 is not ready yet.").arg(path_);
            return Outcome::Failed;
        }
        db.transaction();
        std::vector<std::string> statements = HistoryUpgradeStatements(version);
        for (std::string& statement : HistorySchemaStatements()) statements.push_back(std::move(statement));
        for (const std::string& statement : statements) {
            if (!query.exec(QString::fromStdString(statement))) {
                const QSqlError error = query.lastError();
                db.rollback();
                return cannotOpen(error);
            }
        }
        query.exec(QString("PRAGMA user_version=%1").arg(kHistorySchemaVersion));
        if (!db.commit()) return cannotOpen(db.lastError());
    }
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
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        if (QFile::exists(path_ + suffix)) QFile::rename(path_ + suffix, aside + suffix);
    }
    report_ = QString("The history file %1 was damaged. It is kept as %2 and a new history has begun.")
                  .arg(path_, aside);
    return true;
}

HistoryStore::Added HistoryStore::Add(const HistoryRun& run, const HistoryHit& hit, bool forServer) {
    if (!open_) return Added::Failed;
    Added added = Added::Failed;
    Outcome outcome = TryAdd(run, hit, forServer, &added);
    if (outcome == Outcome::Damaged) {
        CloseConnection();
        batch_ = false;
        open_ = KeepDamagedAside() && OpenConnection(true) == Outcome::Done;
        if (!open_) {
            CloseConnection();
            return Added::Failed;
        }
        outcome = TryAdd(run, hit, forServer, &added);
    }
    return outcome == Outcome::Done ? added : Added::Failed;
}

bool HistoryStore::BeginBatch() {
    if (!open_ || batch_) return false;
    batch_ = Db().transaction();
    if (!batch_) report_ = QString("The history %1 cannot be written (%2).").arg(path_, Db().lastError().text());
    return batch_;
}

bool HistoryStore::CommitBatch() {
    if (!batch_) return false;
    batch_ = false;
    QSqlDatabase db = Db();
    if (db.commit()) return true;
    report_ = QString("The hits could not be added to the history %1 (%2).").arg(path_, db.lastError().text());
    db.rollback();
    runIds_.clear();
    return false;
}

HistoryStore::Outcome HistoryStore::TryAdd(const HistoryRun& run, const HistoryHit& hit, bool forServer,
                                           Added* added) {
    QSqlDatabase db = Db();
    QSqlQuery query(db);
    const auto failed = [&](const QSqlError& error) {
        query.finish();
        if (batch_) {
            query.exec("ROLLBACK TO hit");
        } else {
            db.rollback();
        }
        runIds_.clear();  // a run added in this transaction is gone again
        if (IsDamage(error)) return Outcome::Damaged;
        report_ = QString("A hit could not be added to the history %1 (%2).").arg(path_, error.text());
        return Outcome::Failed;
    };
    if (batch_ ? !query.exec("SAVEPOINT hit") : !db.transaction()) return failed(batch_ ? query.lastError() : db.lastError());

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

    // A hit as it ends comes after every line of its run with the same bytes.
    int occurrence = hit.Occurrence;
    if (occurrence <= 0) {
        query.prepare("SELECT coalesce(max(occurrence), 0) + 1 FROM hits WHERE run_id = ? AND line_key = ?");
        query.addBindValue(*runId);
        query.addBindValue(static_cast<qint64>(hit.LineKey));
        if (!query.exec() || !query.next()) return failed(query.lastError());
        occurrence = query.value(0).toInt();
        query.finish();
    }
    query.prepare(QString(hit.Occurrence <= 0 ? "INSERT" : "INSERT OR IGNORE") +
                  " INTO hits (run_id, name_id, start_local, start_utc, end_local, end_utc, duration_s, recording, "
                  "start_ms, start_hour, start_day, line_key, occurrence, signal_peak, signal_average, sent) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
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
    query.addBindValue(occurrence);
    query.addBindValue(LevelOrNull(hit.SignalPeak));
    query.addBindValue(LevelOrNull(hit.SignalAverage));
    query.addBindValue(SentMarkValue(MarkOfNewHit(forServer)));
    if (!query.exec()) return failed(query.lastError());
    const bool inserted = query.numRowsAffected() == 1;
    if (!inserted && forServer) {
        // Imported again with a server set: what was kept here only goes there too.
        query.prepare("UPDATE hits SET sent = 0 WHERE run_id = ? AND line_key = ? AND occurrence = ? AND sent IS NULL");
        query.addBindValue(*runId);
        query.addBindValue(static_cast<qint64>(hit.LineKey));
        query.addBindValue(occurrence);
        if (!query.exec()) return failed(query.lastError());
    }
    if (batch_ ? !query.exec("RELEASE hit") : !db.commit()) return failed(batch_ ? query.lastError() : db.lastError());
    runIds_[runKey] = *runId;
    *added = inserted ? Added::Yes : Added::AlreadyThere;
    return Outcome::Done;
}

std::vector<QueuedHit> HistoryStore::Unsent(int limit) {
    std::vector<QueuedHit> hits;
    if (!open_) return hits;
    QSqlQuery query(Db());
    query.setForwardOnly(true);
    query.prepare("SELECT h.id, r.started_local, r.started_utc, r.launch_date, r.launch_time, n.system, n.grp, "
                  "n.channel, n.frequency, n.frequency_digits, n.code_or_id, h.start_local, h.start_utc, h.end_local, "
                  "h.end_utc, h.duration_s, h.recording, h.start_ms, h.start_hour, h.start_day, h.line_key, "
                  "h.occurrence, h.signal_peak, h.signal_average "
                  "FROM hits h JOIN runs r ON r.id = h.run_id JOIN names n ON n.id = h.name_id "
                  "WHERE h.sent = 0 ORDER BY h.id LIMIT ?");
    query.addBindValue(limit);
    if (!query.exec()) {
        readError_ = query.lastError().text();
        return hits;
    }
    while (query.next()) {
        QueuedHit hit;
        int i = 0;
        const auto next = [&] { return query.value(i++); };
        hit.LocalId = next().toLongLong();
        hit.RunStartedLocal = next().toString();
        hit.RunStartedUtc = next().toString();
        hit.LaunchDate = next().toString();
        hit.LaunchTime = next().toString();
        for (QString& name : hit.Names) name = next().toString();
        hit.StartLocal = next().toString();
        hit.StartUtc = next().toString();
        hit.EndLocal = next().toString();
        hit.EndUtc = next().toString();
        hit.DurationSeconds = next().toDouble();
        const QVariant recording = next();
        hit.Recording = recording.isNull() ? QVariant(QMetaType::fromType<QString>()) : recording;
        hit.StartMs = next().toLongLong();
        hit.StartHour = next().toInt();
        hit.StartDay = next().toLongLong();
        hit.LineKey = next().toLongLong();
        hit.Occurrence = next().toInt();
        hit.SignalPeak = LevelOrNull(LevelOf(next()));
        hit.SignalAverage = LevelOrNull(LevelOf(next()));
        hits.push_back(std::move(hit));
    }
    return hits;
}

bool HistoryStore::Mark(const std::vector<qint64>& localIds, SentMark mark) {
    if (!open_) return false;
    if (localIds.empty()) return true;
    QStringList ids;
    for (const qint64 id : localIds) ids << QString::number(id);
    QSqlQuery query(Db());
    query.prepare("UPDATE hits SET sent = ? WHERE id IN (" + ids.join(',') + ")");
    query.addBindValue(SentMarkValue(mark));
    if (!query.exec()) {
        report_ = QString("The history %1 could not note what the server has (%2).").arg(path_, query.lastError().text());
        return false;
    }
    return true;
}

qint64 HistoryStore::UnsentCount() {
    QSqlQuery query(Db());
    if (!open_ || !query.exec("SELECT count(*) FROM hits WHERE sent = 0") || !query.next()) return 0;
    return query.value(0).toLongLong();
}


}  // namespace quorvane
