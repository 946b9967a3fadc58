// The 64 characters of the format, in the order of the 6-bit values they stand
// for.
#pragma once

#include <array>
#include <cstdint>

namespace binhex::detail {

inline constexpr char kAlphabet[] =
    "!\"#$%&'()*+,-012345689@ABCDEFGHIJKLMNPQRSTUVXYZ[`abcdefhijklmpqr";
static_assert(sizeof(kAlphabet) == 65);

inline constexpr std::uint8_t kRunMarker = 0x90;
inline constexpr unsigned kLineLength = 64;

// Entry v holds the two characters for the 12-bit value v, so that three
// bytes become four characters with two look-ups.
using CharPair = std::array<char, 2>;

constexpr std::array<CharPair, 4096> make_pair_table() {
    std::array<CharPair, 4096> table{};
    for (unsigned v = 0; v < 4096; ++v) {
        table[v] = CharPair{kAlphabet[v >> 6], kAlphabet[v & 63]};
    }
    return table;
}

} // namespace binhex::detail
