// Portable speed-ups: eight bytes per step for the CRC (eight table look-ups
// that do not depend on each other), a 64-bit word at a time when scanning for
// runs and escaping markers, and one look-up per 12 bits when turning bytes into characters.
#include "alphabet.h"
#include "crc16.h"
#include "kernel_ops.h"
#include "run_length.h"
#include "word_load.h"

#include <cstring>

namespace binhex::detail {
namespace {

constexpr auto kPairTable = make_pair_table();

std::uint16_t crc_update(std::uint16_t crc, const std::uint8_t* bytes, std::size_t size) {
    const auto& t = kCrcTables;
    while (size >= 8) {
        const unsigned b0 = bytes[0] ^ (crc >> 8);
        const unsigned b1 = bytes[1] ^ (crc & 0xFF);
        crc = static_cast<std::uint16_t>(t[7][b0] ^ t[6][b1] ^ t[5][bytes[2]] ^ t[4][bytes[3]] ^
                                         t[3][bytes[4]] ^ t[2][bytes[5]] ^ t[1][bytes[6]] ^
                                         t[0][bytes[7]]);
        bytes += 8;
        size -= 8;
    }
    return crc16_bytewise(crc, bytes, size);
}

constexpr std::uint64_t kMarkers = kLowBits * kRunMarker;

std::size_t find_run(const std::uint8_t* bytes, std::size_t size) {
    std::size_t i = 0;
    // Each step looks at the triples starting at i..i+7, so it reads up to
    // bytes[i + 9].
    for (; i + 10 <= size; i += 8) {
        const std::uint64_t w0 = load_first_byte_low(bytes + i);
        const std::uint64_t w1 = load_first_byte_low(bytes + i + 1);
        const std::uint64_t w2 = load_first_byte_low(bytes + i + 2);
        const std::uint64_t flags = flag_zero_bytes((w0 ^ w1) | (w1 ^ w2));
        if (flags != 0) {
            return i + first_flagged_byte(flags);
        }
    }
    for (; i + 2 < size; ++i) {
        if (bytes[i] == bytes[i + 1] && bytes[i] == bytes[i + 2]) {
            return i;
        }
    }
    return size;
}

std::size_t count_equal(const std::uint8_t* bytes, std::size_t size, std::uint8_t value) {
    const std::uint64_t pattern = kLowBits * value;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const std::uint64_t diff = load_first_byte_low(bytes + i) ^ pattern;
        if (diff != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(diff)) / 8;
        }
    }
    while (i < size && bytes[i] == value) {
        ++i;
    }
    return i;
}

// Words without a marker, nearly all of them in most input, are copied whole.
std::uint8_t* escape_markers(const std::uint8_t* bytes, std::size_t size, std::uint8_t* out) {
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        if (flag_zero_bytes(load_first_byte_low(bytes + i) ^ kMarkers) == 0) {
            std::memcpy(out, bytes + i, 8);
            out += 8;
            continue;
        }
        for (std::size_t j = i; j < i + 8; ++j) {
            out = put_literal(bytes[j], out);
        }
    }
    for (; i < size; ++i) {
        out = put_literal(bytes[i], out);
    }
    return out;
}

std::uint64_t equal_next(const std::uint8_t* bytes) {
    std::uint64_t mask = 0;
    for (unsigned k = 0; k < 8; ++k) {
        const std::uint64_t diff =
            load_first_byte_low(bytes + 8 * k) ^ load_first_byte_low(bytes + 8 * k + 1);
        mask |= gather_zero_bytes(diff) << (8 * k);
    }
    return mask;
}

void encode_groups(const std::uint8_t* bytes, std::size_t groups, char* out) {
    for (std::size_t g = 0; g < groups; ++g, bytes += 3, out += 4) {
        const unsigned v = (unsigned{bytes[0]} << 16) | (unsigned{bytes[1]} << 8) | bytes[2];
        std::memcpy(out, kPairTable[v >> 12].data(), 2);
        std::memcpy(out + 2, kPairTable[v & 0xFFF].data(), 2);
    }
}

constexpr KernelOps kOps{
    crc_update,    find_run,
    count_equal,   escape_markers,
    equal_next,    run_length_encode_windowed<find_run, count_equal, escape_markers, equal_next>,
    encode_groups, encode_lines_with<encode_groups>};

} // namespace

const KernelOps& wide_kernel_ops() noexcept {
    return kOps;
}

} // namespace binhex::detail
