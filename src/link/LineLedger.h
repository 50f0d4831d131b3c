#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// What is on the scanner's line: the commands written whose replies are
// still owed, and the bytes received that nobody has taken yet.
//
// The scanner answers every command it gets with one CR-ended line that
// starts with the command's word ("STS,...", "KEY,OK", "QSH,NG"), or with a
// bare "ERR". Each reply line is matched to the oldest owed command of its
// word; a line of no owed word (ERR, garbage) answers the oldest command of
// all. So a reply that never comes leaves its own command owed, however many
// other commands are answered meanwhile.
//
// The poll asks for whole rounds (TakeRound): nothing new is asked while
// replies are owed, so requests never pile up on a slow line. A command
// whose reply has not come 1 s after it became the oldest owed one (after it
// was written, or after the command before it was answered) is taken as
// lost: everything owed and held is dropped and polling starts afresh.
//
// At 57600 baud a round's three replies take about 26 ms, so every tick
// goes at once; at 9600 they take about 160 ms and every other tick waits.
class LineLedger {
public:
    static constexpr int64_t kGiveUpAfterMs = 1000;

    // A command (without its CR) went out at nowMs: its reply is owed.
    void Written(std::string_view command, int64_t nowMs);
    // Bytes came in at nowMs.
    void Received(std::string_view bytes, int64_t nowMs);

    // For the poll, at each tick. Empty: wait, send nothing. Otherwise every
    // byte received since the previous round (possibly none): the replies of
    // the previous round, and of anything else sent meanwhile.
    std::optional<std::string> TakeRound(int64_t nowMs);
    // For a reader that holds the line: every byte received and not yet taken.
    std::string TakeAll();
    // For a reader that holds the line, line by line: the whole reply lines
    // received and not yet taken, without their CR (nor the LF of a CR LF
    // line end); empty lines are left out. A line whose CR has not come yet
    // stays until it has.
    std::vector<std::string> TakeLines();

    // Forgets everything owed and held (Run, reconnect, a harvest's end).
    void Reset();

    int Owed() const { return static_cast<int>(owed_.size()); }
    // The word of the oldest command still owed ("STS"), empty when none.
    std::string OldestOwed() const { return owed_.empty() ? std::string() : owed_.front().word; }

private:
    struct Owing {
        std::string word;
        int64_t sentMs;
    };
    void Answer(std::string_view line, int64_t nowMs);

    std::deque<Owing> owed_;
    int64_t oldestSinceMs_ = 0;  // when the oldest owed command became the oldest
    int64_t lastByteMs_ = 0;
    std::string held_;     // received, not yet taken
    std::vector<std::string> lines_;  // the whole lines of held_
    std::string partial_;  // the start of a reply line whose CR has not come
};

}  // namespace quorvane
