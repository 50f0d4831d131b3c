#pragma once
#include <QObject>
#include <QString>
#include <QTimer>

#include "link/PortNaming.h"

namespace quorvane {

class ScannerLink;

// Run and Stop of the scanner's link, and winning the scanner back after it
// went away: a lost line is tried again every 2 s until it opens. It keeps
// the link's news for the user (Message): connecting, disconnected, a
// network address that does not answer, a scanner that does not read or
// answer, the line held by a harvest or by memory programming.
//
// While the scanner does not answer, the port's entry is looked at again
// every 2 s: when it now leads to another device (its link was pointed
// elsewhere, by the device list or by hand), the line is opened there.
//
// A scanner left in programming mode (a harvest or memory programming cut
// off by a lost line, a stop or the end of the program) is told to leave it
// as soon as the line is there again; a marker file in the app folder
// carries that over to the next run.
class LinkRunner : public QObject {
    Q_OBJECT
public:
    LinkRunner(ScannerLink& link, QString appDirectory, QObject* parent = nullptr);

    // Opens port number portNumber (1 to 10) at baud. False when it cannot;
    // Failure() then says why ("Port 1 (/dev/ttyUSB0) not found").
    bool Run(int portNumber, int baud);
    void Stop();
    bool Running() const { return running_; }
    const QString& Failure() const { return failure_; }

    // The device or network address a port number opens, as shown beside
    // the port list.
    QString PortDevice(int portNumber) const;
    PortEntry Entry(int portNumber) const;

    // The link's news; empty when there is none.
    const QString& Message() const { return message_; }
    // Whether what the scanner shows is coming in now: running, and
    // nothing wrong with the line (a harvest shows what it finds).
    bool Live() const;
    // The poll has had no answer for a while (true) or has one again.
    void SetPollSilent(bool silent);

signals:
    // The line went away while running (or an opening failed): whoever
    // uses it stops; LineBack follows once it is open again.
    void LineLost();
    void LineBack();
    void MessageChanged(const QString& message);

private:
    void SetMessage(const QString& message);
    void OnLost();
    void OnFailed(const QString& reason);
    void OnBlockedChanged();
    void OnHolderChanged();
    void Retry();
    void CheckEntryMoved();
    QString Open();
    // The device a port entry leads to now (links followed); empty for a
    // network address or nothing there.
    QString DeviceNow() const;
    // The line is open (again): a scanner left in programming mode leaves it.
    void LineOpen();
    void MarkProgramMode(bool on);
    QString MarkerPath() const;

    ScannerLink& link_;
    QString appDirectory_;
    QTimer reconnectTimer_;
    QTimer entryCheck_;  // while the scanner does not answer
    QString openedDevice_;
    bool running_ = false;
    int portNumber_ = 0;
    int baud_ = 0;
    QString failure_;
    QString message_;
};

}  // namespace quorvane
