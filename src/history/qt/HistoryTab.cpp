#include "history/qt/HistoryTab.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBoxLayout>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQueryModel>
#include <QTableView>
#include <QValueAxis>
#include <numeric>

namespace quorvane {
namespace {

// Hits kept in memory while the history file cannot take them.
constexpr size_t kMaxPending = 10000;
constexpr int kBusiestChannels = 10;
constexpr int kRefreshDelayMs = 300;

Instant Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return Instant{now.toMSecsSinceEpoch(), now.offsetFromUtc()};
}

template <typename Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(name);
    return control;
}

}  // namespace

HistoryTab::HistoryTab(std::function<QString()> folder, std::function<void(const QString&)> tell,
                       std::function<void(const QString&)> note, QWidget* parent)
    : QWidget(parent), folder_(std::move(folder)), tell_(std::move(tell)), note_(std::move(note)) {
    setObjectName("history_tab");
    open_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    chooseSave_ = [this] {
        return QFileDialog::getSaveFileName(this, "Export CSV", QDir::home().filePath("history.csv"),
                                            "CSV files (*.csv)");
    };

    history_search = Named(new QLineEdit(this), "history_search");
    history_search->setPlaceholderText("System, group, channel, frequency or ID");
    history_search->setClearButtonEnabled(true);
    const QDate today = QDate::currentDate();
    history_from = Named(new QDateEdit(today, this), "history_from");
    history_to = Named(new QDateEdit(today, this), "history_to");
    for (QDateEdit* edit : {history_from, history_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat("yyyy-MM-dd");
    }
    history_export = Named(new QPushButton("Export CSV…", this), "history_export");

    model_ = new QSqlQueryModel(this);
    history_table = Named(new QTableView(this), "history_table");
    history_table->setModel(model_);
    history_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    history_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    history_table->setWordWrap(false);
    history_table->verticalHeader()->hide();
    history_table->verticalHeader()->setDefaultSectionSize(17);
    history_table->horizontalHeader()->setStretchLastSection(true);
    history_table->setToolTip("Double-click a hit with a recording to play it");

    history_chart_mode = Named(new QComboBox(this), "history_chart_mode");
    history_chart_mode->addItems({"Hits per hour", "Busiest channels"});
    history_chart = Named(new QChartView(new QChart, this), "history_chart");
    history_chart->setRenderHint(QPainter::Antialiasing);
    history_chart->chart()->legend()->hide();
    history_chart->chart()->setMargins(QMargins(2, 2, 2, 2));

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel("Search:", this));
    bar->addWidget(history_search, 1);
    bar->addWidget(new QLabel("From", this));
    bar->addWidget(history_from);
    bar->addWidget(new QLabel("To", this));
    bar->addWidget(history_to);
    bar->addWidget(history_export);
    auto* side = new QVBoxLayout;
    side->addWidget(history_chart_mode);
    side->addWidget(history_chart, 1);
    auto* body = new QHBoxLayout;
    body->addWidget(history_table, 3);
    body->addLayout(side, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addLayout(body, 1);

    refreshTimer_.setSingleShot(true);
    refreshTimer_.setInterval(kRefreshDelayMs);
    connect(&refreshTimer_, &QTimer::timeout, this, &HistoryTab::Refresh);
    connect(history_search, &QLineEdit::textChanged, this, [this] { refreshTimer_.start(); });
    for (QDateEdit* edit : {history_from, history_to}) {
        connect(edit, &QDateEdit::dateChanged, this, [this, edit] {
            if (settingDates_) return;
            if (edit == history_to) toFollowsToday_ = history_to->date() >= QDate::currentDate();
            if (edit == history_from) fromFollowsOldest_ = false;
            refreshTimer_.start();
        });
    }
    connect(history_chart_mode, &QComboBox::currentIndexChanged, this, &HistoryTab::Refresh);
    connect(history_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        PlayRecording(index.row());
    });
    connect(history_export, &QPushButton::clicked, this, &HistoryTab::ExportCsv);
    // The table's query holds a read of the file open; it is dropped first.
    store_.SetOnClosing([this] { model_->clear(); });
}

void HistoryTab::StartRun(const QDateTime& startedAt, const std::string& launchDate, const std::string& launchTime) {
    run_ = HistoryRun{Instant{startedAt.toMSecsSinceEpoch(), startedAt.offsetFromUtc()}, launchDate, launchTime};
}

void HistoryTab::Follow(const HitRecord& hit) {
    if (!hit.HitActive) {
        hitStart_.reset();
    } else if (!hit.StartTime.empty() && !hitStart_) {
        hitStart_ = Now();
    }
}

void HistoryTab::AddHit(const HitEnded& ended, const std::string& recordingFile) {
    const Instant end = Now();
    const Instant start = hitStart_.value_or(end);
    hitStart_.reset();
    const std::optional<HistoryHit> hit = HistoryHitFromEnded(ended, start, end, recordingFile);
    if (!hit) return;
    if (pending_.size() >= kMaxPending) pending_.pop_front();
    pending_.push_back(AsStoredText(*hit));
    Flush();
    if (isVisible()) {
        refreshTimer_.start();
    } else {
        // Nothing reads the file while the tab is hidden; it is read afresh when shown.
        model_->clear();
        stale_ = true;
    }
}

