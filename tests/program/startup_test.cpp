// Start-up, the application object and shut-down.

#include "program_test.h"

#include "app/about.h"
#include "app/app.h"
#include "app/main_menu_bar.h"
#include "encode/all_files_type.h"
#include "encode/window1.h"
#include "runtime/window.h"

#include <algorithm>

namespace {
// What start-up leaves in the journal, in order, before any window exists.
const std::vector<std::string> kStartUp = {
    "filetype registered: ALLFILES|||.*|",
    "version 1.0.0 set on App",
    "menu bar installed on App",
    "application object registered: App",
    "menu handler bound: AboutTamzel",
    "menu handler bound: Email",
    "menu handler bound: FileEncode",
    "framework initialization handed the late start-up",
    "event loop runs",
};

// The report of an exception nobody handled, as its message box shows it.
std::string Unhandled(const std::string& kind, const std::string& message) {
    return "msgbox: An exception" + kind + " was not handled. The application must shut down." +
           message;
}

// How far start-up has come: the shared menu bar, the registered application
// object, the main window.
std::string Progress() {
    auto flag = [](bool on) { return on ? "1" : "0"; };
    return std::string("bar=") + flag(bool(MainMenuBar::implicitInstance())) +
           " app=" + flag(bool(GetAppObject())) +
           " window=" + flag(bool(GetImplicitWindow("Window1.Window1")));
}

// The scripted backend, which also notes how far start-up had come at each
// runtime note, registration and window, and raises at a chosen line as a
// failing runtime call would. It can also make the report of an unhandled
// exception fail in turn.
class StartupProbe : public ScriptedPlatform {
  public:
    std::string failAt;
    bool failReport = false;
    std::vector<std::string> seen;

    void Note(const std::string& text) override {
        ScriptedPlatform::Note(text);
        Saw();
    }
    void FileTypeRegistered(const std::string& name, const std::string& creator,
                            const std::string& type, const std::string& extensions,
                            const std::string& uti) override {
        ScriptedPlatform::FileTypeRegistered(name, creator, type, extensions, uti);
        Saw();
    }
    void WindowCreated(Window& w) override {
        ScriptedPlatform::WindowCreated(w);
        Saw();
    }
    void ShowMessage(const std::string& text) override {
        ScriptedPlatform::ShowMessage(text);
        if (failReport)
            throw NilObjectException("the report failed too");
    }

  private:
    void Saw() {
        const std::string& line = Journal().back();
        seen.push_back(line + " | " + Progress());
        if (line == failAt)
            throw NilObjectException("failing at " + line);
    }
};

class StartupTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        auto platform = std::make_unique<StartupProbe>();
        probe = platform.get();
        script = probe;
        script->SetDesktop((tmp / "Desktop").string()).SetResources(TAMZEL_RESOURCES_DIR);
        RuntimeSelectBackend(std::move(platform));
    }

    static std::string Report(const std::string& message) {
        return Unhandled(" of class NilObjectException", "\n" + message);
    }

    StartupProbe* probe = nullptr;
};

TEST_F(StartupTest, StartUpCallsInExactlyThisOrderAndNoWindowComesBeforeTheLateStartUp) {
    EXPECT_EQ(Run(), 0);
    std::vector<std::string> expected;
    for (const std::string& line : kStartUp) {
        const bool app = line.rfind("menu handler", 0) == 0 || line.rfind("framework", 0) == 0 ||
                         line.rfind("event loop", 0) == 0;
        const bool bar = app || line.rfind("menu bar", 0) == 0 || line.rfind("application", 0) == 0;
        expected.push_back(line + " | bar=" + (bar ? "1" : "0") + " app=" + (app ? "1" : "0") +
                           " window=0");
    }
    // The window exists from its creation on; the late start-up made it.
    expected.push_back("window created: Window1.Window1 | bar=1 app=1 window=1");
    EXPECT_EQ(probe->seen, expected);

    std::vector<std::string> journal = script->Journal();
    ASSERT_GT(journal.size(), kStartUp.size());
    EXPECT_EQ(std::vector<std::string>(journal.begin(), journal.begin() + 9), kStartUp);
    EXPECT_EQ(journal[9], "window created: Window1.Window1");
    EXPECT_EQ(Count("window created: "), 1u);
    EXPECT_EQ(Count("window shown: "), 1u);
    EXPECT_EQ(journal.back(), "script ended");
}

