#include "window/Headless.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "app/SettingsFiles.h"
#include "app/qt/AppFiles.h"
#include "input/qt/KeyPlayer.h"
#include "link/qt/LinkRunner.h"
#include "monitor/qt/HitLog.h"
#include "monitor/qt/HitRecorder.h"
#include "monitor/qt/Poller.h"
#include "web/qt/RemoteServer.h"
#include "window/Station.h"
#include "mqtt/qt/MqttBridge.h"
#include "window/StationMqtt.h"
#include "window/StationRemote.h"
#include "window/StationShare.h"
#include "calls/qt/CallUploader.h"
#include "feed/qt/FeedStreamer.h"
#ifndef Q_OS_WIN
#include "program/qt/QuitSignals.h"
#endif

namespace quorvane {
namespace {

// The port is tried this often until it opens (a USB adapter that comes
// up after the computer).
constexpr int kRunRetryMs = 2000;

void Say(const QString& text) { std::fprintf(stderr, "%s\n", text.toUtf8().constData()); }

}  // namespace

int RunHeadless(const QString& appDirectory, const ProgramOptions& options) {
#ifndef Q_OS_WIN
    QuitSignals quitSignals;
#endif
    const QDateTime startedAt = QDateTime::currentDateTime();
    Station station(appDirectory, startedAt);
    QObject::connect(&station, &Station::TellRequested, [](const QString& text, const std::function<void()>& onClosed) {
        Say(text);
        if (onClosed) onClosed();
    });
    QObject::connect(&station.Runner(), &LinkRunner::MessageChanged, [](const QString& message) {
        if (!message.isEmpty()) Say(message);
    });

    station.StartFromAppFolder();
    // The macros as the window would restore them.
    const MacroTexts macros =
        ReadMacroSettings(ReadFileBytes(JoinPath(appDirectory, kMacroSettingsFile)).value_or(""));
    station.Keys().SetMacroText([macros](int number) {
        return number >= 1 && number <= 3 ? macros[static_cast<size_t>(number - 1)] : std::string();
    });

    RemoteServer* remote = ServeStation(station, &station);
    if (!remote->StartForRun(options.web)) return 1;
    MqttBridge* mqtt = ConnectMqtt(station, &station);
    QObject::connect(mqtt, &MqttBridge::StateChanged, [](const QString& text) { Say(text); });
    const bool mqttStarted = mqtt->StartForRun(options.mqtt);
    for (const std::string& notice : mqtt->Notices()) Say(QString::fromStdString(notice));
    if (!mqttStarted && options.mqtt) {
        Say(mqtt->Problem());
        return 1;
    }
    // The feed's and the calls' states and notices, each change one line.
    const StationShare share = ShareStation(station, &station);
    for (const auto& said : {&FeedStreamer::StateChanged, &FeedStreamer::Notice}) QObject::connect(share.feed, said, Say);
    for (const auto& said : {&CallUploader::StateChanged, &CallUploader::Notice}) QObject::connect(share.calls, said, Say);
    share.feed->Load();
    share.calls->Load();
    share.feed->StartForRun(options.feed);

    // The port is tried again every 2 s until it opens (a USB adapter that
    // comes up after the computer); com_settings.txt is read again each time.
    QTimer retry;
    retry.setInterval(kRunRetryMs);
    bool told = false;
    const auto run = [&] {
        const Station::SavedPort port = station.RunSavedPort();
        if (port.com.portIndex < 0 || port.com.speedIndex < 0) {
            Say(QString("%1 in %2 names no port and speed: choose them once with Run in the window, or write the "
                        "file (port list index 0-9, speed index 0-3 for 9600-57600, poll interval in ms; one a line)")
                    .arg(kComSettingsFile, appDirectory));
            QCoreApplication::exit(1);
        } else if (port.running) {
            retry.stop();
        } else if (!retry.isActive()) {
            Say(station.Runner().Failure() + " - trying again every 2 s");
            retry.start();
        }
        if (!told && !port.com.pollIntervalNotice.empty()) Say(QString::fromStdString(port.com.pollIntervalNotice));
        told = true;
    };
    QObject::connect(&retry, &QTimer::timeout, run);
#ifndef Q_OS_WIN
    QObject::connect(&quitSignals, &QuitSignals::Received, [&] {
        retry.stop();
        station.Shutdown();
        QCoreApplication::exit(0);
    });
#endif
    QTimer::singleShot(0, run);
    return QCoreApplication::exec();
}

}  // namespace quorvane
