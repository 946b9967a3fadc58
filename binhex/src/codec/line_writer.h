// Cuts the character stream into lines of 64. A line break is written only
// when another character follows, so the closing colon can still join a full
// last line as its 65th character instead of standing alone.
#pragma once

#include "alphabet.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace binhex::detail {

inline char* put_lines(const char* chars, std::size_t size, char* out, std::uint8_t& column) {
    while (size > 0) {
        if (column == kLineLength) {
            *out++ = '\n';
            column = 0;
        }
        std::size_t take = kLineLength - column;
        if (take > size) {
            take = size;
        }
        std::memcpy(out, chars, take);
        out += take;
        chars += take;
        size -= take;
        column = static_cast<std::uint8_t>(column + take);
    }
    return out;
}

} // namespace binhex::detail
