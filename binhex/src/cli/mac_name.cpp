#include "mac_name.h"

#include "failure.h"
#include "fitted_name.h"
#include "unique_fd.h"
#include "utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <iconv.h>
#include <memory>
#include <new>
#include <optional>
#include <utf8proc.h>

namespace binhex::cli {
namespace {

constexpr char kFallbackName[] = "Untitled";

// Unicode's composed form (NFC). Names from a Mac are often decomposed, an
// "e" and then a combining acute accent, and Mac OS Roman has a byte for the
// composed letter only.
std::string composed(std::string_view utf8) {
    // ASCII is composed already; most names are, and they need not touch the
    // library's tables, which a batch would page in once per file.
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(utf8);
    }
    utf8proc_uint8_t* bytes = nullptr;
    const utf8proc_ssize_t length =
        ::utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
                       static_cast<utf8proc_ssize_t>(utf8.size()), &bytes,
                       static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owned(bytes, &std::free);
    if (length == UTF8PROC_ERROR_NOMEM) {
        throw std::bad_alloc();
    }
    // The name was checked to be UTF-8; any other refusal leaves it as it is.
    if (length < 0) {
        return std::string(utf8);
    }
    return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
}

class MacRomanConverter {
  public:
    MacRomanConverter() : handle_(::iconv_open("MACINTOSH", "UTF-8")) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            fail_to_open(errno);
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
    // iconv_open says EINVAL, "no such conversion", whenever it could not
    // read its tables, even when what stopped it was having no descriptor
    // left to read them with.
    [[noreturn]] static void fail_to_open(int error) {
        static constexpr char kWhat[] = "cannot convert names to Mac OS Roman";
        if (error != EINVAL) {
            fail_with_errno(kWhat, error);
        }
        const UniqueFd probe(::open("/", O_PATH | O_CLOEXEC));
        if (!probe && (errno == EMFILE || errno == ENFILE)) {
            fail_with_errno(kWhat, errno);
        }
        throw Failure(std::string(kWhat) + ": the C library has no MACINTOSH character set");
    }

    iconv_t handle_;
};

} // namespace

std::string shorten_mac_name(std::string name) {
    return fit_name(name, "", kMacNameMax, NameCut::at_bytes);
}

std::string mac_name_from_file_name(std::string_view file_name) {
    // A name that is not all UTF-8 is left uncomposed.
    const std::string utf8 = is_utf8(file_name) ? composed(file_name) : std::string(file_name);
    MacRomanConverter converter;
    std::string mac;
    std::string_view rest = utf8;
    while (!rest.empty()) {
        const auto length = utf8_sequence_length(rest);
        if (!length) {
            mac += '?';
            rest.remove_prefix(1);
            continue;
        }
        const char c = converter.convert(rest.substr(0, *length));
        mac += c == ':' ? '/' : c;
        rest.remove_prefix(*length);
    }
    mac = shorten_mac_name(std::move(mac));
    return mac.empty() ? std::string(kFallbackName) : mac;
}

} // namespace binhex::cli
