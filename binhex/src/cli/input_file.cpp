#include "input_file.h"

#include "failure.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace binhex::cli {

InputFile open_input_file(const std::string& path) {
    // O_NONBLOCK keeps open() from waiting for a writer on a pipe or for a
    // device to become ready; O_NOCTTY keeps a terminal from becoming ours.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) {
        fail_with_errno("", errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        fail_with_errno("", errno);
    }
    if (S_ISDIR(st.st_mode)) {
        fail_with_errno("", EISDIR);
    }
    if (!S_ISREG(st.st_mode)) {
        throw Failure("not a regular file");
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (size > kLargestFork) {
        throw Failure("too large for BinHex: " + std::to_string(size) + " bytes (at most " +
                      std::to_string(kLargestFork) + ")");
    }
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        fail_with_errno("", errno);
    }
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return {std::move(fd), static_cast<std::uint32_t>(size)};
}

} // namespace binhex::cli
