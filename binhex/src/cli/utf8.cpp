#include "utf8.h"

namespace binhex::cli {

std::optional<std::size_t> utf8_sequence_length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(0);
    std::size_t length = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return std::nullopt;
    }
    if (text.size() < length) {
        return std::nullopt;
    }
    // Only the second byte has a narrowed range; the rest are plain
    // continuation bytes.
    if (byte(1) < low || byte(1) > high) {
        return std::nullopt;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return std::nullopt;
        }
    }
    return length;
}

bool is_utf8(std::string_view text) {
    while (!text.empty()) {
        const auto length = utf8_sequence_length(text);
        if (!length) {
            return false;
        }
        text.remove_prefix(*length);
    }
    return true;
}

} // namespace binhex::cli
