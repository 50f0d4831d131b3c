#include "window/LayoutSwitcher.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

#include "input/qt/KeyButton.h"
#include "app/qt/Twips.h"
#include "window/WindowStyle.h"

namespace quorvane {
namespace {

// The buttons' 13 x 11 pixel pictures: a grey raised face with a minus or a
// plus sign; pressed, the bevel turns in and the sign sinks by a pixel.
QPixmap SignPicture(bool plus, bool pressed) {
    QPixmap picture(13, 11);
    picture.fill(QColor(212, 208, 200));
    QPainter p(&picture);
    const QColor light(255, 255, 255);
    const QColor dark(128, 128, 128);
    p.setPen(pressed ? dark : light);
    p.drawLine(0, 0, 12, 0);
    p.drawLine(0, 0, 0, 10);
    p.setPen(pressed ? light : dark);
    p.drawLine(0, 10, 12, 10);
    p.drawLine(12, 0, 12, 10);
    const int sink = pressed ? 1 : 0;
    p.fillRect(4 + sink, 5 + sink, 5, 1, Qt::black);
    if (plus) p.fillRect(6 + sink, 3 + sink, 1, 5, Qt::black);
    return picture;
}

KeyButton* LayoutButton(QWidget& window, const char* name, QRect place, bool plus) {
    auto* button = new KeyButton(SignPicture(plus, false), SignPicture(plus, true), false, &window);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

}  // namespace

LayoutSwitcher::LayoutSwitcher(QWidget& window, WindowStyle& style) : QObject(&window), window_(window), style_(style) {
    auto* minus = minus_ = LayoutButton(window, "button_mini_plus_hold_win", TwipsRect(1830, 20, 195, 165), false);
    auto* plus = plus_ = LayoutButton(window, "button_maxi_plus_hold_win", TwipsRect(2070, 20, 195, 165), true);
    minus->NameAfterKey();
    plus->NameAfterKey();
    connect(minus, &KeyButton::clicked, this, &LayoutSwitcher::LayoutStepDown);
    connect(plus, &KeyButton::clicked, this, &LayoutSwitcher::LayoutStepUp);
    window.installEventFilter(this);
}

void LayoutSwitcher::LayoutStepDown() {
    if (const auto step = quorvane::LayoutStepDown(mode_)) Apply(*step);
}

void LayoutSwitcher::LayoutStepUp() {
    if (const auto step = quorvane::LayoutStepUp(mode_)) Apply(*step);
}

void LayoutSwitcher::Restore(int code) {
    const LayoutRestore restore = LayoutRestoreFor(code);
    mode_ = restore.enteredByName;
    if (restore.outerWidth && restore.outerHeight) SetOuterSize(*restore.outerWidth, *restore.outerHeight);
    for (int i = 0; i < restore.stepsDown; ++i) LayoutStepDown();
}

void LayoutSwitcher::ReapplyFrame() {
    if (!IsFramelessLayout(mode_)) return;
    style_.SetTitlebar(false);
    style_.SetAutoDrag(true);
}

void LayoutSwitcher::Apply(const LayoutStep& step) {
    if (step.to == LayoutMode::Full) {
        outer_.reset();
        window_.setFixedSize(Px(kFullClientWidth), Px(kFullClientHeight));
        HideCutKeys();
    } else {
        SetOuterSize(step.outerWidth, step.outerHeight);
    }
    if (step.titlebar) style_.SetTitlebar(*step.titlebar);
    if (step.autoDrag) style_.SetAutoDrag(*step.autoDrag);
    for (const ControlMove& move : step.moves) {
        auto* control = window_.findChild<QWidget*>(QString::fromStdString(move.name));
        if (!control) continue;
        QPoint place = control->pos();
        if (move.left) place.setX(Px(*move.left));
        if (move.top) place.setY(Px(*move.top));
        control->move(place);
    }
    if (step.floatingTaskbarShown) {
        if (auto* bar = window_.findChild<QWidget*>("floating_taskbar")) bar->setVisible(*step.floatingTaskbarShown);
    }
    mode_ = step.to;
    // A frame switched on or off changes how much of the outer size is client.
    FitOuterSize();
}

void LayoutSwitcher::SetOuterSize(int widthTwips, int heightTwips) {
    outer_ = QSize(Px(widthTwips), Px(heightTwips));
    FitOuterSize();
}

void LayoutSwitcher::FitOuterSize() {
    if (!outer_) return;
    // The frame's share as the window manager reports it; none before the
    // window has a frame (hidden, or no window manager). A frameless window
    // has none, even while the window manager's last report still counts the
    // frame it just lost.
    QSize frame = (window_.frameGeometry().size() - window_.geometry().size()).expandedTo(QSize(0, 0));
    if (window_.windowFlags().testFlag(Qt::FramelessWindowHint)) {
        frame = QSize(0, 0);
    } else if (frame.isEmpty() && !lastFrame_.isEmpty()) {
        frame = lastFrame_;  // the frame is back; the manager has not said so yet
    } else if (!frame.isEmpty()) {
        lastFrame_ = frame;
    }
    const QSize client = (*outer_ - frame).expandedTo(QSize(1, 1));
    if (window_.minimumSize() != client || window_.maximumSize() != client) window_.setFixedSize(client);
    HideCutKeys();
}

void LayoutSwitcher::HideCutKeys() {
    // A small layout crops the keypad at the window's edge: a key it would
    // cut shows not at all rather than as a sliver.
    const QRect client(QPoint(0, 0), window_.minimumSize());
    for (KeyButton* key : window_.findChildren<KeyButton*>(Qt::FindDirectChildrenOnly)) {
        if (key == minus_ || key == plus_) continue;
        const bool cut = client.intersects(key->geometry()) && !client.contains(key->geometry());
        if (key->isHidden() != cut) key->setVisible(!cut);
    }
}

bool LayoutSwitcher::eventFilter(QObject* watched, QEvent* event) {
    // The window manager tells the frame it gives the window only once it has
    // shown or moved the window: the client size follows it then.
    if (watched == &window_ && (event->type() == QEvent::Show || event->type() == QEvent::Move)) FitOuterSize();
    return false;
}

}  // namespace quorvane
