#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// One "name=value" line of a small settings file (web_remote.txt, mqtt.txt,
// feed.txt): the name in lower case, the value with blanks around it dropped
// and one pair of double quotes taken off (a path with blanks at its ends).
struct NameValue {
    int line = 0;  // 1-based, for notices
    std::string name;
    std::string value;
};

// The lines of such a file: 8-bit text, CR LF (a lone LF or CR reads too),
// "#" lines and empty lines skipped. A line without "=" is no setting: it
// adds a notice "FILE line N: no "=" in "..."; ignored" and the rest still
// counts.
struct NameValueFile {
    std::vector<NameValue> values;
    std::vector<std::string> notices;
};
NameValueFile ReadNameValueFile(std::string_view bytes, std::string_view fileName);

// "FILE line N: " before a notice about that line.
std::string NoticeWhere(std::string_view fileName, int line);
// A value in a notice: quoted and cut short, so a damaged file gives a
// readable line.
std::string ShownValue(std::string_view value);

// A value written back: quoted when blanks at its ends or a quote at its
// start would otherwise be lost on reading.
std::string QuotedWhereNeeded(const std::string& value);

// Readers of the common value kinds. Each gives nothing for a value it cannot
// take; the caller keeps its default and says so.
std::optional<bool> ZeroOrOne(std::string_view value);
// A whole decimal number from low to high, digits only.
std::optional<int> WholeNumberIn(std::string_view value, int low, int high);

}  // namespace quorvane
