// Start-up, the application object and shut-down.

#include "program_test.h"

#include "app/about.h"
#include "app/app.h"
#include "app/main_menu_bar.h"
#include "encode/all_files_type.h"
#include "encode/window1.h"

#include <algorithm>

namespace {
std::size_t IndexOf(const std::vector<std::string>& journal, const std::string& line) {
    auto it = std::find(journal.begin(), journal.end(), line);
    EXPECT_NE(it, journal.end()) << "missing: " << line;
    return static_cast<std::size_t>(it - journal.begin());
}

TEST_F(ProgramTest, StartUpRunsInItsOrderAndNoWindowComesBeforeTheLateStartUp) {
    Run();
    const auto& j = script->Journal();
    const std::vector<std::string> order = {
        "filetype registered: ALLFILES|||.*|",
        "version 1.0.0",
        "application menu bar installed",
        "application object registered: App",
        "menu handler bound: AboutTamzel",
        "menu handler bound: Email",
        "menu handler bound: FileEncode",
        "framework initialization handed the late start-up",
        "event loop runs",
        "window created: Window1.Window1",
        "window shown: Window1.Window1",
    };
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(IndexOf(j, order[i - 1]), IndexOf(j, order[i])) << order[i];
    EXPECT_EQ(Count("filetype registered: "), 1u);
    EXPECT_EQ(Count("filetype deregistered: "), 0u);
}

TEST_F(ProgramTest, TheFileTypeIsDefinedOnceAndStaysRegistered) {
    script->Do([] {
        ASSERT_TRUE(ALLFILESTYPE::pAllFileTypes);
        EXPECT_EQ(ALLFILESTYPE::pAllFileTypes->Ubound(), 0);
        EXPECT_EQ((*ALLFILESTYPE::pAllFileTypes)[0], ALLFILESTYPE::ALLFILES());
        Ref<FileType> t = ALLFILESTYPE::ALLFILES();
        EXPECT_EQ(t->Name(), "ALLFILES");
        EXPECT_EQ(t->Extensions(), ".*");
        EXPECT_TRUE(t->Imported());
        EXPECT_TRUE(t->IsRegistered());
        // A setter withdraws the registration; only the next conversion
        // registers again, and a second conversion registers nothing.
        t->MimeType("application/octet-stream");
        EXPECT_FALSE(t->IsRegistered());
        EXPECT_EQ(t->Operator_Convert(), "ALLFILES");
        EXPECT_EQ(t->Operator_Convert(), "ALLFILES");
    });
    Run();
    EXPECT_EQ(Count("filetype registered: ALLFILES"), 2u);
    EXPECT_EQ(Count("filetype deregistered: ALLFILES"), 1u);
}

TEST_F(ProgramTest, TheApplicationObjectHoldsVersionAndTheSharedMenuBar) {
    script->Do([] {
        Ref<App> app = App::Instance();
        ASSERT_TRUE(app);
        EXPECT_EQ(app, App::Instance());
        const VersionData& v = app->Version();
        EXPECT_EQ(std::tie(v.major, v.minor, v.bug, v.nonRelease, v.stageCode),
                  std::make_tuple(1, 0, 0, 0, 0));
        EXPECT_TRUE(v.longVersion.empty() && v.shortVersion.empty() && v.packageInfo.empty());
        Ref<Window1> window = Window1::Instance();
        EXPECT_EQ(app->MenuBar().get(), window->MenuBar().get());
        EXPECT_EQ(app->MenuBar().get(), MainMenuBar::Instance().get());
        EXPECT_FALSE(app->IsEventImplemented("Open"));
        EXPECT_FALSE(app->IsEventImplemented("UnhandledException"));
        EXPECT_EQ(About::Instance()->Label2()->Properties().Get<std::string>("Value"),
                  "Version 3.0");
    });
    Run();
}

TEST_F(ProgramTest, ASecondLateStartUpMakesNoSecondWindow) {
    script->Do([] { LateStartup(); });
    Run();
    EXPECT_EQ(Count("window created: Window1.Window1"), 1u);
    EXPECT_EQ(Count("control created: Window1.Window1"), 3u);
}

TEST_F(ProgramTest, MenuActionsReturnFalseAndDoTheirWork) {
    script->CancelFiles();
    script->Do([] {
        Ref<App> app = App::Instance();
        EXPECT_FALSE(app->Email_Action());
        EXPECT_FALSE(app->Email_Action());
        EXPECT_FALSE(app->FileEncode_Action());
    });
    Run();
    EXPECT_EQ(script->Lines("url: "),
              std::vector<std::string>(2, std::string("url: ") + kContactURL));
    EXPECT_EQ(std::string(kContactURL).size(), 27u);
    EXPECT_EQ(std::string(kContactURL).rfind("mailto:", 0), 0u);
    EXPECT_EQ(Count("open dialog: "), 1u);
    EXPECT_EQ(Count("folder dialog: "), 0u);
}

struct QuitCase {
    const char* name;
    std::function<void(ScriptedPlatform&)> script;
    int status;
};

void PrintTo(const QuitCase& row, std::ostream* os) {
    *os << row.name;
}

class QuitTable : public ProgramTest, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(QuitTable, TheExitStatusIsTheRuntimes) {
    GetParam().script(*script);
    EXPECT_EQ(Run(), GetParam().status);
    EXPECT_EQ(Count("unhandled exception"), GetParam().status == 1 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Quit, QuitTable,
    ::testing::Values(
        QuitCase{"CloseMainWindow", [](ScriptedPlatform& s) { s.CloseWindow("Window1.Window1"); },
                 0},
        QuitCase{"CloseMainWindowWhileAboutIsOpen",
                 [](ScriptedPlatform& s) {
                     s.ChooseMenuItem("AboutTamzel").CloseWindow("Window1.Window1");
                 },
                 0},
        QuitCase{"FileQuit", [](ScriptedPlatform& s) { s.ChooseMenuItem("FileQuit"); }, 0},
        QuitCase{
            "ExceptionInAHandler",
            [](ScriptedPlatform& s) { s.Do([] { throw NilObjectException("from a handler"); }); },
            1},
        QuitCase{"QuitWithACode", [](ScriptedPlatform& s) { s.Do([] { Quit(3); }); }, 3}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProgramTest, NothingRunsAfterQuit) {
    script->ChooseMenuItem("FileQuit").Drop("Window1.Window1", "BevelButton1", {"/a"});
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Commands().empty());
}
} // namespace
