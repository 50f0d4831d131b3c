#include "alerts/qt/AlertWatcher.h"

#include <QApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDateTime>
#include <QStringList>
#include <QVariantMap>

#include "app/qt/LocalTime.h"
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
    FollowHitActions(
        outcome,
        [this](const LiveHit& hit) {
            hit_ = hit;
            pageHeard_ = false;
            if (!hit.Skipped && !file_.List().Tones().empty()) StartTones();
        },
        [this](const LiveHit& hit) { hit_ = hit; },
        [this](const HitEnded& ended) {
            StopTones();
            if (pageHeard_ && ended.LogLine) {
                pageRows_.insert(LogRowOf(*ended.LogLine).Fields);
                emit ListChanged();
            }
            hit_.reset();
            pageHeard_ = false;
        });
    if (const std::optional<LiveHit> hit = latch_.Follow(outcome, file_.List())) {
        Raise(DescribeAlert(*hit), *hit, "watched channel");
    }
}

bool AlertWatcher::Marks(const LogRow& row) const {
    if (file_.List().Matches(SubjectOfLogRow(row))) return true;
    return pageRows_.count(row.Fields) > 0;
}

void AlertWatcher::StartTones() {
    StopTones();
    if (!addTap_) return;
    tones_ = ToneDetector(file_.List().Tones());
    tap_ = addTap_([this](const std::int16_t* samples, qint64 frames, int rate, int channels) {
        HearSound(samples, frames, rate, channels);
    });
}

void AlertWatcher::StopTones() {
    if (tap_ != 0 && removeTap_) removeTap_(tap_);
    tap_ = 0;
}

void AlertWatcher::HearSound(const std::int16_t* samples, qint64 frames, int rate, int channels) {
    if (!hit_) return;
    for (const size_t page : tones_.Feed(samples, frames, rate, channels)) {
        const ToneWatch& watch = tones_.Watches()[page];
        pageHeard_ = true;
        Raise(DescribeTonePage(*hit_, watch), *hit_, "tones " + watch.Label);
    }
}

void AlertWatcher::Raise(const AlertText& text, const LiveHit& hit, const std::string& reason) {
    Notify(text);
    const AlertFacts facts = FactsOfAlert(text, hit, reason, IsoTimeNow());
    for (const std::string& url : file_.List().Hooks()) hooks_.Send(MakeHookRequest(url, facts));
    emit AlertRaised(facts);
}

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

void AlertWatcher::CheckService() {
    if (file_.List().Empty() && file_.List().Tones().empty()) return;
    const QString text("Desktop notifications are not available: alerts are shown here until the next hit");
    if (!bus_.isConnected()) {
        emit ServiceMissing(text);
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "GetServerInformation");
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, text](QDBusPendingCallWatcher* reply) {
        if (reply->isError()) emit ServiceMissing(text);
        reply->deleteLater();
    });
}

void AlertWatcher::Fallback(const QString& line) {
    if (sound_ && qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::beep();
    if (fallback_) fallback_(line);
}

}  // namespace quorvane