void HistoryTab::Flush() {
    if (!EnsureOpen()) return;
    while (!pending_.empty()) {
        if (store_.Add(run_, pending_.front()) == HistoryStore::Added::Failed) {
            Report(false);
            return;
        }
        pending_.pop_front();
    }
    Report(true);
}

bool HistoryTab::EnsureOpen() {
    const QString path = QDir(folder_()).filePath(kHistoryFileName);
    if (store_.IsOpen() && store_.Path() == path) return true;
    const bool opened = store_.Open(path);
    Report(opened);
    return opened;
}

// A failure to open or write is told once, until the history works again; a
// damaged file set aside is told each time.
void HistoryTab::Report(bool worked) {
    const QString report = store_.TakeReport();
    if (worked) failureTold_ = false;
    if (report.isEmpty() || (!worked && failureTold_)) return;
    if (!worked) failureTold_ = true;
    // Worked with a report: a damaged file was set aside and a new one begun.
    note_(worked ? "History file damaged" : "History not saved");
    tell_(report);
}

void HistoryTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) Refresh();
}

HistoryFilter HistoryTab::CurrentFilter() const {
    return FilterOfDates(history_search->text().trimmed(), history_from->date(), history_to->date());
}

void HistoryTab::Refresh() {
    refreshTimer_.stop();
    stale_ = false;
    if (!EnsureOpen()) {
        model_->clear();
        history_chart->chart()->removeAllSeries();
        return;
    }
    // Until the user picks dates, the range runs from the oldest hit to today.
    settingDates_ = true;
    if (toFollowsToday_) history_to->setDate(QDate::currentDate());
    if (const auto oldest = store_.OldestStart(); oldest && fromFollowsOldest_) {
        history_from->setDate(QDateTime::fromMSecsSinceEpoch(*oldest).date());
    }
    settingDates_ = false;

    const HistoryFilter filter = CurrentFilter();
    const std::array<qint64, 24> hours = store_.HourCounts(filter);
    model_->setQuery(store_.Select(filter, std::accumulate(hours.begin(), hours.end(), qint64{0})));
    for (int column = 0; column < static_cast<int>(kHistoryColumns.size()); ++column) {
        model_->setHeaderData(column, Qt::Horizontal, kHistoryColumns[static_cast<size_t>(column)]);
    }
    DrawChart(filter, hours);
}

void HistoryTab::DrawChart(const HistoryFilter& filter, const std::array<qint64, 24>& hours) {
    QChart* chart = history_chart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    if (!store_.IsOpen()) return;
    auto* set = new QBarSet("Hits");
    QStringList categories;
    QAbstractBarSeries* series = nullptr;
    qint64 top = 0;
    if (history_chart_mode->currentIndex() == 0) {
        for (size_t hour = 0; hour < hours.size(); ++hour) {
            *set << static_cast<qreal>(hours[hour]);
            categories << QString::number(hour);
            top = std::max(top, hours[hour]);
        }
        series = new QBarSeries;
    } else {
        // Busiest at the top.
        const std::vector<ChannelCount> channels = store_.BusiestChannels(filter, kBusiestChannels);
        for (auto channel = channels.rbegin(); channel != channels.rend(); ++channel) {
            *set << static_cast<qreal>(channel->Hits);
            categories << (channel->Channel.isEmpty() ? QString("(none)") : channel->Channel);
            top = std::max(top, channel->Hits);
        }
        series = new QHorizontalBarSeries;
    }
    series->append(set);
    chart->addSeries(series);
    auto* names = new QBarCategoryAxis;
    names->append(categories);
    auto* counts = new QValueAxis;
    counts->setRange(0, static_cast<qreal>(std::max<qint64>(top, 1)));
    counts->setLabelFormat("%d");
    const bool perHour = history_chart_mode->currentIndex() == 0;
    chart->addAxis(names, perHour ? Qt::AlignBottom : Qt::AlignLeft);
    chart->addAxis(counts, perHour ? Qt::AlignLeft : Qt::AlignBottom);
    series->attachAxis(names);
    series->attachAxis(counts);
}

void HistoryTab::PlayRecording(int row) {
    const QString name = model_->index(row, kHistoryRecordingColumn).data().toString();
    if (name.isEmpty()) return;
    const QString path = QFileInfo(store_.Path()).dir().filePath(name);
    if (!QFileInfo::exists(path)) {
        tell_("The recording " + path + " is not there any more.");
        return;
    }
    if (!open_(QUrl::fromLocalFile(path))) tell_("No program opens the recording " + path + ".");
}

void HistoryTab::ExportCsv() {
    if (!EnsureOpen()) return;
    const QString path = chooseSave_();
    if (path.isEmpty()) return;
    QString error;
    if (!store_.ExportCsv(CurrentFilter(), path, &error)) tell_("The CSV file " + path + " cannot be written (" + error + ").");
}

}  // namespace quorvane
