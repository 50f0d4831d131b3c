#pragma once

namespace quorvane {

// The pause before trying a server again (a feed, a broker, a call server):
// it starts short and doubles with each failure up to a most, so a server
// that is away for long is asked about once a minute, and it starts short
// again once the server answers.
class RetryPause {
public:
    explicit RetryPause(int firstMs = 1000, int mostMs = 60000) : firstMs_(firstMs), mostMs_(mostMs) {}

    // The pause before the next try, in milliseconds; each call doubles the
    // one after it, up to the most.
    int Next() {
        const int pause = nextMs_ > 0 ? nextMs_ : firstMs_;
        nextMs_ = pause >= mostMs_ / 2 ? mostMs_ : pause * 2;
        return pause > mostMs_ ? mostMs_ : pause;
    }
    // The server answered: the next failure waits the first pause again.
    void Reset() { nextMs_ = 0; }

private:
    int firstMs_;
    int mostMs_;
    int nextMs_ = 0;
};

}  // namespace quorvane
