#include "arguments.h"

#include <gtest/gtest.h>

#include <vector>

namespace binhex::cli {
namespace {

Command parse(std::vector<const char*> args) {
    return parse_arguments(args);
}

TEST(Arguments, TakesTheFileAndDirectoryByPosition) {
    struct Case {
        std::vector<const char*> args;
        std::string file;
        std::optional<std::string> directory;
    };
    const Case cases[] = {
        {{"encode", "report.pdf"}, "report.pdf", std::nullopt},
        {{"encode", "report.pdf", "-C", "out"}, "report.pdf", "out"},
        {{"encode", "-C"}, "-C", std::nullopt},
        {{"encode", "--help", "-C", "--version"}, "--help", "--version"},
        {{"encode", "-", "-C", "-"}, "-", "-"},
        {{"encode", ""}, "", std::nullopt},
        {{"encode", "a\nb", "-C", "\xFF"}, "a\nb", "\xFF"},
    };
    for (const auto& c : cases) {
        const Command command = parse(c.args);
        const auto* request = std::get_if<EncodeRequest>(&command);
        ASSERT_NE(request, nullptr) << c.file;
        EXPECT_EQ(request->file, c.file);
        EXPECT_EQ(request->directory, c.directory);
    }
}

TEST(Arguments, HelpAndVersion) {
    EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"--help"})));
    EXPECT_TRUE(std::holds_alternative<ShowHelp>(parse({"-h"})));
    EXPECT_TRUE(std::holds_alternative<ShowVersion>(parse({"--version"})));
}

TEST(Arguments, RefusesEverythingElse) {
    const std::vector<std::vector<const char*>> cases = {
        {},
        {"decode", "x"},
        {"encode"},
        {"encode", "x", "-C"},
        {"encode", "x", "y"},
        {"encode", "x", "-C", "d", "extra"},
        {"encode", "x", "--", "d"},
        {"--help", "encode"},
        {"--version", "x"},
        {"-C", "d", "encode", "x"},
    };
    for (const auto& args : cases) {
        const Command command = parse(args);
        const auto* error = std::get_if<UsageError>(&command);
        ASSERT_NE(error, nullptr) << args.size();
        EXPECT_FALSE(error->message.empty());
        EXPECT_EQ(error->message.find('\n'), std::string::npos);
    }
}

} // namespace
} // namespace binhex::cli
