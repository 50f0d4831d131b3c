#pragma once
#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "history/HistoryHit.h"

namespace quorvane {

inline constexpr const char* kHistoryFileName = "history.sqlite";

// A run of the program as the history keeps it.
struct HistoryRun {
    Instant StartedAt;
    std::string LaunchDate;  // "12-04-2026", as in the log file's name
    std::string LaunchTime;  // "2-51-13-PM"
};

// Which hits are shown: Text found anywhere in the system, group, channel,
// frequency or ID (all when empty), started in [FromMs, ToMs) (milliseconds since 1970),
// which are the local days [FromDay, ToDay) (days since 1970-01-01).
struct HistoryFilter {
    QString Text;
    qint64 FromMs = 0;
    qint64 ToMs = 0;
    qint64 FromDay = 0;
    qint64 ToDay = 0;
};
// The filter of the local dates from and to, both included.
HistoryFilter FilterOfDates(const QString& text, const QDate& from, const QDate& to);

struct ChannelCount {
    QString Channel;
    qint64 Hits = 0;
};

// Columns of Select(), in order.
inline constexpr std::array<const char*, 8> kHistoryColumns = {
    "Start", "System", "Group", "Channel", "Frequency", "Tone / ID", "Seconds", "Recording"};
inline constexpr int kHistoryRecordingColumn = 7;

// The hit history in an SQLite file (WAL mode): one connection writes a hit
// per transaction, another reads for the History tab, so that a view of the
// history never holds up the writing.
class HistoryStore {
public:
    HistoryStore();
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Opens or creates the file. A file that is not a database or is damaged
    // is renamed aside (path + ".damaged-<yyyyMMdd-hhmmss>", never removed)
    // and a new history begun; TakeReport() says so. False when no history
    // can be kept at that path.
    bool Open(const QString& path);
    void Close();
    bool IsOpen() const { return open_; }
    const QString& Path() const { return path_; }
    // Called before the connections close, so that views drop their queries.
    void SetOnClosing(std::function<void()> onClosing) { onClosing_ = std::move(onClosing); }

    enum class Added { Yes, AlreadyThere, Failed };
    // Adds a hit whose names are already stored text (UTF-8), in one
    // transaction. A hit with the same line key is already there.
    Added Add(const HistoryRun& run, const HistoryHit& hit);

    // The selected hits, newest first, with the columns of kHistoryColumns.
    // matches: how many there are (the sum of HourCounts), which decides how
    // they are best found.
    QSqlQuery Select(const HistoryFilter& filter, qint64 matches) const;
    std::array<qint64, 24> HourCounts(const HistoryFilter& filter) const;
    std::vector<ChannelCount> BusiestChannels(const HistoryFilter& filter, int limit) const;
    // Milliseconds since 1970 of the oldest hit's start.
    std::optional<qint64> OldestStart() const;
    // The selection as CSV (RFC 4180, UTF-8, a header row, CR LF).
    bool ExportCsv(const HistoryFilter& filter, const QString& path, QString* error) const;

    // What the user should be told about the last Open or Add; empty when
    // nothing. Reading it clears it.
    QString TakeReport() { return std::exchange(report_, {}); }

private:
    enum class Outcome { Done, Damaged, Failed };
    Outcome OpenConnections();
    Outcome TryAdd(const HistoryRun& run, const HistoryHit& hit, Added* added);
    std::optional<qint64> RunId(const HistoryRun& run);
    void CloseConnections();
    bool KeepDamagedAside();
    QSqlDatabase Reader() const;

    QString path_;
    QString writerName_;
    QString readerName_;
    bool open_ = false;
    std::map<std::pair<std::string, std::string>, qint64> runIds_;
    std::function<void()> onClosing_;
    QString report_;
};

// A hit's names from scanner bytes to stored text (through the screen
// mapping), its recording's name from file-system bytes.
HistoryHit AsStoredText(HistoryHit hit);

}  // namespace quorvane
