#include "memory/MemoryCapacity.h"

namespace quorvane {

std::optional<std::string> CapacityProblem(const ScannerMemory& read, int usedPercent, const ScannerMemory& file,
                                           bool eraseFirst) {
    const std::size_t held = RecordCount(read);
    if (usedPercent <= 0 || held == 0) return std::nullopt;
    // The share is rounded down, so the room is at most this.
    const std::size_t room = held * 100 / static_cast<std::size_t>(usedPercent);
    const std::size_t free = room - held;
    const std::size_t wanted = RecordCount(file);
    const std::size_t added = eraseFirst ? wanted : (wanted > held ? wanted - held : 0);
    const std::size_t available = eraseFirst ? room : free;
    if (added <= available) return std::nullopt;
    return "The file needs about " + std::to_string(added - available) +
           " more records than the scanner has room for (it holds " + std::to_string(held) + ", about " +
           std::to_string(free) + " more fit). Nothing was changed.";
}

}  // namespace quorvane
