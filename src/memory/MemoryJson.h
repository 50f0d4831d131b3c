#pragma once
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

namespace quorvane::memory_json {

// What the readers of memory files share: the JSON they read, the first
// problem of a file (thrown where it is found, caught once by the caller),
// and the checks of a value's kind, each naming the place of the value.
using Json = nlohmann::ordered_json;

struct FileProblem : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] void Fail(const std::string& place, const std::string& what);

// "U+2019", for a character the scanner cannot store.
std::string CodePointText(char32_t c);
// A text value as the scanner's bytes.
std::string BytesOf(const Json& value, const std::string& place, const std::string& key);
const Json& ObjectAt(const Json& value, const std::string& place);
// The list under key; none when absent or null.
const Json* ListAt(const Json& object, const char* key, const std::string& place);

}  // namespace quorvane::memory_json
