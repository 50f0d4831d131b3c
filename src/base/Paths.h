#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace quorvane {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder, separator, name; no second separator when the folder ends in one.
// Paths here are file-system bytes; nothing is resolved.
std::string JoinPath(std::string_view folder, std::string_view name);

// The path of a file named from scanner text (a recording, a notes file)
// under a folder. The window turns the name's bytes into file-system text;
// JoinPath keeps them as they are.
using NamePathMaker = std::function<std::string(std::string_view folder, std::string_view name)>;

// JoinPath as a name maker that keeps the name's bytes as they are; the
// default wherever a name maker is asked for.
inline std::string JoinPathBytes(std::string_view folder, std::string_view name) { return JoinPath(folder, name); }

}  // namespace quorvane
