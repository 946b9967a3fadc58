// Opens the file to encode, refusing at once what BinHex cannot hold or what
// would make reading wait (a pipe, a device).
#pragma once

#include "unique_fd.h"

#include <cstdint>
#include <string>

namespace binhex::cli {

inline constexpr std::uint64_t kLargestFork = 0xFFFFFFFF;

struct InputFile {
    UniqueFd fd;
    std::uint32_t size = 0;
};

// Throws Failure when `path` cannot be opened, is not a regular file or is
// larger than a fork can be.
InputFile open_input_file(const std::string& path);

} // namespace binhex::cli
