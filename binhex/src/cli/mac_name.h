// The name that goes into the header: what a Mac would call the file.
#pragma once

#include <string>
#include <string_view>

namespace binhex::cli {

inline constexpr std::size_t kMacNameMax = 63;

// Converts a file name from UTF-8 to Mac OS Roman with the C library's
// "MACINTOSH" character set, after composing it (Unicode NFC) so that a
// decomposed letter keeps its Mac OS Roman byte; a name that is not valid UTF-8
// is not composed. A character Mac OS Roman lacks becomes '?', and
// so does each byte that is not valid UTF-8. ':' becomes '/', which is how the
// Mac shows a ':' in a name from elsewhere (':' separates its folders). A name
// longer than 63 bytes is cut, keeping a short extension (a final ".xyz" of up
// to 16 bytes) where one exists. Never returns an empty name.
std::string mac_name_from_file_name(std::string_view file_name);

// Cuts a Mac OS Roman name to 63 bytes as above; exposed for testing.
std::string shorten_mac_name(std::string name);

} // namespace binhex::cli
