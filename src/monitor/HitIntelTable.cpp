#include "monitor/HitIntelTable.h"

#include <string_view>

namespace quorvane {
namespace {
const std::string kEmpty;
}

HitIntelTable::HitIntelTable() : entries_(kEntryCount) {}

size_t HitIntelTable::LoadLines(const std::string& fileBytes) {
    const std::string_view bytes(fileBytes);
    size_t stored = 0;
    size_t start = 0;
    while (start < bytes.size() && stored < kEntryCount) {
        const size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            entries_[stored++].assign(bytes.substr(start));
            break;
        }
        entries_[stored++].assign(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return stored;
}

const std::string& HitIntelTable::Entry(size_t index) const {
    return index < entries_.size() ? entries_[index] : kEmpty;
}

void HitIntelTable::SetEntry(size_t index, std::string text) {
    if (index < entries_.size()) entries_[index] = std::move(text);
}

}  // namespace quorvane
