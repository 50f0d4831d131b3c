#pragma once
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace quorvane {

// Switches parts of a window's frame on and off, keeps it above other windows
// on request, and lets the user drag it by any bare spot of its client area.
// Each frame property is one Qt window flag of the client window; writing one
// changes only that flag and keeps the window where it was and as large as it
// was (Qt hides a window whose flags change: it is shown again).
class WindowStyle : public QObject {
    Q_OBJECT
public:
    explicit WindowStyle(QObject* parent = nullptr);

    // The window whose frame this object changes and whose presses it watches;
    // nullptr detaches it (then every write changes nothing).
    void SetClient(QWidget* client);
    QWidget* Client() const { return client_; }

    // A left press on a bare spot of the client drags the whole window.
    void SetAutoDrag(bool on) { autoDrag_ = on; }
    bool AutoDrag() const { return autoDrag_; }
    // Kept for opening the window's system menu on a right click; Qt offers
    // no way to open that menu, so it is only stored.
    void SetAutoSysMenu(bool on) { autoSysMenu_ = on; }
    bool AutoSysMenu() const { return autoSysMenu_; }

    void SetControlBox(bool on);  // the system menu (Qt::WindowSystemMenuHint)
    bool ControlBox() const;
    void SetMaxButton(bool on);
    bool MaxButton() const;
    void SetMinButton(bool on);
    bool MinButton() const;
    void SetSizable(bool on);  // off: the fixed-size dialog frame
    bool Sizable() const;
    void SetTitlebar(bool on);  // off: a frameless window
    bool Titlebar() const;
    void SetToolWindow(bool on);  // the small tool-window frame (Qt::Tool)
    bool ToolWindow() const;
    void SetTopMost(bool on);  // above every normal window
    bool TopMost() const;
    void SetWhatsThisButton(bool on);
    bool WhatsThisButton() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The frame as the properties describe it; every write turns it into the
    // client's window flags, leaving flags no property stands for alone.
    struct Frame {
        bool titlebar = true;
        bool controlBox = true;
        bool minButton = true;
        bool maxButton = true;
        bool whatsThis = false;
        bool sizable = true;
        bool toolWindow = false;
        bool topMost = false;
    };
    void Write(bool Frame::*property, bool on);
    Qt::WindowFlags FlagsFor(const Frame& frame) const;
    void Rewrite(Qt::WindowFlags flags);

    Frame frame_;
    QPointer<QWidget> client_;
    bool autoDrag_ = false;
    bool autoSysMenu_ = false;
    // While the window follows the mouse itself: the press point relative to
    // the window's top-left corner (where the window system cannot move it).
    std::optional<QPoint> dragOffset_;
};

}  // namespace quorvane
