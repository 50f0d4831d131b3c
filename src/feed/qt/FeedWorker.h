#pragma once
#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/RetryPause.h"
#include "feed/FeedSettings.h"
#include "feed/Mp3Encoder.h"

struct shout;

namespace quorvane {

// The feed's worker thread side: the Icecast connection (libshout in its
// non-blocking mode, so stopping never waits for a connection attempt) and
// the MP3 encoder. Its slots are called queued from FeedStreamer.
class FeedWorker : public QObject {
    Q_OBJECT
public:
    FeedWorker();
    ~FeedWorker() override;

    void Begin(const FeedSettings& settings);
    void End();
    void Sound(const std::vector<std::int16_t>& samples, int rate, int channels);
    void Title(const QByteArray& utf8);

signals:
    void StateChanged(const QString& text);

private:
    void Connect();
    void CheckConnected();
    void Lost(FeedState state, const QString& reason);
    void SendTitle();
    void Close();
    void Say(FeedState state, int waitMs = 0, const QString& reason = {});

    FeedSettings settings_;
    std::optional<FeedTarget> target_;
    shout* shout_ = nullptr;
    bool onAir_ = false;
    bool wanted_ = false;
    std::unique_ptr<Mp3Encoder> encoder_;
    // Children, so that they move to the worker's thread with it.
    QTimer* poll_ = new QTimer(this);   // the connection is being made
    QTimer* retry_ = new QTimer(this);  // the pause before the next try
    RetryPause pause_;
    QByteArray title_;
    bool titleSent_ = false;
    qint64 connectStarted_ = 0;
};

}  // namespace quorvane
