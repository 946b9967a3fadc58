// Why a file could not be encoded, as the text that follows "binhex: FILE: ".
#pragma once

#include <stdexcept>
#include <string>

namespace binhex::cli {

class Failure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Returns strerror(error) as a std::string, thread-safely.
std::string error_text(int error);

// Throws a Failure reading "<what>: <strerror(error)>", or just the error text
// when `what` is empty.
[[noreturn]] void fail_with_errno(const std::string& what, int error);

} // namespace binhex::cli
