#pragma once
// Shared pieces of the end-to-end tests: a real main window in this process,
// a simulated BC246T on a pseudo-terminal linked as "com1" in a fresh app
// folder, and waiting on conditions with a deadline.
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "ScenarioParser.h"
#include "Simulator.h"
#include "ui/Form1.h"
#include "ui/KeyButton.h"

namespace quorvane::e2e {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "e2e_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

inline bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

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
inline std::unique_ptr<Simulator> StartRadio(const AppFolder& folder, const std::string& scenarioText = kQuietScenario,
                                             SimulatorOptions options = {}) {
    std::string error;
    const Scenario scenario = ParseScenario(scenarioText, &error);
    if (!error.empty()) throw std::runtime_error("scenario: " + error);
    auto radio = std::make_unique<Simulator>(scenario, options);
    const std::filesystem::path link = folder.FilePath("com1");
    std::error_code ignored;
    std::filesystem::remove(link, ignored);
    std::filesystem::create_symlink(radio->SlavePath(), link);
    radio->Start();
    return radio;
}

inline KeyButton* Key(Form1& form, const char* name) { return form.findChild<KeyButton*>(name); }

// The commands the radio received from index `from` on, poll requests left out.
inline std::vector<std::string> NonPollCommands(const Simulator& radio, size_t from = 0) {
    std::vector<std::string> out;
    const auto all = radio.ReceivedCommands();
    for (size_t i = from; i < all.size(); ++i) {
        if (all[i] != "STS" && all[i] != "GID" && all[i] != "WIN") out.push_back(all[i]);
    }
    return out;
}

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

}  // namespace quorvane::e2e
