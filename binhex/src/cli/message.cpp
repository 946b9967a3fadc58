#include "message.h"

#include <cerrno>
#include <unistd.h>

namespace binhex::cli {

std::string printable_path(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            text += "\\\\";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\t') {
            text += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        } else {
            text += c;
        }
    }
    return text;
}

void print_error(std::string_view subject, std::string_view reason) {
    std::string line = "binhex: ";
    if (!subject.empty()) {
        line += printable_path(subject);
        line += ": ";
    }
    line += reason;
    line += '\n';
    // One write keeps the line whole when several processes share stderr.
    std::string_view rest = line;
    while (!rest.empty()) {
        const ssize_t n = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
}

} // namespace binhex::cli
