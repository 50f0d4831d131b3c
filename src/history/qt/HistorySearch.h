#pragma once
#include <QDateTime>
#include <QObject>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "history/HistoryServer.h"
#include "history/qt/HistoryReading.h"
#include "history/qt/HistoryStore.h"
#include "history/qt/ServerStore.h"

namespace quorvane {

// Where the History tab reads: the server when one is set, else (and while
// the server is away) the local history file.
struct HistorySource {
    QString LocalPath;
    std::optional<HistoryServerSettings> Server;
};

// A search as the History tab shows it.
struct SearchResult {
    int Serial = 0;
    bool FromServer = false;
    QString Status;  // what the tab says above the table (the server away, the file unreadable)
    std::array<qint64, 24> Hours{};
    std::vector<ChannelCount> Channels;
    std::vector<HistoryRow> Rows;  // the first page
    bool MoreRows = false;
    QStringList Stations;
    std::optional<qint64> OldestStart;
    qint64 Matches = 0;
};

// Reads the history for the History tab on a thread of its own with its own
// connections, so that a large history, a slow server or an export never
// holds up the window: searches, further pages of the table, and the CSV
// export, written a page at a time with its progress.
class HistorySearch : public QObject {
    Q_OBJECT
public:
    static constexpr int kPageRows = 256;
    static constexpr int kBusiestChannels = 10;

    HistorySearch();
    ~HistorySearch() override;

    // These run on the search's thread.
    void Search(int serial, const HistorySource& source, const HistoryFilter& filter);
    void More(int serial, const HistorySource& source, const HistoryFilter& filter, qint64 matches, RowKey after);
    void Export(const HistorySource& source, const HistoryFilter& filter, const QString& path, qint64 total);
    // Any thread: the export stops at its next page and leaves no file.
    void CancelExport() { cancel_ = true; }

signals:
    void Found(const quorvane::SearchResult& result);
    void MoreFound(int serial, const std::vector<quorvane::HistoryRow>& rows, bool more);
    void ExportProgress(qint64 done, qint64 total);
    void ExportDone(const QString& path, const QString& error);  // error empty: written

private:
    HistoryReading* Reader(const HistorySource& source, QString* status, bool* fromServer);
    void ExportStep();

    HistoryStore local_;
    std::unique_ptr<ServerStore> server_;
    // A server that did not answer is asked again after kServerRetryMs;
    // meanwhile the tab shows the local history.
    QDateTime serverTriedAt_;
    // The export under way, through connections of its own.
    struct ExportRun {
        std::unique_ptr<HistoryReading> reader;
        HistoryFilter filter;
        std::unique_ptr<QSaveFile> file;
        std::optional<RowKey> after;
        qint64 done = 0;
        qint64 total = 0;
    };
    std::unique_ptr<ExportRun> export_;
    std::atomic<bool> cancel_{false};
};

}  // namespace quorvane