TEST_F(StartupTest, AfterTheInitialisersEveryClassIsKnownAndNothingIsMadeYet) {
    RuntimeInit();
    EXPECT_FALSE(RuntimeFindClass("App"));
    RuntimePerformInitializers(ProgramInitializers());
    for (const ClassRecord* record :
         {&App::ClassInfo(), &Window1::ClassInfo(), &About::ClassInfo(), &MainMenuBar::ClassInfo()})
        EXPECT_EQ(RuntimeFindClass(record->name), record) << record->name;
    EXPECT_FALSE(MainMenuBar::implicitInstance());
    EXPECT_FALSE(ALLFILESTYPE::pALLFILES);
    ASSERT_TRUE(ALLFILESTYPE::pAllFileTypes);
    EXPECT_EQ(ALLFILESTYPE::pAllFileTypes->Ubound(), -1);
    EXPECT_FALSE(GetAppObject());
    EXPECT_TRUE(script->Journal().empty());
}

TEST_F(StartupTest, EachClassIsKnownByNameFromTheFirstUseOfItsRecord) {
    // Without the initialisers: a record asked for first elsewhere (a cast,
    // a lookup) is registered as it is built, at the address handed out.
    for (const ClassRecord* record :
         {&App::ClassInfo(), &Window1::ClassInfo(), &About::ClassInfo(), &MainMenuBar::ClassInfo()})
        EXPECT_EQ(RuntimeFindClass(record->name), record) << record->name;
}

// Start-up failing at each of its calls into the runtime: the exception is
// reported once, nothing after it runs, what was done stays done, and the
// exit status is the runtime's.
struct FailureCase {
    const char* name;
    std::size_t failAt; // index into kStartUp
};

void PrintTo(const FailureCase& row, std::ostream* os) {
    *os << row.name;
}

class StartUpFailure : public StartupTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StartUpFailure, IsReportedAndNothingAfterItRuns) {
    const std::size_t at = GetParam().failAt;
    probe->failAt = kStartUp[at];
    script->Do([] { ADD_FAILURE() << "a script step ran after a failed start-up"; });
    testing::internal::CaptureStderr();
    const int status = Run();
    const std::string err = testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, RuntimeExit());
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.find("NilObjectException"), std::string::npos) << err;
    std::vector<std::string> expected(kStartUp.begin(),
                                      kStartUp.begin() + static_cast<std::ptrdiff_t>(at) + 1);
    expected.insert(expected.end(),
                    {"unhandled exception", Report("failing at " + kStartUp[at]), "quit 1"});
    EXPECT_EQ(script->Journal(), expected);

    // The object is registered only once its registration went through; each
    // binding made before the failure stays.
    Ref<Application> app = GetAppObject();
    EXPECT_EQ(bool(app), at > 3);
    if (app) {
        EXPECT_EQ(app->HasMenuHandler("AboutTamzel"), at >= 4);
        EXPECT_EQ(app->HasMenuHandler("Email"), at >= 5);
        EXPECT_EQ(app->HasMenuHandler("FileEncode"), at >= 6);
    }
    EXPECT_TRUE(RuntimeFindFileType("ALLFILES")) << "the file type stays registered";
}

INSTANTIATE_TEST_SUITE_P(StartUp, StartUpFailure,
                         ::testing::Values(FailureCase{"RegisteringTheFileType", 0},
                                           FailureCase{"SettingTheVersion", 1},
                                           FailureCase{"InstallingTheMenuBar", 2},
                                           FailureCase{"RegisteringTheApplication", 3},
                                           FailureCase{"BindingAboutTamzel", 4},
                                           FailureCase{"BindingEmail", 5},
                                           FailureCase{"BindingFileEncode", 6},
                                           FailureCase{"HandingOverTheLateStartUp", 7},
                                           FailureCase{"StartingTheEventLoop", 8}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(StartupTest, AFailedLateStartUpIsReportedOnceAndNotTriedAgain) {
    probe->failAt = "window created: Window1.Window1";
    script->Do([] { ADD_FAILURE() << "a script step ran after a failed late start-up"; });
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(), 1);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(RuntimeExit(), 1);
    EXPECT_EQ(
        JournalFrom(kStartUp.size()),
        (std::vector<std::string>{"window created: Window1.Window1", "unhandled exception",
                                  Report("failing at window created: Window1.Window1"), "quit 1"}));
}

TEST_F(StartupTest, AnExceptionPendingBeforeStartUpIsReportedAndNothingStarts) {
    RuntimeInit();
    testing::internal::CaptureStderr();
    Main(std::make_exception_ptr(NilObjectException("left by an initialiser")));
    testing::internal::GetCapturedStderr();
    RuntimePerformFinalizers();
    EXPECT_EQ(RuntimeExit(), 1);
    EXPECT_EQ(script->Journal(),
              (std::vector<std::string>{"unhandled exception", Report("left by an initialiser"),
                                        "quit 1"}));
    EXPECT_FALSE(GetAppObject());
}

TEST_F(StartupTest, AReportThatFailsInTurnStillEndsTheRunAsAFailure) {
    probe->failAt = "version 1.0.0 set on App";
    probe->failReport = true;
    testing::internal::CaptureStderr();
    const int status = Run();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(status, RuntimeExit());
    EXPECT_EQ(JournalFrom(2), (std::vector<std::string>{
                                  "unhandled exception",
                                  Report("failing at version 1.0.0 set on App"),
                              }));
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
        for (const char* event : {"Activate", "CancelClose", "Close", "EnableMenuItems", "Open",
                                  "OpenDocument", "UnhandledException"})
            EXPECT_FALSE(app->IsEventImplemented(event)) << event;
        EXPECT_EQ(About::Instance()->Label2()->Properties().Get<std::string>("Value"),
                  "Version 3.0");
    });
    Run();
}

