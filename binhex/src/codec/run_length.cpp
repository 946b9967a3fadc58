#include "run_length.h"

#include "alphabet.h"

#include <algorithm>
#include <cstring>

namespace binhex::detail {
namespace {

std::uint8_t* put_literal(std::uint8_t byte, std::uint8_t* out) {
    *out++ = byte;
    if (byte == kRunMarker) {
        *out++ = 0x00;
    }
    return out;
}

// One piece of at most kLongestRun copies of `byte`. A pair stays literal: the
// marker form would take as many bytes.
std::uint8_t* put_piece(std::uint8_t byte, std::uint32_t count, std::uint8_t* out) {
    out = put_literal(byte, out);
    if (count >= 3) {
        *out++ = kRunMarker;
        *out++ = static_cast<std::uint8_t>(count);
    } else if (count == 2) {
        out = put_literal(byte, out);
    }
    return out;
}

// Writes the complete pieces of the held-back run at once, so that it never
// needs more than one piece of room when it is flushed. Pieces always start
// at multiples of kLongestRun from the start of the run, so cutting them early
// gives the same bytes as cutting them at the end.
std::uint8_t* put_full_pieces(PendingRun& run, std::uint8_t* out) {
    while (run.count >= kLongestRun) {
        out = put_piece(run.byte, kLongestRun, out);
        run.count -= kLongestRun;
    }
    return out;
}

} // namespace

std::uint8_t* run_length_flush(PendingRun& run, std::uint8_t* out) noexcept {
    if (run.count > 0) {
        out = put_piece(run.byte, run.count, out);
        run.count = 0;
    }
    return out;
}

std::uint8_t* run_length_encode(const KernelOps& ops, PendingRun& run, const std::uint8_t* bytes,
                                std::size_t size, std::uint8_t* out) noexcept {
    std::size_t i = 0;
    if (run.count > 0) {
        // The chunk may carry on the run held back from the last one.
        const std::size_t more = ops.count_equal(bytes, size, run.byte);
        run.count += static_cast<std::uint32_t>(more);
        out = put_full_pieces(run, out);
        i = more;
        if (i == size) {
            return out;
        }
        out = run_length_flush(run, out);
    }
    while (i < size) {
        std::size_t stop = i + ops.find_run_or_marker(bytes + i, size - i);
        if (stop == size) {
            // No run inside the chunk, but its last one or two bytes may start
            // one that the next chunk carries on.
            stop = size - 1;
            if (stop > i && bytes[stop - 1] == bytes[stop]) {
                --stop;
            }
        }
        std::memcpy(out, bytes + i, stop - i);
        out += stop - i;
        const std::uint8_t byte = bytes[stop];
        const std::size_t length = ops.count_equal(bytes + stop, size - stop, byte);
        i = stop + length;
        if (i == size) {
            run.byte = byte;
            run.count = static_cast<std::uint32_t>(length);
            return put_full_pieces(run, out);
        }
        for (std::size_t left = length; left > 0;) {
            const auto piece = static_cast<std::uint32_t>(std::min<std::size_t>(left, kLongestRun));
            out = put_piece(byte, piece, out);
            left -= piece;
        }
    }
    return out;
}

} // namespace binhex::detail
