#pragma once
#include <QSqlDatabase>
#include <QString>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "history/HistoryServer.h"
#include "history/ServerRules.h"
#include "history/qt/HistoryReading.h"
#include "history/qt/HistoryStore.h"

class QSqlError;

namespace quorvane {

// The history shared by several stations on a PostgreSQL server, through a
// connection of its own (Qt's QPSQL driver), used on one thread: the
// station's hits go there, and the History tab reads every station's.
class ServerStore : public HistoryReading {
public:
    explicit ServerStore(HistoryServerSettings settings);
    ~ServerStore() override;
    ServerStore(const ServerStore&) = delete;
    ServerStore& operator=(const ServerStore&) = delete;

    // Connects when not connected, and makes the tables on a server that has
    // none yet. On failure: why, and the server's words.
    bool Connect(ServerProblem* problem, QString* detail);
    void Disconnect();
    bool Connected() const { return connected_; }
    // "quorvane@shack:5432/history": for messages, never the password.
    QString Name() const;
    const QString& Station() const { return station_; }
    const HistoryServerSettings& Settings() const { return settings_; }

    // Sends the hits in one transaction; a hit the server has already (the
    // same station, run, line and occurrence) is left as it is. Returns how
    // many were new to it, or nothing (why in *problem) when the transaction
    // failed; the connection is dropped when it was lost.
    std::optional<int> Send(const std::vector<QueuedHit>& hits, ServerProblem* problem, QString* detail);

    // Reading, for the History tab: every station's hits.
    std::array<qint64, 24> HourCounts(const HistoryFilter& filter) override;
    std::vector<ChannelCount> BusiestChannels(const HistoryFilter& filter, int limit) override;
    std::vector<HistoryRow> Rows(const HistoryFilter& filter, qint64 matches, const std::optional<RowKey>& after,
                                 int limit) override;
    std::optional<qint64> OldestStart() override;
    QStringList Stations() override;
    int ExportPage(const HistoryFilter& filter, std::optional<RowKey>& after, int limit, std::string& out) override;
    QString ReadError() const override { return readError_; }

private:
    QSqlDatabase Db() const;
    bool EnsureSchema(ServerProblem* problem, QString* detail);
    // The layout's version on the server (0: none yet), made when missing;
    // nothing, with *error set, when the transaction failed.
    std::optional<int> MakeSchema(QSqlError* error);
    std::optional<int> SendInTransaction(const std::vector<QueuedHit>& hits, QSqlError* error);
    void Rollback();
    bool Failed(const QSqlError& error, ServerProblem* problem, QString* detail);
    void ReadFailed(const QSqlError& error);
    std::array<qint64, 24> HoursOfNames(const HistoryFilter& filter, const QString& names, bool* worked);

    HistoryServerSettings settings_;
    std::optional<ServerAddress> address_;
    QString station_;
    QString name_;
    bool connected_ = false;
    // Ids the server gave, kept for the connection's life.
    std::map<std::tuple<QString, QString>, qint64> runIds_;
    std::map<std::array<QString, 6>, qint64> nameIds_;
    QString readError_;
};

}  // namespace quorvane
