// The reference implementation: one byte at a time, written to be obviously
// right. Every faster kernel is tested against it.
#include "alphabet.h"
#include "crc16.h"
#include "kernel_ops.h"
#include "run_length.h"

namespace binhex::detail {
namespace {

std::uint16_t crc_update(std::uint16_t crc, const std::uint8_t* bytes, std::size_t size) {
    return crc16_bytewise(crc, bytes, size);
}

std::size_t find_run(const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i + 2 < size; ++i) {
        if (bytes[i] == bytes[i + 1] && bytes[i] == bytes[i + 2]) {
            return i;
        }
    }
    return size;
}

std::size_t count_equal(const std::uint8_t* bytes, std::size_t size, std::uint8_t value) {
    std::size_t i = 0;
    while (i < size && bytes[i] == value) {
        ++i;
    }
    return i;
}

std::uint8_t* escape_markers(const std::uint8_t* bytes, std::size_t size, std::uint8_t* out) {
    for (std::size_t i = 0; i < size; ++i) {
        *out++ = bytes[i];
        if (bytes[i] == kRunMarker) {
            *out++ = 0x00;
        }
    }
    return out;
}

std::uint64_t equal_next(const std::uint8_t* bytes) {
    std::uint64_t mask = 0;
    for (unsigned j = 0; j < 64; ++j) {
        if (bytes[j] == bytes[j + 1]) {
            mask |= std::uint64_t{1} << j;
        }
    }
    return mask;
}

void encode_groups(const std::uint8_t* bytes, std::size_t groups, char* out) {
    for (std::size_t g = 0; g < groups; ++g, bytes += 3, out += 4) {
        out[0] = kAlphabet[bytes[0] >> 2];
        out[1] = kAlphabet[((bytes[0] & 0x03) << 4) | (bytes[1] >> 4)];
        out[2] = kAlphabet[((bytes[1] & 0x0F) << 2) | (bytes[2] >> 6)];
        out[3] = kAlphabet[bytes[2] & 0x3F];
    }
}

constexpr KernelOps kOps{
    crc_update,    find_run,
    count_equal,   escape_markers,
    equal_next,    run_length_encode_with<find_run, count_equal, escape_markers>,
    encode_groups, encode_lines_with<encode_groups>};

} // namespace

const KernelOps& plain_kernel_ops() noexcept {
    return kOps;
}

} // namespace binhex::detail
