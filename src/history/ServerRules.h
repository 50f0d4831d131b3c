#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Why the history server did not take a hit.
enum class ServerProblem {
    Away,           // not reachable, shutting down, or the connection was lost
    UnknownHost,    // the host name does not resolve
    WrongPassword,
    NoDatabase,
    Denied,         // no pg_hba.conf entry for the station, no such role, no right to the tables
    NewerSchema,    // the server's tables were made by a newer Quorvane
    HitRefused,     // the server refused this hit's values; the others can go
    Other,
};

// The problem from what the server or libpq said: sqlState is the SQLSTATE
// of a failed statement (empty when the connection itself failed), message
// libpq's text.
ServerProblem ClassifyServerError(std::string_view sqlState, std::string_view message);

// What the user is told about the history server. Note: a few words for
// Text3, given on every failed attempt, so that they stand while the server
// is away. Message: for a message box, given once for a problem until the
// server has worked again (nothing for a server that is merely away).
struct ServerReport {
    std::string Note;
    std::string Message;
    int RetryMs = 0;  // when to try again; 0: at once
};

inline constexpr int kServerRetryMs = 10000;
// A wrong password or a missing database needs someone to act: asked less often.
inline constexpr int kServerLoginRetryMs = 60000;

class ServerTelling {
public:
    // server: the server's name for messages; detail: the server's own words.
    ServerReport Failed(ServerProblem problem, const std::string& server, const std::string& detail);
    // The server took hits again. True when it had been away or refusing.
    bool Worked();

private:
    std::optional<ServerProblem> told_;
    bool troubled_ = false;
    bool hitRefusedTold_ = false;  // a refused hit is told once a run
};

// Each hit of the local history carries a mark for the server (stored as
// NULL, 0, 1, 2).
enum class SentMark {
    LocalOnly,   // written while no server was set: it stays here
    NotYetSent,  // waits for the server
    Sent,        // the server has it
    Refused,     // the server refused its values; kept here only
};

// A hit as it ends: waits for the server when one is set.
SentMark MarkOfNewHit(bool serverSet);
// A hit read from a log file: a new one like a live hit; one already in the
// local history keeps its mark, except that importing with a server set also
// sends what was recorded before there was a server.
SentMark MarkOfImportedHit(bool serverSet, std::optional<SentMark> present);

// Which hits go in the next transaction to the server: the oldest
// not-yet-sent ones in the order they were recorded, many at a time. When
// the server refuses one hit's values, the batch is sent again one hit at a
// time, so that only that hit is marked refused and the others go on.
class SendQueue {
public:
    static constexpr int kBatch = 500;

    enum class Step {
        SendNext,      // mark the batch sent and send the next
        MarkRefused,   // mark the one hit refused, then send the next
        ResendSingly,  // send the same hits again one at a time
        WaitAndRetry,  // keep the marks; try again after the report's wait
    };
    int BatchSize() const { return singlyLeft_ > 0 ? 1 : kBatch; }
    // sent: how many hits the transaction held.
    Step Sent(int sent);
    Step Failed(ServerProblem problem, int sent);

private:
    int singlyLeft_ = 0;
};

}  // namespace quorvane
