#pragma once
#include <QDateTime>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "history/HistoryHit.h"
#include "monitor/HitRecord.h"
#include "history/qt/HistoryStore.h"

class QChartView;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace quorvane {

// The "History" tab: every logged hit of every run, kept in history.sqlite
// beside the log files. A search box and a date range select hits; the table
// lists them newest first, the chart counts them per hour of day or per
// channel, "Export CSV..." saves them, and a double-click plays a hit's
// recording.
class HistoryTab : public QWidget {
    Q_OBJECT
public:
    // folder: where the log files go now (the history lies beside them).
    // tell: shows the user a message. note: a few words in Text3, for a
    // history file that cannot be used (told with the message as well).
    HistoryTab(std::function<QString()> folder, std::function<void(const QString&)> tell,
               std::function<void(const QString&)> note, QWidget* parent = nullptr);

    // The run the following hits belong to.
    void StartRun(const QDateTime& startedAt, const std::string& launchDate, const std::string& launchTime);
    // After every poll tick: the hit's start is the tick that took its start
    // time for the log line.
    void Follow(const HitRecord& hit);
    // A hit ended; recordingFile is the name its recording was saved under.
    void AddHit(const HitEnded& ended, const std::string& recordingFile);

    // Re-reads the selection into the table and the chart.
    void Refresh();
    HistoryStore& Store() { return store_; }

    // Replaceable by tests: how a recording is played and where CSV goes.
    void SetOpener(std::function<bool(const QUrl&)> opener) { open_ = std::move(opener); }
    void SetSaveChooser(std::function<QString()> chooser) { chooseSave_ = std::move(chooser); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool EnsureOpen();
    void Report(bool worked);
    void Flush();
    HistoryFilter CurrentFilter() const;
    void DrawChart(const HistoryFilter& filter, const std::array<qint64, 24>& hours);
    void PlayRecording(int row);
    void ExportCsv();

    std::function<QString()> folder_;
    std::function<void(const QString&)> tell_;
    std::function<void(const QString&)> note_;
    std::function<bool(const QUrl&)> open_;
    std::function<QString()> chooseSave_;
    HistoryStore store_;
    HistoryRun run_;
    std::optional<Instant> hitStart_;
    std::deque<HistoryHit> pending_;  // hits not yet written (the file was busy or missing)
    bool failureTold_ = false;
    bool stale_ = true;
    bool toFollowsToday_ = true;
    bool fromFollowsOldest_ = true;
    bool settingDates_ = false;
    QTimer refreshTimer_;

    QLineEdit* history_search = nullptr;
    QDateEdit* history_from = nullptr;
    QDateEdit* history_to = nullptr;
    QPushButton* history_export = nullptr;
    QTableView* history_table = nullptr;
    QSqlQueryModel* model_ = nullptr;
    QComboBox* history_chart_mode = nullptr;
    QChartView* history_chart = nullptr;
};

}  // namespace quorvane
