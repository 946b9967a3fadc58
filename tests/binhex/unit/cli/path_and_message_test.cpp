#include "message.h"
#include "path_parts.h"

#include <gtest/gtest.h>

namespace binhex::cli {
namespace {

TEST(PathParts, SplitsAtTheLastSlash) {
    struct Case {
        std::string path, directory, name;
    };
    const Case cases[] = {
        {"report.pdf", ".", "report.pdf"},
        {"docs/report.pdf", "docs", "report.pdf"},
        {"/report.pdf", "/", "report.pdf"},
        {"/a/b/c", "/a/b", "c"},
        {"dir/", "dir", ""},
        {"-x", ".", "-x"},
    };
    for (const auto& c : cases) {
        const PathParts parts = split_path(c.path);
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
    }
}

TEST(PathParts, JoinsAsAUserWouldType) {
    EXPECT_EQ(join_path(".", "a.hqx"), "a.hqx");
    EXPECT_EQ(join_path("out", "a.hqx"), "out/a.hqx");
    EXPECT_EQ(join_path("out/", "a.hqx"), "out/a.hqx");
    EXPECT_EQ(join_path("/", "a.hqx"), "/a.hqx");
}

TEST(Message, KeepsPathsOnOneLine) {
    EXPECT_EQ(printable_path("plain name.pdf"), "plain name.pdf");
    EXPECT_EQ(printable_path("a\nb"), "a\\nb");
    EXPECT_EQ(printable_path("a\tb\rc\x7F"), "a\\tb\\x0Dc\\x7F");
    EXPECT_EQ(printable_path("back\\slash"), "back\\\\slash");
    EXPECT_EQ(printable_path("caf\xC3\xA9 \xFF"), "caf\xC3\xA9 \xFF");
    EXPECT_EQ(printable_path(""), "''") << "an empty name is still named";
}

} // namespace
} // namespace binhex::cli
