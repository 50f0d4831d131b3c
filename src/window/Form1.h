#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "app/SettingsFiles.h"
#include "monitor/TickOutcome.h"
#include "window/StationShare.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quorvane {

class ComPortFrame;
class DisplayPanel;
class CallUploader;
class ExtendedTab;
class FeedBox;
class FeedStreamer;
class HarvestPanel;
class HistoryTab;
class HitSpeaker;
class KeyboardNavigation;
class KeypadButtons;
class LayoutSwitcher;
class LogSettingsFrame;
class LogTab;
class MacroFrames;
class MemoryTab;
class TabWindows;
class MqttBridge;
class RemoteServer;
class ShortcutFilter;
class Station;
class TunerTab;
class WebRemoteBox;
class WindowSettingsFrame;
class WindowStyle;

// The main window. It only wires: it makes the station (the link, the poll,
// the log, recording, keys) and the panels and tabs of each capability, and
// connects them. Every control keeps the object name it is known by.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(const QString& appDirectory, QWidget* parent = nullptr);
    ~Form1() override;

    const QString& AppDirectory() const;
    Station& Scanner() { return *station_; }
    // The browser remote of this window's station (not started by the window).
    RemoteServer& Remote() { return *remote_; }
    // The MQTT side of this window's station; StartMqtt starts it when
    // asked (--mqtt) or as mqtt.txt says, and tells what keeps it from starting.
    MqttBridge& Mqtt() { return *mqtt_; }
    void StartMqtt(bool asked);
    // The live feed and the call uploads (the feed not started by the window).
    FeedStreamer& Feed() { return *share_.feed; }
    CallUploader& Calls() { return *share_.calls; }
    // Spoken hits ("Speak hits").
    HitSpeaker& Speaker() { return *speaker_; }

    // Every message the window shows the user: a window that does not stop
    // the poll; the last text is kept for tests.
    void Tell(const QString& text, std::function<void()> onClosed = {});
    const QString& LastMessage() const;
    // Replaceable by tests: the folder chooser of "Log Directory", and how a
    // web address is opened (false when no browser could be).
    void SetFolderChooser(std::function<QString()> chooser);
    void SetUrlOpener(std::function<bool(const QString&)> opener) { openUrl_ = std::move(opener); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildTabs();
    void BuildSettingsTab(QWidget* tab);
    void BuildFooter();
    void Wire();
    void SetTabOrder();

    void Form_Load();
    void Form_Unload();
    void ApplyPgmSettings(const PgmSettings& pgm);

    void FocusPicture1();
    void Picture1_Click();
    bool OpenUrl(const QString& address);
    void ShowText3(const QString& text);
    void ShowTick(const TickOutcome& outcome);
    void RefreshCaption(const std::string& line1, const std::string& line2);
    void key_clear_log_Click();
    void SSTab1_Click(int tab);

    Station* station_ = nullptr;
    PgmSettings pgm_;
    std::function<bool(const QString&)> openUrl_;
    // Whether the last accepted tick left a hit on: the quick scan waits
    // while one is.
    bool hitActive_ = false;

    WindowStyle* style_ = nullptr;
    LayoutSwitcher* layout_ = nullptr;
    DisplayPanel* display_ = nullptr;
    KeypadButtons* keypad_ = nullptr;
    ShortcutFilter* shortcuts_ = nullptr;
    KeyboardNavigation* navigation_ = nullptr;
    HitSpeaker* speaker_ = nullptr;
    QTabWidget* SSTab1 = nullptr;
    LogTab* log_ = nullptr;
    ExtendedTab* extended_ = nullptr;
    TunerTab* tuner_ = nullptr;
    HistoryTab* history_ = nullptr;
    MemoryTab* memory_ = nullptr;
    TabWindows* tabWindows_ = nullptr;
    ComPortFrame* comPort_ = nullptr;
    LogSettingsFrame* logSettings_ = nullptr;
    HarvestPanel* harvest_ = nullptr;
    MacroFrames* macros_ = nullptr;
    WindowSettingsFrame* windowSettings_ = nullptr;
    RemoteServer* remote_ = nullptr;
    WebRemoteBox* webRemote_ = nullptr;
    MqttBridge* mqtt_ = nullptr;
    QLabel* mqtt_state = nullptr;
    StationShare share_;
    FeedBox* feedBox_ = nullptr;
    QLabel* calls_state = nullptr;
    QLabel* status_line = nullptr;
    QLabel* sound_out = nullptr;
    QLineEdit* Text4 = nullptr;
    QLabel* Picture1 = nullptr;
    QPushButton* key_clear_log = nullptr;
};

}  // namespace quorvane
