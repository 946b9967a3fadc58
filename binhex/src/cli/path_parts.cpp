#include "path_parts.h"

namespace binhex::cli {

PathParts split_path(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    // A slash at the very start keeps the root as the directory.
    return {path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1)};
}

std::string join_path(const std::string& directory, const std::string& name) {
    if (directory == ".") {
        return name;
    }
    std::string path = directory;
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    path.append(name);
    return path;
}

} // namespace binhex::cli
