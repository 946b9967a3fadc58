// CRC-16 with the polynomial x^16 + x^12 + x^5 + 1 (0x1021), most significant
// bit first, starting from 0. Feeding a fork's bytes and then two zero bytes
// through the bit-serial register of the format gives the same value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace binhex::detail {

inline constexpr std::uint16_t kCrcPolynomial = 0x1021;

// crc_tables[k][b] is the CRC contribution of byte b followed by k zero bytes,
// which lets eight bytes be folded in with eight independent look-ups.
using CrcTables = std::array<std::array<std::uint16_t, 256>, 8>;

constexpr CrcTables make_crc_tables() {
    CrcTables tables{};
    for (unsigned b = 0; b < 256; ++b) {
        unsigned crc = b << 8;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x8000) ? (crc << 1) ^ kCrcPolynomial : crc << 1;
        }
        tables[0][b] = static_cast<std::uint16_t>(crc);
    }
    for (std::size_t k = 1; k < tables.size(); ++k) {
        for (unsigned b = 0; b < 256; ++b) {
            const unsigned prev = tables[k - 1][b];
            tables[k][b] = static_cast<std::uint16_t>((prev << 8) ^ tables[0][prev >> 8]);
        }
    }
    return tables;
}

inline constexpr CrcTables kCrcTables = make_crc_tables();

inline std::uint16_t crc16_bytewise(std::uint16_t crc, const std::uint8_t* bytes,
                                    std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        crc = static_cast<std::uint16_t>((crc << 8) ^ kCrcTables[0][(crc >> 8) ^ bytes[i]]);
    }
    return crc;
}

// Returns x^exponent mod the polynomial, the multiplier that moves a remainder
// `exponent` bits further along the message.
constexpr std::uint16_t crc_shift_constant(unsigned exponent) {
    std::uint32_t value = 1;
    for (unsigned i = 0; i < exponent; ++i) {
        value <<= 1;
        if (value & 0x10000) {
            value ^= 0x10000 | kCrcPolynomial;
        }
    }
    return static_cast<std::uint16_t>(value);
}

} // namespace binhex::detail
