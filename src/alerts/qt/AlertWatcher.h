#pragma once
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

#include "alerts/AlertLatch.h"
#include "alerts/AlertText.h"
#include "alerts/qt/AlertFile.h"
#include "monitor/LogGrid.h"
#include "monitor/TickOutcome.h"

namespace quorvane {

// Watches the poll's hits for the channels and talkgroups of alerts.txt and
// tells the user at once, while the transmission is still on: a desktop
// notification through the freedesktop notification service
// (org.freedesktop.Notifications.Notify on the session bus), once per hit.
// With no notification service, or no session bus at all, the alert goes to
// the fallback instead (the window's Text3), in a few plain words; nothing
// else changes and no alert is lost. Needs no window: a station without a
// screen can use it as it is.
class AlertWatcher : public QObject {
    Q_OBJECT
public:
    // Reads and watches the list at alertsPath; notifies on bus.
    explicit AlertWatcher(const QString& alertsPath, QObject* parent = nullptr,
                          const QDBusConnection& bus = QDBusConnection::sessionBus());

    AlertFile& File() { return file_; }

    // Takes one poll tick: a hit that starts, or whose names become known,
    // and matches the list alerts (at most once per hit). The notification
    // is on its way when this returns; the tick never waits for it.
    void Follow(const TickOutcome& outcome);

    // Whether a row of the log grid is a hit the list watches (the grid
    // marks it): LogGridModel::SetRowMarker takes this.
    bool Marks(const LogGridRow& row) const;

    // A sound with each alert: the notification asks for the desktop's
    // message sound; the fallback rings the bell.
    void SetSound(bool on) { sound_ = on; }
    bool Sound() const { return sound_; }

    // Where an alert goes that no notification service took.
    void SetFallback(std::function<void(const QString&)> fallback) { fallback_ = std::move(fallback); }

signals:
    // Every alert, whichever way it goes: the summary and the body as shown.
    void Alerted(const QString& summary, const QString& body);
    // The list changed (alerts.txt edited or saved): marks are due again.
    void ListChanged();

private:
    void Notify(const AlertText& text);
    void Fallback(const QString& line);

    AlertFile file_;
    AlertLatch latch_;
    QDBusConnection bus_;
    bool sound_ = false;
    std::function<void(const QString&)> fallback_;
};

}  // namespace quorvane
