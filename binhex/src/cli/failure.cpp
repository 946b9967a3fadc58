#include "failure.h"

#include <cstring>

namespace binhex::cli {

std::string error_text(int error) {
    char buffer[256];
    // The GNU strerror_r returns the text, which need not be in the buffer.
    return ::strerror_r(error, buffer, sizeof buffer);
}

void fail_with_errno(const std::string& what, int error) {
    throw Failure(what.empty() ? error_text(error) : what + ": " + error_text(error));
}

} // namespace binhex::cli
