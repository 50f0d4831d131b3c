#pragma once
#include <string>
#include <string_view>

namespace quorvane {

// What a screen reader says for an on-screen key: the key's own name as the
// scanner's manual calls it ("Knob left", "Close Call only"), never its
// picture, and a short hint where the name alone does not say what it does
// (the keys that press Function first). Both are empty for a name that is
// not a key.
struct KeyName {
    std::string spoken;
    std::string hint;
};
KeyName SpokenKeyName(std::string_view objectName);

}  // namespace quorvane
