#include "history/qt/HistoryTab.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

#include "app/qt/AppFiles.h"
#include "app/qt/TextEntry.h"
#include "history/HistoryView.h"
#include "history/qt/HistoryChart.h"
#include "history/qt/HistoryRowsModel.h"
#include "history/qt/HistoryServerDialog.h"

namespace quorvane {
namespace {

constexpr int kRefreshDelayMs = 300;
constexpr int kSaveViewDelayMs = 1000;
constexpr int kSearchStopMs = 12000;

template <typename Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(name);
    return control;
}

}  // namespace

HistoryTab::HistoryTab(HistoryRecorder& recorder, std::function<void(const QString&)> tell, QWidget* parent)
    : QWidget(parent), recorder_(recorder), appDirectory_(recorder.AppDirectory()), tell_(std::move(tell)) {
    setObjectName("history_tab");
    open_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    chooseSave_ = [this] {
        return QFileDialog::getSaveFileName(this, "Export CSV", QDir::home().filePath("history.csv"),
                                            "CSV files (*.csv)");
    };
    searchThread_ = new QThread;
    searchThread_->setObjectName("history-search");
    search_ = new HistorySearch;
    search_->moveToThread(searchThread_);
    connect(searchThread_, &QThread::finished, search_, &QObject::deleteLater);
    searchThread_->start();
    Build();
    Connect();
    ApplyView();
}

HistoryTab::HistoryTab(std::function<QString()> folder, std::function<void(const QString&)> tell,
                       std::function<void(const QString&)> note, QWidget* parent)
    : HistoryTab(*new HistoryRecorder(folder, folder()), tell, parent) {
    ownedRecorder_ = &recorder_;
    recorder_.setParent(this);
    connect(&recorder_, &HistoryRecorder::Tell, this, [tell](const QString& text) { tell(text); });
    connect(&recorder_, &HistoryRecorder::Note, this, [note](const QString& text) { note(text); });
}

HistoryTab::~HistoryTab() {
    SaveView();
    search_->CancelExport();
    disconnect(search_, nullptr, this, nullptr);
    searchThread_->quit();
    if (searchThread_->wait(kSearchStopMs)) {
        delete searchThread_;
    } else {
        // A server call still hangs: the thread ends with it, unwaited for.
        connect(searchThread_, &QThread::finished, searchThread_, &QObject::deleteLater);
    }
}

void HistoryTab::StartRun(const QDateTime& startedAt, const std::string& launchDate, const std::string& launchTime) {
    recorder_.StartRun(startedAt, launchDate, launchTime);
}
void HistoryTab::Follow(const HitRecord& hit) { recorder_.Follow(hit); }
void HistoryTab::AddHit(const HitEnded& ended, const std::string& recordingFile) {
    recorder_.AddHit(ended, recordingFile);
}

