#include "window/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "link/PortNaming.h"
#include "app/qt/AppFiles.h"
#include "app/qt/AppIcon.h"
#include "app/qt/Controls.h"
#include "history/qt/HistoryTab.h"
#include "input/qt/KeyArt.h"
#include "input/qt/KeyButton.h"
#include "window/LayoutSwitcher.h"
#include "monitor/qt/SystemClock.h"
#include "app/qt/ScannerText.h"
#include "app/qt/Twips.h"
#include "window/WindowSettingsFrame.h"
#include "window/WindowStyle.h"

namespace quorvane {
namespace {

const QColor kAmber(246, 178, 97);  // the scanner's back-lit display
constexpr int kFullClientWidth = 11625;
constexpr int kFullClientHeight = 8370;
constexpr int kPanelLeft = 150;
constexpr int kPanelTop = 180;
// A note in Text3 gives way to the indicator again after this long.
constexpr int kNoteMs = 5000;

// The amber panel behind the display boxes.
class DisplayPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(120, 80, 30), 2));
        p.setBrush(kAmber);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 14, 14);
    }
};

// The program's logo; also where the keyboard focus rests so that the
// shortcuts act.
class Logo : public QLabel {
public:
    explicit Logo(QWidget* parent) : QLabel(parent) { setFocusPolicy(Qt::StrongFocus); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 62, 70));
        p.drawRoundedRect(r, 6, 6);
        PaintAppIcon(p, QRectF(r.left() + 2, r.center().y() - 11, 22, 22));
        QFont font("DejaVu Sans");
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kAmber);
        p.drawText(r.adjusted(26, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, "Quorvane");
        if (hasFocus()) {
            p.setPen(QPen(kAmber, 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 5, 5);
        }
    }
};

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
    box->setStyleSheet(QString("QLineEdit { background: %1; border: none; color: black; }").arg(kAmber.name()));
    return box;
}

// A place on the display panel, given in window twips.
QRect OnPanel(int left, int top, int width, int height) {
    return TwipsRect(left - kPanelLeft, top - kPanelTop, width, height);
}

}  // namespace

Form1::Form1(const QString& appDirectory, QWidget* parent)
    : QWidget(parent), appDirectory_(appDirectory), link_(this), systemClock_(std::make_unique<SystemClock>()) {
    setObjectName("Form1");
    setWindowTitle("BC246T Quorvane");
    setFixedSize(Px(kFullClientWidth), Px(kFullClientHeight));
    clock_.start();
    queueTimer_.setSingleShot(true);
    queueTimer_.setTimerType(Qt::PreciseTimer);
    connect(&queueTimer_, &QTimer::timeout, this, &Form1::PumpQueue);
    Timer1.setObjectName("Timer1");
    connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    reconnectTimer_.setInterval(2000);
    connect(&reconnectTimer_, &QTimer::timeout, this, &Form1::RetryLink);
    connect(&link_, &ScannerLink::Lost, this, &Form1::OnLinkLost);
    connect(&link_, &ScannerLink::Failed, this, &Form1::OnLinkFailed);
    connect(&link_, &ScannerLink::Opened, this, &Form1::OnLinkOpened);
    connect(&link_, &ScannerLink::BlockedChanged, this, &Form1::OnLinkBlockedChanged);

    style_ = new WindowStyle(this);
    BuildDisplayPanel();
    BuildKeypad();
    layout_ = new LayoutSwitcher(*this, *style_);
    BuildTabs();
    BuildFooter();
    qApp->installEventFilter(this);
    Form_Load();
}

Form1::~Form1() = default;

void Form1::BuildDisplayPanel() {
    Picture2 = NewControl<DisplayPanel>(this, "Picture2", TwipsRect(kPanelLeft, kPanelTop, 3825, 2070));

    Text1 = NewControl<QPlainTextEdit>(Picture2, "Text1", OnPanel(270, 525, 2895, 735));
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
    Text1->setStyleSheet(QString("QPlainTextEdit { background: %1; color: black; }").arg(kAmber.name()));
    Text1->setPlainText(ScreenText("Choose Settings\r\nThen Hit Run\r\n"));

    IconsSet1 = DisplayBox(Picture2, "IconsSet1", OnPanel(285, 1260, 3570, 240), 8, true);
    IconsSet2 = DisplayBox(Picture2, "IconsSet2", OnPanel(285, 1440, 3570, 240), 8, true);
    Text3 = DisplayBox(Picture2, "Text3", OnPanel(300, 1800, 2115, 330), 11, false);
    freq = DisplayBox(Picture2, "freq", OnPanel(2880, 1800, 1035, 315), 11, false);
    freq->setAlignment(Qt::AlignRight);

    // The one-line copy of the display, shown only by the floating-bar layout.
    floating_taskbar = DisplayBox(this, "floating_taskbar", TwipsRect(0, 0, 3885, 285), 11, false);
    floating_taskbar->hide();
}

