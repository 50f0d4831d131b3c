#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "link/LineGrant.h"
#include "link/LineLedger.h"
#include "link/PortNaming.h"
#include "link/WriteBacklog.h"
#include "link/qt/NetworkLink.h"
#include "link/qt/SerialLink.h"

namespace quorvane {

// The one connection to the scanner and the one owner of its line, whatever
// reaches it: a serial device or a scanner shared on the network. Nothing
// above it knows which.
//
// It takes in what the scanner sends as soon as it arrives while a user
// holds the line (the key queue, the harvest, memory programming), and at
// every poll tick otherwise, and keeps the ledger of commands written and
// replies owed (LineLedger). Its users (the poll, the key queue, the quick scan, the
// harvest, memory programming) ask it for the line (LineGrant) instead of
// looking at each other; a command of a user that may not use the line now
// is dropped here.
//
// It also keeps the line from filling up with stale commands when the other
// end stops reading (WriteBacklog): commands beyond the limit are dropped
// and Blocked() says so until the scanner answers again. A network link
// that has heard nothing for kNetworkSilenceMs after a command went out
// counts as lost (the host may have vanished without a word): it is closed
// and Lost follows.
class ScannerLink : public QObject {
    Q_OBJECT
public:
    explicit ScannerLink(QObject* parent = nullptr);
    // A link that reaches the scanner through transport only, whatever the
    // port entry names (tests stand a fake line in for the scanner's).
    ScannerLink(LinkTransport& transport, QObject* parent = nullptr);
    static constexpr int kNetworkSilenceMs = 5000;

    // Opens what the port entry names at the given speed (closing first).
    // Empty when open, or when a network connection is on its way (Opened
    // or Failed follows); otherwise a short reason for the user.
    QString Open(const PortEntry& entry, int baud);
    void Close();
    bool IsOpen() const;
    // True while commands are being dropped because the scanner does not
    // take them.
    bool Blocked() const { return backlog_.Blocked(); }

    // Asks for the line for user. Go: it may send now; a user that holds
    // lines (HoldsLine) holds it until Release. A harvest or memory
    // programming taking over from a playing key sequence emits KeysDropped.
    Grant Ask(LineUser user);
    // Lets go of the line. After a user that puts the scanner in Program
    // Mode, what is owed is forgotten (the poll starts afresh) and "EPG" goes
    // out last when "PRG" went out (then Scan, after memory programming).
    void Release(LineUser user);
    std::optional<LineUser> Holder() const { return holder_; }

    // Writes text and one CR for user. False when nothing was written: the
    // line is closed, the user may not use it now, or the backlog is full.
    bool Send(LineUser user, const std::string& text);
    // Sends several commands for user in one write (the same bytes as one
    // Send each; one system call instead of several on every poll).
    void SendAll(LineUser user, std::initializer_list<const char*> texts);

    // For the poll at each tick: the previous round's replies once all are
    // in (LineLedger::TakeRound); empty while it must wait or may not poll.
    std::optional<std::string> TakeRound();
    // For the holder: every byte received and not yet taken.
    std::string TakeReceived();
    // For the holder, line by line: the whole reply lines received and not
    // yet taken (LineLedger::TakeLines).
    std::vector<std::string> TakeLines();
    // Forgets the replies owed and the bytes held (a harvest's end, Run).
    void ForgetOwed() { ledger_.Reset(); }
    int Owed() const { return ledger_.Owed(); }
    // Bytes the link holds that have not gone out yet.
    std::size_t Unsent() const;
    // Waits up to waitMs for what is unsent to go out (before the program ends).
    void Flush(int waitMs);

    // Whether "PRG" went out with no "EPG" since: the scanner is in
    // programming mode ("Remote Mode / Keypad Lock") and must be told to
    // leave it whatever happens.
    bool InProgramMode() const { return programMode_; }
    // Sends "EPG" now, whoever has the line (Stop, exit, a line that came
    // back, a previous run that ended in programming mode).
    void LeaveProgramMode();

signals:
    // The line went away under an open link (cable pulled, the other end
    // closed, the network connection dropped or never came up). The link is
    // closed already; delivered from the event loop, never inside a call.
    void Lost();
    // Bytes arrived between calls (the holder may take them).
    void Received();
    // A network connection on its way is open.
    void Opened();
    // A network connection on its way failed for this reason ("host not
    // found", "connection refused").
    void Failed(const QString& reason);
    // Blocked() changed; delivered from the event loop.
    void BlockedChanged();
    // The key queue must drop what it has not sent: another user took over.
    void KeysDropped();
    // Holder() changed.
    void HolderChanged();
    // InProgramMode() changed.
    void ProgramModeChanged(bool on);

private:
    // Takes in everything waiting on the line; false when nothing was.
    bool ReadIn();
    void NoteBlocked(bool wasBlocked);
    void Forget();
    void SetHolder(std::optional<LineUser> holder);
    // A network scanner silent about its owed replies for too long is gone.
    void CheckNetworkSilence();
    // Writes one command line (after the checks of Send).
    bool Write(const std::string& text);
    // Admits one command line into lines (backlog, ledger, program mode):
    // false when the backlog refuses it.
    bool Admit(const std::string& text, std::string& lines);

    void Watch(LinkTransport& transport);

    SerialLink serial_;
    NetworkLink network_;
    LinkTransport* current_ = &serial_;
    LinkTransport* only_ = nullptr;  // the one transport a test gave
    WriteBacklog backlog_;
    LineLedger ledger_;
    std::optional<LineUser> holder_;
    bool programMode_ = false;
    QElapsedTimer clock_;
    QTimer silenceCheck_;
    // When the first command went out that nothing has been heard after.
    std::optional<qint64> unansweredSinceMs_;
};

}  // namespace quorvane
