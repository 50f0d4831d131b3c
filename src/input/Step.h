#pragma once
#include <string>
#include <utility>

namespace quorvane {

// One step of a key's action: a command text handed to SendCommand, or a
// pause of some milliseconds before the next step.
struct Step {
    enum class Type { Send, Wait };

    Type type = Type::Send;
    std::string text;  // Send: the command text (the port adds the CR)
    int waitMs = 0;    // Wait: the pause

    static Step Send(std::string text) { return Step{Type::Send, std::move(text), 0}; }
    static Step Wait(int ms) { return Step{Type::Wait, {}, ms}; }

    bool IsSend() const { return type == Type::Send; }
    bool IsWait() const { return type == Type::Wait; }

    friend bool operator==(const Step&, const Step&) = default;
};

}  // namespace quorvane
