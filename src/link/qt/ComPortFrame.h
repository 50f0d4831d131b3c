#pragma once
#include <QGroupBox>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace quorvane {

class DeviceList;

// What the "Com Port Settings" frame needs from the rest of the program.
struct ComPortHost {
    std::function<void(const QString&)> prompt;       // Text3's next step
    std::function<void()> setUpAudio;                 // after a speed is chosen
    std::function<void(int portIndex, int speedIndex)> run;
    std::function<void()> stop;
    std::function<QString(int portNumber)> portDevice;  // what a port number opens
    // The chosen port number now opens another device: the link reopens.
    std::function<void()> rebound;
    std::function<void(const QString&)> note;         // a few words in Text3
    std::function<void()> focusPicture1;
};

// The "Com Port Settings" frame: the port list, the speed list, the device
// the chosen port opens, the serial devices present ("Device": choosing one
// makes the chosen port number open it), and Run/Stop. The caption of
// Run/Stop is the link's state as the user sees it.
class ComPortFrame : public QGroupBox {
    Q_OBJECT
public:
    ComPortFrame(QWidget* tab, const QString& appDirectory, ComPortHost host);

    int PortIndex() const;
    int SpeedIndex() const;
    // Chooses saved indexes as if the user had picked them (-1: none).
    void Choose(int portIndex, int speedIndex);
    // Run/Stop shows running, the lists are locked while running.
    void ShowRunning(bool running);
    // The device of the chosen port again (the app folder may have changed).
    void ShowPortDevice();

private:
    void Combo1_Click(int index);
    void Combo2_Click(int index);
    void Command2_Click();

    ComPortHost host_;
    QLabel* Label8 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* port_device = nullptr;
    QLabel* Label10 = nullptr;
    QComboBox* Combo2 = nullptr;
    QPushButton* Command2 = nullptr;
    DeviceList* device_list = nullptr;
};

}  // namespace quorvane
