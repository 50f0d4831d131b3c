#pragma once
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <string>

#include "history/qt/HistoryReading.h"
#include "history/qt/HistoryRecorder.h"
#include "history/qt/HistorySearch.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace quorvane {

class HistoryChart;
class HistoryRowsModel;

// The "History" tab: reads what the HistoryRecorder keeps, from the local
// history.sqlite or, when a server is set, every station's hits on the
// server. A search box, a date range, a "stronger than" signal level and (on
// a server) a station select hits; the table lists them newest first, the
// chart counts them per hour of day or per channel, "Export CSV..." saves
// them, and a double-click plays a hit's recording. All reading runs on a
// thread of its own. The chart chosen and the column widths are kept in
// history_view.txt in the app folder.
//
// The window:
//   auto* history = new HistoryRecorder(logFolder, appDirectory, this);   // see HistoryRecorder
//   SSTab1->addTab(new HistoryTab(*history, [this](const QString& text) { Tell(text); }, SSTab1), "History");
class HistoryTab : public QWidget {
    Q_OBJECT
public:
    // recorder: the tab reads what it writes; it may go before the tab, but
    // the tab uses it only while both live. tell: shows the user a message.
    HistoryTab(HistoryRecorder& recorder, std::function<void(const QString&)> tell, QWidget* parent = nullptr);
    // Until the window builds a HistoryRecorder of its own: the tab makes one
    // and passes StartRun, Follow and AddHit on to it. folder: where the log
    // files go; as it stands when the tab is built (before the settings are
    // read) it is the app folder, where history_server.txt is looked for.
    // note: a few words in Text3.
    HistoryTab(std::function<QString()> folder, std::function<void(const QString&)> tell,
               std::function<void(const QString&)> note, QWidget* parent = nullptr);
    ~HistoryTab() override;

    void StartRun(const QDateTime& startedAt, const std::string& launchDate, const std::string& launchTime);
    void Follow(const HitRecord& hit);
    void AddHit(const HitEnded& ended, const std::string& recordingFile);

    // Searches again; the table and the chart follow when the answer comes.
    void Refresh();
    HistoryRecorder& Recorder() { return recorder_; }
    // What the tab shows: a search is on its way, an export runs.
    bool Searching() const { return shownSerial_ != serial_; }
    bool Exporting() const { return exporting_; }

    // Replaceable by tests: how a recording is played and where CSV goes.
    void SetOpener(std::function<bool(const QUrl&)> opener) { open_ = std::move(opener); }
    void SetSaveChooser(std::function<QString()> chooser) { chooseSave_ = std::move(chooser); }

signals:
    void Searched();
    void Exported(const QString& path, const QString& error);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Build();
    void Connect();
    HistorySource Source() const;
    HistoryFilter CurrentFilter() const;
    void Show(const SearchResult& result);
    void DrawChart();
    void PlayRecording(int row);
    void ExportCsv();
    void EditServer();
    void ApplyView();
    void SaveView();

    HistoryRecorder* ownedRecorder_ = nullptr;  // made by the transitional constructor
    HistoryRecorder& recorder_;
    const QString appDirectory_;  // kept: the view is saved even when the recorder has gone first
    std::function<void(const QString&)> tell_;
    std::function<bool(const QUrl&)> open_;
    std::function<QString()> chooseSave_;

    QThread* searchThread_ = nullptr;
    HistorySearch* search_ = nullptr;
    int serial_ = 0;
    int shownSerial_ = 0;
    HistoryFilter filter_;
    SearchResult result_;
    bool stale_ = true;
    bool toFollowsToday_ = true;
    bool fromFollowsOldest_ = true;
    bool settingDates_ = false;
    bool exporting_ = false;
    qint64 exportedRows_ = 0;  // by the export under way, so far
    QTimer refreshTimer_;
    QTimer saveViewTimer_;

    QLineEdit* history_search = nullptr;
    QDateEdit* history_from = nullptr;
    QDateEdit* history_to = nullptr;
    QSpinBox* history_stronger = nullptr;
    QComboBox* history_station = nullptr;
    QPushButton* history_export = nullptr;
    QProgressBar* history_export_progress = nullptr;
    QPushButton* history_server = nullptr;
    QLabel* history_status = nullptr;
    QTableView* history_table = nullptr;
    HistoryRowsModel* model_ = nullptr;
    QComboBox* history_chart_mode = nullptr;
    HistoryChart* history_chart = nullptr;
};

}  // namespace quorvane
