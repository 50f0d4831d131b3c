// Keyboard shortcuts, the mouse wheel as the scanner's knob, the macro boxes
// and the logo that takes the focus.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QWheelEvent>

#include "input/Macros.h"
#include "app/qt/AppFiles.h"
#include "app/qt/Controls.h"
#include "window/Form1.h"
#include "app/qt/ScannerText.h"
#include "app/qt/TextEntry.h"
#include "input/qt/ShortcutKeys.h"
#include "app/qt/Twips.h"

namespace quorvane {
namespace {

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

void Form1::BuildMacroFrames(QWidget* tab) {
    for (int i = 0; i < 3; ++i) {
        const QString number = QString::number(i + 1);
        auto* frame = NewControl<QGroupBox>(tab, "Macro" + number + "Frame",
                                            TwipsRect(7980, 120 + i * 660, 3300, 600), "Macro " + number);
        m[i] = NewControl<QLineEdit>(frame, "m" + number, TwipsRect(90, 240, 3120, 300));
        MarkTextEntry(m[i]);
        // Enter hands the focus back so the shortcuts act again.
        connect(m[i], &QLineEdit::returnPressed, this, &Form1::FocusPicture1);
    }
    SaveMacros = NewControl<QPushButton>(tab, "SaveMacros", TwipsRect(7980, 2130, 1500, 380), "Save Macros");
    connect(SaveMacros, &QPushButton::clicked, this, &Form1::SaveMacros_Click);
}

bool Form1::TextEntryActive() const { return IsTextEntry(QApplication::focusWidget()); }

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // A key the focused control passed on to its parents (a line box
        // passes Enter on) is not taken for a shortcut a second time.
        const QWidget* focused = QApplication::focusWidget();
        if (focused && watched != focused) return false;
        return HandleShortcut(static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::Wheel) return HandleWheel(watched, static_cast<QWheelEvent*>(event));
    if (event->type() == QEvent::MouseButtonRelease && watched == Picture1) {
        Picture1_Click();
        return false;
    }
    return QWidget::eventFilter(watched, event);
}

bool Form1::HandleShortcut(QKeyEvent* event) {
    // Keys typed into a free-text box are the box's own, Enter included.
    if (TextEntryActive()) return false;
    const auto key = ShortcutKeyOf(*event);
    if (!key) return false;
    const Qt::KeyboardModifiers mods = event->modifiers();
    const Modifiers modifiers{(mods & Qt::ShiftModifier) != 0, (mods & Qt::ControlModifier) != 0,
                              (mods & Qt::AltModifier) != 0};
    const auto target = ShortcutTarget(*key, modifiers, false);
    if (!target) return false;
    ClickKey(*target);
    return true;
}

bool Form1::HandleWheel(QObject* watched, QWheelEvent* event) {
    // The log grid and the notes keep their own scrolling.
    for (QWidget* scroller : {static_cast<QWidget*>(grdInfo), static_cast<QWidget*>(extended_text)}) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (scroller && w && (w == scroller || scroller->isAncestorOf(w))) return false;
    }
    const int delta = event->angleDelta().y();
    if (delta == 0) return true;
    if (const auto key = wheel_.Turn(delta)) ClickKey(*key);
    return true;
}

void Form1::SaveMacros_Click() {
    MacroTexts texts;
    for (size_t i = 0; i < texts.size(); ++i) texts[i] = MacroTextForSaving(BytesFromScreen(m[i]->text()));
    QString error;
    if (WriteFileAtomically(JoinPath(appDirectory_, kMacroSettingsFile), WriteMacroSettings(texts), &error)) {
        Tell("Your Macros Have Been Saved!");
    } else {
        Tell(QString("The macros could not be saved in %1 (%2).").arg(appDirectory_, error));
    }
    FocusPicture1();
}

void Form1::Picture1_Click() {
    const QString document = Documentation();
    if (document.isEmpty()) {
        Tell(QString("The Quorvane documentation is not installed (no README.html in %1).").arg(InstalledDocFolder()));
        return;
    }
    if (!OpenUrl(QUrl::fromLocalFile(document).toString())) Tell("No program is set up to open " + document + ".");
}

bool Form1::OpenUrl(const QString& address) {
    if (openUrl_) return openUrl_(address);
    // Tolerant: the address goes to the browser as it was written.
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

}  // namespace quorvane
