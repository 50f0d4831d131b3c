#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace quorvane {

// A CSV field (RFC 4180): as it is, or in double quotes with each quote
// doubled when it holds a comma, a quote, a CR or an LF. A field that starts
// with "=", "+", "-", "@", a tab or a CR would be taken by a spreadsheet as a
// formula, so it gets a "'" in front and shows as the text it is.
void AppendCsvField(std::string& out, std::string_view text);

// A record: the fields separated by commas, ended by CR LF.
void AppendCsvRecord(std::string& out, std::initializer_list<std::string_view> fields);

// A cell as read back: the "'" that AppendCsvField put in front of a formula
// start is taken off again.
std::string_view UnguardedCsvCell(std::string_view cell);

}  // namespace quorvane
