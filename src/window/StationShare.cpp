#include "window/StationShare.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <memory>
#include <utility>
#include <variant>

#include "app/qt/ScannerText.h"
#include "calls/qt/CallUploader.h"
#include "feed/qt/FeedStreamer.h"
#include "monitor/qt/HitLog.h"
#include "monitor/qt/HitRecorder.h"
#include "window/Station.h"

namespace quorvane {
namespace {

QString Utf8Screen(const std::string& bytes) { return ScreenText(bytes).trimmed(); }

void WireFeed(Station& station, FeedStreamer* feed) {
    auto tap = std::make_shared<int>(0);
    QObject::connect(feed, &FeedStreamer::RunningChanged, feed, [&station, feed, tap](bool running) {
        if (*tap != 0) station.Recorder().RemoveSoundTap(std::exchange(*tap, 0));
        if (!running) return;
        bool opened = false;
        *tap = station.Recorder().AddSoundTap(
            [feed](const std::int16_t* samples, qint64 frames, int rate, int channels) {
                feed->PushSound(samples, frames, rate, channels);
            },
            &opened);
        // The tap stays set and hears the input once it opens again.
        if (!opened) emit feed->Notice("The feed has no sound yet: " + station.Recorder().SoundInputError());
    });
    QObject::connect(&station, &Station::Ticked, feed, [feed](const TickOutcome& outcome) {
        for (const TickAction& action : outcome.Actions) {
            if (const auto* started = std::get_if<HitStarted>(&action)) {
                const LiveHit& hit = started->Hit;
                if (hit.Skipped) continue;
                feed->ShowTitle(ScreenText(HitTitle(hit.SystemText, hit.GroupText, hit.ChannelText,
                                                    outcome.DisplayLine1, outcome.DisplayLine2)));
            } else if (std::holds_alternative<HitEnded>(action)) {
                feed->ShowTitle({});
            }
        }
    });
}

void WireCalls(Station& station, CallUploader* calls) {
    // The start of the hit now on, as the tick that saw it start read the clock.
    auto started = std::make_shared<QDateTime>();
    QObject::connect(&station, &Station::Ticked, calls, [started](const TickOutcome& outcome) {
        for (const TickAction& action : outcome.Actions) {
            if (std::holds_alternative<HitStarted>(action)) *started = QDateTime::currentDateTimeUtc();
        }
    });
    QObject::connect(&station, &Station::HitLogged, calls,
                     [&station, calls, started](const HitEnded& ended, const std::string& recordingFile) {
                         const QDateTime start = started->isValid() ? *started : QDateTime::currentDateTimeUtc();
                         *started = QDateTime();
                         if (recordingFile.empty() || !ended.LogLine) return;
                         const RecordingNames& names = ended.Names;
                         CallMetadata call;
                         call.startUtc = start.toString(Qt::ISODateWithMs).toStdString();
                         call.frequencyHz = FrequencyHz(ended.RawFrequency);
                         call.talkgroup = CallTalkgroup(calls->Settings(), ended.TrunkedHit, names.TalkgroupId,
                                                        names.ChannelText, ended.RawFrequency);
                         call.system = Utf8Screen(names.SystemText).toStdString();
                         call.group = Utf8Screen(names.GroupText).toStdString();
                         call.channel = Utf8Screen(names.ChannelText).toStdString();
                         calls->Add(call, QDir(station.Log().FolderPath())
                                              .filePath(QFile::decodeName(QByteArray::fromStdString(recordingFile))));
                     });
}

}  // namespace

StationShare ShareStation(Station& station, QObject* parent) {
    StationShare share;
    share.feed = new FeedStreamer(station.AppDirectory(), parent);
    WireFeed(station, share.feed);
    share.calls = new CallUploader(station.AppDirectory(), parent);
    WireCalls(station, share.calls);
    QObject::connect(&station, &Station::ShuttingDown, share.feed, &FeedStreamer::Stop);
    return share;
}

}  // namespace quorvane