void HistoryTab::Build() {
    history_search = Named(new QLineEdit(this), "history_search");
    history_search->setPlaceholderText("System, group, channel, frequency or ID");
    history_search->setClearButtonEnabled(true);
    history_search->setAccessibleName("Search history");
    for (auto* clear : history_search->findChildren<QToolButton*>()) clear->setAccessibleName("Clear search");
    const QDate today = QDate::currentDate();
    history_from = Named(new QDateEdit(today, this), "history_from");
    history_to = Named(new QDateEdit(today, this), "history_to");
    for (QDateEdit* edit : {history_from, history_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat("yyyy-MM-dd");
    }
    history_stronger = Named(new QSpinBox(this), "history_stronger");
    history_from->setAccessibleName("From date");
    history_to->setAccessibleName("To date");
    history_stronger->setAccessibleName("Stronger than");
    history_stronger->setRange(0, 254);
    history_stronger->setSpecialValueText("any");
    history_stronger->setToolTip("Only hits whose signal peak was above this level (0-255)");
    history_station = Named(new QComboBox(this), "history_station");
    history_station->addItem("All stations", QString());
    history_station->setAccessibleName("Station");
    history_station->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    history_station->hide();
    history_export = Named(new QPushButton("Export CSV…", this), "history_export");
    history_export_progress = Named(new QProgressBar(this), "history_export_progress");
    history_export_progress->setMaximumWidth(120);
    history_export_progress->hide();
    history_server = Named(new QPushButton("Server…", this), "history_server");
    history_server->setToolTip("Share the history with other stations on a PostgreSQL server");
    history_status = Named(new QLabel(this), "history_status");
    history_status->setStyleSheet("color: #404040;");
    history_status->hide();

    model_ = new HistoryRowsModel(this);
    history_table = Named(new QTableView(this), "history_table");
    history_table->setModel(model_);
    history_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    history_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    history_table->setWordWrap(false);
    history_table->setTextElideMode(Qt::ElideMiddle);
    history_table->verticalHeader()->hide();
    history_table->verticalHeader()->setDefaultSectionSize(17);
    history_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    history_table->horizontalHeader()->setStretchLastSection(true);
    history_table->setColumnHidden(HistoryRowsModel::kStationColumn, true);
    history_table->setToolTip("Double-click a hit with a recording to play it");
    history_table->setAccessibleName("History of hits");

    history_chart_mode = Named(new QComboBox(this), "history_chart_mode");
    history_chart_mode->addItems({"Hits per hour", "Busiest channels"});
    history_chart_mode->setAccessibleName("Chart");
    history_chart = Named(new HistoryChart(this), "history_chart");

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("Search:", this));
    bar->addWidget(history_search, 1);
    bar->addWidget(new QLabel("From", this));
    bar->addWidget(history_from);
    bar->addWidget(new QLabel("To", this));
    bar->addWidget(history_to);
    bar->addWidget(new QLabel("Stronger than", this));
    bar->addWidget(history_stronger);
    auto* second = new QHBoxLayout;
    second->addWidget(history_station);
    second->addWidget(history_status, 1);
    second->addStretch();
    second->addWidget(history_export_progress);
    second->addWidget(history_export);
    second->addWidget(history_server);
    auto* side = new QVBoxLayout;
    side->addWidget(history_chart_mode);
    side->addWidget(history_chart, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(history_table, 3);
    body->addLayout(side, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addLayout(bar);
    layout->addLayout(second);
    layout->addLayout(body, 1);
}

void HistoryTab::Connect() {
    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(kRefreshDelayMs);
    connect(&refreshTimer_, &QTimer::timeout, this, &HistoryTab::Refresh);
    saveViewTimer_.setSingleShot(true);
    saveViewTimer_.setInterval(kSaveViewDelayMs);
    connect(&saveViewTimer_, &QTimer::timeout, this, &HistoryTab::SaveView);
    const auto later = [this] { refreshTimer_.start(); };
    connect(history_search, &QLineEdit::textChanged, this, later);
    connect(history_stronger, &QSpinBox::valueChanged, this, later);
    connect(history_station, &QComboBox::activated, this, &HistoryTab::Refresh);
    for (QDateEdit* edit : {history_from, history_to}) {
        connect(edit, &QDateEdit::dateChanged, this, [this, edit] {
            if (settingDates_) return;
            if (edit == history_to) toFollowsToday_ = history_to->date() >= QDate::currentDate();
            if (edit == history_from) fromFollowsOldest_ = false;
            refreshTimer_.start();
        });
    }
    connect(history_chart_mode, &QComboBox::currentIndexChanged, this, [this] {
        DrawChart();
        SaveView();
    });
    connect(history_table->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { saveViewTimer_.start(); });
    connect(history_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        PlayRecording(index.row());
    });
    connect(history_export, &QPushButton::clicked, this, &HistoryTab::ExportCsv);
    connect(history_server, &QPushButton::clicked, this, &HistoryTab::EditServer);

    // New hits, a server that comes or goes: search again when seen.
    for (auto signal : {&HistoryRecorder::HitStored, &HistoryRecorder::Opened, &HistoryRecorder::ServerChanged}) {
        connect(&recorder_, signal, this, [this] {
            if (isVisible()) {
                refreshTimer_.start();
            } else {
                stale_ = true;
            }
        });
    }

    connect(search_, &HistorySearch::Found, this, &HistoryTab::Show);
    connect(model_, &HistoryRowsModel::MoreWanted, this, [this](RowKey after) {
        QMetaObject::invokeMethod(search_, [search = search_, serial = serial_, source = Source(), filter = filter_,
                                            matches = result_.Matches, after] {
            search->More(serial, source, filter, matches, after);
        });
    });
    connect(search_, &HistorySearch::MoreFound, this,
            [this](int serial, const std::vector<HistoryRow>& rows, bool more) {
                if (serial == serial_) model_->Append(rows, more);
            });
    connect(search_, &HistorySearch::ExportProgress, this, [this](qint64 done, qint64 total) {
        exportedRows_ = done;
        history_export_progress->setRange(0, 1000);
        history_export_progress->setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 0);
    });
    connect(search_, &HistorySearch::ExportDone, this, [this](const QString& path, const QString& error) {
        exporting_ = false;
        history_export->setText("Export CSV…");
        history_export_progress->hide();
        if (!error.isEmpty() && error != "cancelled") tell_("The CSV file " + path + " cannot be written (" + error + ").");
        if (error.isEmpty()) {
            // Said where the table's count was, until the next search.
            const QString count = exportedRows_ > 0 ? QString::fromStdString(MatchCountText(exportedRows_, true))
                                                    : QString("0 hits");
            history_status->setText(QString("Exported %1 to %2").arg(count, QFileInfo(path).fileName()));
            history_status->setToolTip(QString("Exported %1 to %2").arg(count, path));
        }
        emit Exported(path, error);
    });
}

void HistoryTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) Refresh();
}

HistorySource HistoryTab::Source() const { return HistorySource{recorder_.HistoryPath(), recorder_.Server()}; }

HistoryFilter HistoryTab::CurrentFilter() const {
    HistoryFilter filter = FilterOfDates(history_search->text().trimmed(), history_from->date(), history_to->date());
    filter.Station = history_station->isVisible() ? history_station->currentData().toString() : QString();
    filter.StrongerThan = history_stronger->value();
    return filter;
}

void HistoryTab::Refresh() {
    refreshTimer_.stop();
    if (!isVisible()) {
        stale_ = true;
        return;
    }
    stale_ = false;
    // Until the user picks an end, the range runs to today.
    if (toFollowsToday_ && history_to->date() != QDate::currentDate()) {
        settingDates_ = true;
        history_to->setDate(QDate::currentDate());
        settingDates_ = false;
    }
    filter_ = CurrentFilter();
    QMetaObject::invokeMethod(search_, [search = search_, serial = ++serial_, source = Source(), filter = filter_] {
        search->Search(serial, source, filter);
    });
}

void HistoryTab::Show(const SearchResult& result) {
    if (result.Serial != serial_) return;
    // Until the user picks a start, the range runs from the oldest hit.
    if (result.OldestStart && fromFollowsOldest_) {
        const QDate oldest = QDateTime::fromMSecsSinceEpoch(*result.OldestStart).date();
        if (oldest != history_from->date()) {
            settingDates_ = true;
            history_from->setDate(oldest);
            settingDates_ = false;
            Refresh();
            return;
        }
    }
    shownSerial_ = result.Serial;
    result_ = result;
    model_->Reset(result.Rows, result.MoreRows);
    history_table->setColumnHidden(HistoryRowsModel::kStationColumn, !result.FromServer);
    const QString station = history_station->currentData().toString();
    history_station->clear();
    history_station->addItem("All stations", QString());
    for (const QString& name : result.Stations) history_station->addItem(name, name);
    history_station->setCurrentIndex(std::max(0, history_station->findData(station)));
    history_station->setVisible(result.FromServer);
    // What went wrong when something did, else how many hits there are.
    const bool narrowed = !filter_.Text.isEmpty() || !filter_.Station.isEmpty() || filter_.StrongerThan > 0 ||
                          !fromFollowsOldest_ || !toFollowsToday_;
    history_status->setText(!result.Status.isEmpty() ? result.Status
                                                     : QString::fromStdString(MatchCountText(result.Matches, narrowed)));
    history_status->setToolTip(history_status->text());
    history_status->show();
    DrawChart();
    emit Searched();
}

