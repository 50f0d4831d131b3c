#pragma once
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include <functional>

#include "app/SettingsFiles.h"
#include "input/KeyPad.h"
#include "input/SequenceQueue.h"
#include "input/Wheel.h"
#include "monitor/HitIntelTable.h"
#include "monitor/LogText.h"
#include "monitor/PollCycle.h"
#include "monitor/PollPacer.h"
#include "monitor/SkipList.h"
#include "link/qt/ScannerLink.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QKeyEvent;
class QWheelEvent;

namespace quorvane {

class HarvestPanel;
class HistoryTab;
class KeyButton;
class LayoutSwitcher;
class LogGridModel;
class SystemClock;
class TunerTab;
class WindowSettingsFrame;
class WindowStyle;

// The main window: the display panel, the keypad, the tabs, the serial link
// and the timers that drive them.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(const QString& appDirectory, QWidget* parent = nullptr);
    ~Form1() override;

    const QString& AppDirectory() const { return appDirectory_; }
    ScannerLink& Link() { return link_; }
    bool Running() const;

    // The click action of a key, as the mouse, the keyboard and the wheel run it.
    void ClickKey(const std::string& objectName);

    // The hit log of this run and the run's log file name parts.
    const LogText& Log() const { return log_; }
    // Puts a hit's line at the top of the log: the file (when "Log To Text
    // File" is ticked) and the grid follow at once.
    void AddLogLine(const std::string& line);
    QString LogFilePathNow() const;
    const HitIntelTable& HitIntel() const { return hitIntel_; }

    // Every message the window shows the user goes through here: a window
    // that does not stop the poll, and the last text kept for tests.
    void Tell(const QString& text, std::function<void()> onClosed = {});
    const QString& LastMessage() const { return lastMessage_; }
    // The folder chooser of "Log Directory" (replaceable by tests).
    void SetFolderChooser(std::function<QString()> chooser) { chooseFolder_ = std::move(chooser); }
    // Opens a web address in the user's browser; false when none could be
    // opened (replaceable by tests).
    void SetUrlOpener(std::function<bool(const QString&)> opener) { openUrl_ = std::move(opener); }
    // "1" while a free-text box has the keyboard focus: shortcuts stay quiet.
    bool TextEntryActive() const;

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the window.
    void BuildDisplayPanel();
    void BuildKeypad();
    void BuildTabs();
    void BuildSettingsTab(QWidget* tab);
    void BuildFooter();
    void BuildLogTab(QWidget* tab);
    void BuildLogSettings(QWidget* tab);
    void BuildExtendedTab(QWidget* tab);
    void BuildHarvestControls(QGroupBox* frame);
    void BuildMacroFrames(QWidget* tab);
    QWidget* BuildTunerTab();

    // Start-up and shut-down.
    void Form_Load();
    void Form_Unload();
    void ApplyPgmSettings();

    // The link.
    void Combo1_Click(int index);
    void Combo2_Click(int index);
    void Command2_Click();
    QString OpenScannerPort();
    void StartRunning(bool writeSettings);
    void StopRunning();
    void OnLinkLost();
    void OnLinkFailed(const QString& reason);
    void OnLinkOpened();
    void OnLinkBlockedChanged();
    void RetryLink();
    void ShowPortDevice();
    PortEntry CurrentPortEntry() const;
    QString PortDevice() const;

    // Text3: a link message (disconnected, no reply, harvest running) takes
    // precedence over the prompt or indicator text.
    void SetText3Base(const QString& text);
    void SetLinkMessage(const QString& text);
    // A short note: Text3 while stopped, a few seconds over the indicator
    // while running (unless the link has news of its own).
    void Note(const QString& text);
    void UpdateText3();

    // Keys and the command queue.
    bool ReadyForKeys();
    void RunSteps(const std::vector<Step>& steps);
    void PumpQueue();
    void FocusPicture1();

