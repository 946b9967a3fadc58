// Systems without forks: the metadata lives in an AppleDouble companion
// "._NAME" beside the file, as macOS leaves it on such volumes and as archive
// tools unpack it.
#include "mac_metadata.h"

#include "failure.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace binhex::cli {

MacMetadata read_mac_metadata(int directory_fd, const std::string& file_name) {
    MacMetadata metadata;
    const std::string companion = "._" + file_name;
    UniqueFd fd(
        ::openat(directory_fd, companion.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) {
        // A name too long for a companion means there is none.
        if (errno == ENOENT || errno == ENAMETOOLONG) {
            return metadata;
        }
        fail_with_errno("cannot open its AppleDouble companion", errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        fail_with_errno("cannot read its AppleDouble companion", errno);
    }
    // Something else by that name (a pipe, a folder) is not a companion, and
    // reading it could hang.
    if (!S_ISREG(st.st_mode)) {
        return metadata;
    }
    const auto entries = read_apple_double(fd.get(), static_cast<std::uint64_t>(st.st_size));
    if (!entries) {
        return metadata;
    }
    if (entries->finder_info) {
        const auto& info = *entries->finder_info;
        std::copy_n(info.begin(), 4, metadata.type.begin());
        std::copy_n(info.begin() + 4, 4, metadata.creator.begin());
        metadata.finder_flags = static_cast<std::uint16_t>((info[8] << 8) | info[9]);
    }
    if (entries->resource_fork && entries->resource_fork->length > 0) {
        metadata.resource = *entries->resource_fork;
        metadata.resource_fd = std::move(fd);
    }
    return metadata;
}

} // namespace binhex::cli
