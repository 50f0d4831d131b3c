#include "memory/MemoryJson.h"

#include <cstdio>
#include <optional>

#include "memory/MemoryValues.h"

namespace quorvane::memory_json {

[[noreturn]] void Fail(const std::string& place, const std::string& what) {
    throw FileProblem(place.empty() ? what : place + ": " + what);
}

std::string CodePointText(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

std::string BytesOf(const Json& value, const std::string& place, const std::string& key) {
    if (!value.is_string()) Fail(place, "\"" + key + "\" must be text");
    const std::string& text = value.get_ref<const std::string&>();
    char32_t bad = 0;
    const std::optional<std::string> bytes = ScannerBytes(text, &bad);
    if (!bytes) Fail(place, "\"" + key + "\" holds " + CodePointText(bad) + ", which the scanner cannot store");
    return *bytes;
}

const Json& ObjectAt(const Json& value, const std::string& place) {
    if (!value.is_object()) Fail(place, "must be an object {...}");
    return value;
}

const Json* ListAt(const Json& object, const char* key, const std::string& place) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) return nullptr;
    if (!found->is_array()) Fail(place, "\"" + std::string(key) + "\" must be a list [...]");
    return &*found;
}

}  // namespace quorvane::memory_json
