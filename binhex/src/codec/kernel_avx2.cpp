// The x86-64 kernel: the CRC by carry-less multiplication (PCLMULQDQ), folding
// 64 bytes per step; run scanning, marker escaping and the 6-bit alphabet 32
// bytes at a time with AVX2. Only the functions marked with the target
// attribute use the wider instructions, so the rest of the program still runs
// on any x86-64.
#include "alphabet.h"
#include "crc16.h"
#include "kernel_ops.h"
#include "run_length.h"

#include <array>
#include <bit>
#include <immintrin.h>

#define BINHEX_AVX2 __attribute__((target("avx2,pclmul,ssse3,sse4.1,popcnt")))

namespace binhex::detail {
namespace {

// Folding multiplies the front 128 bits of the message by x^D mod P, moving
// them D bits further on, where D is the distance to the block they are added
// to. Each 128-bit block splits into a high and a low 64-bit half, hence the
// pair of constants per distance.
struct FoldConstants {
    long long low;  // x^D mod P, for the low half
    long long high; // x^(D+64) mod P, for the high half
};

constexpr FoldConstants fold_by(unsigned distance_bits) {
    return {crc_shift_constant(distance_bits), crc_shift_constant(distance_bits + 64)};
}

constexpr FoldConstants kFold128 = fold_by(128);
constexpr FoldConstants kFold256 = fold_by(256);
constexpr FoldConstants kFold384 = fold_by(384);
constexpr FoldConstants kFold512 = fold_by(512);

BINHEX_AVX2 inline __m128i byte_reverse_mask() {
    return _mm_set_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}

// The message is most significant bit first, so each block is reversed to put
// its first byte in the top bits of the 128-bit number.
BINHEX_AVX2 inline __m128i load_block(const std::uint8_t* bytes) {
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)),
                            byte_reverse_mask());
}

BINHEX_AVX2 inline __m128i fold(__m128i block, FoldConstants k) {
    const __m128i constants = _mm_set_epi64x(k.high, k.low);
    return _mm_xor_si128(_mm_clmulepi64_si128(block, constants, 0x00),
                         _mm_clmulepi64_si128(block, constants, 0x11));
}

BINHEX_AVX2 std::uint16_t crc_update(std::uint16_t crc, const std::uint8_t* bytes,
                                     std::size_t size) {
    if (size < 64) {
        return crc16_bytewise(crc, bytes, size);
    }
    // Adding the running CRC into the first two bytes continues the CRC
    // through the rest of the message.
    const __m128i seed = _mm_set_epi64x(static_cast<long long>(std::uint64_t{crc} << 48), 0);
    __m128i a0 = _mm_xor_si128(load_block(bytes), seed);
    __m128i a1 = load_block(bytes + 16);
    __m128i a2 = load_block(bytes + 32);
    __m128i a3 = load_block(bytes + 48);
    bytes += 64;
    size -= 64;
    while (size >= 64) {
        a0 = _mm_xor_si128(fold(a0, kFold512), load_block(bytes));
        a1 = _mm_xor_si128(fold(a1, kFold512), load_block(bytes + 16));
        a2 = _mm_xor_si128(fold(a2, kFold512), load_block(bytes + 32));
        a3 = _mm_xor_si128(fold(a3, kFold512), load_block(bytes + 48));
        bytes += 64;
        size -= 64;
    }
    __m128i acc = _mm_xor_si128(_mm_xor_si128(fold(a0, kFold384), fold(a1, kFold256)),
                                _mm_xor_si128(fold(a2, kFold128), a3));
    while (size >= 16) {
        acc = _mm_xor_si128(fold(acc, kFold128), load_block(bytes));
        bytes += 16;
        size -= 16;
    }
    // The folded 128 bits stand for everything so far; the table finishes
    // them together with the last few bytes.
    alignas(16) std::uint8_t rest[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(rest), _mm_shuffle_epi8(acc, byte_reverse_mask()));
    return crc16_bytewise(crc16_bytewise(0, rest, sizeof rest), bytes, size);
}

