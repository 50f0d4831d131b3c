#pragma once
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <memory>

#include "feed/FeedSettings.h"

namespace quorvane {

class FeedWorker;

// The live feed: the station's sound as MP3 to an Icecast server, its title
// following the hits. Everything that talks to the server or encodes runs on
// a worker thread of its own, so a slow or absent server never holds up the
// window or the poll; this object lives on the main thread and only hands
// over sound blocks and titles. A server that is down, refuses the password
// or goes away is tried again after a growing pause (1 s doubling to 60 s).
class FeedStreamer : public QObject {
    Q_OBJECT
public:
    explicit FeedStreamer(QString appDirectory, QObject* parent = nullptr);
    ~FeedStreamer() override;

    // feed.txt as read last (Load) or saved (Save).
    const FeedSettings& Settings() const { return settings_; }
    // Reads feed.txt; its notices go out as Notice.
    void Load();
    // Writes feed.txt whole (temporary file and rename); false and *error
    // when it cannot be written, the old file kept.
    bool Save(const FeedSettings& settings, QString* error);

    // Starts (again, with the settings now read) or stops the feed.
    void Start();
    void Stop();
    bool Running() const { return running_; }
    // At start-up: starts when feed.txt says start=1 or forced (--feed).
    void StartForRun(bool forced);

    // A block of the sound input (interleaved 16-bit frames), from the tap.
    void PushSound(const std::int16_t* samples, std::int64_t frames, int rate, int channels);
    // The stream title: a hit's names (UTF-8), or the idle title when empty.
    void ShowTitle(const QString& title);
    const QString& Title() const { return title_; }
    const QString& StateText() const { return state_; }

signals:
    // "Feed: on air", "Feed: reconnecting in 20 s", ...
    void StateChanged(const QString& text);
    // A line of feed.txt that was not used, or an address that cannot be.
    void Notice(const QString& text);
    // The feed started or stopped wanting sound.
    void RunningChanged(bool running);

private:
    void SetState(const QString& text);

    QString appDirectory_;
    FeedSettings settings_;
    QThread thread_;
    FeedWorker* worker_ = nullptr;
    bool running_ = false;
    QString title_;
    QString state_;
    // Sound blocks handed over and not yet taken by the worker: when it lags
    // this far behind, new blocks are dropped instead of piling up.
    std::shared_ptr<std::atomic<int>> pending_;
};

}  // namespace quorvane
