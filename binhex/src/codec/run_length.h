// The run-length stage: a run of 3 to 255 equal bytes becomes the byte, the
// 0x90 marker and the count; a literal 0x90 becomes 90 00. Longer runs are cut
// into pieces of 255, each starting with a literal byte of its own, which every
// decoder reads the same way. The last run of each chunk is held back, since
// the next chunk may carry it on.
//
// Literal stretches go to the sink straight from the input, uncopied; only the
// few bytes that stand for a run are made here.
#pragma once

#include "alphabet.h"
#include "binhex/binhex.h"
#include "kernel_ops.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace binhex::detail {

inline constexpr std::uint32_t kLongestRun = 255;

// The most bytes one piece of a run can take: 90 00 90 count.
inline constexpr std::size_t kPieceMax = 4;

// Puts one piece of at most kLongestRun copies of `byte`. A pair stays
// literal: the marker form would take as many bytes.
template <typename Sink> void put_piece(std::uint8_t byte, std::uint32_t count, Sink& sink) {
    std::uint8_t piece[kPieceMax];
    std::size_t size = 0;
    const auto literal = [&] {
        piece[size++] = byte;
        if (byte == kRunMarker) {
            piece[size++] = 0x00;
        }
    };
    literal();
    if (count >= 3) {
        piece[size++] = kRunMarker;
        piece[size++] = static_cast<std::uint8_t>(count);
    } else if (count == 2) {
        literal();
    }
    sink.put(piece, size);
}

// Puts the complete pieces of the held-back run at once. Pieces always start
// at multiples of kLongestRun from the start of the run, so cutting them early
// gives the same bytes as cutting them at the end, whatever the chunk sizes.
template <typename Sink> void put_full_pieces(PendingRun& run, Sink& sink) {
    while (run.count >= kLongestRun) {
        put_piece(run.byte, kLongestRun, sink);
        run.count -= kLongestRun;
    }
}

// Puts the held-back run.
template <typename Sink> void run_length_flush(PendingRun& run, Sink& sink) {
    if (run.count > 0) {
        put_piece(run.byte, run.count, sink);
        run.count = 0;
    }
}

// Puts the run-length form of `size` bytes, carrying on `run`. Sink::put takes
// (const std::uint8_t*, std::size_t).
template <typename Sink>
void run_length_encode(const KernelOps& ops, PendingRun& run, const std::uint8_t* bytes,
                       std::size_t size, Sink& sink) {
    std::size_t i = 0;
    if (run.count > 0) {
        // The chunk may carry on the run held back from the last one.
        const std::size_t more = ops.count_equal(bytes, size, run.byte);
        run.count += static_cast<std::uint32_t>(more);
        put_full_pieces(run, sink);
        i = more;
        if (i == size) {
            return;
        }
        run_length_flush(run, sink);
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
        if (stop > i) {
            sink.put(bytes + i, stop - i);
        }
        const std::uint8_t byte = bytes[stop];
        const std::size_t length = ops.count_equal(bytes + stop, size - stop, byte);
        i = stop + length;
        if (i == size) {
            run.byte = byte;
            run.count = static_cast<std::uint32_t>(length);
            put_full_pieces(run, sink);
            return;
        }
        for (std::size_t left = length; left > 0;) {
            const auto piece = static_cast<std::uint32_t>(std::min<std::size_t>(left, kLongestRun));
            put_piece(byte, piece, sink);
            left -= piece;
        }
    }
}

} // namespace binhex::detail
