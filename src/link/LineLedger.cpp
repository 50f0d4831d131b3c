#include "link/LineLedger.h"

#include <algorithm>
#include <utility>

namespace quorvane {
namespace {

std::string_view WordOf(std::string_view line) { return line.substr(0, line.find(',')); }

}  // namespace

void LineLedger::Written(std::string_view command, int64_t nowMs) {
    if (owed_.empty()) oldestSinceMs_ = nowMs;
    owed_.push_back({std::string(WordOf(command)), nowMs});
}

void LineLedger::Received(std::string_view bytes, int64_t nowMs) {
    if (bytes.empty()) return;
    held_.append(bytes);
    lastByteMs_ = nowMs;
    for (std::size_t end; (end = bytes.find('\r')) != std::string_view::npos; bytes.remove_prefix(end + 1)) {
        partial_.append(bytes.substr(0, end));
        Answer(partial_, nowMs);
        if (const std::size_t start = partial_.find_first_not_of('\n'); start != std::string::npos)
            lines_.push_back(partial_.substr(start));
        partial_.clear();
    }
    partial_.append(bytes);
}

void LineLedger::Answer(std::string_view line, int64_t nowMs) {
    if (owed_.empty()) return;  // a stray line: nothing to answer
    const std::string_view word = WordOf(line);
    auto owing = std::find_if(owed_.begin(), owed_.end(), [&](const Owing& o) { return o.word == word; });
    if (owing == owed_.end()) owing = owed_.begin();
    if (owing == owed_.begin()) oldestSinceMs_ = nowMs;
    owed_.erase(owing);
}

std::optional<std::string> LineLedger::TakeRound(int64_t nowMs) {
    // A line still arriving after the last one owed (a stray line) is waited
    // for too, so the next round starts on a line boundary.
    const bool midLine = !partial_.empty();
    if (!owed_.empty() || midLine) {
        int64_t since = owed_.empty() ? lastByteMs_ : oldestSinceMs_;
        if (midLine) since = std::max(since, lastByteMs_);
        if (nowMs - since < kGiveUpAfterMs) return std::nullopt;
        Reset();
        return std::string();
    }
    return TakeAll();
}

std::string LineLedger::TakeAll() {
    std::string all;
    all.swap(held_);
    lines_.clear();
    return all;
}

std::vector<std::string> LineLedger::TakeLines() {
    // The bytes of the lines handed over go; the start of a line stays.
    held_.erase(0, held_.rfind('\r') + 1);
    return std::exchange(lines_, {});
}

void LineLedger::Reset() {
    owed_.clear();
    held_.clear();
    lines_.clear();
    partial_.clear();
}

}  // namespace quorvane
