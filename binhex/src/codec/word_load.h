// Unaligned 64-bit loads with the first byte in the lowest bits, whatever the
// machine's byte order, so that counting trailing zero bits finds the first
// byte of interest.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace binhex::detail {

inline std::uint64_t load_first_byte_low(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

inline constexpr std::uint64_t kLowBits = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

// Flags the zero bytes of `word` in their top bit. Bytes above the first zero
// byte may be flagged wrongly, but the lowest flag is always exact.
inline std::uint64_t flag_zero_bytes(std::uint64_t word) {
    return (word - kLowBits) & ~word & kHighBits;
}

// Returns a byte with bit j set where byte j of `word` is zero. Exact for
// every byte, unlike flag_zero_bytes(): no borrow crosses from one byte into
// the next.
inline std::uint64_t gather_zero_bytes(std::uint64_t word) {
    constexpr std::uint64_t kLow7 = ~kHighBits;
    const std::uint64_t zero = ~(((word & kLow7) + kLow7) | word) & kHighBits;
    // The multiplication moves the flag of byte j, at bit 8j + 7 >> 7, to bit
    // 56 + j; no two partial products meet, so nothing carries.
    return ((zero >> 7) * 0x0102040810204080ULL) >> 56;
}

inline std::size_t first_flagged_byte(std::uint64_t flags) {
    return static_cast<std::size_t>(std::countr_zero(flags)) / 8;
}

} // namespace binhex::detail
