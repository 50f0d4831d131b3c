#pragma once
// Shared pieces of the end-to-end tests: a real main window in this process,
// a simulated BC246T on a pseudo-terminal linked as "com1" in a fresh app
// folder, and waiting on conditions with a deadline.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTcpServer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTabWidget>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <sstream>
#include <string>

#include "ScenarioParser.h"
#include "Simulator.h"
#include "link/qt/ScannerLink.h"
#include "monitor/qt/HitLog.h"
#include "window/Form1.h"
#include "window/Station.h"
#include "input/qt/KeyButton.h"
#include "QtTestApp.h"

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* out) { *out << texts.join(" | ").toStdString(); }

namespace quorvane::e2e {

inline QApplication& App() { return test::QtApp(); }
using test::WaitUntil;

// A radio that scans quietly until a test shows something else.
inline const char* kQuietScenario =
    "once\n"
    "step 1000 idle line1=\"  Scanning...   \" line2=\"                \" icons1=100000000000000\n";

class AppFolder {
public:
    AppFolder() {
        if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    }
    QString Path() const { return dir_.path(); }
    std::string FilePath(const std::string& name) const { return (dir_.path() + "/").toStdString() + name; }
    void Write(const std::string& name, const std::string& bytes) const {
        QFile file(QString::fromStdString(FilePath(name)));
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    std::string Read(const std::string& name) const {
        QFile file(QString::fromStdString(FilePath(name)));
        if (!file.open(QIODevice::ReadOnly)) return {};
        const QByteArray bytes = file.readAll();
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    bool Exists(const std::string& name) const { return QFile::exists(QString::fromStdString(FilePath(name))); }
    // Port 1 at 57600, opened at start-up.
    void SaveComSettings() const { Write("com_settings.txt", "0\r\n3\r\n100\r\n"); }

private:
    QTemporaryDir dir_;
};

// Starts a simulator and links its pseudo-terminal as <folder>/com1.
inline std::unique_ptr<Simulator> StartRadio(const AppFolder& folder, const Scenario& scenario,
                                             SimulatorOptions options = {}) {
    auto radio = std::make_unique<Simulator>(scenario, options);
    const std::filesystem::path link = folder.FilePath("com1");
    std::error_code ignored;
    std::filesystem::remove(link, ignored);
    std::filesystem::create_symlink(radio->SlavePath(), link);
    radio->Start();
    return radio;
}
inline std::unique_ptr<Simulator> StartRadio(const AppFolder& folder, const std::string& scenarioText = kQuietScenario,
                                             SimulatorOptions options = {}) {
    std::string error;
    const Scenario scenario = ParseScenario(scenarioText, &error);
    if (!error.empty()) throw std::runtime_error("scenario: " + error);
    return StartRadio(folder, scenario, std::move(options));
}

// The environment of the real program on platform: with "xcb" there is no
// display, so any attempt to reach a window system fails.
inline QProcessEnvironment ProgramEnvironment(const QString& platform = "offscreen") {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", platform);
    if (platform == "xcb") {
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
    }
    return env;
}

// Whatever the tests were started with, the program starts with the usual quit dispositions.
inline void DefaultQuitSignals(QProcess& program) {
    program.setChildProcessModifier([] {
        for (int s : {SIGTERM, SIGINT, SIGHUP}) std::signal(s, SIG_DFL);
    });
}

// Starts the real program with arguments in env, with the usual quit dispositions.
inline void StartQuorvane(QProcess& program, const QStringList& arguments,
                          const QProcessEnvironment& env = ProgramEnvironment()) {
    program.setProcessEnvironment(env);
    DefaultQuitSignals(program);
    program.start(QUORVANE_EXE, arguments);
}

// A TCP port on 127.0.0.1 that was free a moment ago.
inline quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress("127.0.0.1"));
    return probe.serverPort();
}

inline KeyButton* Key(Form1& form, const char* name) { return form.findChild<KeyButton*>(name); }

// The whole text of the small message box Text3: the box itself shows a
// long message cut in the middle, its tooltip holds all of it.
inline QString Text3Of(const QWidget& form) { return form.findChild<QLineEdit*>("Text3")->toolTip(); }

// The window's log, newest line first, and the path of the run's log file.
inline const std::string& Logged(Form1& form) { return form.Scanner().Log().Text().Text(); }
inline QString LogPath(Form1& form) { return form.Scanner().Log().FilePathNow(); }
inline std::string LogFile(Form1& form) {
    QFile file(LogPath(form));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(not readable)";
}
inline size_t LoggedLines(Form1& form) { return std::count(Logged(form).begin(), Logged(form).end(), '\n'); }

// The commands the radio received from index `from` on, poll requests left out.
inline std::vector<std::string> NonPollCommands(const Simulator& radio, size_t from = 0) {
    std::vector<std::string> out;
    const auto all = radio.ReceivedCommands();
    for (size_t i = from; i < all.size(); ++i) {
        if (all[i] != "STS" && all[i] != "GID" && all[i] != "WIN") out.push_back(all[i]);
    }
    return out;
}

using Commands = std::vector<std::string>;

// A window polling a quiet radio that logs every command line with its time
// ("wire.log"), the focus on the logo so that the shortcuts act.
struct Panel {
    AppFolder folder;
    std::unique_ptr<Simulator> radio;
    std::unique_ptr<Form1> form;
    size_t mark = 0;

