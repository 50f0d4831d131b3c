#pragma once
#include <QGroupBox>
#include <string>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorvane {

class AlertWatcher;

// The "Alerts" box: the list of watched channels and talkgroups to edit and
// save, a tick box for a sound with each alert, and a line saying how many
// entries the list holds or what went wrong. The list follows the file: a
// change on disk shows at once, unless the user is editing (then Save keeps
// what the user typed).
class AlertsBox : public QGroupBox {
    Q_OBJECT
public:
    explicit AlertsBox(AlertWatcher* watcher, QWidget* parent = nullptr);

    QPlainTextEdit* Editor() const { return editor_; }
    QCheckBox* SoundCheck() const { return sound_; }

    // Writes the edited list to alerts.txt (whole, then renamed into place).
    void Save();

private:
    void ShowFile();
    void SayCount(const QString& before);

    AlertWatcher* watcher_;
    QPlainTextEdit* editor_;
    QPushButton* save_;
    QCheckBox* sound_;
    QLabel* status_;
};

// alerts.txt bytes as the box shows them: one entry a line, each byte as on
// the display (so a name copied from the log reads the same), and back: each
// line ended by CR LF; a character no byte shows as becomes "?".
QString AlertListText(const std::string& bytes);
std::string AlertListBytes(const QString& text);

}  // namespace quorvane
