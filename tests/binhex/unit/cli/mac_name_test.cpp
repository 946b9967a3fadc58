#include "mac_name.h"

#include <gtest/gtest.h>

namespace binhex::cli {
namespace {

struct NameCase {
    const char* what;
    std::string file_name;
    std::string mac_name;
};

TEST(MacName, ConvertsToMacOsRoman) {
    const NameCase cases[] = {
        {"plain ASCII", "report.pdf", "report.pdf"},
        {"blanks stay", "my report 2.pdf", "my report 2.pdf"},
        {"accented letters", "caf\xC3\xA9 na\xC3\xAFve.txt", "caf\x8E na\x95ve.txt"},
        {"letters and signs Mac OS Roman has", "\xC3\x9F\xE2\x84\xA2\xCE\xA9\xE2\x82\xAC",
         "\xA7\xAA\xBD\xDB"},
        {"a character it lacks", "\xE6\x97\xA5\xE6\x9C\xAC.txt", "??.txt"},
        {"a colon shows as a slash", "a:b:c", "a/b/c"},
        {"stray continuation bytes", "\x80x\xBF", "?x?"},
        {"invalid lead bytes",
         "\xFF\xFE"
         "abc",
         "??abc"},
        {"a sequence cut short", "ab\xC3", "ab?"},
        {"an overlong form", "\xC0\xAF", "??"},
        {"an encoded surrogate", "\xED\xA0\x80", "???"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "????"},
        {"control characters pass", "a\nb\tc", "a\nb\tc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mac_name_from_file_name(c.file_name), c.mac_name) << c.what;
    }
}

// Macs write names decomposed: a letter and then its combining marks.
TEST(MacName, ComposesNamesFirst) {
    const NameCase cases[] = {
        {"decomposed \xC3\xA9", "Re\xCC\x81sume\xCC\x81.txt", "R\x8Esum\x8E.txt"},
        {"the same name composed", "R\xC3\xA9sum\xC3\xA9.txt", "R\x8Esum\x8E.txt"},
        {"decomposed \xC3\xB1 and \xC3\x85",
         "n\xCC\x83"
         "A\xCC\x8A",
         "\x96\x81"},
        {"two marks, the second with no composed form", "o\xCC\x88\xCC\x81", "\x9A?"},
        {"marks out of order are put in order first", "e\xCC\x81\xCC\xA3", "??"},
        {"a mark with no composed form", "q\xCC\x81", "q?"},
        {"a mark with nothing before it", "\xCC\x81x", "?x"},
        {"Hangul jamo make one syllable", "\xE1\x84\x80\xE1\x85\xA1.txt", "?.txt"},
        {"the Angstrom and Ohm signs are their letters", "\xE2\x84\xAB\xE2\x84\xA6", "\x81\xBD"},
        {"a name that is not all UTF-8 is not composed", "e\xCC\x81\xFF", "e??"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mac_name_from_file_name(c.file_name), c.mac_name) << c.what;
    }
    // The 63-byte cut counts composed letters.
    std::string decomposed;
    for (int i = 0; i < 70; ++i) {
        decomposed += "e\xCC\x81";
    }
    EXPECT_EQ(mac_name_from_file_name(decomposed), std::string(63, '\x8E'));
}

TEST(MacName, CutsLongNamesKeepingTheExtension) {
    const NameCase cases[] = {
        {"exactly 63 stays", std::string(63, 'n'), std::string(63, 'n')},
        {"64 without a dot", std::string(64, 'n'), std::string(63, 'n')},
        {"the extension kept", std::string(70, 'n') + ".pdf", std::string(59, 'n') + ".pdf"},
        {"only the last dot counts", std::string(70, 'n') + ".tar.gz",
         std::string(60, 'n') + ".gz"},
        {"a 16-byte extension still fits", std::string(70, 'n') + "." + std::string(15, 'e'),
         std::string(47, 'n') + "." + std::string(15, 'e')},
        {"a longer tail is no extension", std::string(70, 'n') + "." + std::string(16, 'e'),
         std::string(63, 'n')},
        {"a leading dot is no extension", "." + std::string(70, 'n'), "." + std::string(62, 'n')},
        {"no dot anywhere", std::string(35, 'x') + std::string(70, 'y'),
         std::string(35, 'x') + std::string(28, 'y')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mac_name_from_file_name(c.file_name), c.mac_name) << c.what;
    }
    // 70 two-byte UTF-8 letters are 70 Mac bytes, cut to 63.
    std::string accents;
    for (int i = 0; i < 70; ++i) {
        accents += "\xC3\xA9";
    }
    EXPECT_EQ(mac_name_from_file_name(accents), std::string(63, '\x8E'));
}

TEST(MacName, NeverEmpty) {
    EXPECT_EQ(mac_name_from_file_name(""), "Untitled");
}

} // namespace
} // namespace binhex::cli
