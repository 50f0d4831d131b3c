#include "history/qt/HistorySearch.h"

#include <QTimer>
#include <numeric>

#include "history/HistoryCsv.h"
#include "history/ServerRules.h"

namespace quorvane {
namespace {

constexpr int kExportPageRows = 5000;

}  // namespace

HistorySearch::HistorySearch() {
    qRegisterMetaType<quorvane::SearchResult>();
    qRegisterMetaType<std::vector<quorvane::HistoryRow>>();
}

HistorySearch::~HistorySearch() = default;

HistoryReading* HistorySearch::Reader(const HistorySource& source, QString* status, bool* fromServer) {
    *fromServer = false;
    if (source.Server) {
        if (!server_ || !(server_->Settings() == *source.Server)) {
            server_ = std::make_unique<ServerStore>(*source.Server);
            serverTriedAt_ = {};
        }
        const QDateTime now = QDateTime::currentDateTimeUtc();
        if (!server_->Connected() && (!serverTriedAt_.isValid() || serverTriedAt_.msecsTo(now) >= kServerRetryMs)) {
            serverTriedAt_ = now;
            ServerProblem problem = ServerProblem::Other;
            QString detail;
            server_->Connect(&problem, &detail);
        }
        if (server_->Connected()) {
            *fromServer = true;
            *status = "Every station's hits, on " + server_->Name() + ".";
            return server_.get();
        }
        *status = "History server away (" + server_->Name() + "): this station's hits only.";
    } else {
        server_.reset();
    }
    if (!(local_.IsOpen() && local_.Path() == source.LocalPath) && !local_.OpenExisting(source.LocalPath)) {
        local_.TakeReport();
    }
    return &local_;
}

void HistorySearch::Search(int serial, const HistorySource& source, const HistoryFilter& filter) {
    SearchResult result;
    result.Serial = serial;
    HistoryReading* reader = Reader(source, &result.Status, &result.FromServer);
    result.Hours = reader->HourCounts(filter);
    if (result.FromServer && !reader->ReadError().isEmpty()) {
        // Lost since it answered last: this station's own history meanwhile.
        reader = Reader(source, &result.Status, &result.FromServer);
        result.Hours = reader->HourCounts(filter);
    }
    result.Matches = std::accumulate(result.Hours.begin(), result.Hours.end(), qint64{0});
    result.Channels = reader->BusiestChannels(filter, kBusiestChannels);
    result.Rows = reader->Rows(filter, result.Matches, std::nullopt, kPageRows);
    result.MoreRows = static_cast<int>(result.Rows.size()) == kPageRows;
    result.Stations = reader->Stations();
    result.OldestStart = reader->OldestStart();
    if (!reader->ReadError().isEmpty()) result.Status = "The history cannot be read (" + reader->ReadError() + ").";
    emit Found(result);
}

void HistorySearch::More(int serial, const HistorySource& source, const HistoryFilter& filter, qint64 matches,
                         RowKey after) {
    QString status;
    bool fromServer = false;
    HistoryReading* reader = Reader(source, &status, &fromServer);
    const std::vector<HistoryRow> rows = reader->Rows(filter, matches, after, kPageRows);
    emit MoreFound(serial, rows, static_cast<int>(rows.size()) == kPageRows);
}

void HistorySearch::Export(const HistorySource& source, const HistoryFilter& filter, const QString& path, qint64 total) {
    cancel_ = false;
    auto run = std::make_unique<ExportRun>();
    if (source.Server && server_ && server_->Connected()) {
        auto server = std::make_unique<ServerStore>(*source.Server);
        if (server->Connect(nullptr, nullptr)) run->reader = std::move(server);
    }
    if (!run->reader) {
        // The table shows this station's own history: so does the file.
        auto local = std::make_unique<HistoryStore>();
        local->OpenExisting(source.LocalPath);
        run->reader = std::move(local);
    }
    run->filter = filter;
    run->total = total;
    run->file = std::make_unique<QSaveFile>(path);
    if (!run->file->open(QIODevice::WriteOnly)) {
        emit ExportDone(path, run->file->errorString());
        return;
    }
    const std::string header = HistoryCsvHeader();
    run->file->write(header.data(), static_cast<qint64>(header.size()));
    export_ = std::move(run);
    emit ExportProgress(0, total);
    QTimer::singleShot(0, this, &HistorySearch::ExportStep);
}

// One page, then back to the event loop: a search asked for meanwhile is
// answered between two pages.
void HistorySearch::ExportStep() {
    if (!export_) return;
    ExportRun& run = *export_;
    const QString path = run.file->fileName();
    if (cancel_) {
        run.file->cancelWriting();
        export_.reset();
        emit ExportDone(path, "cancelled");
        return;
    }
    std::string chunk;
    const int count = run.reader->ExportPage(run.filter, run.after, kExportPageRows, chunk);
    if (!run.reader->ReadError().isEmpty()) {
        const QString error = run.reader->ReadError();
        run.file->cancelWriting();
        export_.reset();
        emit ExportDone(path, error);
        return;
    }
    if (run.file->write(chunk.data(), static_cast<qint64>(chunk.size())) != static_cast<qint64>(chunk.size())) {
        const QString error = run.file->errorString();
        run.file->cancelWriting();
        export_.reset();
        emit ExportDone(path, error);
        return;
    }
    run.done += count;
    emit ExportProgress(run.done, std::max(run.done, run.total));
    if (count == kExportPageRows) {
        QTimer::singleShot(0, this, &HistorySearch::ExportStep);
        return;
    }
    const bool committed = run.file->commit();
    const QString error = committed ? QString() : run.file->errorString();
    export_.reset();
    emit ExportDone(path, error);
}

}  // namespace quorvane
