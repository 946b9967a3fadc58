// The hot loops of the encoder, one table of them per implementation, so that
// the encoder picks an implementation once and then only calls through it.
#pragma once

#include "binhex/binhex.h"

#include <cstddef>
#include <cstdint>

namespace binhex::detail {

struct KernelOps {
    // Returns the CRC of `size` more bytes, carrying on from `crc`.
    std::uint16_t (*crc_update)(std::uint16_t crc, const std::uint8_t* bytes, std::size_t size);

    // Returns the first index i where bytes[i], bytes[i+1] and bytes[i+2] are
    // equal, with all three inside the range; `size` when there is none.
    std::size_t (*find_run)(const std::uint8_t* bytes, std::size_t size);

    // Returns how many bytes at the start of the range equal `value`.
    std::size_t (*count_equal)(const std::uint8_t* bytes, std::size_t size, std::uint8_t value);

    // Copies the bytes to `out` with a 00 after each 0x90 marker and returns
    // the end of the copy. May write anywhere in out[0, 2 * size).
    std::uint8_t* (*escape_markers)(const std::uint8_t* bytes, std::size_t size, std::uint8_t* out);

    // Returns a mask with bit j set where bytes[j] equals bytes[j + 1], for j
    // from 0 to 63; reads bytes[0] to bytes[64].
    std::uint64_t (*equal_next)(const std::uint8_t* bytes);

    // The run-length stage (run_length.h) over `size` more bytes, carrying on
    // `run`: writes to `out` and returns the end. May write anywhere in
    // out[0, 2 * size + kPieceMax).
    std::uint8_t* (*run_length_encode)(PendingRun& run, const std::uint8_t* bytes, std::size_t size,
                                       std::uint8_t* out);

    // Turns `groups` groups of three bytes into four characters each; writes
    // exactly 4 * groups characters.
    void (*encode_groups)(const std::uint8_t* bytes, std::size_t groups, char* out);

    // Turns `blocks` blocks of 48 bytes into 65 characters each: the 63 that
    // end a line, the line break, and the one that starts the next line.
    // Returns the end of the output.
    char* (*encode_lines)(const std::uint8_t* bytes, std::size_t blocks, char* out);
};

inline constexpr std::size_t kBlockGroups = 16;
inline constexpr std::size_t kBlockBytes = 3 * kBlockGroups;
inline constexpr std::size_t kBlockChars = 4 * kBlockGroups + 1;

// encode_lines() for kernels whose encode_groups() is fast enough on its own.
template <void (*EncodeGroups)(const std::uint8_t*, std::size_t, char*)>
char* encode_lines_with(const std::uint8_t* bytes, std::size_t blocks, char* out) {
    for (std::size_t b = 0; b < blocks; ++b, bytes += kBlockBytes, out += kBlockChars) {
        EncodeGroups(bytes, kBlockGroups, out);
        out[kBlockChars - 1] = out[kBlockChars - 2];
        out[kBlockChars - 2] = '\n';
    }
    return out;
}

// Precondition: kernel_available(kernel) and kernel is not `automatic`.
const KernelOps& kernel_ops(Kernel kernel) noexcept;

const KernelOps& plain_kernel_ops() noexcept;
const KernelOps& wide_kernel_ops() noexcept;
const KernelOps& avx2_kernel_ops() noexcept;
bool avx2_kernel_supported() noexcept;

} // namespace binhex::detail
