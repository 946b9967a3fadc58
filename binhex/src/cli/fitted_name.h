// Names that fit the limit a file system sets on a name's length. A name too
// long for it is shortened before its extension, and never inside a
// character, so that "a long name.txt" becomes "a long n.txt.hqx" rather than
// failing once the file is written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace binhex::cli {

// What Linux file systems allow, and what a file system that does not say is
// taken to allow.
inline constexpr std::size_t kUsualNameMax = 255;

// Returns the longest name, in bytes, the file system holding the directory
// `directory_fd` accepts; never more than kUsualNameMax.
std::size_t name_max(int directory_fd);

// Where a name may be cut: between two characters when it is UTF-8 (a name
// on disk; any other between two bytes), or between any two bytes (a Mac OS
// Roman name, whose bytes are its characters).
enum class NameCut { at_characters, at_bytes };

// Returns `name` followed by `suffix` when that is at most `limit` bytes.
// Otherwise `name` is cut, as `cut` says, so that it is. A final extension (".xyz", up to 16
// bytes, after at least one other byte) is kept where at least one character
// before it stays. Only when `suffix` alone is longer than `limit` is the
// result too long (it is then `suffix`).
std::string fit_name(std::string_view name, std::string_view suffix, std::size_t limit,
                     NameCut cut = NameCut::at_characters);

} // namespace binhex::cli
