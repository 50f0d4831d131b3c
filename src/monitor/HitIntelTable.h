#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace quorvane {

// The lines of hit_intel.txt in memory: entry n is line n of the file,
// unchanged. Each line is "frequency TAB channel TAB group TAB system" with
// the frequency in the scanner's eight-digit form; empty entries are unused.
class HitIntelTable {
public:
    static constexpr size_t kEntryCount = 6001;

    HitIntelTable();

    // Stores the lines of the file bytes into entries 0, 1, ... and returns
    // how many were stored (at most kEntryCount; later lines are dropped).
    // A line ends at CR LF, or at a lone LF or CR, so a file edited on Linux
    // loads too; a final line without a line end still counts. Entries after
    // the last line stored keep what they held.
    size_t LoadLines(const std::string& fileBytes);

    // Out-of-range indexes read as empty and are ignored when set.
    const std::string& Entry(size_t index) const;
    void SetEntry(size_t index, std::string text);

    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

}  // namespace quorvane
