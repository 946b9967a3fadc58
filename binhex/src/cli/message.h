// The one-line messages on standard error, and the result on standard output.
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

// Writes the program's result to standard output and closes it, so that a
// result that never arrives (a full disk, a closed pipe) shows. Returns 0, or
// the error number.
int print_result(std::string_view text);

// Why print_result failed, as the text after "binhex: ".
std::string result_error(int error);

} // namespace binhex::cli
