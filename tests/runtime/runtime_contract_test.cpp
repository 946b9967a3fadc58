// What the program relies on of the runtime: casts, event records, the
// main-thread guard, the initialiser table, the late start-up, quitting,
// unhandled exceptions and reference counts.

#include "runtime/application.h"
#include "runtime/menu.h"
#include "runtime/platform.h"
#include "runtime/process.h"
#include "runtime/scripted/scripted_platform.h"
#include "runtime/shell.h"
#include "runtime/window.h"

#include <gtest/gtest.h>

#include <thread>

namespace {
class Base : public Object {
  public:
    static const ClassRecord& ClassInfo() {
        static const ClassRecord r{"Test.Base", &Object::ClassInfo(), {"Open"}, {}};
        return r;
    }
    const ClassRecord& Record() const override { return ClassInfo(); }
};
class Derived : public Base {
  public:
    static const ClassRecord& ClassInfo() {
        static const ClassRecord r{"Test.Derived", &Base::ClassInfo(), {"Close"}, {}};
        return r;
    }
    const ClassRecord& Record() const override { return ClassInfo(); }
};
class Unrelated : public Object {
  public:
    static const ClassRecord& ClassInfo() {
        static const ClassRecord r{"Test.Unrelated", &Object::ClassInfo(), {}, {}};
        return r;
    }
    const ClassRecord& Record() const override { return ClassInfo(); }
};

class RuntimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto p = std::make_unique<ScriptedPlatform>();
        script = p.get();
        RuntimeSelectBackend(std::move(p));
        RuntimeInit();
    }
    ScriptedPlatform* script = nullptr;
};

TEST_F(RuntimeTest, CastsFollowTheClassRecords) {
    Ref<Object> derived = RuntimeNewObject<Derived>();
    EXPECT_EQ(RuntimeCheckCast<Base>(derived).get(), derived.get());
    EXPECT_EQ(RuntimeCheckCast<Derived>(derived).get(), derived.get());
    EXPECT_THROW(RuntimeCheckCast<Unrelated>(derived), IllegalCastException);
    EXPECT_THROW(RuntimeCheckCast<Derived>(Ref<Object>(RuntimeNewObject<Base>())),
                 IllegalCastException);
    EXPECT_FALSE(RuntimeCheckCast<Base>(Ref<Object>())); // nil passes through as nil
}

TEST_F(RuntimeTest, EventQueriesAnswerFromTheClassRecord) {
    RuntimeRegisterClass(Base::ClassInfo());
    RuntimeRegisterClass(Derived::ClassInfo());
    EXPECT_TRUE(RuntimeIsEventHandled(nullptr, "Test.Base", "Open", true));
    EXPECT_FALSE(RuntimeIsEventHandled(nullptr, "Test.Base", "Close", true));
    EXPECT_TRUE(RuntimeIsEventHandled(nullptr, "Test.Derived", "Close", true));
    // Only the class's own events count, not its parent's.
    EXPECT_FALSE(RuntimeIsEventHandled(nullptr, "Test.Derived", "Open", true));
    EXPECT_FALSE(RuntimeIsEventHandled(nullptr, "No.Such.Class", "Open", true));
}

TEST_F(RuntimeTest, UserInterfaceCallsFromAnotherThreadRaiseBeforeDoingAnything) {
    Ref<MenuItem> item = RuntimeNewObject<MenuItem>();
    item->Name("before");
    Ref<Application> app = RuntimeNewObject<Application>();
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"MenuItem.Name", [&] { item->Name("after"); }},
        {"MenuItem.AddMenu", [&] { item->AddMenu(RuntimeNewObject<MenuItem>()); }},
        {"MenuItem.Lookup", [&] { (void)item->Lookup("x"); }},
        {"OpenDialog", [] { (void)RuntimeNewObject<OpenDialog>(); }},
        {"MsgBox", [] { MsgBox("from a thread"); }},
        {"ShowURL", [] { ShowURL("mailto:x@example.com"); }},
        {"GetImplicitWindow", [] { (void)GetImplicitWindow("Window1.Window1"); }},
        {"Application.AddMenuHandler",
         [&] { app->AddMenuHandler("Email", [](Object&) { return false; }); }},
        {"Application.MenuBar", [&] { app->MenuBar(RuntimeNewObject<MenuBar>()); }},
    };
    for (const auto& [name, call] : calls) {
        bool raised = false;
        std::thread([&] {
            try {
                call();
            } catch (const ThreadAccessingUIException&) {
                raised = true;
            }
        }).join();
        EXPECT_TRUE(raised) << name;
    }
    EXPECT_EQ(item->Name(), "before");
    EXPECT_EQ(item->Count(), 0u);
    EXPECT_FALSE(app->HasMenuHandler("Email"));
    EXPECT_FALSE(app->MenuBar());
    EXPECT_TRUE(script->Lines("msgbox: ").empty());
    EXPECT_TRUE(script->Lines("url: ").empty());
}