// Once start-up is done, what it made is held by the runtime and the
// program's module variables alone. The counts are absolute, so a reference
// that start-up kept shows however it came about. Each lookup here is a
// temporary, gone before the count is read.
void ExpectOnlyTheRuntimeAndModuleVariablesHold() {
    const Window* window = GetImplicitWindow("Window1.Window1").get();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->RefCount(), 1) << "the runtime's list of open windows";
    const Application* app = GetAppObject().get();
    ASSERT_TRUE(app);
    EXPECT_EQ(app->RefCount(), 1) << "the runtime's registration";
    const MenuBar* bar = MainMenuBar::implicitInstance().get();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->RefCount(), 3) << "the shared bar, the application and the main window";
    // The runtime keeps the menu handlers as bare functions: no delegate made
    // to carry one outlives its binding.
    EXPECT_EQ(Object::LiveInstancesOf(MethodDelegate::ClassInfo()).size(), 0u);
    // The button's three event delegates and the label's one, each held by
    // its control alone.
    const auto delegates = Object::LiveInstancesOf(Delegate::ClassInfo());
    EXPECT_EQ(delegates.size(), 4u);
    for (const Object* d : delegates)
        EXPECT_EQ(d->RefCount(), 1);
}

TEST_F(ProgramTest, AfterStartUpOnlyTheRuntimeHoldsTheWindowTheAppAndTheMenuBar) {
    bool checked = false;
    script->Do([&] {
        ExpectOnlyTheRuntimeAndModuleVariablesHold();
        checked = true;
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(checked);
}

TEST_F(ProgramTest, ASecondLateStartUpMakesNoSecondWindowAndKeepsNoReference) {
    script->Do([] {
        const Window* window = GetImplicitWindow("Window1.Window1").get();
        LateStartup();
        EXPECT_EQ(GetImplicitWindow("Window1.Window1").get(), window);
        ExpectOnlyTheRuntimeAndModuleVariablesHold();
    });
    Run();
    EXPECT_EQ(Count("window created: Window1.Window1"), 1u);
    EXPECT_EQ(Count("control created: Window1.Window1"), 3u);
}

TEST_F(ProgramTest, TheContactAddressIsOnAReservedExampleDomain) {
    const std::string url = kContactURL;
    EXPECT_EQ(url.size(), 27u);
    ASSERT_EQ(url.rfind("mailto:", 0), 0u);
    const std::string address = url.substr(7);
    ASSERT_EQ(std::count(address.begin(), address.end(), '@'), 1) << address;
    const std::string domain = address.substr(address.find('@') + 1);
    const bool reserved = domain == "example.com" || domain == "example.net" ||
                          domain == "example.org" ||
                          (domain.size() > 8 && domain.ends_with(".example"));
    EXPECT_TRUE(reserved) << domain;
}

// Each menu action, chosen through the menu bar and called directly: what it
// does, nothing more, and False.
TEST_F(ProgramTest, ContactDeveloperHandsTheSameURLOverEachTime) {
    script->ChooseMenuItem("Email").ChooseMenuItem("Email");
    script->Do([] { EXPECT_FALSE(App::Instance()->Email_Action()); });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(script->Lines("url: "),
              std::vector<std::string>(3, std::string("url: ") + kContactURL));
}

TEST_F(ProgramTest, EncodeCancelledInTheFirstDialogDoesNothingElse) {
    script->CancelFiles().CancelFiles();
    std::size_t before = 0;
    std::vector<std::string> byMenu, byCall;
    auto since = [&] {
        const auto& j = script->Journal();
        return std::vector<std::string>(j.begin() + static_cast<std::ptrdiff_t>(before), j.end());
    };
    script->Do([&] { before = script->Journal().size(); }).ChooseMenuItem("FileEncode").Do([&] {
        byMenu = since();
        before = script->Journal().size();
        EXPECT_FALSE(App::Instance()->FileEncode_Action());
        byCall = since();
    });
    EXPECT_EQ(Run(), 0);
    for (const auto* lines : {&byMenu, &byCall}) {
        ASSERT_EQ(lines->size(), 1u);
        EXPECT_EQ(lines->front().rfind("open dialog: Choose a File|", 0), 0u) << lines->front();
    }
}

TEST_F(ProgramTest, AboutShowsTheOneAboutWindowEachTime) {
    std::vector<std::size_t> shown;
    auto count = [&] { shown.push_back(Count("window shown: About.About")); };
    script->ChooseMenuItem("AboutTamzel").Do(count).ChooseMenuItem("AboutTamzel").Do(count);
    script->Do([&] {
        EXPECT_FALSE(App::Instance()->AboutTamzel_Action());
        count();
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Count("window created: About.About"), 1u);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_GE(shown[0], 1u);
    EXPECT_EQ(shown[1], shown[0] + 1);
    EXPECT_EQ(shown[2], shown[1] + 1);
}

// Each way a run ends. The loop must end because the program quit: the
// runtime journals the Quit with its code, and the action the user would
// take next never runs, so the script never runs out.
struct QuitCase {
    const char* name;
    std::function<void(ScriptedPlatform&)> before; // its journal is not compared
    std::function<void(ScriptedPlatform&)> script;
    std::vector<std::string> journal; // from `script` on, to the end of the run
    int status;
};

void PrintTo(const QuitCase& row, std::ostream* os) {
    *os << row.name;
}

class QuitTable : public ProgramTest, public ::testing::WithParamInterface<QuitCase> {};

TEST_P(QuitTable, TheLoopEndsByQuitAndTheExitStatusIsTheRuntimes) {
    if (GetParam().before)
        GetParam().before(*script);
    std::size_t from = 0;
    script->Do([&] { from = script->Journal().size(); });
    GetParam().script(*script);
    bool nextActionRan = false;
    script->Do([&] { nextActionRan = true; });

    testing::internal::CaptureStderr();
    const int status = Run();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, GetParam().status);
    EXPECT_EQ(status, RuntimeExit());
    EXPECT_EQ(JournalFrom(from), GetParam().journal);
    EXPECT_FALSE(nextActionRan);
    EXPECT_EQ(Count("script ended"), 0u);
    EXPECT_EQ(err.empty(), GetParam().status != 1) << err;
}

const std::vector<std::string> kClosedByTheUser = {"quit 0", "window closed: Window1.Window1"};

INSTANTIATE_TEST_SUITE_P(
    Quit, QuitTable,
    ::testing::Values(QuitCase{"CloseMainWindow", nullptr,
                               [](ScriptedPlatform& s) { s.CloseWindow("Window1.Window1"); },
                               kClosedByTheUser, 0},
                      // The About window stays open; the main window's close quits all the
                      // same.
                      QuitCase{"CloseMainWindowWhileAboutIsOpen",
                               [](ScriptedPlatform& s) { s.ChooseMenuItem("AboutTamzel"); },
                               [](ScriptedPlatform& s) { s.CloseWindow("Window1.Window1"); },
                               kClosedByTheUser, 0},
                      QuitCase{"FileQuit",
                               nullptr,
                               [](ScriptedPlatform& s) { s.ChooseMenuItem("FileQuit"); },
                               {"quit 0"},
                               0},
                      QuitCase{"ExceptionInAHandler",
                               nullptr,
                               [](ScriptedPlatform& s) {
                                   s.Do([] { throw NilObjectException("from a handler"); });
                               },
                               {"unhandled exception",
                                Unhandled(" of class NilObjectException", "\nfrom a handler"),
                                "quit 1"},
                               1},
                      // Not of the runtime's kind: still reported, never a crash.
                      QuitCase{"StandardExceptionInAHandler",
                               nullptr,
                               [](ScriptedPlatform& s) {
                                   s.Do([] { throw std::out_of_range("from a handler"); });
                               },
                               {"unhandled exception", Unhandled("", "\nfrom a handler"), "quit 1"},
                               1},
                      QuitCase{"ExceptionOfNoKnownKindInAHandler",
                               nullptr,
                               [](ScriptedPlatform& s) { s.Do([] { throw 42; }); },
                               {"unhandled exception", Unhandled(" of unknown kind", ""), "quit 1"},
                               1},
                      QuitCase{"QuitWithACode",
                               nullptr,
                               [](ScriptedPlatform& s) { s.Do([] { Quit(3); }); },
                               {"quit 3"},
                               3}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProgramTest, NothingRunsAfterQuit) {
    script->ChooseMenuItem("FileQuit").Drop("Window1.Window1", "BevelButton1", {"/a"});
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Commands().empty());
}
} // namespace
