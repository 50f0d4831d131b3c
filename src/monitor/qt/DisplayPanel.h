#pragma once
#include <QWidget>

#include "monitor/TickOutcome.h"

class QLineEdit;
class QPlainTextEdit;

namespace quorvane {

class SignalLevelBar;

// The scanner's display on screen: the amber panel (Picture2) with the two
// display lines (Text1), the icon rows, the small message box Text3 and the
// frequency or talkgroup box, the signal level of the hit being received
// (signal_level); and the one-line floating bar of the smallest
// layout (floating_taskbar, on the window itself). A box is only touched
// when what it shows changes, and the floating bar only while it is shown.
// To assistive technology the panel is one text in words (DisplayAccessible)
// that announces each change; it takes the focus for the shortcuts.
class DisplayPanel : public QWidget {
    Q_OBJECT
public:
    explicit DisplayPanel(QWidget* window);

    // What an accepted poll tick shows; the level bar only during a hit.
    void Show(const TickOutcome& outcome);
    // Text1 alone (the harvest shows what it finds while polling rests).
    void ShowText1(const QString& text);
    // Text3: the prompt, the indicator or a message; a text too long for
    // the box is cut in the middle, the whole of it in the tooltip.
    void SetText3(const QString& text);
    QString Text3() const { return text3_; }
    // What assistive technology reads of the display: its lines, the
    // frequency or talkgroup and the lit icons, in words.
    QString Words() const { return words_; }
    // Live: the scanner's text as it comes. Not live (stopped, no reply,
    // the line lost): the last text stays, dimmed, and says why on hover.
    void SetLive(bool live, const QString& why);
    bool Live() const { return live_; }

signals:
    // A click on Text3 (lets go of an alert held there).
    void Text3Clicked();

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SayChanges();

    QPlainTextEdit* Text1 = nullptr;
    QLineEdit* IconsSet1 = nullptr;
    QLineEdit* IconsSet2 = nullptr;
    QLineEdit* Text3_ = nullptr;
    QLineEdit* freq = nullptr;
    SignalLevelBar* level_ = nullptr;
    QLineEdit* floating_taskbar = nullptr;
    QString text1_;
    QString text3_;
    QString icons_;  // the lit icons in words
    QString words_;
    QString floating_;  // what the floating bar shows once it is shown
    bool live_ = false;
};

}  // namespace quorvane
