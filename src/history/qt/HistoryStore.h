#pragma once
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/HistoryHit.h"
#include "history/ServerRules.h"
#include "history/qt/HistoryReading.h"

namespace quorvane {

inline constexpr const char* kHistoryFileName = "history.sqlite";

// A run of the program as the history keeps it.
struct HistoryRun {
    Instant StartedAt;
    std::string LaunchDate;  // "12-04-2026", as in the log file's name
    std::string LaunchTime;  // "2-51-13-PM"
};

// A hit of the local history that waits for the server, with everything the
// server keeps of it (the texts as stored).
struct QueuedHit {
    qint64 LocalId = 0;
    QString RunStartedLocal;
    QString RunStartedUtc;
    QString LaunchDate;
    QString LaunchTime;
    std::array<QString, 6> Names;  // system, group, channel, frequency, frequency digits, code or ID
    QString StartLocal;
    QString StartUtc;
    QString EndLocal;
    QString EndUtc;
    double DurationSeconds = 0;
    QVariant Recording;  // text or null
    qint64 StartMs = 0;
    int StartHour = 0;
    qint64 StartDay = 0;
    qint64 LineKey = 0;
    int Occurrence = 1;
    QVariant SignalPeak;  // int or null
    QVariant SignalAverage;
};

// The hit history in an SQLite file, through one connection of its own
// (used on one thread). The file keeps a rollback journal, not a write-ahead
// log: nothing of it is mapped into memory, so a file that can no longer be
// written (full, read-only, made immutable) fails a write instead of ending
// the program, and no log grows beside it.
class HistoryStore : public HistoryReading {
public:
    HistoryStore();
    ~HistoryStore() override;
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens or creates the file, and brings one of an older version up to
    // date without losing a row. A file that is not a database or is damaged
    // is renamed aside (path + ".damaged-<yyyyMMdd-hhmmss>", never removed)
    // and a new history begun; TakeReport() says so. False when no history
    // can be kept at that path.
    bool Open(const QString& path);
    // Opens an existing file of the current version for reading and for the
    // server's marks; makes, upgrades and sets aside nothing.
    bool OpenExisting(const QString& path);
    void Close();
    bool IsOpen() const { return open_; }
    const QString& Path() const { return path_; }
    // How long a write waits for another program's (ms).
    void SetBusyTimeout(int ms);

    enum class Added { Yes, AlreadyThere, Failed };
    // Adds a hit whose names are already stored text (UTF-8), in one
    // transaction. A hit as it ends (Occurrence 0) is always added, after
    // the run's lines so far; one read from a log file (Occurrence 1, 2, ...)
    // that is there already is not. forServer: a server is set, so the hit
    // waits for it (SentMark rules).
    Added Add(const HistoryRun& run, const HistoryHit& hit, bool forServer = false);
    // Many hits in one transaction (an import): each Add between the two is
    // kept or undone alone, and the whole is written at once.
    bool BeginBatch();
    bool CommitBatch();

    // The oldest hits that wait for the server, in the order they were added.
    std::vector<QueuedHit> Unsent(int limit);
    bool Mark(const std::vector<qint64>& localIds, SentMark mark);
    qint64 UnsentCount();

    // Reading, for the History tab.
    std::array<qint64, 24> HourCounts(const HistoryFilter& filter) override;
    std::vector<ChannelCount> BusiestChannels(const HistoryFilter& filter, int limit) override;
    std::vector<HistoryRow> Rows(const HistoryFilter& filter, qint64 matches, const std::optional<RowKey>& after,
                                 int limit) override;
    std::optional<qint64> OldestStart() override;
    QStringList Stations() override { return {}; }
    int ExportPage(const HistoryFilter& filter, std::optional<RowKey>& after, int limit, std::string& out) override;
    QString ReadError() const override { return readError_; }
    // How SQLite means to find the rows of a filter (for the tests of the plan).
    QString RowsPlan(const HistoryFilter& filter, qint64 matches);

    // What went wrong (or was done about a damaged file) since the last call.
    QString TakeReport();

private:
    enum class Outcome { Done, Damaged, Failed };
    Outcome OpenConnection(bool create);
    Outcome TryAdd(const HistoryRun& run, const HistoryHit& hit, bool forServer, Added* added);
    void CloseConnection();
    bool KeepDamagedAside();
    QSqlDatabase Db() const;
    QString RowsSql(const HistoryFilter& filter, qint64 matches, bool after) const;

    QString path_;
    QString name_;
    bool open_ = false;
    bool batch_ = false;
    int busyMs_ = 1000;
    std::map<std::pair<std::string, std::string>, qint64> runIds_;
    QString report_;
    QString readError_;
};

// A hit's names from scanner bytes to stored text (through the screen
// mapping), its recording's name from file-system bytes.
HistoryHit AsStoredText(HistoryHit hit);

// The stored form of a mark: NULL, 0, 1, 2.
QVariant SentMarkValue(SentMark mark);

}  // namespace quorvane
