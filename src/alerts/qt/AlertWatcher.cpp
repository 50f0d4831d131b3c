#include "alerts/qt/AlertWatcher.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QVariantMap>

#include "app/qt/ScannerText.h"

namespace quorvane {
namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
// The sound theme's name for a message that wants attention.
constexpr const char* kSoundName = "message-new-instant";
// Let the notification server choose how long the bubble stays.
constexpr int kServerTimeout = -1;

}  // namespace

AlertWatcher::AlertWatcher(const QString& alertsPath, QObject* parent, const QDBusConnection& bus)
    : QObject(parent), file_(alertsPath), bus_(bus) {
    connect(&file_, &AlertFile::Changed, this, &AlertWatcher::ListChanged);
}

void AlertWatcher::Follow(const TickOutcome& outcome) {
    if (const std::optional<LiveHit> hit = latch_.Follow(outcome, file_.List())) Notify(DescribeAlert(*hit));
}

bool AlertWatcher::Marks(const LogGridRow& row) const { return file_.List().Matches(SubjectOfLogRow(row)); }

void AlertWatcher::Notify(const AlertText& text) {
    const QString summary = ScreenText(text.Summary);
    const QString body = ScreenText(text.Body);
    const QString line = ScreenText(text.Line);
    emit Alerted(summary, body);
    if (!bus_.isConnected()) {
        Fallback(line);
        return;
    }
    QVariantMap hints;
    if (sound_) hints.insert("sound-name", QString(kSoundName));
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
    // app name, id to replace (none), icon, summary, body (the server may read
    // markup there), actions, hints, timeout
    call << QString("Quorvane") << 0u << QString("quorvane") << summary << body.toHtmlEscaped() << QStringList()
         << hints << kServerTimeout;
    // Asked without waiting: the poll goes on, and a missing service is heard
    // of in its reply.
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, line](QDBusPendingCallWatcher* reply) {
        if (reply->isError()) Fallback(line);
        reply->deleteLater();
    });
}

void AlertWatcher::Fallback(const QString& line) {
    if (sound_ && qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
    if (fallback_) fallback_(line);
}

}  // namespace quorvane
