#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Keeps the poll from outrunning a slow line. The scanner answers every
// command it gets (poll requests, keys, tuning) with one CR-ended line, so
// the window tells the pacer of every command it sends and hands it every
// byte it reads. A tick whose previous requests are not all answered sends
// nothing new: it keeps what it read and waits for the rest. When every
// line owed has arrived, the tick goes on with the whole input of the
// previous round, exactly as a tick read it when the line was fast enough.
//
// At 57600 baud a round's three replies take about 26 ms, so every tick
// goes at once; at 9600 they take about 160 ms and every other tick waits.
class PollPacer {
public:
    // Lines still owed with nothing new read for this long: the scanner is
    // not answering them; what is held is dropped and polling starts afresh.
    static constexpr int64_t kGiveUpAfterMs = 1000;

    // A command went out at nowMs: one more reply line is owed.
    void Sent(int64_t nowMs);

    // One poll tick with the bytes read since the last one. Empty: wait, send
    // nothing. Otherwise the input of the previous round (possibly empty):
    // send the new requests and hand this to the poll cycle.
    std::optional<std::string> Tick(std::string_view read, int64_t nowMs);

    // Forgets everything owed and held (Run, reconnect, after a harvest).
    void Reset();

    int Owed() const { return owed_; }

private:
    std::string held_;
    int owed_ = 0;
    int64_t lastActivityMs_ = 0;  // the latest send or read
};

}  // namespace quorvane