    explicit Panel(int tab = -1) {
        App();
        SimulatorOptions options;
        options.log_path = folder.FilePath("wire.log");
        radio = StartRadio(folder, kQuietScenario, options);
        folder.SaveComSettings();
        form = std::make_unique<Form1>(folder.Path());
        if (tab >= 0) form->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(tab);
        form->show();
        form->activateWindow();
        QApplication::setActiveWindow(form.get());
        form->findChild<QWidget*>("Picture1")->setFocus();
    }
    // What was sent apart from polling since the last call: waits for
    // `expected` commands, then quietMs more for anything unexpected.
    Commands Sent(size_t expected, int quietMs = 150) {
        WaitUntil([&] { return NonPollCommands(*radio, mark).size() >= expected; }, 3000);
        WaitUntil([] { return false; }, quietMs);
        auto sent = NonPollCommands(*radio, mark);
        mark = radio->ReceivedCommands().size();
        return sent;
    }
    // The radio's clock (ms) when each command starting with prefix arrived.
    std::vector<long> WireTimes(const std::string& prefix) const {
        std::istringstream log(folder.Read("wire.log"));
        std::vector<long> at;
        for (std::string line; std::getline(log, line);) {
            const auto space = line.find(' ');
            if (line.compare(space + 1, prefix.size(), prefix) == 0) at.push_back(std::stol(line.substr(0, space)));
        }
        return at;
    }
    QWidget* Focused() const { return QApplication::focusWidget(); }
};

inline RadioView Idle() {
    RadioView view;
    view.line1 = PadLine("  Scanning...");
    view.icons1 = "100000000000000";
    return view;
}

// A conventional reception as the display shows it (squelch still closed).
inline RadioView Reception(const std::string& line1, const std::string& line2, const std::string& frequency) {
    RadioView view = Idle();
    view.line1 = PadLine(line1);
    view.line2 = PadLine(line2);
    view.frequency = frequency;
    return view;
}

// view with the squelch open.
inline RadioView Receiving(RadioView view) {
    view.receiving = true;
    return view;
}

// Shows view as a transmission for holdMs, then the same view with the
// squelch closed (the scan delay: nothing else changes).
inline void Transmission(Simulator& radio, RadioView view, int holdMs) {
    radio.SetOverride(Receiving(view));
    WaitUntil([] { return false; }, holdMs);
    view.receiving = false;
    radio.SetOverride(view);
}

// A trunked reception: the display, and the talkgroup reply's ID and names.
inline RadioView Trunked(const std::string& line1, const std::string& line2, const std::string& frequency,
                         const std::string& tgid, const std::string& system = {}, const std::string& group = {},
                         const std::string& talkgroup = {}) {
    RadioView view = Reception(line1, line2, frequency);
    view.tgid = tgid;
    view.system = system;
    view.group = group;
    view.talkgroup = talkgroup;
    return view;
}

// A window polling a radio, with "Log To Text File" ticked.
struct Monitored {
    AppFolder folder;
    std::unique_ptr<Simulator> radio;
    std::unique_ptr<Form1> form;

    // baud > 0: the radio's replies leave byte by byte at that speed, and
    // "Port Speed" is 9600 when that is the speed. logDirectory: line 10 of
    // pgm_settings.txt as written there.
    explicit Monitored(const std::string& hitIntel = {}, int baud = 0, const std::string& logDirectory = "\"\"") {
        App();
        SimulatorOptions options;
        options.baud = baud;
        radio = StartRadio(folder, kQuietScenario, options);
        radio->SetOverride(Idle());
        folder.SaveComSettings();
        if (baud == 9600) folder.Write("com_settings.txt", "0\r\n0\r\n100\r\n");
        folder.Write("pgm_settings.txt", "0\r\n0\r\n1\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n" + logDirectory + "\r\n4\r\n");
        if (!hitIntel.empty()) folder.Write("hit_intel.txt", hitIntel);
        Restart();
    }

    // Closes the window (if open) and starts a new run of it in the same folder.
    void Restart() {
        if (form) form->close();
        form.reset();
        form = std::make_unique<Form1>(folder.Path());
        form->show();
        // Polling: the display follows the radio.
        EXPECT_TRUE(WaitUntil([&] { return Widget("Text1").contains("Scanning"); }, 5000));
    }

    QString Widget(const char* name) const {
        if (QString(name) == "Text3") return Text3Of(*form);
        if (auto* line = form->findChild<QLineEdit*>(name)) return line->text();
        return form->findChild<QPlainTextEdit*>(name)->toPlainText();
    }
    QTableView* Grid() const { return form->findChild<QTableView*>("grdInfo"); }
    QString Cell(int row, int column) const {
        return Grid()->model()->index(row, column).data().toString();
    }

    // Shows view as a transmission for holdMs, then the idle display again,
    // and waits until the window has logged it.
    void Transmit(RadioView view, int holdMs) {
        const size_t linesBefore = LoggedLines(*form);
        Transmission(*radio, view, holdMs);
        ASSERT_TRUE(WaitUntil([&] { return LoggedLines(*form) > linesBefore; }, 3000));
        radio->SetOverride(Idle());
    }
};

}  // namespace quorvane::e2e
