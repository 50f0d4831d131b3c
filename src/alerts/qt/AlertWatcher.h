#pragma once
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "alerts/AlertLatch.h"
#include "alerts/AlertText.h"
#include "alerts/ToneDetector.h"
#include "alerts/WebHook.h"
#include "alerts/qt/AlertFile.h"
#include "alerts/qt/WebHookSender.h"
#include "monitor/LogText.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

// Watches the poll's hits for the channels and talkgroups of alerts.txt and
// tells the user at once, while the transmission is still on: a desktop
// notification through the freedesktop notification service
// (org.freedesktop.Notifications.Notify on the session bus), once per hit.
// With no notification service, or no session bus at all, the alert goes to
// the fallback instead (the window's Text3), in a few plain words; nothing
// else changes and no alert is lost. Every alert also goes to the web hooks
// of the list's notify= lines, and to whoever follows AlertRaised (the MQTT
// broker).
//
// When the list names two-tone pages (tones=), the sound input is listened
// to during each hit (through the sound tap the station gives) and a page
// heard alerts like a watched channel, and its log row is marked. Needs no
// window: a station without a screen can use it as it is.
class AlertWatcher : public QObject {
    Q_OBJECT
public:
    // Reads and watches the list at alertsPath; notifies on bus.
    explicit AlertWatcher(const QString& alertsPath, QObject* parent = nullptr,
                          const QDBusConnection& bus = QDBusConnection::sessionBus());

    AlertFile& File() { return file_; }
    WebHookSender& Hooks() { return hooks_; }

    // Takes one poll tick: a hit that starts, or whose names become known,
    // and matches the list alerts (at most once per hit). The notification
    // is on its way when this returns; the tick never waits for it.
    void Follow(const TickOutcome& outcome);

    // Whether a row of the log is a hit the list watches, or one a tone
    // page was heard on (the grid marks it): LogGridModel::SetRowMarker
    // takes this.
    bool Marks(const LogRow& row) const;

    // A sound with each alert: the notification asks for the desktop's
    // message sound; the fallback rings the bell.
    void SetSound(bool on) { sound_ = on; }
    bool Sound() const { return sound_; }

    // Asks whether a notification service is there; with alerts or pages
    // to watch and none there, ServiceMissing follows (once).
    void CheckService();

    // Where an alert goes that no notification service took.
    void SetFallback(std::function<void(const QString&)> fallback) { fallback_ = std::move(fallback); }

    // The sound input for the tone pages: add gives a tap's number (every
    // block of interleaved 16-bit frames at its rate and channel count goes
    // to the listener), remove takes it off.
    using SoundListener = std::function<void(const std::int16_t* samples, qint64 frames, int rate, int channels)>;
    void SetSoundTaps(std::function<int(SoundListener)> add, std::function<void(int)> remove) {
        addTap_ = std::move(add);
        removeTap_ = std::move(remove);
    }
    bool ListeningForTones() const { return tap_ != 0; }

signals:
    // Every alert, whichever way it goes: the summary and the body as shown.
    void Alerted(const QString& summary, const QString& body);
    // Every alert, as the hooks and the broker are told it.
    void AlertRaised(const quorvane::AlertFacts& facts);
    void ServiceMissing(const QString& text);
    // The list changed (alerts.txt edited or saved), or a row is to be
    // marked for a tone page: marks are due again.
    void ListChanged();

private:
    void Raise(const AlertText& text, const LiveHit& hit, const std::string& reason);
    void Notify(const AlertText& text);
    void Fallback(const QString& line);
    void StartTones();
    void StopTones();
    void HearSound(const std::int16_t* samples, qint64 frames, int rate, int channels);

    AlertFile file_;
    AlertLatch latch_;
    QDBusConnection bus_;
    bool sound_ = false;
    std::function<void(const QString&)> fallback_;
    WebHookSender hooks_;
    std::function<int(SoundListener)> addTap_;
    std::function<void(int)> removeTap_;
    int tap_ = 0;
    ToneDetector tones_;
    std::optional<LiveHit> hit_;      // the hit on, for a page heard during it
    bool pageHeard_ = false;          // on the hit on
    std::set<std::array<std::string, kLogFields>> pageRows_;  // log rows (their fields) of hits a page was heard on
};

}  // namespace quorvane
