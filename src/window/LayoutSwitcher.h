#pragma once
#include <QObject>
#include <QSize>
#include <optional>

#include "app/LayoutModes.h"

class QWidget;

namespace quorvane {

class KeyButton;
class WindowStyle;

// The two small buttons above the display that shrink and grow the main
// window through its layouts, and the layouts themselves applied to the
// window: its outer size, its frame (through the window style) and the
// controls a layout moves, found by their object names.
class LayoutSwitcher : public QObject {
    Q_OBJECT
public:
    LayoutSwitcher(QWidget& window, WindowStyle& style);

    LayoutMode Mode() const { return mode_; }
    void LayoutStepDown();  // the minus button
    void LayoutStepUp();    // the plus button
    // Brings back a layout saved as its code; the window style must already
    // have the window as its client.
    void Restore(int code);
    // The frameless layouts lose their frame again where something (a new
    // caption) may have brought it back.
    void ReapplyFrame();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply(const LayoutStep& step);
    void SetOuterSize(int widthTwips, int heightTwips);
    void FitOuterSize();
    void HideCutKeys();

    QWidget& window_;
    WindowStyle& style_;
    LayoutMode mode_ = LayoutMode::Full;
    // The outer size in pixels that the window keeps once the frame it gets is
    // known; none while the full layout keeps its designed client area.
    std::optional<QSize> outer_;
    // The frame the window manager drew last while the window had one: a
    // frame that comes back is counted before the manager reports it again.
    QSize lastFrame_;
    KeyButton* minus_ = nullptr;
    KeyButton* plus_ = nullptr;
};

}  // namespace quorvane