std::vector<int> initOrder;
TEST_F(RuntimeTest, InitialisersRunInTableOrder) {
    RuntimePerformInitializers({[] { initOrder.push_back(1); }, [] { initOrder.push_back(2); },
                                [] { initOrder.push_back(3); }});
    EXPECT_EQ(initOrder, (std::vector<int>{1, 2, 3}));
}

int lateCalls = 0;
std::thread::id lateThread;
TEST_F(RuntimeTest, TheLateStartUpRunsOnceOnTheMainThreadInTheLoop) {
    script->Do([] { EXPECT_EQ(lateCalls, 1); });
    RunFrameworkInitialization([] {
        ++lateCalls;
        lateThread = std::this_thread::get_id();
    });
    EXPECT_EQ(lateCalls, 0);
    RuntimeRun();
    EXPECT_EQ(lateCalls, 1);
    EXPECT_EQ(lateThread, std::this_thread::get_id());
}

class QuitCodes : public RuntimeTest, public ::testing::WithParamInterface<int> {};
TEST_P(QuitCodes, TheCodeGivenToQuitIsTheExitStatus) {
    const int code = GetParam();
    script->Do([code] { Quit(code); }).Do([] { ADD_FAILURE() << "ran after Quit"; });
    RuntimeRun();
    EXPECT_EQ(RuntimeExit(), code);
}
INSTANTIATE_TEST_SUITE_P(Codes, QuitCodes, ::testing::Values(0, 3));

TEST_F(RuntimeTest, AnExceptionEscapingAHandlerIsReportedAndEndsWithStatusOne) {
    script->Do([] { throw NilObjectException("nothing there"); }).Do([] { ADD_FAILURE(); });
    testing::internal::CaptureStderr();
    RuntimeRun();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("NilObjectException"), std::string::npos);
    EXPECT_NE(err.find("nothing there"), std::string::npos);
    ASSERT_EQ(script->Lines("msgbox: ").size(), 1u);
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST_F(RuntimeTest, AnExceptionOfAnyKindIsReportedAndEndsWithStatusOne) {
    struct NotAStandardException {};
    const std::pair<std::exception_ptr, const char*> cases[] = {
        {std::make_exception_ptr(IllegalCastException("wrong class")),
         "An exception of class IllegalCastException was not handled"},
        {std::make_exception_ptr(std::out_of_range("past the end")), "past the end"},
        {std::make_exception_ptr(NotAStandardException{}), "An exception of unknown kind"},
        {nullptr, "An exception was not handled"},
    };
    for (const auto& [exception, expected] : cases) {
        testing::internal::CaptureStderr();
        UnhandledException(exception);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(expected), std::string::npos) << err;
        ASSERT_FALSE(script->Lines("msgbox: ").empty());
        EXPECT_NE(script->Lines("msgbox: ").back().find(expected), std::string::npos);
        EXPECT_EQ(RuntimeExit(), 1) << expected;
        Quit(0); // the next case starts from a clean status
    }
    EXPECT_EQ(script->Lines("msgbox: ").size(), std::size(cases));
}

// Counts itself, to show that every path releases what it took.
class Counted : public Object {
  public:
    Counted() { ++alive; }
    ~Counted() override { --alive; }
    static inline int alive = 0;
};

void TakesAndRaises() {
    Ref<Counted> a = RuntimeNewObject<Counted>();
    Ref<Counted> b = a;
    Ref<Counted> c = RuntimeNewObject<Counted>();
    RaiseNilObjectException("on purpose");
}

TEST_F(RuntimeTest, ReferenceCountsReturnToZeroOnTheExceptionPath) {
    EXPECT_THROW(TakesAndRaises(), NilObjectException);
    EXPECT_EQ(Counted::alive, 0);
    long before = Object::LiveObjects();
    script->Do([] { TakesAndRaises(); });
    RuntimeRun();
    EXPECT_EQ(Counted::alive, 0);
    EXPECT_EQ(Object::LiveObjects(), before);
}

TEST_F(RuntimeTest, TheExceptionHelperReturnsOnlyRuntimeExceptions) {
    EXPECT_FALSE(CallFunctionWithExceptionHandling([] {}));
    EXPECT_TRUE(CallFunctionWithExceptionHandling([] { throw IllegalCastException("x"); }));
    EXPECT_THROW(CallFunctionWithExceptionHandling([] { throw std::logic_error("other"); }),
                 std::logic_error);
}

TEST_F(RuntimeTest, ShellPathsQuoteEveryByteLiterally) {
    const std::pair<std::string, std::string> cases[] = {
        {"/a b", "'/a b'"},
        {"/it's", "'/it'\\''s'"},
        {"/$x `y` \"z\" \\", "'/$x `y` \"z\" \\'"},
        {"/new\nline", "'/new\nline'"},
    };
    for (const auto& [path, quoted] : cases)
        EXPECT_EQ(RuntimeNewObject<FolderItem>(path)->ShellPath(), quoted);
}
} // namespace
