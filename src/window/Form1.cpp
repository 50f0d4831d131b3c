#include "window/Form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

#include "alerts/qt/AlertWatcher.h"
#include "alerts/qt/AlertsBox.h"
#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "app/qt/ListAccessible.h"
#include "app/qt/ScannerText.h"
#include "app/qt/Twips.h"
#include "extended/qt/ExtendedTab.h"
#include "history/qt/HistoryTab.h"
#include "input/KeyTable.h"
#include "input/qt/KeyButton.h"
#include "input/qt/KeyPlayer.h"
#include "input/qt/KeypadButtons.h"
#include "input/qt/MacroFrames.h"
#include "input/qt/ShortcutFilter.h"
#include "base/Fields.h"
#include "link/qt/ComPortFrame.h"
#include "link/qt/LinkRunner.h"
#include "link/qt/ScannerLink.h"
#include "memory/qt/MemoryTab.h"
#include "monitor/qt/DisplayPanel.h"
#include "monitor/qt/HitLog.h"
#include "monitor/qt/HitRecorder.h"
#include "monitor/qt/LogSettingsFrame.h"
#include "monitor/qt/LogGridModel.h"
#include "monitor/qt/LogTab.h"
#include "monitor/qt/Poller.h"
#include "tools/qt/HarvestPanel.h"
#include "tools/qt/TunerTab.h"
#include "mqtt/qt/MqttBridge.h"
#include "web/qt/WebRemoteBox.h"
#include "window/StationMqtt.h"
#include "calls/qt/CallUploader.h"
#include "feed/qt/FeedBox.h"
#include "feed/qt/FeedStreamer.h"
#include "window/LayoutSwitcher.h"
#include "monitor/DisplayText.h"
#include "speech/qt/HitSpeaker.h"
#include "window/KeyboardNavigation.h"
#include "window/Logo.h"
#include "window/TabWindows.h"
#include "web/qt/RemoteServer.h"
#include "window/Station.h"
#include "window/StationRemote.h"
#include "window/WindowSettingsFrame.h"
#include "window/WindowStyle.h"

