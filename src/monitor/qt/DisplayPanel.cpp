#include "monitor/qt/DisplayPanel.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include "app/qt/Controls.h"
#include "app/qt/ScannerText.h"
#include "app/qt/Twips.h"
#include "monitor/qt/DisplayAccessible.h"
#include "monitor/qt/SignalLevelBar.h"

namespace quorvane {
namespace {

const QColor kAmber(246, 178, 97);  // the scanner's back-lit display
// The text of a display that is not live: still legible, plainly faded.
const QColor kFaded(128, 96, 60);
constexpr int kPanelLeft = 150;
constexpr int kPanelTop = 180;

QLineEdit* DisplayBox(QWidget* parent, const char* name, QRect place, int pixelSize, bool bold) {
    auto* box = NewControl<QLineEdit>(parent, name, place);
    box->setReadOnly(true);
    box->setFrame(false);
    box->setFocusPolicy(Qt::NoFocus);
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    box->setFont(font);
    box->setTextMargins(0, 0, 0, 0);
    box->setStyleSheet(QString("QLineEdit { background: %1; border: none; }").arg(kAmber.name()));
    QPalette palette = box->palette();  // black on amber whatever the desktop's colours
    palette.setColor(QPalette::Text, Qt::black);
    box->setPalette(palette);
    return box;
}

// A place on the display panel, given in window twips.
QRect OnPanel(int left, int top, int width, int height) {
    return TwipsRect(left - kPanelLeft, top - kPanelTop, width, height);
}

void SetIfChanged(QLineEdit* box, const QString& text) {
    if (box->text() != text) box->setText(text);
}

}  // namespace

DisplayPanel::DisplayPanel(QWidget* window) : QWidget(window) {
    DisplayAccessible::Install();
    setObjectName("Picture2");
    // The display takes the focus (Tab, a click, or Escape from anywhere in
    // the window): the scanner's shortcuts all act there.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName("Scanner display");
    setAccessibleDescription("The scanner's shortcut keys act here");
    setGeometry(TwipsRect(kPanelLeft, kPanelTop, 3825, 2070));

    Text1 = NewControl<QPlainTextEdit>(this, "Text1", OnPanel(270, 525, 2895, 735));
    Text1->setReadOnly(true);
    Text1->setFrameShape(QFrame::NoFrame);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->document()->setDocumentMargin(0);
    QFont displayFont("DejaVu Sans Mono");
    displayFont.setPixelSize(16);
    Text1->setFont(displayFont);
    Text1->setStyleSheet(QString("QPlainTextEdit { background: %1; }").arg(kAmber.name()));

    IconsSet1 = DisplayBox(this, "IconsSet1", OnPanel(285, 1260, 3570, 240), 8, true);
    IconsSet2 = DisplayBox(this, "IconsSet2", OnPanel(285, 1440, 3570, 240), 8, true);
    Text3_ = DisplayBox(this, "Text3", OnPanel(300, 1800, 2115, 330), 11, false);
    freq = DisplayBox(this, "freq", OnPanel(2880, 1800, 1035, 315), 11, false);
    freq->setAlignment(Qt::AlignRight);
    Text1->setAccessibleName("Display lines");
    IconsSet1->setAccessibleName("Icons, upper row");
    IconsSet2->setAccessibleName("Icons, lower row");
    Text3_->setAccessibleName("Scanner message");
    freq->setAccessibleName("Frequency or talkgroup");
    ShowText1(ScreenText("Choose Settings\r\nThen Hit Run\r\n"));
    level_ = new SignalLevelBar(this);
    level_->setGeometry(OnPanel(3330, 555, 450, 675));

    // The one-line copy of the display, shown only by the floating-bar layout.
    floating_taskbar = DisplayBox(window, "floating_taskbar", TwipsRect(0, 0, 3885, 285), 11, false);
    floating_taskbar->setAccessibleName("Display");
    floating_taskbar->hide();
    floating_taskbar->installEventFilter(this);
    Text3_->installEventFilter(this);
    SetLive(true, {});  // the opening words are the program's own, not stale
}

void DisplayPanel::SetLive(bool live, const QString& why) {
    live_ = live;
    const QString tip = live ? QString() : QString("Not live (%1): the scanner's last display").arg(why);
    for (QWidget* box : std::initializer_list<QWidget*>{Text1, IconsSet1, IconsSet2, freq}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Text, live ? Qt::black : kFaded);
        box->setPalette(palette);
        box->setToolTip(tip);
    }
}

void DisplayPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 80, 30), 2));
    p.setBrush(kAmber);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 14, 14);
    if (hasFocus()) {
        p.setPen(QPen(QColor(20, 60, 200), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 13, 13);
    }
}

void DisplayPanel::SayChanges() {
    QStringList parts;
    for (const QString& line : text1_.split(QRegularExpression("[\\r\\n]+"))) {
        if (!line.trimmed().isEmpty()) parts << line.simplified();
    }
    if (!freq->text().trimmed().isEmpty()) parts << freq->text().trimmed();
    if (!icons_.isEmpty()) parts << icons_;
    const QString words = parts.join(", ");
    if (words == words_) return;
    DisplayAccessible::Changed(this, words_, words);
    words_ = words;
}

bool DisplayPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == floating_taskbar && event->type() == QEvent::Show) SetIfChanged(floating_taskbar, floating_);
    if (watched == Text3_ && event->type() == QEvent::MouseButtonPress) emit Text3Clicked();
    return false;
}

void DisplayPanel::Show(const TickOutcome& outcome) {
    level_->SetLevel(outcome.HitActive ? outcome.SignalLevel : std::nullopt);
    ShowText1(ScreenText(outcome.Text1));
    floating_ = ScreenText(outcome.FloatingTaskbar);
    if (floating_taskbar->isVisible()) SetIfChanged(floating_taskbar, floating_);
    SetIfChanged(freq, ScreenText(outcome.FreqBox));
    SetIfChanged(IconsSet1, ScreenText(outcome.Icons.Row1));
    SetIfChanged(IconsSet2, ScreenText(outcome.Icons.Row2));
    icons_ = QString::fromStdString(outcome.Icons.Spoken);
    SayChanges();
}

void DisplayPanel::ShowText1(const QString& text) {
    if (text1_ == text) return;
    text1_ = text;
    Text1->setPlainText(text);
    SayChanges();
}

void DisplayPanel::SetText3(const QString& text) {
    text3_ = text;
    ShowElided(Text3_, text);
}

}  // namespace quorvane
