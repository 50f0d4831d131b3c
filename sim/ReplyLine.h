#pragma once
#include <string>
#include <vector>

namespace quorvane {

// text with every comma and carriage return turned into a blank, so that it
// stays one field of one reply line.
std::string FieldText(std::string text);

// The fields joined by commas, each made safe with FieldText (no CR added).
std::string ReplyLine(const std::vector<std::string>& fields);

}  // namespace quorvane