BINHEX_AVX2 std::size_t find_run(const std::uint8_t* bytes, std::size_t size) {
    std::size_t i = 0;
    for (; i + 34 <= size; i += 32) {
        const auto* p = reinterpret_cast<const __m256i*>(bytes + i);
        const __m256i v0 = _mm256_loadu_si256(p);
        const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 1));
        const __m256i v2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i + 2));
        const __m256i triple =
            _mm256_and_si256(_mm256_cmpeq_epi8(v0, v1), _mm256_cmpeq_epi8(v1, v2));
        const auto mask = static_cast<unsigned>(_mm256_movemask_epi8(triple));
        if (mask != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(mask));
        }
    }
    for (; i + 2 < size; ++i) {
        if (bytes[i] == bytes[i + 1] && bytes[i] == bytes[i + 2]) {
            return i;
        }
    }
    return size;
}

BINHEX_AVX2 std::size_t count_equal(const std::uint8_t* bytes, std::size_t size,
                                    std::uint8_t value) {
    const __m256i pattern = _mm256_set1_epi8(static_cast<char>(value));
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        const auto differ =
            ~static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, pattern)));
        if (differ != 0) {
            return i + static_cast<std::size_t>(std::countr_zero(differ));
        }
    }
    while (i < size && bytes[i] == value) {
        ++i;
    }
    return i;
}

// Entry m spreads eight bytes over sixteen, with a zero after byte j for each
// bit j set in m: shuffle indices with the top bit set give zero.
struct EscapeShuffles {
    alignas(16) std::array<std::array<std::uint8_t, 16>, 256> entry;
};

constexpr EscapeShuffles make_escape_shuffles() {
    EscapeShuffles table{};
    for (unsigned markers = 0; markers < 256; ++markers) {
        auto& entry = table.entry[markers];
        unsigned at = 0;
        for (unsigned j = 0; j < 8; ++j) {
            entry[at++] = static_cast<std::uint8_t>(j);
            if ((markers >> j) & 1) {
                entry[at++] = 0x80;
            }
        }
        while (at < 16) {
            entry[at++] = 0x80;
        }
    }
    return table;
}

constexpr EscapeShuffles kEscapeShuffles = make_escape_shuffles();

// Escapes eight bytes, whose markers are the bits of `markers`, with one
// shuffle; writes 16 bytes whatever the number kept.
BINHEX_AVX2 inline std::uint8_t* escape_eight(const std::uint8_t* bytes, unsigned markers,
                                              std::uint8_t* out) {
    const __m128i eight = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(bytes));
    const __m128i spread =
        _mm_load_si128(reinterpret_cast<const __m128i*>(kEscapeShuffles.entry[markers].data()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(eight, spread));
    return out + 8 + std::popcount(markers);
}

BINHEX_AVX2 std::uint8_t* escape_markers(const std::uint8_t* bytes, std::size_t size,
                                         std::uint8_t* out) {
    const __m256i marker = _mm256_set1_epi8(static_cast<char>(kRunMarker));
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
        auto markers = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, marker)));
        if (markers == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), v);
            out += 32;
            continue;
        }
        for (std::size_t g = 0; g < 32; g += 8, markers >>= 8) {
            out = escape_eight(bytes + i + g, markers & 0xFF, out);
        }
    }
    for (; i + 8 <= size; i += 8) {
        unsigned markers = 0;
        for (unsigned j = 0; j < 8; ++j) {
            markers |= (bytes[i + j] == kRunMarker ? 1u : 0u) << j;
        }
        out = escape_eight(bytes + i, markers, out);
    }
    for (; i < size; ++i) {
        out = put_literal(bytes[i], out);
    }
    return out;
}

BINHEX_AVX2 std::uint64_t equal_next(const std::uint8_t* bytes) {
    const auto equal_half = [](const std::uint8_t* half) BINHEX_AVX2 {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(half));
        const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(half + 1));
        return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, next)));
    };
    return equal_half(bytes) | (std::uint64_t{equal_half(bytes + 32)} << 32);
}

