// UTF-8 as names on disk use it: well-formed sequences only.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace binhex::cli {

// Returns the length of the well-formed UTF-8 sequence at the start of
// `text`, or nothing when it is not one (overlong forms, surrogates and values
// past U+10FFFF included). `text` must not be empty.
std::optional<std::size_t> utf8_sequence_length(std::string_view text);

// True when all of `text` is well-formed UTF-8.
bool is_utf8(std::string_view text);

} // namespace binhex::cli
