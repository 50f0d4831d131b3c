#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "input/KeyPad.h"
#include "input/SequenceQueue.h"

namespace quorvane {

class ScannerLink;

// Plays the click actions of the keys (on screen, keyboard, wheel, macros,
// tuning, a browser) through one queue, so the waits of a sequence keep
// their spacing on the wire while the window goes on painting. The key
// queue holds the line while it plays; keys are refused while the port is
// closed or a harvest or memory programming has the line.
class KeyPlayer : public QObject {
    Q_OBJECT
public:
    explicit KeyPlayer(ScannerLink& link, QObject* parent = nullptr);

    // The text of macro box 1..3, read when its key is clicked.
    void SetMacroText(std::function<std::string(int number)> macroText) { macroText_ = std::move(macroText); }

    // The click action of a key by its object name. False when refused.
    bool Click(const std::string& objectName);
    // Runs steps as keys do (a tuning command). False when refused.
    bool Play(const std::vector<Step>& steps);
    // Drops every key not yet sent (Stop, a lost line).
    void Clear();
    bool Playing() const { return queue_.Busy(); }
    const KeyPad& Pad() const { return pad_; }

signals:
    // A latching key's picture: pressed or released.
    void Latched(const QString& objectName, bool pressed);
    // SCAN and close-call-only stop the quick scan, even when refused.
    void QuickScanStopped();
    // The port is closed: "Hit Run first".
    void NotRunning(const QString& prompt);
    // A macro that cannot be played, for a message window.
    void Tell(const QString& text);

private:
    bool Ready();
    void Pump();

    ScannerLink& link_;
    KeyPad pad_;
    SequenceQueue queue_;
    QElapsedTimer clock_;
    QTimer queueTimer_;
    std::function<std::string(int)> macroText_;
};

}  // namespace quorvane
