#include "mac_name.h"

#include "failure.h"
#include "utf8.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace binhex::cli {
namespace {

constexpr std::size_t kExtensionMax = 16;
constexpr char kFallbackName[] = "Untitled";

class MacRomanConverter {
  public:
    MacRomanConverter() : handle_(::iconv_open("MACINTOSH", "UTF-8")) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            fail_with_errno("cannot convert names to Mac OS Roman", errno);
        }
    }
    ~MacRomanConverter() { ::iconv_close(handle_); }
    MacRomanConverter(const MacRomanConverter&) = delete;
    MacRomanConverter& operator=(const MacRomanConverter&) = delete;

    // Returns the Mac OS Roman byte for one well-formed UTF-8 character, or
    // '?' when there is none.
    char convert(std::string_view character) {
        char in[4];
        character.copy(in, sizeof in);
        char* in_ptr = in;
        std::size_t in_left = character.size();
        char out[8];
        char* out_ptr = out;
        std::size_t out_left = sizeof out;
        const std::size_t result = ::iconv(handle_, &in_ptr, &in_left, &out_ptr, &out_left);
        ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        if (result == static_cast<std::size_t>(-1) || out_ptr - out != 1) {
            return '?';
        }
        return out[0];
    }

  private:
    iconv_t handle_;
};

} // namespace

std::string shorten_mac_name(std::string name) {
    if (name.size() <= kMacNameMax) {
        return name;
    }
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0 && name.size() - dot <= kExtensionMax) {
        const std::string extension = name.substr(dot);
        name.resize(kMacNameMax - extension.size());
        return name + extension;
    }
    name.resize(kMacNameMax);
    return name;
}

std::string mac_name_from_file_name(std::string_view file_name) {
    MacRomanConverter converter;
    std::string mac;
    while (!file_name.empty()) {
        const auto length = utf8_sequence_length(file_name);
        if (!length) {
            mac += '?';
            file_name.remove_prefix(1);
            continue;
        }
        const char c = converter.convert(file_name.substr(0, *length));
        mac += c == ':' ? '/' : c;
        file_name.remove_prefix(*length);
    }
    mac = shorten_mac_name(std::move(mac));
    return mac.empty() ? std::string(kFallbackName) : mac;
}

} // namespace binhex::cli
