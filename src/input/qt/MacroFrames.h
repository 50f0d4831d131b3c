#pragma once
#include <QObject>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;
class QWidget;

namespace quorvane {

// The three macro boxes ("Macro 1" .. "Macro 3", m1 .. m3) and "Save
// Macros" on the settings tab; macro_settings.txt holds their texts.
class MacroFrames : public QObject {
    Q_OBJECT
public:
    MacroFrames(QWidget* tab, QString appDirectory, std::function<void(const QString&)> tell,
                std::function<void()> focusPicture1);

    // The scanner bytes of macro box number (1 to 3).
    std::string MacroText(int number) const;
    // Fills the boxes from macro_settings.txt, when there is one.
    void Load();

private:
    void SaveMacros_Click();

    QString appDirectory_;
    std::function<void(const QString&)> tell_;
    std::function<void()> focusPicture1_;
    QLineEdit* m[3] = {nullptr, nullptr, nullptr};
    QPushButton* SaveMacros = nullptr;
};

}  // namespace quorvane
