#pragma once
#include <QGroupBox>
#include <functional>

class QCheckBox;
class QPushButton;

namespace quorvane {

class HitLog;
class HitRecorder;

// The "Log Settings" frame: "Log To Text File", "Record Audio" and the log
// folder ("Log Directory"). The harvest's controls sit in it too.
class LogSettingsFrame : public QGroupBox {
    Q_OBJECT
public:
    LogSettingsFrame(QWidget* tab, HitLog& log, HitRecorder& recorder, QString appDirectory,
                     std::function<void(const QString&)> tell, std::function<void()> focusPicture1);

    // The saved ticks, restored without writing anything yet.
    void Restore(bool logText, bool recordAudio);
    // The folder chooser of "Log Directory" (replaceable by tests).
    void SetFolderChooser(std::function<QString()> chooser) { chooseFolder_ = std::move(chooser); }

private:
    void LogTextCheck_Click();
    void log_dir_Click();

    HitLog& log_;
    HitRecorder& recorder_;
    QString appDirectory_;
    std::function<void(const QString&)> tell_;
    std::function<void()> focusPicture1_;
    std::function<QString()> chooseFolder_;
    QCheckBox* LogTextCheck = nullptr;
    QCheckBox* RecordAudioCheck = nullptr;
    QPushButton* log_dir = nullptr;
};

}  // namespace quorvane
