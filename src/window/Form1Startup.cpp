// Start-up and shut-down of the main window: the settings files are read
// once when the window is built and pgm_settings.txt is written when it closes.
#include <QDateTime>
#include <QLineEdit>
#include <QTabWidget>

#include "app/qt/AppFiles.h"
#include "app/ProgramName.h"
#include "app/qt/Twips.h"
#include "history/qt/HistoryTab.h"
#include "input/qt/MacroFrames.h"
#include "link/qt/ComPortFrame.h"
#include "monitor/qt/HitLog.h"
#include "monitor/qt/HitRecorder.h"
#include "monitor/qt/LogSettingsFrame.h"
#include "tools/qt/HarvestPanel.h"
#include "tools/qt/TunerTab.h"
#include "window/Form1.h"

#include "mqtt/qt/MqttBridge.h"
#include "window/LayoutSwitcher.h"
#include "window/Station.h"
#include "window/WindowSettingsFrame.h"
#include "window/WindowStyle.h"

namespace quorvane {

void Form1::Form_Load() {
    station_->SetPrompt("Select COM Port");
    Text4->setText(kVersionText);

    const bool comSaved = FileExists(JoinPath(AppDirectory(), kComSettingsFile));
    if (comSaved) {
        const ComSettings com = station_->ReadComSettings();
        comPort_->Choose(com.portIndex, com.speedIndex);
        if (com.portIndex >= 0 && com.speedIndex >= 0) station_->Run(com.portIndex, com.speedIndex, false);
        // Said once, for a few seconds, over the indicator.
        if (!com.pollIntervalNotice.empty() && station_->Running()) {
            station_->Note(QString::fromStdString(com.pollIntervalNotice));
        }
    }
    macros_->Load();
    station_->LoadHitIntel();
    if (!comSaved) SSTab1->setCurrentIndex(3);
    style_->SetClient(this);  // before a saved layout takes the frame away
    ApplyPgmSettings();
    station_->StartHistory();
    SSTab1_Click(SSTab1->currentIndex());
}

void Form1::ApplyPgmSettings() {
    const auto bytes = ReadFileBytes(JoinPath(AppDirectory(), kPgmSettingsFile));
    if (!bytes) return;
    pgm_ = ReadPgmSettings(*bytes);
    harvest_->SetDelayIndex(pgm_.delayIndex);
    tuner_->SetStateIndex(0, pgm_.stateIndex1);
    tuner_->SetStateIndex(1, pgm_.stateIndex2);
    if (pgm_.tab) SSTab1->setCurrentIndex(*pgm_.tab);
    station_->Log().SetLogDirectory(pgm_.logDirectory);
    logSettings_->Restore(pgm_.logText == 1, pgm_.recordAudio == 1);
    windowSettings_->SetAlwaysOnTop(pgm_.alwaysOnTop == 1);
    layout_->Restore(pgm_.layoutCode);
    if (pgm_.left && pgm_.top) {
        move(static_cast<int>(*pgm_.left / kTwipsPerPixel), static_cast<int>(*pgm_.top / kTwipsPerPixel));
    }
}

void Form1::Form_Unload() {
    pgm_.tab = SSTab1->currentIndex();
    pgm_.stateIndex1 = tuner_->StateIndex(0);
    pgm_.stateIndex2 = tuner_->StateIndex(1);
    pgm_.alwaysOnTop = windowSettings_->AlwaysOnTop() ? 1 : 0;
    pgm_.layoutCode = LayoutModeCode(layout_->Mode());
    pgm_.logText = station_->Log().WritesFile() ? 1 : 0;
    pgm_.recordAudio = station_->Recorder().Wanted() ? 1 : 0;
    pgm_.logDirectory = station_->Log().LogDirectory();
    pgm_.left = static_cast<double>(x()) * kTwipsPerPixel;
    pgm_.top = static_cast<double>(y()) * kTwipsPerPixel;
    mqtt_->Stop();  // "offline" before the window goes
    station_->Shutdown();
    QString error;
    if (!WriteFileAtomically(JoinPath(AppDirectory(), kPgmSettingsFile), WritePgmSettings(pgm_), &error)) {
        qWarning("pgm_settings.txt could not be written: %s", qPrintable(error));
    }
}

}  // namespace quorvane
