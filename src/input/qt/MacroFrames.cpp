#include "input/qt/MacroFrames.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/SettingsFiles.h"
#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "app/qt/ScannerText.h"
#include "app/qt/Twips.h"
#include "input/Macros.h"

namespace quorvane {

MacroFrames::MacroFrames(QWidget* tab, QString appDirectory, std::function<void(const QString&)> tell,
                         std::function<void()> focusPicture1)
    : QObject(tab), appDirectory_(std::move(appDirectory)), tell_(std::move(tell)),
      focusPicture1_(std::move(focusPicture1)) {
    for (int i = 0; i < 3; ++i) {
        const QString number = QString::number(i + 1);
        auto* frame = NewControl<QGroupBox>(tab, "Macro" + number + "Frame",
                                            TwipsRect(7980, 120 + i * 660, 3300, 600), "Macro " + number);
        m[i] = NewControl<QLineEdit>(frame, "m" + number, TwipsRect(90, 240, 3120, 300));
        m[i]->setAccessibleName("Macro " + number + " keys");
        m[i]->setAccessibleDescription("The keys Macro " + number + " plays, such as F,H 1,P F,R");
        // Enter hands the focus back so the shortcuts act again.
        connect(m[i], &QLineEdit::returnPressed, this, [this] { focusPicture1_(); });
    }
    SaveMacros = NewControl<QPushButton>(tab, "SaveMacros", TwipsRect(7980, 2130, 1500, 380), "Save Macros");
    connect(SaveMacros, &QPushButton::clicked, this, &MacroFrames::SaveMacros_Click);
}

std::string MacroFrames::MacroText(int number) const {
    if (number < 1 || number > 3) return {};
    return BytesFromScreen(m[number - 1]->text());
}

void MacroFrames::Load() {
    const auto bytes = ReadFileBytes(JoinPath(appDirectory_, kMacroSettingsFile));
    if (!bytes) return;
    const MacroTexts texts = ReadMacroSettings(*bytes);
    for (int i = 0; i < 3; ++i) m[i]->setText(ScreenText(texts[static_cast<size_t>(i)]));
}

void MacroFrames::SaveMacros_Click() {
    MacroTexts texts;
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = MacroTextForSaving(MacroText(static_cast<int>(i) + 1));
    QString error;
    if (WriteFileAtomically(JoinPath(appDirectory_, kMacroSettingsFile), WriteMacroSettings(texts), &error)) {
        tell_("Your Macros Have Been Saved!");
    } else {
        tell_(QString("The macros could not be saved in %1 (%2).").arg(appDirectory_, error));
    }
    focusPicture1_();
}

}  // namespace quorvane