void HistoryTab::DrawChart() {
    if (shownSerial_ == 0) return history_chart->Clear();
    if (history_chart_mode->currentIndex() == 0) {
        history_chart->ShowHours(result_.Hours);
    } else {
        history_chart->ShowChannels(result_.Channels);
    }
}

void HistoryTab::PlayRecording(int row) {
    const HistoryRow* hit = model_->Row(row);
    if (!hit || hit->Recording.isEmpty()) return;
    const auto& server = recorder_.Server();
    if (!hit->Station.isEmpty() && server && hit->Station.toStdString() != server->Station) {
        tell_("The recording " + hit->Recording + " was made at " + hit->Station + "; it is on that station's computer.");
        return;
    }
    const QString path = QFileInfo(recorder_.HistoryPath()).dir().filePath(hit->Recording);
    if (!QFileInfo::exists(path)) {
        tell_("The recording " + path + " is not there any more.");
        return;
    }
    if (!open_(QUrl::fromLocalFile(path))) tell_("No program opens the recording " + path + ".");
}

void HistoryTab::ExportCsv() {
    if (exporting_) {
        search_->CancelExport();
        return;
    }
    const QString path = chooseSave_();
    if (path.isEmpty()) return;
    exporting_ = true;
    history_export->setText("Cancel export");
    history_export_progress->setValue(0);
    history_export_progress->show();
    QMetaObject::invokeMethod(search_, [search = search_, source = Source(), filter = CurrentFilter(), path,
                                        total = result_.Matches] { search->Export(source, filter, path, total); });
}

void HistoryTab::EditServer() {
    HistoryServerDialog dialog(recorder_.AppDirectory(), this);
    if (dialog.exec() == QDialog::Accepted) recorder_.ReloadServer();
}

void HistoryTab::ApplyView() {
    const std::optional<std::string> bytes = ReadFileBytes(JoinPath(appDirectory_, kHistoryViewFile));
    const HistoryViewSettings view = ReadHistoryViewSettings(bytes.value_or(""));
    history_chart_mode->setCurrentIndex(view.ChartMode);
    QHeaderView* header = history_table->horizontalHeader();
    const QFontMetrics metrics(history_table->font());
    // The start fits with its time; the other columns as Qt sizes them.
    header->resizeSection(0, metrics.horizontalAdvance("2026-12-06 23:59:59") + 14);
    header->resizeSection(6, metrics.horizontalAdvance("Seconds") + 14);
    header->resizeSection(HistoryRowsModel::kSignalColumn, metrics.horizontalAdvance("255 / 255") + 14);
    if (view.ColumnWidths.size() == HistoryRowsModel::kColumns.size()) {
        for (size_t column = 0; column < view.ColumnWidths.size(); ++column) {
            if (view.ColumnWidths[column] > 0) header->resizeSection(static_cast<int>(column), view.ColumnWidths[column]);
        }
    }
    saveViewTimer_.stop();
}

void HistoryTab::SaveView() {
    saveViewTimer_.stop();
    HistoryViewSettings view;
    view.ChartMode = history_chart_mode->currentIndex();
    for (int column = 0; column < static_cast<int>(HistoryRowsModel::kColumns.size()); ++column) {
        view.ColumnWidths.push_back(history_table->horizontalHeader()->sectionSize(column));
    }
    const QString path = JoinPath(appDirectory_, kHistoryViewFile);
    const std::string bytes = WriteHistoryViewSettings(view);
    if (ReadFileBytes(path) != bytes) WriteFileAtomically(path, bytes);
}

}  // namespace quorvane
