// Splits a path into its directory and its last component without touching
// the file system, byte for byte (names need not be UTF-8).
#pragma once

#include <string>

namespace binhex::cli {

struct PathParts {
    std::string directory; // "." when the path has no slash
    std::string name;      // empty when the path ends in a slash
};

PathParts split_path(const std::string& path);

// Joins a directory and a name the way a user would type it: "name" alone for
// ".", no doubled slash.
std::string join_path(const std::string& directory, const std::string& name);

} // namespace binhex::cli
