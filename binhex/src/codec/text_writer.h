// Turns the run-length output into characters and lines of 64, straight into
// the caller's buffer. A line break is written only when another character
// follows, so the closing colon can still join a full last line as its 65th
// character instead of standing alone.
//
// Since the opening colon starts the first line, every line after it begins
// with the last character of a group: 16 groups (48 bytes) fill exactly one
// line break's worth, 63 characters, the break, then one more. The kernels
// write whole such blocks at once whenever the stream stands at one.
#pragma once

#include "alphabet.h"
#include "binhex/binhex.h"
#include "kernel_ops.h"

#include <cstddef>
#include <cstdint>

namespace binhex::detail {

class TextWriter {
  public:
    TextWriter(const KernelOps& ops, TextState& state, char* out)
        : ops_(ops), state_(state), out_(out) {}

    char* out() const { return out_; }

    void put_char(char c) {
        if (state_.column == kLineLength) {
            *out_++ = '\n';
            state_.column = 0;
        }
        *out_++ = c;
        ++state_.column;
    }

    void put(const std::uint8_t* bytes, std::size_t size) {
        if (state_.carry_count > 0) {
            const std::size_t need = 3u - state_.carry_count;
            if (size < need) {
                append_carry(bytes, size);
                return;
            }
            std::uint8_t group[3];
            group[0] = state_.carry[0];
            group[1] = state_.carry_count == 2 ? state_.carry[1] : bytes[0];
            group[2] = bytes[need - 1];
            put_group(group);
            state_.carry_count = 0;
            bytes += need;
            size -= need;
        }
        std::size_t groups = size / 3;
        while (groups > 0 && state_.column != kBlockStartColumn) {
            put_group(bytes);
            bytes += 3;
            --groups;
        }
        const std::size_t blocks = groups / kBlockGroups;
        if (blocks > 0) {
            out_ = ops_.encode_lines(bytes, blocks, out_);
            bytes += blocks * kBlockBytes;
            groups -= blocks * kBlockGroups;
        }
        for (; groups > 0; --groups, bytes += 3) {
            put_group(bytes);
        }
        append_carry(bytes, size % 3);
    }

    // Writes the characters for the bytes that never filled a group: the bits
    // are padded with zeros to whole characters, and no character is written
    // for bits that were never there.
    void finish() {
        if (state_.carry_count == 0) {
            return;
        }
        std::uint8_t group[3] = {state_.carry[0], state_.carry[1], 0};
        if (state_.carry_count == 1) {
            group[1] = 0;
        }
        char chars[4];
        plain_kernel_ops().encode_groups(group, 1, chars);
        for (unsigned i = 0; i <= state_.carry_count; ++i) {
            put_char(chars[i]);
        }
        state_.carry_count = 0;
    }

  private:
    static constexpr std::uint8_t kBlockStartColumn = 1;

    void put_group(const std::uint8_t* group) {
        put_char(kAlphabet[group[0] >> 2]);
        put_char(kAlphabet[((group[0] & 0x03) << 4) | (group[1] >> 4)]);
        put_char(kAlphabet[((group[1] & 0x0F) << 2) | (group[2] >> 6)]);
        put_char(kAlphabet[group[2] & 0x3F]);
    }

    void append_carry(const std::uint8_t* bytes, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            state_.carry[state_.carry_count++] = bytes[i];
        }
    }

    const KernelOps& ops_;
    TextState& state_;
    char* out_;
};

} // namespace binhex::detail
