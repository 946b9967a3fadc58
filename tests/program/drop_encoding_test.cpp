// Files dropped on the picture button.

#include "program_test.h"

#include "runtime/exceptions.h"

namespace {
std::string RunnerOf(const std::string& line) {
    return line.substr(0, line.find(':'));
}
std::string CommandOf(const std::string& line) {
    return line.substr(line.find(':') + 2);
}

TEST_F(ProgramTest, OneFileGivesTheQuotedCommandThenTheChime) {
    script->Drop("Window1.Window1", "BevelButton1", {"/tmp/a b.txt"});
    Run();
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_EQ(CommandOf(Commands()[0]), "binhex encode \"/tmp/a b.txt\"");
    EXPECT_EQ(CommandOf(Commands()[0]).size(), 28u);
    EXPECT_EQ(script->Journal().back(), "script ended");
    EXPECT_EQ(script->Lines("sound: "), std::vector<std::string>{Chime()});
}

TEST_F(ProgramTest, ManyFilesGoInOrderOnOneRunnerAndEachDropGetsItsOwn) {
    ScriptedPlatform::DropItems many;
    for (int i = 0; i < 3500; ++i)
        many.push_back("/d/" + std::to_string(i));
    script->Drop("Window1.Window1", "BevelButton1", many)
        .Drop("Window1.Window1", "BevelButton1", {"/e/1", "/e/2"});
    Run();
    auto commands = Commands();
    ASSERT_EQ(commands.size(), 3502u);
    for (int i = 0; i < 3500; ++i) {
        EXPECT_EQ(CommandOf(commands[i]), "binhex encode \"/d/" + std::to_string(i) + "\"");
        EXPECT_EQ(RunnerOf(commands[i]), RunnerOf(commands[0]));
    }
    EXPECT_NE(RunnerOf(commands[3500]), RunnerOf(commands[0]));
    EXPECT_EQ(RunnerOf(commands[3501]), RunnerOf(commands[3500]));
    EXPECT_EQ(Count("sound: "), 2u);
}

TEST_F(ProgramTest, ADropWhoseFirstItemHasNoFileIssuesNothingButChimes) {
    script->Drop("Window1.Window1", "BevelButton1", {std::nullopt, "/tmp/b"});
    Run();
    EXPECT_EQ(Count("runner created: "), 1u);
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(Count("sound: "), 1u);
}

TEST_F(ProgramTest, NoRunnerIsSharedBetweenDropsAndBatches) {
    script->AnswerFiles({"/b/1"}).AnswerFolder("/out");
    script->Drop("Window1.Window1", "BevelButton1", {"/d/1"})
        .Click("Window1.Window1", "BevelButton1")
        .Drop("Window1.Window1", "BevelButton1", {"/d/2"});
    Run();
    auto commands = Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(CommandOf(commands[0]), "binhex encode \"/d/1\"");
    EXPECT_EQ(CommandOf(commands[1]), "binhex encode '/b/1' -C '/out'");
    EXPECT_EQ(CommandOf(commands[2]), "binhex encode \"/d/2\"");
    EXPECT_EQ(Count("runner created: "), 3u);
    EXPECT_NE(RunnerOf(commands[0]), RunnerOf(commands[1]));
    EXPECT_NE(RunnerOf(commands[1]), RunnerOf(commands[2]));
    EXPECT_NE(RunnerOf(commands[0]), RunnerOf(commands[2]));
    EXPECT_EQ(Count("sound: "), 3u);
}

TEST_F(ProgramTest, AnExceptionFromTheRunnerEndsTheDropWithoutChime) {
    int seen = 0;
    script->OnCommand([&](const std::string&) {
        if (++seen == 2)
            throw UnsupportedOperationException("the runner broke");
    });
    script->Drop("Window1.Window1", "BevelButton1", {"/d/1", "/d/2", "/d/3", "/d/4"});
    EXPECT_EQ(Run(), 1);
    auto commands = Commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(CommandOf(commands[1]), "binhex encode \"/d/2\"");
    EXPECT_EQ(Count("sound: "), 0u);
    EXPECT_EQ(Count("unhandled exception"), 1u);
}

TEST_F(ProgramTest, ALaterItemWithoutAFileIsSkipped) {
    script->Drop("Window1.Window1", "BevelButton1", {"/tmp/a", std::nullopt, "/tmp/c"});
    Run();
    ASSERT_EQ(Commands().size(), 2u);
    EXPECT_EQ(CommandOf(Commands()[1]), "binhex encode \"/tmp/c\"");
}

TEST_F(ProgramTest, ADropWithNoFileAtAllIsRefusedByTheButton) {
    script->Drop("Window1.Window1", "BevelButton1", {std::nullopt});
    Run();
    EXPECT_EQ(Count("drop refused"), 1u);
    EXPECT_EQ(Count("sound: "), 0u);
}

TEST_F(ProgramTest, CharactersSpecialInsideDoubleQuotesAreEscaped) {
    struct Case {
        std::string path, command;
    };
    const Case cases[] = {
        {"/t/a\"; rm -rf ~; \".txt", "binhex encode \"/t/a\\\"; rm -rf ~; \\\".txt\""},
        {"/t/$(reboot).txt", "binhex encode \"/t/\\$(reboot).txt\""},
        {"/t/`id`\\n", "binhex encode \"/t/\\`id\\`\\\\n\""},
        {"/t/plain 'single' & | ; <>", "binhex encode \"/t/plain 'single' & | ; <>\""},
    };
    for (const auto& c : cases)
        script->Drop("Window1.Window1", "BevelButton1", {c.path});
    Run();
    auto commands = Commands();
    ASSERT_EQ(commands.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(CommandOf(commands[i]), cases[i].command) << cases[i].path;
}

TEST_F(ProgramTest, WithoutResourcesEverythingStillEncodesQuietly) {
    script->SetResources((tmp / "no such folder").string());
    script->Drop("Window1.Window1", "BevelButton1", {"/tmp/a"});
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Commands().size(), 1u);
    EXPECT_EQ(Count("sound: "), 0u);
    EXPECT_EQ(Count("msgbox: "), 0u);
}
} // namespace
