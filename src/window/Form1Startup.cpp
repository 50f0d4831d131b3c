// Start-up and shut-down of the main window: the settings files are read
// once when the window is built and pgm_settings.txt is written when it closes.
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>

#include "app/qt/AppFiles.h"
#include "window/Form1.h"
#include "tools/qt/HarvestPanel.h"
#include "history/qt/HistoryTab.h"
#include "app/qt/ProgramOptions.h"
#include "app/qt/ScannerText.h"
#include "monitor/qt/SystemClock.h"
#include "tools/qt/TunerTab.h"
#include "window/LayoutSwitcher.h"
#include "app/qt/Twips.h"
#include "window/WindowSettingsFrame.h"
#include "window/WindowStyle.h"

namespace quorvane {
void Form1::Form_Load() {
    // The run's date and time stamps name the log file and end every log line.
    const QDateTime now = QDateTime::currentDateTime();
    launchDate_ = LaunchDateText(now.date().year(), now.date().month(), now.date().day());
    launchTime_ = FixForLog(now.time().toString("h:mm:ss AP").toStdString());
    poll_ = std::make_unique<PollCycle>(hitIntel_, skipList_, *systemClock_, launchDate_);
    history_->StartRun(now, launchDate_, launchTime_);

    SetText3Base("Select COM Port");
    Text4->setText(kVersionText);
    Timer1.setInterval(kDefaultPollInterval);

    const QString comPath = JoinPath(appDirectory_, kComSettingsFile);
    const bool comSaved = FileExists(comPath);
    if (comSaved) {
        const ComSettings com = ReadComSettings(ReadFileBytes(comPath).value_or(""));
        Timer1.setInterval(com.pollInterval);
        if (com.portIndex >= 0) {
            Combo1->setCurrentIndex(com.portIndex);
            Combo1_Click(com.portIndex);
        }
        if (com.portIndex >= 0 && com.speedIndex >= 0) {
            Combo2->setCurrentIndex(com.speedIndex);
            Combo2_Click(com.speedIndex);
            StartRunning(false);
        }
        // Said once, for a few seconds, over the indicator.
        if (!com.pollIntervalNotice.empty() && running_) Note(QString::fromStdString(com.pollIntervalNotice));
    }

    if (const auto macros = ReadFileBytes(JoinPath(appDirectory_, kMacroSettingsFile))) {
        const MacroTexts texts = ReadMacroSettings(*macros);
        for (int i = 0; i < 3; ++i) {
            if (m[i]) m[i]->setText(ScreenText(texts[static_cast<size_t>(i)]));
        }
    }

    LoadHitIntel();
    if (!comSaved) SSTab1->setCurrentIndex(3);
    style_->SetClient(this);  // before a saved layout takes the frame away
    ApplyPgmSettings();
    SSTab1_Click(SSTab1->currentIndex());
}

void Form1::ApplyPgmSettings() {
    const auto bytes = ReadFileBytes(JoinPath(appDirectory_, kPgmSettingsFile));
    if (!bytes) return;
    pgm_ = ReadPgmSettings(*bytes);
    harvest_->SetDelayIndex(pgm_.delayIndex);
    tuner_->SetStateIndex(0, pgm_.stateIndex1);
    tuner_->SetStateIndex(1, pgm_.stateIndex2);
    if (pgm_.tab) SSTab1->setCurrentIndex(*pgm_.tab);
    // Restoring the tick does not write the file yet: the first hit does.
    LogTextCheck->setChecked(pgm_.logText == 1);
    if (RecordAudioCheck) RecordAudioCheck->setChecked(pgm_.recordAudio == 1);
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
    pgm_.left = static_cast<double>(x()) * kTwipsPerPixel;
    pgm_.top = static_cast<double>(y()) * kTwipsPerPixel;
    QString error;
    if (!WriteFileAtomically(JoinPath(appDirectory_, kPgmSettingsFile), WritePgmSettings(pgm_), &error)) {
        qWarning("pgm_settings.txt could not be written: %s", qPrintable(error));
    }
}

}  // namespace quorvane
