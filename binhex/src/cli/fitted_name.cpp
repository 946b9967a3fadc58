#include "fitted_name.h"

#include "utf8.h"

#include <unistd.h>

namespace binhex::cli {
namespace {

constexpr std::size_t kExtensionMax = 16;

// The longest start of `text` of at most `size` bytes that does not end
// inside a character.
std::string_view leading_part(std::string_view text, std::size_t size, bool utf8) {
    if (size >= text.size()) {
        return text;
    }
    // In well-formed UTF-8 a character starts at any byte but 10xxxxxx.
    while (utf8 && size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) {
        --size;
    }
    return text.substr(0, size);
}

} // namespace

std::size_t name_max(int directory_fd) {
    const long limit = ::fpathconf(directory_fd, _PC_NAME_MAX);
    if (limit <= 0 || static_cast<unsigned long>(limit) > kUsualNameMax) {
        return kUsualNameMax;
    }
    return static_cast<std::size_t>(limit);
}

std::string fit_name(std::string_view name, std::string_view suffix, std::size_t limit,
                     NameCut cut) {
    std::string fitted;
    if (name.size() + suffix.size() <= limit) {
        fitted.append(name);
    } else if (suffix.size() < limit) {
        const std::size_t room = limit - suffix.size();
        const bool utf8 = cut == NameCut::at_characters && is_utf8(name);
        const std::size_t dot = name.rfind('.');
        std::string_view stem;
        if (dot != std::string_view::npos && dot > 0 && name.size() - dot <= kExtensionMax &&
            name.size() - dot < room) {
            stem = leading_part(name.substr(0, dot), room - (name.size() - dot), utf8);
        }
        if (!stem.empty()) {
            fitted.append(stem).append(name.substr(dot));
        } else {
            fitted.append(leading_part(name, room, utf8));
        }
    }
    fitted.append(suffix);
    return fitted;
}

} // namespace binhex::cli
