// Where a file's resource fork and Finder information come from. Each
// platform has its own source file for this, chosen by the build.
#pragma once

#include "apple_double.h"
#include "unique_fd.h"

#include <array>
#include <cstdint>
#include <string>

namespace binhex::cli {

struct MacMetadata {
    std::array<std::uint8_t, 4> type{};
    std::array<std::uint8_t, 4> creator{};
    std::uint16_t finder_flags = 0;
    // Where to read the resource fork; no descriptor when it is empty.
    UniqueFd resource_fd;
    ByteRange resource;
};

// `directory_fd` is the directory holding `file_name`. Without any metadata
// the result is all zeros and an empty resource fork. Throws Failure when the
// metadata exists but cannot be read.
MacMetadata read_mac_metadata(int directory_fd, const std::string& file_name);

} // namespace binhex::cli
