#pragma once
#include <QObject>

class QSocketNotifier;

namespace quorvane {

// Turns SIGTERM, SIGINT and SIGHUP (kill, Ctrl-C in a terminal, logging out)
// into `Received` on the event loop, so the program can shut down as a
// window close does instead of ending on the spot. The signal handler only
// writes the signal's number into a socket pair; the event loop reads it.
// A signal the program was started with ignored (nohup) stays ignored.
// One instance at a time; the previous handlers come back when it goes.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void Received(int signalNumber);

private:
    void ReadPending();

    int sockets_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quorvane
