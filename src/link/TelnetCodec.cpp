#include "link/TelnetCodec.h"

namespace quorvane {
namespace {

constexpr uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250, kSe = 240;
constexpr uint8_t kBinary = 0, kSuppressGoAhead = 3, kComPortOption = 44;
// COM-PORT-OPTION subcommands from the client.
constexpr uint8_t kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4;
constexpr uint8_t kParityNone = 1, kOneStopBit = 1;

std::string Bytes(std::initializer_list<uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

// Options either side may have on: 8-bit data and no go-ahead. Theirs may
// not include ECHO: an echo of the commands would land among the replies.
bool SupportedByUs(uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPortOption;
}
bool SupportedForThem(uint8_t option) { return option == kBinary || option == kSuppressGoAhead; }

}  // namespace

std::string TelnetCodec::Greeting(int baud) {
    const auto speed = static_cast<uint32_t>(baud);
    std::string out = Bytes({kIac, kWill, kComPortOption});
    auto sub = [&out](uint8_t command, const std::string& value) {
        out += Bytes({kIac, kSb, kComPortOption, command}) + Encode(value) + Bytes({kIac, kSe});
    };
    sub(kSetBaudRate, Bytes({static_cast<uint8_t>(speed >> 24), static_cast<uint8_t>(speed >> 16),
                             static_cast<uint8_t>(speed >> 8), static_cast<uint8_t>(speed)}));
    sub(kSetDataSize, Bytes({8}));
    sub(kSetParity, Bytes({kParityNone}));
    sub(kSetStopSize, Bytes({kOneStopBit}));
    return out;
}

std::string TelnetCodec::Encode(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (const char c : data) {
        out += c;
        if (static_cast<uint8_t>(c) == kIac) out += c;
    }
    return out;
}

void TelnetCodec::Negotiate(uint8_t verb, uint8_t option, std::string& answer) {
    const uint64_t bit = option < 64 ? 1ull << option : 0;
    const bool asksUs = verb == kDo || verb == kDont;
    uint64_t& on = asksUs ? ours_ : theirs_;
    const bool wantsOn = verb == kDo || verb == kWill;
    // Answer only a change of state, so that two sides never loop.
    if (wantsOn == ((on & bit) != 0)) return;
    const bool agree = !wantsOn || (asksUs ? SupportedByUs(option) : SupportedForThem(option));
    if (agree) {
        on ^= bit;
        answer += Bytes({kIac, asksUs ? (wantsOn ? kWill : kWont) : (wantsOn ? kDo : kDont), option});
    } else {
        answer += Bytes({kIac, asksUs ? kWont : kDont, option});
    }
}

std::string TelnetCodec::Decode(std::string_view received, std::string& answer) {
    std::string data;
    for (const char c : received) {
        const auto byte = static_cast<uint8_t>(c);
        switch (state_) {
        case State::Data:
            if (byte == kIac) state_ = State::Command;
            else data += c;
            break;
        case State::Command:
            if (byte == kIac) {
                data += c;  // an escaped 0xFF is one data byte
                state_ = State::Data;
            } else if (byte >= kWill) {
                verb_ = byte;
                state_ = State::Option;
            } else {
                state_ = byte == kSb ? State::Sub : State::Data;  // NOP, GA, BRK and the like: nothing to do
            }
            break;
        case State::Option:
            Negotiate(verb_, byte, answer);
            state_ = State::Data;
            break;
        case State::Sub:  // the server's subnegotiation replies: skipped to IAC SE
            if (byte == kIac) state_ = State::SubCommand;
            break;
        case State::SubCommand:
            state_ = byte == kSe ? State::Data : State::Sub;
            break;
        }
    }
    return data;
}

}  // namespace quorvane