void Form1::BuildKeypad() {
    for (const KeyRow& row : KeyRows()) {
        const QRect place = TwipsRect(row.place.left, row.place.top, row.place.width, row.place.height);
        const bool latching = !SwapsPictureOnMouse(row);
        auto* key = new KeyButton(DrawKeyPicture(row.legend, place.size(), false),
                                  DrawKeyPicture(row.legend, place.size(), true), latching, this);
        key->setObjectName(QString::fromStdString(row.objectName));
        key->setGeometry(place);
        key->setToolTip(QString::fromStdString(row.legend.text));
        const std::string name = row.objectName;
        connect(key, &KeyButton::clicked, this, [this, name] { ClickKey(name); });
        keys_[name] = key;
    }
}

void Form1::BuildTabs() {
    SSTab1 = NewControl<QTabWidget>(this, "SSTab1", TwipsRect(60, 2880, 11505, 4965));
    for (const QString caption : {"Log", "Extended Info", "Tuner", "Settings"}) {
        SSTab1->addTab(caption == "Tuner" ? BuildTunerTab() : new QWidget(SSTab1), caption);
    }
    BuildLogTab(SSTab1->widget(0));
    BuildExtendedTab(SSTab1->widget(1));
    BuildSettingsTab(SSTab1->widget(3));
    BuildLogSettings(SSTab1->widget(3));
    BuildMacroFrames(SSTab1->widget(3));
    windowSettings_ = new WindowSettingsFrame(SSTab1->widget(3), *style_);
    const auto logFolder = [this] {
        return LogFolderPath(pgm_.logDirectory, appDirectory_);
    };
    history_ = new HistoryTab(
        logFolder, [this](const QString& text) { Tell(text); }, [this](const QString& text) { Note(text); }, SSTab1);
    SSTab1->addTab(history_, "History");
}

void Form1::BuildSettingsTab(QWidget* tab) {
    auto* comFrame = NewControl<QGroupBox>(tab, "Frame1", TwipsRect(120, 120, 3900, 2100), "Com Port Settings");

    Label8 = NewControl<QLabel>(comFrame, "Label8", TwipsRect(150, 360, 1200, 300), "COM Port:");
    Combo1 = NewControl<QComboBox>(comFrame, "Combo1", TwipsRect(1400, 330, 900, 330));
    for (int n = 1; n <= kPortCount; ++n) Combo1->addItem(QString::number(n));
    Combo1->setCurrentIndex(-1);
    connect(Combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
    port_device = NewControl<QLabel>(comFrame, "port_device", TwipsRect(2350, 360, 1500, 300));
    port_device->setStyleSheet("color: #404040;");

    Label10 = NewControl<QLabel>(comFrame, "Label10", TwipsRect(150, 840, 1200, 300), "Port Speed:");
    Combo2 = NewControl<QComboBox>(comFrame, "Combo2", TwipsRect(1400, 810, 1100, 330));
    for (int speed : kPortSpeeds) Combo2->addItem(QString::number(speed));
    Combo2->setCurrentIndex(-1);
    Combo2->setEnabled(false);
    connect(Combo2, &QComboBox::activated, this, &Form1::Combo2_Click);

    Command2 = NewControl<QPushButton>(comFrame, "Command2", TwipsRect(1400, 1380, 1100, 420), "Run");
    Command2->setEnabled(false);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    for (QLabel* label : {Label8, Label10}) label->setStyleSheet("color: #404040;");
}

void Form1::BuildFooter() {
    Text4 = NewControl<QLineEdit>(this, "Text4", TwipsRect(6300, 7875, 3285, 360));
    Text4->setReadOnly(true);
    Text4->setFocusPolicy(Qt::NoFocus);
    Text4->setStyleSheet("QLineEdit { background: #c0c0c0; color: #202020; border: none; }");

    Picture1 = NewControl<Logo>(this, "Picture1", TwipsRect(150, 7875, 1950, 420));
}

bool Form1::Running() const { return running_; }

void Form1::FocusPicture1() { Picture1->setFocus(Qt::OtherFocusReason); }

void Form1::SetText3Base(const QString& text) {
    text3Base_ = text;
    UpdateText3();
}

void Form1::SetLinkMessage(const QString& text) {
    linkMessage_ = text;
    UpdateText3();
}

void Form1::Note(const QString& text) {
    // While stopped Text3 holds it; while running it stands in front of the
    // indicator for a while, unless the link has news of its own.
    if (!running_) return SetText3Base(text);
    if (!linkMessage_.isEmpty()) return;
    SetLinkMessage(text);
    QTimer::singleShot(kNoteMs, this, [this, text] {
        if (linkMessage_ == text) SetLinkMessage({});
    });
}

void Form1::UpdateText3() {
    const QString& shown = linkMessage_.isEmpty() ? text3Base_ : linkMessage_;
    if (Text3->text() != shown) Text3->setText(shown);
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

}  // namespace quorvane
