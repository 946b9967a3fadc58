// Reads the header of an AppleDouble file, where systems without forks keep a
// Mac file's resource fork and Finder information (entry 2 and entry 9).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace binhex::cli {

struct ByteRange {
    std::uint64_t offset = 0;
    std::uint32_t length = 0;
};

struct AppleDoubleEntries {
    std::optional<ByteRange> resource_fork;
    // The first ten bytes of the Finder information: type, creator, flags.
    std::optional<std::array<std::uint8_t, 10>> finder_info;
};

// Returns nothing when the file does not start with the AppleDouble magic
// number (it is then some other file that happens to have such a name).
// Throws Failure when it does but is too short for its header or its entries
// do not fit inside it, or when it cannot be read. `fd` is read with pread and
// its offset is left alone.
std::optional<AppleDoubleEntries> read_apple_double(int fd, std::uint64_t file_size);

} // namespace binhex::cli
