// The one-line messages on standard error.
#pragma once

#include <string>
#include <string_view>

namespace binhex::cli {

// Makes a path safe to print on one line: control characters become \n, \t
// or \xHH and a backslash becomes \\; every other byte is kept as it is. An
// empty path shows as '' so that the line still names it.
std::string printable_path(std::string_view path);

// Writes "binhex: <reason>\n" to standard error in one write.
void print_error(std::string_view reason);

// Writes "binhex: <subject>: <reason>\n", the subject made printable, to
// standard error in one write.
void print_error(std::string_view subject, std::string_view reason);

} // namespace binhex::cli