namespace quorvane {
namespace {

const char* kCaption = "BC246T Quorvane";
// Message windows are narrow: a short title shows whole.
const char* kMessageTitle = "Quorvane";

// The project's documentation, opened by a click on the logo: installed
// beside the program (<prefix>/share/doc/quorvane next to <prefix>/bin), or
// in the build tree the copy the build renders. Empty when neither exists.
QString InstalledDocFolder() {
    return QDir::cleanPath(QDir(QCoreApplication::applicationDirPath()).filePath(QUORVANE_DOC_FROM_BIN));
}

QString Documentation() {
    for (const QString& place : {JoinPath(InstalledDocFolder(), "README.html"), QString(QUORVANE_BUILD_DOC)}) {
        if (FileExists(place)) return place;
    }
    return {};
}

}  // namespace

Form1::Form1(const QString& appDirectory, QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle(kCaption);
    setFixedSize(Px(kFullClientWidth), Px(kFullClientHeight));
    station_ = new Station(appDirectory, QDateTime::currentDateTime(), this);
    style_ = new WindowStyle(this);
    display_ = new DisplayPanel(this);
    keypad_ = new KeypadButtons(*this, station_->Keys());
    layout_ = new LayoutSwitcher(*this, *style_);
    BuildTabs();
    BuildFooter();
    shortcuts_ = new ShortcutFilter(*this, station_->Keys());
    navigation_ = new KeyboardNavigation(*this, *display_, *SSTab1);
    navigation_->Prepare();
    NameListsByWhatTheyChoose(*this);
    SetTabOrder();
    Wire();
    Form_Load();
}

Form1::~Form1() {
    // The panels and tabs use the station (its link, its keys) to the last:
    // they go first, the station after them.
    const QObjectList children = this->children();
    for (QObject* child : children) {
        if (child != station_) delete child;
    }
    delete station_;
}

void Form1::BuildTabs() {
    SSTab1 = NewControl<QTabWidget>(this, "SSTab1", TwipsRect(60, 2880, 11505, 4965));
    // Its tab bar has the focus for it, and a screen reader says this name with it.
    SSTab1->setAccessibleName("Tabs");
    log_ = new LogTab(station_->Log(), SSTab1);
    extended_ = new ExtendedTab(
        AppDirectory(), [this] { return station_->Poll().Cycle().CurrentReception(); }, [this] { FocusPicture1(); },
        SSTab1);
    TunerHost tuner;
    tuner.tune = [this](const std::string& command) { station_->Keys().Play({Step::Send(command)}); };
    tuner.link = &station_->Link();
    tuner.hitActive = [this] { return hitActive_; };
    tuner.tell = [this](const QString& text, std::function<void()> onClosed) { Tell(text, std::move(onClosed)); };
    tuner.note = [this](const QString& text) { station_->Note(text); };
    tuner.focusPicture1 = [this] { FocusPicture1(); };
    tuner.openUrl = [this](const QString& address) { return OpenUrl(address); };
    tuner.skipList = &station_->Skips();
    tuner_ = new TunerTab(std::move(tuner), SSTab1);
    auto* settings = new QWidget(SSTab1);
    SSTab1->addTab(log_, "Log");
    SSTab1->addTab(extended_, "Extended Info");
    SSTab1->addTab(tuner_, "Tuner");
    SSTab1->addTab(settings, "Settings");
    BuildSettingsTab(settings);
    history_ = new HistoryTab(station_->History(), [this](const QString& text) { Tell(text); }, SSTab1);
    SSTab1->addTab(history_, "History");
    MemoryHost memory;
    memory.link = &station_->Link();
    memory.appDirectory = AppDirectory();
    memory.tell = [this](const QString& text) { Tell(text); };
    memory.tableWritten = [this] { station_->LoadHitIntel(); };
    memory_ = new MemoryTab(std::move(memory), SSTab1);
    SSTab1->addTab(memory_, "Memory");
    // The History and the Memory want more room than the fixed window has:
    // either may open in a window of its own.
    tabWindows_ = new TabWindows(*SSTab1);
    tabWindows_->Allow(history_, "Quorvane - History");
    tabWindows_->Allow(memory_, "Quorvane - Memory");
}

void Form1::BuildSettingsTab(QWidget* tab) {
    const auto tell = [this](const QString& text) { Tell(text); };
    const auto focus = [this] { FocusPicture1(); };
    ComPortHost com;
    com.prompt = [this](const QString& text) { station_->SetPrompt(text); };
    com.setUpAudio = [this] { station_->Recorder().SetUp(); };
    com.run = [this](int port, int speed) { station_->Run(port, speed, true); };
    com.stop = [this] { station_->Stop(); };
    com.portDevice = [this](int number) { return station_->Runner().PortDevice(number); };
    com.focusPicture1 = focus;
    com.note = [this](const QString& text) { station_->Note(text); };
    com.rebound = [this] {
        if (!station_->Running()) return;
        station_->Stop();
        station_->Run(comPort_->PortIndex(), comPort_->SpeedIndex(), false);
    };
    comPort_ = new ComPortFrame(tab, AppDirectory(), std::move(com));

    logSettings_ = new LogSettingsFrame(tab, station_->Log(), station_->Recorder(), AppDirectory(), tell, focus);
    HarvestHost harvest;
    harvest.link = &station_->Link();
    harvest.appDirectory = AppDirectory();
    harvest.showDisplay = [this](const QString& text) { display_->ShowText1(text); };
    harvest.tell = [this](const QString& text, std::function<void()> onClosed) { Tell(text, std::move(onClosed)); };
    harvest.note = [this](const QString& text) { station_->Note(text); };
    harvest.tableWritten = [this] { station_->LoadHitIntel(); };
    harvest.focusPicture1 = focus;
    harvest.delayChosen = [this](int index) { pgm_.delayIndex = index; };
    harvest_ = new HarvestPanel(logSettings_, std::move(harvest), this);

    macros_ = new MacroFrames(tab, AppDirectory(), tell, focus);
    station_->Keys().SetMacroText([this](int number) { return macros_->MacroText(number); });
    windowSettings_ = new WindowSettingsFrame(tab, *style_);
    speaker_ = new HitSpeaker(AppDirectory(), this);
    const QStringList speechNotices = speaker_->Load();
    if (!speechNotices.isEmpty()) Tell(speechNotices.join("\n"));
    speaker_->NewCheck(windowSettings_, TwipsRect(2300, 300, 1500, 300));
    auto* alerts = new AlertsBox(&station_->Alerts(), tab);
    alerts->setGeometry(TwipsRect(4200, 2950, 3600, 1360));
    remote_ = ServeStation(*station_, this);
    webRemote_ = new WebRemoteBox(tab, *remote_);
    connect(remote_, &RemoteServer::ListenersChanged, this, [this](int pages) {
        sound_out->setText(pages == 1 ? QString("Sound to 1 web page") : QString("Sound to %1 web pages").arg(pages));
        sound_out->setVisible(pages > 0);
    });
    // The box's address and port would both be read as "Web remote".
    if (auto* address = webRemote_->findChild<QWidget*>("web_address")) address->setAccessibleName("Web remote address");
    if (auto* port = webRemote_->findChild<QWidget*>("web_port")) port->setAccessibleName("Web remote port");
    mqtt_ = ConnectMqtt(*station_, this);
    // The broker's state, when one is set up: connected, refused, reconnecting.
    // One line under the Alerts box, cut in the middle when
    // long (the whole text its tooltip).
    mqtt_state = NewControl<QLabel>(tab, "mqtt_state", TwipsRect(4260, 4320, 3540, 250));
    mqtt_state->setAccessibleName("MQTT state");
    connect(mqtt_, &MqttBridge::StateChanged, mqtt_state, [this](const QString& text) { ShowElided(mqtt_state, text); });
    // Text3 is small: the whole of its message is also shown here.
    // One line (cut in the middle when long, the whole text its tooltip), to
    // leave room for the feed and the calls below it.
    status_line = NewControl<QLabel>(tab, "status_line", TwipsRect(120, 3030, 3900, 270));
    // The live feed and the calls: their notices (a refused call once) are
    // messages; the calls' state is one line under the feed's box.
    share_ = ShareStation(*station_, this);
    connect(share_.feed, &FeedStreamer::Notice, this, [this](const QString& text) { Tell(text); });
    connect(share_.calls, &CallUploader::Notice, this, [this](const QString& text) { Tell(text); });
    share_.feed->Load();
    feedBox_ = new FeedBox(tab, *share_.feed);
    feedBox_->setGeometry(TwipsRect(120, 3300, 3900, 960));
    calls_state = NewControl<QLabel>(tab, "calls_state", TwipsRect(120, 4270, 3900, 250));
    calls_state->setAccessibleName("Calls");
    connect(share_.calls, &CallUploader::StateChanged, calls_state,
            [this](const QString& text) { ShowElided(calls_state, text); });
    share_.calls->Load();
}

void Form1::BuildFooter() {
    Text4 = NewControl<QLineEdit>(this, "Text4", TwipsRect(6300, 7875, 3285, 360));
    Text4->setReadOnly(true);
    Text4->setFocusPolicy(Qt::NoFocus);
    Text4->setStyleSheet("QLineEdit { background: #c0c0c0; color: #202020; border: none; }");
    Text4->setAccessibleName("Version");
    key_clear_log = NewControl<QPushButton>(this, "key_clear_log", TwipsRect(4500, 7875, 1500, 360), "Clear Log");
    key_clear_log->setAccessibleDescription("Empties the log of hits");
    Picture1 = NewControl<Logo>(this, "Picture1", TwipsRect(150, 7875, 1950, 420));
    // Seen from every tab while the computer's sound input goes to web pages.
    sound_out = NewControl<QLabel>(this, "sound_out", TwipsRect(2200, 7920, 2250, 300));
    sound_out->setAccessibleName("Sound sent to web pages");
    sound_out->setStyleSheet("QLabel { color: #8b0000; font-weight: bold; }");
    sound_out->hide();
}

void Form1::Wire() {
    connect(station_, &Station::TellRequested, this, [this](const QString& text, const std::function<void()>& onClosed) {
        auto* box = new QMessageBox(QMessageBox::NoIcon, kMessageTitle, text, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setObjectName("message");
        if (onClosed) connect(box, &QMessageBox::finished, this, [onClosed] { onClosed(); });
        box->open();
    });
    connect(station_, &Station::Text3Changed, this, &Form1::ShowText3);
    connect(station_, &Station::LiveChanged, display_, &DisplayPanel::SetLive);
    connect(display_, &DisplayPanel::Text3Clicked, station_, &Station::LetGoOfAlert);
    connect(station_, &Station::RunningChanged, comPort_, &ComPortFrame::ShowRunning);
    connect(station_, &Station::Stopping, harvest_, &HarvestPanel::Abandon);
    connect(station_, &Station::Stopping, memory_, &MemoryTab::Abandon);
    connect(station_, &Station::Ticked, this, &Form1::ShowTick);
    connect(station_, &Station::Ticked, speaker_, &HitSpeaker::Follow);
    connect(speaker_, &HitSpeaker::Note, station_, &Station::Note);
    connect(station_, &Station::ExtendedInfoWanted, extended_, &ExtendedTab::ExtendedInfoShow);
    connect(&station_->Keys(), &KeyPlayer::QuickScanStopped, tuner_, &TunerTab::StopQuickScan);
    // Hits of watched channels are marked in the log grid.
    log_->Model().SetRowMarker([this](const LogRow& row) { return station_->Alerts().Marks(row); });
    connect(&station_->Alerts(), &AlertWatcher::ListChanged, &log_->Model(), &LogGridModel::RefreshMarks);
    connect(key_clear_log, &QPushButton::clicked, this, &Form1::key_clear_log_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &Form1::SSTab1_Click);
    connect(static_cast<Logo*>(Picture1), &Logo::Clicked, this, &Form1::Picture1_Click);
}

// Tab walks the window as it reads: the layout buttons, the display, the
// keypad row by row, the tabs and what the shown tab holds, then the footer.
void Form1::SetTabOrder() {
    QList<QWidget*> order = {findChild<QWidget*>("button_mini_plus_hold_win"),
                             findChild<QWidget*>("button_maxi_plus_hold_win"), display_};
    for (const KeyRow& row : KeyRows()) order << keypad_->Key(row.objectName);
    order << SSTab1;
    for (qsizetype i = 1; i < order.size(); ++i) {
        if (order[i - 1] && order[i]) setTabOrder(order[i - 1], order[i]);
    }
    setTabOrder(key_clear_log, Picture1);
}

void Form1::StartMqtt(bool asked) {
    const bool started = mqtt_->StartForRun(asked);
    QStringList notices;
    for (const std::string& notice : mqtt_->Notices()) notices << QString::fromStdString(notice);
    if (!started && asked) notices.prepend(mqtt_->Problem());
    if ((started || asked) && !notices.isEmpty()) Tell(notices.join("\n"));
}

const QString& Form1::AppDirectory() const { return station_->AppDirectory(); }
void Form1::Tell(const QString& text, std::function<void()> onClosed) { station_->Tell(text, std::move(onClosed)); }
const QString& Form1::LastMessage() const { return station_->LastMessage(); }
void Form1::SetFolderChooser(std::function<QString()> chooser) { logSettings_->SetFolderChooser(std::move(chooser)); }

void Form1::FocusPicture1() { Picture1->setFocus(Qt::OtherFocusReason); }

void Form1::ShowText3(const QString& text) {
    display_->SetText3(text);
    ShowElided(status_line, text);
}

void Form1::ShowTick(const TickOutcome& outcome) {
    hitActive_ = outcome.HitActive;
    display_->Show(outcome);
    RefreshCaption(outcome.DisplayLine1, outcome.DisplayLine2);
}

void Form1::RefreshCaption(const std::string& line1, const std::string& line2) {
    if (isMinimized()) {
        // The taskbar shows the display while the window is minimized.
        setWindowTitle(ScreenText(OneLineDisplay(line1, line2)));
        return;
    }
    if (windowTitle() == kCaption) return;
    setWindowTitle(kCaption);
    layout_->ReapplyFrame();
}

void Form1::key_clear_log_Click() {
    station_->Log().Clear();
    FocusPicture1();
}

void Form1::SSTab1_Click(int tab) {
    if (tab >= 0 && tab < kTabCount) key_clear_log->setVisible(tab == 0);
}

void Form1::Picture1_Click() {
    const QString document = Documentation();
    if (document.isEmpty()) {
        Tell(QString("The Quorvane documentation is not installed (no README.html in %1).").arg(InstalledDocFolder()));
        return;
    }
    if (!OpenUrl(QUrl::fromLocalFile(document).toString())) {
        station_->Note("No web browser could be opened");
        Tell("No program is set up to open " + document + ".");
    }
}

bool Form1::OpenUrl(const QString& address) {
    if (openUrl_) return openUrl_(address);
    // Tolerant: the address goes to the browser as it was written.
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

void Form1::closeEvent(QCloseEvent* event) {
    // Unwritten edits of the Memory tab are written, discarded or kept open
    // when the user closes the window (a quit signal closes it unasked).
    if (event->spontaneous() && !memory_->SettleEdits("closing the window")) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

}  // namespace quorvane
