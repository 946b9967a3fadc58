#include "apple_double.h"

#include "failure.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace binhex::cli {
namespace {

constexpr std::uint32_t kMagic = 0x00051607;
constexpr std::size_t kHeaderSize = 26;
constexpr std::size_t kEntrySize = 12;
constexpr std::uint32_t kResourceForkEntry = 2;
constexpr std::uint32_t kFinderInfoEntry = 9;

std::uint32_t be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

// Returns false at the end of the file.
bool read_exactly(int fd, void* buffer, std::size_t size, std::uint64_t offset) {
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (size > 0) {
        const ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            fail_with_errno("cannot read its AppleDouble companion", errno);
        }
        if (n == 0) {
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

[[noreturn]] void damaged() {
    throw Failure("its AppleDouble companion is damaged");
}

} // namespace

std::optional<AppleDoubleEntries> read_apple_double(int fd, std::uint64_t file_size) {
    std::uint8_t header[kHeaderSize];
    const auto available =
        static_cast<std::size_t>(std::min<std::uint64_t>(file_size, kHeaderSize));
    if (available < sizeof kMagic || !read_exactly(fd, header, available, 0) ||
        be32(header) != kMagic) {
        return std::nullopt;
    }
    // The magic number says it is a companion, so one too short for its
    // header is a damaged one.
    if (available < kHeaderSize) {
        damaged();
    }
    const std::size_t count = (std::size_t{header[24]} << 8) | header[25];
    if (kHeaderSize + count * kEntrySize > file_size) {
        damaged();
    }
    std::vector<std::uint8_t> entries(count * kEntrySize);
    if (!read_exactly(fd, entries.data(), entries.size(), kHeaderSize)) {
        damaged();
    }
    AppleDoubleEntries found;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = entries.data() + i * kEntrySize;
        const std::uint32_t id = be32(entry);
        const ByteRange range{be32(entry + 4), be32(entry + 8)};
        if (id != kResourceForkEntry && id != kFinderInfoEntry) {
            continue;
        }
        if (range.offset + range.length > file_size) {
            damaged();
        }
        if (id == kResourceForkEntry) {
            found.resource_fork = range;
        } else {
            std::array<std::uint8_t, 10> info{};
            if (range.length < info.size() ||
                !read_exactly(fd, info.data(), info.size(), range.offset)) {
                damaged();
            }
            found.finder_info = info;
        }
    }
    return found;
}

} // namespace binhex::cli
