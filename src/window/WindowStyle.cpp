#include "window/WindowStyle.h"

#include <QMouseEvent>
#include <QWindow>

namespace quorvane {
namespace {

// The flags the frame properties stand for.
constexpr Qt::WindowFlags kFrameFlags = Qt::WindowType_Mask | Qt::FramelessWindowHint | Qt::CustomizeWindowHint |
                                        Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                                        Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint |
                                        Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint;

}  // namespace

WindowStyle::WindowStyle(QObject* parent) : QObject(parent) {}

void WindowStyle::SetClient(QWidget* client) {
    if (client_) client_->removeEventFilter(this);
    client_ = client;
    dragOffset_.reset();
    if (!client_) return;
    client_->installEventFilter(this);
    // Start from the frame the window has; a frame Qt was left to choose has
    // a title bar, the system menu and both buttons.
    const Qt::WindowFlags flags = client_->windowFlags();
    const bool customized = flags.testFlag(Qt::CustomizeWindowHint);
    frame_.titlebar = !flags.testFlag(Qt::FramelessWindowHint);
    frame_.controlBox = !customized || flags.testFlag(Qt::WindowSystemMenuHint);
    frame_.minButton = !customized || flags.testFlag(Qt::WindowMinimizeButtonHint);
    frame_.maxButton = !customized || flags.testFlag(Qt::WindowMaximizeButtonHint);
    frame_.whatsThis = flags.testFlag(Qt::WindowContextHelpButtonHint);
    frame_.sizable = !flags.testFlag(Qt::MSWindowsFixedSizeDialogHint);
    frame_.toolWindow = client_->windowType() == Qt::Tool;
    frame_.topMost = flags.testFlag(Qt::WindowStaysOnTopHint);
}

Qt::WindowFlags WindowStyle::FlagsFor(const Frame& frame) const {
    Qt::WindowFlags flags = client_->windowFlags() & ~kFrameFlags;
    flags |= frame.toolWindow ? Qt::Tool : Qt::Window;
    flags.setFlag(Qt::WindowStaysOnTopHint, frame.topMost);
    flags.setFlag(Qt::MSWindowsFixedSizeDialogHint, !frame.sizable);
    if (!frame.titlebar) return flags | Qt::FramelessWindowHint;
    const bool qtDefault = frame.controlBox && frame.minButton && frame.maxButton && !frame.whatsThis;
    if (qtDefault) {
        return flags | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
               Qt::WindowCloseButtonHint;
    }
    // A customised frame: the title bar and only the buttons asked for. The
    // buttons belong to the system menu: without it the title bar has none
    // (they come back with it).
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (!frame.controlBox) return flags;
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    flags.setFlag(Qt::WindowMinimizeButtonHint, frame.minButton);
    flags.setFlag(Qt::WindowMaximizeButtonHint, frame.maxButton);
    flags.setFlag(Qt::WindowContextHelpButtonHint, frame.whatsThis);
    return flags;
}

void WindowStyle::Write(bool Frame::*property, bool on) {
    if (!client_) return;
    frame_.*property = on;
    Rewrite(FlagsFor(frame_));
}

void WindowStyle::Rewrite(Qt::WindowFlags flags) {
    if (flags == client_->windowFlags()) return;
    // While the kind of window stays the same, the native window is told of
    // its new frame as it is: it is not made anew, so it neither vanishes nor
    // blinks in the taskbar, and keeps its place and size.
    QWindow* native = client_->windowHandle();
    if (native && (flags & Qt::WindowType_Mask) == (client_->windowFlags() & Qt::WindowType_Mask)) {
        client_->overrideWindowFlags(flags);
        native->setFlags(flags);
        return;
    }
    const QPoint position = client_->pos();
    const QSize size = client_->size();
    const bool shown = client_->isVisible();
    client_->setWindowFlags(flags);
    client_->resize(size);
    if (!shown) {
        client_->move(position);
        return;
    }
    client_->show();
    // The new window's frame is not known yet: ask the window system to put
    // the frame's corner back where it was, whatever frame it now draws.
    if (QWindow* window = client_->windowHandle()) {
        window->setFramePosition(position);
    } else {
        client_->move(position);
    }
}

void WindowStyle::SetControlBox(bool on) { Write(&Frame::controlBox, on); }
bool WindowStyle::ControlBox() const { return client_ && frame_.controlBox; }
void WindowStyle::SetMaxButton(bool on) { Write(&Frame::maxButton, on); }
bool WindowStyle::MaxButton() const { return client_ && frame_.maxButton; }
void WindowStyle::SetMinButton(bool on) { Write(&Frame::minButton, on); }
bool WindowStyle::MinButton() const { return client_ && frame_.minButton; }
void WindowStyle::SetSizable(bool on) { Write(&Frame::sizable, on); }
bool WindowStyle::Sizable() const { return client_ && frame_.sizable; }
void WindowStyle::SetTitlebar(bool on) { Write(&Frame::titlebar, on); }
bool WindowStyle::Titlebar() const { return client_ && frame_.titlebar; }
void WindowStyle::SetToolWindow(bool on) { Write(&Frame::toolWindow, on); }
bool WindowStyle::ToolWindow() const { return client_ && frame_.toolWindow; }
void WindowStyle::SetTopMost(bool on) { Write(&Frame::topMost, on); }
bool WindowStyle::TopMost() const { return client_ && frame_.topMost; }
void WindowStyle::SetWhatsThisButton(bool on) { Write(&Frame::whatsThis, on); }
bool WindowStyle::WhatsThisButton() const { return client_ && frame_.whatsThis; }

bool WindowStyle::eventFilter(QObject* watched, QEvent* event) {
    if (watched != client_) return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (type == QEvent::MouseButtonPress) {
        // Presses on a control reach the window too when the control ignores
        // them: only a bare spot of the window itself starts a drag.
        if (!autoDrag_ || mouse->button() != Qt::LeftButton || client_->childAt(mouse->position().toPoint())) {
            return false;
        }
        QWindow* window = client_->windowHandle();
        if (window && window->startSystemMove()) return true;
        dragOffset_ = global - client_->pos();
        return true;
    }
    if (!dragOffset_) return false;
    if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)) {
        client_->move(global - *dragOffset_);
        return true;
    }
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        dragOffset_.reset();
        return true;
    }
    return false;
}

}  // namespace quorvane