    // Every command outside the harvest goes out here, so the poll knows the
    // reply lines it still has to wait for.
    void SendToScanner(const std::string& text);

    // Polling and the hit log.
    void Timer1_Timer();
    void ApplyTick(const TickOutcome& outcome);
    void LogChanged();
    void WriteLogFile();
    void LogTextCheck_Click();
    void log_dir_Click();
    void key_clear_log_Click();
    void SSTab1_Click(int tab);
    void RefreshCaption(const std::string& line1, const std::string& line2);
    void ExtendedInfoShow(const ExtendedInfoSource& source);
    void LoadHitIntel();


    // Keyboard, wheel and macros.
    bool HandleShortcut(QKeyEvent* event);
    bool HandleWheel(QObject* watched, QWheelEvent* event);
    void SaveMacros_Click();
    void Picture1_Click();
    bool OpenUrl(const QString& address);

    // Recording the hits.
    struct Recorder;  // the sound input and the recording rules
    void BuildRecordingControls(QWidget* frame);
    bool RecordAudioTicked() const;
    void StartRecording();
    // The file name the recording was saved under; empty when it was not.
    std::string StopRecording(const RecordingNames& names);
    void SetUpAudio();
    void CloseAudio();
    void UpdateListening();
    void Timer3_Timer();

    QString appDirectory_;
    ScannerLink link_;
    KeyPad keyPad_;
    SequenceQueue queue_;
    QElapsedTimer clock_;
    QTimer queueTimer_;
    QTimer Timer1;
    QTimer reconnectTimer_;
    QString text3Base_;
    QString linkMessage_;
    PgmSettings pgm_;
    bool running_ = false;

    std::unique_ptr<SystemClock> systemClock_;
    HitIntelTable hitIntel_;
    SkipList skipList_;
    std::unique_ptr<PollCycle> poll_;
    PollPacer pacer_;
    LogText log_;
    std::string launchDate_;
    std::string launchTime_;
    int silentMs_ = 0;              // polling time since the last accepted reply
    QElapsedTimer quietTick_;       // since the last accepted tick with no hit
    bool logWriteFailing_ = false;  // reported once until a write succeeds again
    QString lastMessage_;
    std::function<QString()> chooseFolder_;
    std::function<bool(const QString&)> openUrl_;
    Wheel wheel_;
    HarvestPanel* harvest_ = nullptr;  // "Update Hit Inteligence" and its walk

    QWidget* Picture2 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QLineEdit* IconsSet1 = nullptr;
    QLineEdit* IconsSet2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* freq = nullptr;
    QLineEdit* floating_taskbar = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QLineEdit* Text4 = nullptr;
    QLabel* Picture1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QComboBox* Combo2 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* port_device = nullptr;
    QPushButton* Command2 = nullptr;
    QLineEdit* m[3] = {nullptr, nullptr, nullptr};
    std::map<std::string, KeyButton*> keys_;
    LogGridModel* gridModel_ = nullptr;
    QTableView* grdInfo = nullptr;
    QCheckBox* LogTextCheck = nullptr;
    QCheckBox* RecordAudioCheck = nullptr;
    QTimer Timer3;                  // the indicator in Text3 while the link runs
    Recorder* recorder_ = nullptr;  // a child object of the window
    QPushButton* log_dir = nullptr;
    QPushButton* key_clear_log = nullptr;
    QPushButton* SaveMacros = nullptr;
    QGroupBox* extended_info_frame = nullptr;
    QPlainTextEdit* extended_text = nullptr;
    QLabel* extended_photo = nullptr;
    TunerTab* tuner_ = nullptr;
    WindowStyle* style_ = nullptr;        // the window's frame and dragging
    LayoutSwitcher* layout_ = nullptr;    // the minus and plus buttons and the layouts
    WindowSettingsFrame* windowSettings_ = nullptr;
    HistoryTab* history_ = nullptr;  // the "History" tab
};

}  // namespace quorvane