// Looks up 32 6-bit values in the 64-character alphabet: four 16-entry tables,
// each answering only for its own quarter. Subtracting the quarter's start and
// adding 0x70 with saturation leaves the low four bits for values inside the
// quarter and sets the top bit, which makes the shuffle answer 0, for the rest.
BINHEX_AVX2 inline __m256i alphabet_quarter(int q) {
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(kAlphabet + 16 * q)));
}

BINHEX_AVX2 inline __m256i translate(__m256i values) {
    const __m256i bias = _mm256_set1_epi8(0x70);
    __m256i result = _mm256_setzero_si256();
    for (int q = 0; q < 4; ++q) {
        const __m256i index = _mm256_adds_epu8(
            _mm256_sub_epi8(values, _mm256_set1_epi8(static_cast<char>(16 * q))), bias);
        result = _mm256_or_si256(result, _mm256_shuffle_epi8(alphabet_quarter(q), index));
    }
    return result;
}

// Spreads 24 bytes over eight 32-bit lanes as b1 b0 b2 b1, then cuts each lane
// into its four 6-bit values with two multiplications: mulhi shifts the first
// and third value down, mullo shifts the second and fourth up.
BINHEX_AVX2 inline __m256i split_into_sextets(const std::uint8_t* bytes) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 8));
    const __m256i both = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
    const __m256i spread = _mm256_shuffle_epi8(
        both, _mm256_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10, 5, 4, 6, 5, 8, 7,
                               9, 8, 11, 10, 12, 11, 14, 13, 15, 14));
    const __m256i first_third = _mm256_mulhi_epu16(
        _mm256_and_si256(spread, _mm256_set1_epi32(0x0FC0FC00)), _mm256_set1_epi32(0x04000040));
    const __m256i second_fourth = _mm256_mullo_epi16(
        _mm256_and_si256(spread, _mm256_set1_epi32(0x003F03F0)), _mm256_set1_epi32(0x01000010));
    return _mm256_or_si256(first_third, second_fourth);
}

BINHEX_AVX2 void encode_groups(const std::uint8_t* bytes, std::size_t groups, char* out) {
    std::size_t g = 0;
    for (; g + 8 <= groups; g += 8, bytes += 24, out += 32) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), translate(split_into_sextets(bytes)));
    }
    for (; g < groups; ++g, bytes += 3, out += 4) {
        out[0] = kAlphabet[bytes[0] >> 2];
        out[1] = kAlphabet[((bytes[0] & 0x03) << 4) | (bytes[1] >> 4)];
        out[2] = kAlphabet[((bytes[1] & 0x0F) << 2) | (bytes[2] >> 6)];
        out[3] = kAlphabet[bytes[2] & 0x3F];
    }
}

// Each block is two vectors of 32 characters; the last character moves one
// place on to make room for the line break, taken from the register rather
// than read back from memory just stored.
BINHEX_AVX2 char* encode_lines(const std::uint8_t* bytes, std::size_t blocks, char* out) {
    for (std::size_t b = 0; b < blocks; ++b, bytes += kBlockBytes, out += kBlockChars) {
        const __m256i first = translate(split_into_sextets(bytes));
        const __m256i second = translate(split_into_sextets(bytes + 24));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), first);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), second);
        out[kBlockChars - 1] = static_cast<char>(_mm256_extract_epi8(second, 31));
        out[kBlockChars - 2] = '\n';
    }
    return out;
}

// The scan itself takes the wider instructions, and everything it calls is
// inlined into it: a call at every stop would cost more than the stop.
BINHEX_AVX2 __attribute__((flatten)) std::uint8_t*
run_length_encode(PendingRun& run, const std::uint8_t* bytes, std::size_t size, std::uint8_t* out) {
    return run_length_encode_windowed<find_run, count_equal, escape_markers, equal_next>(run, bytes,
                                                                                         size, out);
}

constexpr KernelOps kOps{crc_update, find_run,          count_equal,   escape_markers,
                         equal_next, run_length_encode, encode_groups, encode_lines};

} // namespace

const KernelOps& avx2_kernel_ops() noexcept {
    return kOps;
}

bool avx2_kernel_supported() noexcept {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("pclmul") &&
           __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("sse4.1") &&
           __builtin_cpu_supports("popcnt");
}

} // namespace binhex::detail
