#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

// The telnet side of a scanner shared by ser2net in "telnet" mode (RFC 2217).
// The serial settings go out as COM-PORT-OPTION subcommands; every option
// negotiation from the server is answered here and stripped, so only the
// scanner's own bytes reach the reader.
class TelnetCodec {
public:
    // What to send once connected: the offer of the COM-PORT-OPTION and the
    // line settings (speed, 8 data bits, no parity, 1 stop bit).
    static std::string Greeting(int baud);
    // The scanner bytes to send, with every 0xFF doubled.
    static std::string Encode(std::string_view data);
    // Takes received bytes (sequences may be split across calls) and returns
    // the scanner's bytes in them; answers to the server's negotiation are
    // appended to answer, to be sent back.
    std::string Decode(std::string_view received, std::string& answer);

private:
    enum class State { Data, Command, Option, Sub, SubCommand };
    void Negotiate(uint8_t verb, uint8_t option, std::string& answer);

    State state_ = State::Data;
    uint8_t verb_ = 0;
    // Options in effect, one bit each for 0..63: ours (WILL) and theirs (DO).
    uint64_t ours_ = 1ull << 44;  // the greeting offers the COM-PORT-OPTION
    uint64_t theirs_ = 0;
};

}  // namespace quorvane
