#include "monitor/qt/LogSettingsFrame.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>

#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "app/qt/Twips.h"
#include "monitor/LogText.h"
#include "monitor/qt/HitLog.h"
#include "monitor/qt/HitRecorder.h"

namespace quorvane {

LogSettingsFrame::LogSettingsFrame(QWidget* tab, HitLog& log, HitRecorder& recorder, QString appDirectory,
                                   std::function<void(const QString&)> tell, std::function<void()> focusPicture1)
    : QGroupBox("Log Settings", tab),
      log_(log),
      recorder_(recorder),
      appDirectory_(std::move(appDirectory)),
      tell_(std::move(tell)),
      focusPicture1_(std::move(focusPicture1)) {
    setObjectName("Frame2");
    setGeometry(TwipsRect(4200, 120, 3600, 2100));
    LogTextCheck = NewControl<QCheckBox>(this, "LogTextCheck", TwipsRect(150, 330, 2400, 300), "Log To Text File");
    connect(LogTextCheck, &QCheckBox::clicked, this, &LogSettingsFrame::LogTextCheck_Click);

    RecordAudioCheck = NewControl<QCheckBox>(this, "RecordAudioCheck", TwipsRect(150, 690, 2400, 300), "Record Audio");
    connect(RecordAudioCheck, &QCheckBox::toggled, this, [this](bool ticked) { recorder_.SetWanted(ticked); });
    connect(RecordAudioCheck, &QCheckBox::clicked, this, [this] { focusPicture1_(); });

    log_dir = NewControl<QPushButton>(this, "log_dir", TwipsRect(150, 1050, 1600, 380), "Log Directory");
    connect(log_dir, &QPushButton::clicked, this, &LogSettingsFrame::log_dir_Click);
}

void LogSettingsFrame::Restore(bool logText, bool recordAudio) {
    LogTextCheck->setChecked(logText);
    // Restoring the tick does not write the file yet: the first hit does.
    log_.SetWritesFile(logText, false);
    RecordAudioCheck->setChecked(recordAudio);
}

void LogSettingsFrame::LogTextCheck_Click() {
    log_.SetWritesFile(LogTextCheck->isChecked());
    focusPicture1_();
}

void LogSettingsFrame::log_dir_Click() {
    const QString chosen = chooseFolder_ ? chooseFolder_()
                                         : QFileDialog::getExistingDirectory(this, "Log Directory", QDir::homePath());
    // A folder is file-system text, kept as the file system's bytes.
    const std::string folder = FileSystemBytes(QDir::toNativeSeparators(chosen));
    if (IsUsableLogFolder(folder)) {
        log_.SetLogDirectory(folder);
        tell_("Log Directory now set to " + FileSystemText(folder));
    } else {
        log_.SetLogDirectory(FileSystemBytes(appDirectory_));
        tell_("Log Directory defaulting back to " + appDirectory_);
    }
    focusPicture1_();
}

}  // namespace quorvane
