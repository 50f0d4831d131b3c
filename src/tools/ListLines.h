#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// The quick-scan and skip tables hold 1001 entries, one per line of their box.
inline constexpr std::size_t kToolListEntries = 1001;

// The lines of a list box, numbered from 0. Lines end in CR LF (a bare LF,
// as a text widget gives them, is taken the same way), and a text ending in
// a line break has a last, empty line. Only the first 1001 lines are kept;
// `total` counts them all.
struct ListLines {
    std::vector<std::string> lines;
    std::size_t total = 0;
};
ListLines SplitListLines(std::string_view text);

// "1001 of 1200 lines used" when lines were left out; empty otherwise.
std::string LinesUsedNote(const ListLines& list);

}  // namespace quorvane
