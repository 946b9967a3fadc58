// The run-length stage: a run of 3 to 255 equal bytes becomes the byte, the
// 0x90 marker and the count; a literal 0x90 becomes 90 00. Longer runs are cut
// into pieces of 255, each starting with a literal byte of its own, which every
// decoder reads the same way. The last run of each chunk is held back, since
// the next chunk may carry it on.
//
// The scan stops only where a run of three or more starts. Lone markers and
// pairs of them are escaped inside the literal stretches, in one pass over each
// stretch: stopping at every marker would cost a new scan per marker, and
// input thick with 0x90 would crawl.
#pragma once

#include "alphabet.h"
#include "binhex/binhex.h"
#include "kernel_ops.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>

namespace binhex::detail {

inline constexpr std::uint32_t kLongestRun = 255;

// The most bytes one piece of a run can take: 90 00 90 count.
inline constexpr std::size_t kPieceMax = 4;

// Writes `byte` as a literal and returns the end. Always writes a second byte,
// kept only for a marker, so that escaping needs no branch.
inline std::uint8_t* put_literal(std::uint8_t byte, std::uint8_t* out) {
    out[0] = byte;
    out[1] = 0x00;
    return out + 1 + (byte == kRunMarker ? 1 : 0);
}

// Writes one piece of 3 to kLongestRun copies of `byte`: the byte, the
// marker and the count.
inline std::uint8_t* put_counted_piece(std::uint8_t byte, std::uint32_t count, std::uint8_t* out) {
    out = put_literal(byte, out);
    out[0] = kRunMarker;
    out[1] = static_cast<std::uint8_t>(count);
    return out + 2;
}

// Writes one piece of at most kLongestRun copies of `byte`. A pair stays
// literal: the marker form would take as many bytes.
inline std::uint8_t* put_piece(std::uint8_t byte, std::uint32_t count, std::uint8_t* out) {
    if (count >= 3) {
        return put_counted_piece(byte, count, out);
    }
    out = put_literal(byte, out);
    return count == 2 ? put_literal(byte, out) : out;
}

// Writes a whole run of `count` copies of `byte`, cut into pieces.
inline std::uint8_t* put_run(std::uint8_t byte, std::size_t count, std::uint8_t* out) {
    for (; count > kLongestRun; count -= kLongestRun) {
        out = put_piece(byte, kLongestRun, out);
    }
    return put_piece(byte, static_cast<std::uint32_t>(count), out);
}

// Writes the complete pieces of the held-back run at once. Pieces always start
// at multiples of kLongestRun from the start of the run, so cutting them early
// gives the same bytes as cutting them at the end, whatever the chunk sizes.
inline std::uint8_t* put_full_pieces(PendingRun& run, std::uint8_t* out) {
    while (run.count >= kLongestRun) {
        out = put_piece(run.byte, kLongestRun, out);
        run.count -= kLongestRun;
    }
    return out;
}

// Writes the held-back run; at most kPieceMax bytes.
inline std::uint8_t* run_length_flush(PendingRun& run, std::uint8_t* out) {
    if (run.count > 0) {
        out = put_piece(run.byte, run.count, out);
        run.count = 0;
    }
    return out;
}

using FindRunFn = std::size_t (*)(const std::uint8_t*, std::size_t);
using CountEqualFn = std::size_t (*)(const std::uint8_t*, std::size_t, std::uint8_t);
using EscapeMarkersFn = std::uint8_t* (*)(const std::uint8_t*, std::size_t, std::uint8_t*);
using EqualNextFn = std::uint64_t (*)(const std::uint8_t*);

// Carries the held-back run on into the chunk. Returns where the rest of the
// chunk starts: `size` when the run takes all of it and stays held back.
template <CountEqualFn CountEqual>
std::size_t carry_on_run(PendingRun& run, const std::uint8_t* bytes, std::size_t size,
                         std::uint8_t*& out) {
    if (run.count == 0) {
        return 0;
    }
    const std::size_t more = CountEqual(bytes, size, run.byte);
    run.count += static_cast<std::uint32_t>(more);
    out = put_full_pieces(run, out);
    if (more < size) {
        out = run_length_flush(run, out);
    }
    return more;
}

// Puts the run of equal bytes that starts at `stop`, or holds it back when it
// reaches the end of the chunk. Returns where the run ends.
template <CountEqualFn CountEqual>
std::size_t take_run(PendingRun& run, const std::uint8_t* bytes, std::size_t stop, std::size_t size,
                     std::uint8_t*& out) {
    const std::uint8_t byte = bytes[stop];
    const std::size_t length = CountEqual(bytes + stop, size - stop, byte);
    if (stop + length == size) {
        run.byte = byte;
        run.count = static_cast<std::uint32_t>(length);
        out = put_full_pieces(run, out);
    } else {
        out = put_run(byte, length, out);
    }
    return stop + length;
}

// The rest of the chunk from `i`, which no run crosses, one stop at a time.
template <FindRunFn FindRun, CountEqualFn CountEqual, EscapeMarkersFn EscapeMarkers>
std::uint8_t* scan_rest(PendingRun& run, const std::uint8_t* bytes, std::size_t i, std::size_t size,
                        std::uint8_t* out) {
    while (i < size) {
        std::size_t stop = i + FindRun(bytes + i, size - i);
        if (stop == size) {
            // No run inside the chunk, but its last one or two bytes may start
            // one that the next chunk carries on.
            stop = size - 1;
            if (stop > i && bytes[stop - 1] == bytes[stop]) {
                --stop;
            }
        }
        if (stop > i) {
            out = EscapeMarkers(bytes + i, stop - i, out);
        }
        i = take_run<CountEqual>(run, bytes, stop, size, out);
    }
    return out;
}

// KernelOps::run_length_encode from a kernel's own functions, found straight
// at each stop: the reference, and what the plain kernel uses.
template <FindRunFn FindRun, CountEqualFn CountEqual, EscapeMarkersFn EscapeMarkers>
std::uint8_t* run_length_encode_with(PendingRun& run, const std::uint8_t* bytes, std::size_t size,
                                     std::uint8_t* out) {
    const std::size_t i = carry_on_run<CountEqual>(run, bytes, size, out);
    return scan_rest<FindRun, CountEqual, EscapeMarkers>(run, bytes, i, size, out);
}

// A window of the windowed scan: the positions one EqualNext mask covers.
inline constexpr std::size_t kWindow = 64;

// Literal stretches shorter than this are escaped a byte at a time.
inline constexpr std::size_t kShortStretch = 8;

// KernelOps::run_length_encode for the faster kernels. Finding each stop
// afresh makes every stop wait for loads that depend on the stop before it,
// which is what makes input of short runs crawl. Here one mask of "equals
// the next byte" per window of 64 gives all the runs in it at once: a run of
// three or more is a block of two or more set bits, starting where the bit
// before is clear and ending where the bit after is clear, and the k-th start
// goes with the k-th end. Starts and ends are taken off their masks on their
// own, so no run waits for the one before it.
//
// The window's last bit needs the byte after the window, and the block ends
// there are left out: such a run may go on, and CountEqual follows it. A run
// starting at the window's last position is found by the next window, which
// starts there. Literal stretches are escaped whole, however many windows
// they span. The last bytes of the chunk, too few for a window, go to
// scan_rest().
template <FindRunFn FindRun, CountEqualFn CountEqual, EscapeMarkersFn EscapeMarkers,
          EqualNextFn EqualNext>
std::uint8_t* run_length_encode_windowed(PendingRun& run, const std::uint8_t* bytes,
                                         std::size_t size, std::uint8_t* out) {
    constexpr std::uint64_t kLastBit = std::uint64_t{1} << (kWindow - 1);
    std::size_t i = carry_on_run<CountEqual>(run, bytes, size, out);
    std::size_t literal = i; // the start of the literal stretch not yet written
    // A window reads bytes[i + kWindow] for its last bit.
    while (size - i > kWindow) {
        // No run crosses i: each window starts after a run, or where the one
        // before found no run starting.
        const std::uint64_t equal = EqualNext(bytes + i);
        std::uint64_t starts = equal & (equal >> 1) & ~(equal << 1);
        std::uint64_t ends = equal & (equal << 1) & ~(equal >> 1) & ~kLastBit;
        for (; starts != 0; starts &= starts - 1, ends &= ends - 1) {
            const auto at = static_cast<std::size_t>(std::countr_zero(starts));
            const std::size_t stop = i + at;
            if (stop - literal < kShortStretch) {
                // Between short runs: not worth the kernel's setting up.
                for (std::size_t j = literal; j < stop; ++j) {
                    out = put_literal(bytes[j], out);
                }
            } else {
                out = EscapeMarkers(bytes + literal, stop - literal, out);
            }
            if (ends == 0) {
                // The run may go on past the window.
                literal = take_run<CountEqual>(run, bytes, stop, size, out);
                if (literal == size) {
                    return out;
                }
                break;
            }
            // From 3 to kWindow bytes: one piece.
            const auto length = static_cast<std::uint32_t>(std::countr_zero(ends) - at + 2);
            out = put_counted_piece(bytes[stop], length, out);
            literal = stop + length;
        }
        i = std::max(i + kWindow - 1, literal);
    }
    if (i > literal) {
        out = EscapeMarkers(bytes + literal, i - literal, out);
    }
    return scan_rest<FindRun, CountEqual, EscapeMarkers>(run, bytes, i, size, out);
}

} // namespace binhex::detail
