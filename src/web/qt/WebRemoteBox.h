#pragma once
#include <QGroupBox>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quorvane {

class RemoteServer;

// The "Web remote" box of the Settings tab: whether the remote starts on
// every run, where it listens, and "Show link" with the page's links and
// their QR codes for a phone. Every change is saved in web_remote.txt at
// once (its other lines, fixed tokens and TLS, are kept) and applied: the
// tick starts or stops the remote, a new address or port moves it.
class WebRemoteBox : public QGroupBox {
    Q_OBJECT
public:
    WebRemoteBox(QWidget* tab, RemoteServer& server);

    // Shows what web_remote.txt says (at start-up).
    void Load();

private:
    void Save();
    void Apply(bool tickChanged);
    void ShowState();
    void ShowLink();

    RemoteServer& server_;
    QCheckBox* web_start = nullptr;
    QLineEdit* web_address = nullptr;
    QSpinBox* web_port = nullptr;
    QPushButton* web_show_link = nullptr;
    QLabel* web_state = nullptr;
    QString problem_;  // the last thing that went wrong, until it works
};

}  // namespace quorvane
