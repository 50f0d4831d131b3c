#pragma once
#include <QGroupBox>

class QCheckBox;

namespace quorvane {

class WindowStyle;

// The "Window Settings" frame of the Settings tab: "Enable Always On Top"
// keeps the main window above every other window while ticked, without
// moving or resizing it. A tick set from the saved settings applies at once.
class WindowSettingsFrame : public QGroupBox {
    Q_OBJECT
public:
    WindowSettingsFrame(QWidget* tab, WindowStyle& style);
    bool AlwaysOnTop() const;
    void SetAlwaysOnTop(bool ticked);

private:
    void ApplyAlwaysOnTop();

    WindowStyle& style_;
    QCheckBox* AlwaysOnTopCheck = nullptr;
};

}  // namespace quorvane
