#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace quorvane {

// What the small box Text3 on the display shows. Three things compete for
// it: the base text (the prompt while stopped, the indicator while
// running), the link's news (disconnected, no reply, a harvest running)
// and short notes ("Hit Run first", "No web browser could be opened"). A
// note shows for its time in front of everything, then what was there
// comes back; the link's news stands in front of the base text for as long
// as it lasts. A held note (an alert no notification service took) stays
// behind the short notes until it is let go (the next hit, a click), so an
// alert is not missed for having lasted only a few seconds.
class StatusText {
public:
    static constexpr int64_t kNoteMs = 5000;

    void SetBase(std::string text) { base_ = std::move(text); }
    void SetLinkMessage(std::string text) { link_ = std::move(text); }
    const std::string& LinkMessage() const { return link_; }
    void Note(std::string text, int64_t nowMs, int64_t forMs = kNoteMs);
    void Hold(std::string text) { held_ = std::move(text); }
    // Whether there was a held note to let go.
    bool LetGo() { return !std::exchange(held_, std::string()).empty(); }

    std::string Shown(int64_t nowMs) const;
    // When what is shown changes by itself next (a note runs out).
    std::optional<int64_t> NextChangeMs(int64_t nowMs) const;

private:
    std::string base_;
    std::string link_;
    std::string held_;
    std::string note_;
    int64_t noteUntilMs_ = 0;
};

}  // namespace quorvane
