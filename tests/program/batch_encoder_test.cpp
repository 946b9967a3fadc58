// The batch encoder, driven by a click on the picture button and by
// File > Encode, through the dialogs' answers.

#include "program_test.h"

#include "runtime/exceptions.h"

#include <algorithm>

namespace {
const std::string kLimitMessage = "Tamzel works best when you choose fewer than 3,000 files at a "
                                  "time.  Please try again with a smaller batch.";

std::vector<std::string> Files(int n) {
    std::vector<std::string> files;
    for (int i = 0; i < n; ++i)
        files.push_back("/data/file " + std::to_string(i) + ".txt");
    return files;
}

enum class Shown { Nothing, LimitMessage, ExceptionReport };

struct BatchCase {
    const char* name;
    std::optional<std::vector<std::string>> files; // nullopt: Cancel
    std::optional<std::string> folder;             // nullopt: Cancel
    bool chimeFile;
    int runnerFailsAt; // the command at which the runner raises, from 1; 0: never
    bool expectFolderDialog;
    Shown expectShown;
    std::size_t expectCommands;
    bool expectChime;
};

void PrintTo(const BatchCase& row, std::ostream* os) {
    *os << row.name;
}

class BatchTable : public ProgramTest, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(BatchTable, EndsAsTheStateTableSays) {
    const BatchCase& c = GetParam();
    if (!c.chimeFile)
        UseResources({"Mac.tiff"});
    if (c.runnerFailsAt > 0) {
        script->OnCommand([n = 0, at = c.runnerFailsAt](const std::string&) mutable {
            if (++n == at)
                throw UnsupportedOperationException("the runner broke");
        });
    }
    c.files ? script->AnswerFiles(*c.files) : script->CancelFiles();
    c.folder ? script->AnswerFolder(*c.folder) : script->CancelFolder();
    script->Click("Window1.Window1", "BevelButton1").CloseWindow("Window1.Window1");

    EXPECT_EQ(Run(), c.runnerFailsAt > 0 ? 1 : 0);
    EXPECT_EQ(Count("open dialog: "), 1u);
    EXPECT_EQ(Count("folder dialog: "), c.expectFolderDialog ? 1u : 0u);
    const auto messages = script->Lines("msgbox: ");
    switch (c.expectShown) {
    case Shown::Nothing:
        EXPECT_TRUE(messages.empty());
        break;
    case Shown::LimitMessage:
        EXPECT_EQ(messages, std::vector<std::string>{"msgbox: " + kLimitMessage});
        break;
    case Shown::ExceptionReport:
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("UnsupportedOperationException"), std::string::npos);
        break;
    }
    EXPECT_EQ(Count("unhandled exception"), c.expectShown == Shown::ExceptionReport ? 1u : 0u);

    // The runner comes only once a destination is chosen, and it is the one
    // that takes every command, one per chosen file in the dialog's order.
    const auto runners = script->Lines("runner created: ");
    const bool folderChosen = c.expectFolderDialog && c.folder && !c.folder->empty();
    ASSERT_EQ(runners.size(), folderChosen ? 1u : 0u);
    const auto commands = Commands();
    ASSERT_EQ(commands.size(), c.expectCommands);
    for (std::size_t i = 0; i < commands.size(); ++i)
        ASSERT_EQ(commands[i], "shell " + runners[0].substr(16) + ": binhex encode '" +
                                   (*c.files)[i] + "' -C '" + *c.folder + "'");

    EXPECT_EQ(Count("sound: "), c.expectChime ? 1u : 0u);
    if (c.expectChime && !commands.empty()) {
        const auto& j = script->Journal();
        EXPECT_LT(std::find(j.begin(), j.end(), commands.back()),
                  std::find(j.begin(), j.end(), Chime()));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Batch, BatchTable,
    ::testing::Values(
        BatchCase{"CancelInFileDialog", std::nullopt, "/out", true, 0, false, Shown::Nothing, 0,
                  false},
        BatchCase{"ThreeThousandPass", Files(3000), "/out", true, 0, true, Shown::Nothing, 3000,
                  true},
        BatchCase{"ThreeThousandAndOneRefused", Files(3001), "/out", true, 0, false,
                  Shown::LimitMessage, 0, false},
        BatchCase{"CancelInFolderDialog", Files(2), std::nullopt, true, 0, true, Shown::Nothing, 0,
                  false},
        // A folder dialog that answers with no path has chosen no folder.
        BatchCase{"EmptyFolderAnswer", Files(2), "", true, 0, true, Shown::Nothing, 0, false},
        BatchCase{"FinishedWithChime", Files(3), "/out", true, 0, true, Shown::Nothing, 3, true},
        BatchCase{"FinishedWithoutChimeFile", Files(3), "/out", false, 0, true, Shown::Nothing, 3,
                  false},
        // The command that raised was handed to the runner; the files after
        // it get none, and there is no chime.
        BatchCase{"RunnerRaisesPartWay", Files(4), "/out", true, 2, true, Shown::ExceptionReport, 2,
                  false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProgramTest, DialogsShowTheirTextsAndStartOnTheDesktop) {
    script->AnswerFiles({"/a"}).AnswerFolder("/out").ChooseMenuItem("FileEncode");
    Run();
    const std::string desktop = (tmp / "Desktop").string();
    EXPECT_EQ(script->Lines("open dialog: "),
              std::vector<std::string>{"open dialog: Choose a File|Choose files to encode to "
                                       "HQX:|Select|" +
                                       desktop + "|1"});
    EXPECT_EQ(script->Lines("folder dialog: "),
              std::vector<std::string>{"folder dialog: Choose a Folder|Choose destination for "
                                       "your encoded files:|Select|" +
                                       desktop});
    EXPECT_EQ(kLimitMessage.size(), 107u);
}

TEST_F(ProgramTest, CommandsUseTheShellPathsInDialogOrderOnOneRunner) {
    script->AnswerFiles({"/tmp/a b.txt", "/tmp/it's \"quoted\".txt", "/tmp/c"})
        .AnswerFolder("/home/u/My Files")
        .Click("Window1.Window1", "BevelButton1");
    Run();
    auto commands = Commands();
    ASSERT_EQ(commands.size(), 3u);
    const std::string runner = commands[0].substr(0, commands[0].find(':') + 2);
    const std::vector<std::string> expected = {
        "binhex encode '/tmp/a b.txt' -C '/home/u/My Files'",
        "binhex encode '/tmp/it'\\''s \"quoted\".txt' -C '/home/u/My Files'",
        "binhex encode '/tmp/c' -C '/home/u/My Files'",
    };
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(commands[i], runner + expected[i]);
    // The chime comes after the last command, and once.
    const auto& j = script->Journal();
    auto last = std::find(j.begin(), j.end(), commands.back());
    EXPECT_EQ(std::find(last, j.end(), Chime()) - last, 1);
    EXPECT_EQ(Count("sound: "), 1u);
}

TEST_F(ProgramTest, EveryClickRunsANewBatchAndTheWindowStays) {
    script->CancelFiles().AnswerFiles({"/x"}).CancelFolder().AnswerFiles({"/y"}).AnswerFolder("/o");
    for (int i = 0; i < 3; ++i)
        script->Click("Window1.Window1", "BevelButton1");
    Run();
    EXPECT_EQ(Count("open dialog: "), 3u);
    EXPECT_EQ(Count("folder dialog: "), 2u);
    ASSERT_EQ(Commands().size(), 1u);
    EXPECT_NE(Commands()[0].find("binhex encode '/y' -C '/o'"), std::string::npos);
    EXPECT_EQ(Count("window closed: "), 0u);
}
} // namespace
