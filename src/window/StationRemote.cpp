#include "window/StationRemote.h"

#include <memory>
#include <string>
#include <utility>

#include "alerts/qt/AlertWatcher.h"
#include "input/qt/KeyPlayer.h"
#include "monitor/qt/HitLog.h"
#include "monitor/qt/HitRecorder.h"
#include "web/RemoteMessages.h"
#include "web/qt/RemoteServer.h"
#include "window/Station.h"

namespace quorvane {

RemoteServer* ServeStation(Station& station, QObject* parent) {
    auto* server = new RemoteServer(station.AppDirectory(), {}, parent);
    RemoteHost host;
    host.press = [&station](const std::string& key) { return station.Keys().Click(key); };
    host.keysBusy = [&station] { return station.Keys().Playing(); };
    // "Listen" is one tap on the station's sound input while any page listens.
    auto tap = std::make_shared<int>(0);
    host.listen = [&station, server, tap](bool on) {
        if (*tap != 0) station.Recorder().RemoveSoundTap(std::exchange(*tap, 0));
        if (!on) return true;
        bool opened = false;
        *tap = station.Recorder().AddSoundTap(
            [server](const std::int16_t* samples, qint64 frames, int rate, int channels) {
                server->PushSound(samples, frames, rate, channels);
            },
            &opened);
        return opened;
    };
    server->SetHost(std::move(host));

    QObject::connect(&station, &Station::Ticked, server, [server](const TickOutcome& outcome) {
        server->ShowDisplay(MakeDisplayFrame(outcome.Text1, outcome.FreqBox, outcome.Icons, outcome.HitActive));
        server->PollRoundDone();
    });
    QObject::connect(&station, &Station::Text3Changed, server, &RemoteServer::ShowStatus);
    QObject::connect(&station.Keys(), &KeyPlayer::Latched, server, [&station, server] {
        const KeyPad& pad = station.Keys().Pad();
        server->ShowLatches(pad.FunctionHeld() == "1", pad.ReverseHeld() == "1");
    });
    // The pages mark the alert rows as the window's log does, and again when the list changes.
    server->SetAlertMarker([&station](const LogRow& row) { return station.Alerts().Marks(row); });
    QObject::connect(&station.Alerts(), &AlertWatcher::ListChanged, server, &RemoteServer::RemarkLog);
    QObject::connect(&station.Log(), &HitLog::RowAdded, server, &RemoteServer::AddLogRow);
    QObject::connect(&station.Log(), &HitLog::Cleared, server, &RemoteServer::ClearLog);
    server->ShowStatus(station.Text3());
    server->ShowLog(station.Log().Text().Rows());
    QObject::connect(&station, &Station::ShuttingDown, server, &RemoteServer::Stop);
    return server;
}

}  // namespace quorvane
