#pragma once
// What a drop carries, as the runtime wants it.

#include <optional>
#include <string>
#include <vector>

class QMimeData;

// The dropped items in drop order: the path of a local file, as the bytes
// the file system spells it, or nothing for anything else (a web address).
std::vector<std::optional<std::string>> QtDroppedPaths(const QMimeData& data);
