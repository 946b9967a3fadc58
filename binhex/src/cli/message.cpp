#include "message.h"

#include "failure.h"

#include <cerrno>
#include <unistd.h>

namespace binhex::cli {
namespace {

// Returns 0, or the error number of the write that failed.
int write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return errno;
        }
        if (n == 0) {
            return EIO;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

void print_error_line(std::string line) {
    line += '\n';
    // One write keeps the line whole when several processes share stderr.
    // There is nowhere left to tell of a failure to write it.
    write_all(STDERR_FILENO, line);
}

} // namespace

std::string printable_path(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (path.empty()) {
        return "''";
    }
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

void print_error(std::string_view reason) {
    print_error_line("binhex: " + std::string(reason));
}

void print_error(std::string_view subject, std::string_view reason) {
    print_error_line("binhex: " + printable_path(subject) + ": " + std::string(reason));
}

int print_result(std::string_view text) {
    if (const int error = write_all(STDOUT_FILENO, text)) {
        return error;
    }
    // Linux closes the descriptor even when close() is interrupted.
    if (::close(STDOUT_FILENO) != 0 && errno != EINTR) {
        return errno;
    }
    return 0;
}

std::string result_error(int error) {
    return "write error: " + error_text(error);
}

} // namespace binhex::cli
