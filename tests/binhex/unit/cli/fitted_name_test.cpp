// Names shortened to fit a file system's limit: only as much as needed, the
// extension kept, no character cut in two.
#include "fitted_name.h"

#include <gtest/gtest.h>

namespace binhex::cli {
namespace {

std::string times(std::size_t count, std::string_view piece) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text.append(piece);
    }
    return text;
}

TEST(FittedName, ShortensOnlyWhatDoesNotFit) {
    const std::string a = "a";
    const std::string e_acute = "\xC3\xA9";  // 2 bytes
    const std::string euro = "\xE2\x82\xAC"; // 3 bytes
    const std::string smile = "\xF0\x9F\x99\x82";
    struct Case {
        const char* what;
        std::string name, suffix;
        std::size_t limit;
        std::string fitted;
    };
    const Case cases[] = {
        {"a short name", "report.pdf", ".hqx", 255, "report.pdf.hqx"},
        {"just fits", times(251, a), ".hqx", 255, times(251, a) + ".hqx"},
        {"one byte over, the extension kept", times(248, a) + ".txt", ".hqx", 255,
         times(247, a) + ".txt.hqx"},
        {"a longer suffix", times(247, a) + ".txt", " 2.hqx", 255, times(245, a) + ".txt 2.hqx"},
        {"no extension", times(255, a), ".hqx", 255, times(251, a) + ".hqx"},
        {"a leading dot is no extension", "." + times(254, a), ".hqx", 255,
         "." + times(250, a) + ".hqx"},
        {"an extension too long to be one", times(200, a) + "." + times(54, "b"), ".hqx", 255,
         times(200, a) + "." + times(50, "b") + ".hqx"},
        {"two-byte characters", times(126, e_acute), ".hqx", 255, times(125, e_acute) + ".hqx"},
        {"three-byte characters", "x" + times(84, euro), ".hqx", 255,
         "x" + times(83, euro) + ".hqx"},
        {"four-byte characters before an extension", times(62, smile) + ".txt", " 2.hqx", 255,
         times(61, smile) + ".txt 2.hqx"},
        {"not UTF-8: cut between bytes", "\xFF\xFF" + times(125, e_acute), ".hqx", 255,
         "\xFF\xFF" + times(124, e_acute) + "\xC3.hqx"},
        {"no room for the extension and a character", "abcdef.txt", ".hqx", 8, "abcd.hqx"},
        {"room for the suffix only", "abc", ".hqx", 4, ".hqx"},
        {"not even the suffix", "abc", ".hqx.XXXXXX", 4, ".hqx.XXXXXX"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fit_name(c.name, c.suffix, c.limit), c.fitted) << c.what;
    }
}

// A Mac OS Roman name is cut between bytes even where its bytes happen to
// read as UTF-8 ("\xC3\xA9" is two letters there).
TEST(FittedName, CutsMacRomanNamesBetweenBytes) {
    const std::string mac = std::string(60, 'n') + "\xC3\xA9\xC3\xA9";
    EXPECT_EQ(fit_name(mac, "", 63, NameCut::at_bytes), std::string(60, 'n') + "\xC3\xA9\xC3");
    EXPECT_EQ(fit_name(mac, "", 63), std::string(60, 'n') + "\xC3\xA9");
}

} // namespace
} // namespace binhex::cli
