#include "base/Paths.h"

namespace quorvane {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != kPathSeparator) path.push_back(kPathSeparator);
    path.append(name);
    return path;
}

}  // namespace quorvane
