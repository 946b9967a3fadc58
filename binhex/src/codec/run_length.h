// The run-length stage: a run of 3 to 255 equal bytes becomes the byte, the
// 0x90 marker and the count; a literal 0x90 becomes 90 00. Longer runs are cut
// into pieces of 255, each starting with a literal byte of its own, which every
// decoder reads the same way. The last run of each chunk is held back, since
// the next chunk may carry it on.
#pragma once

#include "binhex/binhex.h"
#include "kernel_ops.h"

#include <cstddef>
#include <cstdint>

namespace binhex::detail {

inline constexpr std::uint32_t kLongestRun = 255;

// The most bytes run_length_encode() writes for `size` input bytes (a lone
// 0x90 doubles) plus a held-back run that it may flush.
constexpr std::size_t run_length_bound(std::size_t size) {
    return 2 * size + 4;
}

// Appends the run-length form of `size` bytes to `out` and returns the new end.
// Precondition: `out` has run_length_bound(size) bytes of room.
std::uint8_t* run_length_encode(const KernelOps& ops, PendingRun& run, const std::uint8_t* bytes,
                                std::size_t size, std::uint8_t* out) noexcept;

// Writes out the held-back run, at most 4 bytes, and returns the new end.
std::uint8_t* run_length_flush(PendingRun& run, std::uint8_t* out) noexcept;

} // namespace binhex::detail
