// The main window, its controls and its accessors.

#include "program_test.h"

#include "app/about.h"
#include "app/main_menu_bar.h"
#include "encode/mac_picture.h"
#include "encode/window1.h"

#include <cstdio>
#include <map>
#include <thread>

namespace {
// A property value with its type, so that a value of the wrong type shows:
// "Integer 600", "Boolean True", "Single 15", "String \"x\"", "Color r,g,b,a".
std::string Describe(const PropertyValue& v) {
    struct {
        std::string operator()(bool b) const { return b ? "Boolean True" : "Boolean False"; }
        std::string operator()(std::int64_t i) const { return "Integer " + std::to_string(i); }
        std::string operator()(double d) const {
            char s[32];
            std::snprintf(s, sizeof s, "Single %g", d);
            return s;
        }
        std::string operator()(const std::string& s) const { return "String \"" + s + "\""; }
        std::string operator()(const Color& c) const {
            return "Color " + std::to_string(c.red) + "," + std::to_string(c.green) + "," +
                   std::to_string(c.blue) + "," + std::to_string(c.alpha);
        }
    } describe;
    return std::visit(describe, v);
}

using Expected = std::map<std::string, std::string>;

Expected Described(const PropertyStore& store) {
    Expected all;
    for (const auto& [name, value] : store.All())
        all[name] = Describe(value);
    return all;
}

Expected Merged(Expected a, const Expected& b) {
    a.insert(b.begin(), b.end());
    return a;
}

const Expected kWindowValues = {
    {"Width", "Integer 600"},
    {"Height", "Integer 361"},
    {"MinimumWidth", "Integer 64"},
    {"MinimumHeight", "Integer 64"},
    {"MaximumWidth", "Integer 32000"},
    {"MaximumHeight", "Integer 32000"},
    {"Type", "Integer 0"},
    {"Title", "String \"Tamzel\""},
    {"HasCloseButton", "Boolean True"},
    {"HasMaximizeButton", "Boolean False"},
    {"HasMinimizeButton", "Boolean True"},
    {"HasFullScreenButton", "Boolean False"},
    {"Resizeable", "Boolean False"},
    {"Composite", "Boolean False"},
    {"MacProcID", "Integer 0"},
    {"FullScreen", "Boolean False"},
    {"DefaultLocation", "Integer 2"},
    {"Visible", "Boolean True"},
    {"HasBackgroundColor", "Boolean False"},
    {"BackgroundColor", "Color 255,255,255,0"},
    {"MenuBarVisible", "Boolean True"},
    {"LiveResize", "Boolean True"},
};

// What each of the three controls has; each has its own values besides.
const Expected kEveryControl = {
    {"Enabled", "Boolean True"},
    {"Visible", "Boolean True"},
    {"TabStop", "Boolean True"},
    {"TabPanelIndex", "Integer 0"},
    {"LockLeft", "Boolean True"},
    {"LockTop", "Boolean True"},
    {"LockRight", "Boolean False"},
    {"LockBottom", "Boolean False"},
    {"InitialParent", "String \"\""},
    {"Tooltip", "String \"\""},
    {"AllowAutoDeactivate", "Boolean True"},
    {"Bold", "Boolean False"},
    {"Italic", "Boolean False"},
    {"Underline", "Boolean False"},
    {"FontUnit", "Integer 0"},
    {"Index", "Integer -2147483648"},
};

const Expected kBevelButton1Own = {
    {"Name", "String \"BevelButton1\""},
    {"Left", "Integer 200"},
    {"Top", "Integer 83"},
    {"Width", "Integer 200"},
    {"Height", "Integer 234"},
    {"TabIndex", "Integer 1"},
    {"Transparent", "Boolean True"},
    {"Caption", "String \"\""},
    {"Value", "Boolean False"},
    {"FontName", "String \"System\""},
    {"FontSize", "Single 0"},
    {"TextColor", "Color 0,0,0,0"},
    {"CaptionDelta", "Integer 0"},
    {"CaptionAlignment", "Integer 3"},
    {"CaptionPosition", "Integer 1"},
    {"IconAlignment", "Integer 1"},
    {"IconDeltaX", "Integer 0"},
    {"IconDeltaY", "Integer 0"},
    {"BevelStyle", "Integer 6"},
    {"MenuStyle", "Integer 0"},
    {"ButtonStyle", "Integer 0"},
    {"HasBackgroundColor", "Boolean False"},
    {"BackgroundColor", "Color 153,153,153,0"},
    {"AllowFocus", "Boolean True"},
};

const Expected kGroupBox1Own = {
    {"Name", "String \"GroupBox1\""}, {"Left", "Integer 69"},     {"Top", "Integer 59"},
    {"Width", "Integer 462"},         {"Height", "Integer 282"},  {"TabIndex", "Integer 5"},
    {"Transparent", "Boolean True"},  {"Caption", "String \"\""}, {"FontName", "String \"System\""},
    {"FontSize", "Single 0"},
};

const Expected kLabel1Own = {
    {"Name", "String \"Label1\""},
    {"Left", "Integer 78"},
    {"Top", "Integer 14"},
    {"Width", "Integer 445"},
    {"Height", "Integer 36"},
    {"TabIndex", "Integer 6"},
    {"Transparent", "Boolean False"},
    {"Value", "String \"\""},
    {"FontName", "String \"Helvetica\""},
    {"FontSize", "Single 15"},
    {"TextColor", "Color 0,0,0,0"},
    {"TextAlignment", "Integer 2"},
    {"Selectable", "Boolean False"},
    {"Multiline", "Boolean False"},
    {"DataField", "String \"\""},
    {"DataSource", "String \"\""},
};

const char kCaption[] = "You can drag && drop files on the Classic Mac, or click to browse.";

TEST_F(ProgramTest, TheWindowAndItsControlsHoldExactlyTheirValues) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        EXPECT_EQ(Described(w->Properties()), kWindowValues);
        EXPECT_EQ(Described(w->BevelButton1()->Properties()),
                  Merged(kEveryControl, kBevelButton1Own));
        EXPECT_EQ(Described(w->GroupBox1()->Properties()), Merged(kEveryControl, kGroupBox1Own));
        EXPECT_EQ(Described(w->Label1()->Properties()), Merged(kEveryControl, kLabel1Own));
        // The button's picture is not among its values, so applying them left
        // it in place.
        EXPECT_TRUE(w->BevelButton1()->Icon());
        EXPECT_EQ(w->BevelButton1()->Icon()->FileName(), "Mac.tiff");
    });
    Run();
}

TEST_F(ProgramTest, AfterTheOpenEventsTheButtonTakesAnyFileAndTheCaptionHasItsText) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        EXPECT_EQ(w->BevelButton1()->AcceptedFileTypes(), std::vector<std::string>{"ALLFILES"});
        Ref<Label> label = w->Label1();
        EXPECT_EQ(label->Text(), kCaption);
        EXPECT_EQ(label->Text().size(), 66u);
        EXPECT_EQ(label->TextFont(), "Helvetica");
        EXPECT_EQ(label->TextSize(), 15.0);
        // The text was set through the label; its own values keep theirs.
        EXPECT_EQ(label->Properties().Get<std::string>("Value", "unset"), "");
    });
    Run();
}

TEST_F(ProgramTest, TheWindowIsMadeOnce) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        EXPECT_EQ(w, Window1::Instance());
        EXPECT_EQ(Window1::Instance()->Controls().size(), 3u);
    });
    Run();
    EXPECT_EQ(Count("window created: Window1.Window1"), 1u);
    EXPECT_EQ(Count("window shown: Window1.Window1"), 1u);
    EXPECT_EQ(script->Lines("control created: "),
              (std::vector<std::string>{"control created: Window1.Window1 BevelButton1",
                                        "control created: Window1.Window1 GroupBox1",
                                        "control created: Window1.Window1 Label1"}));
}

TEST_F(ProgramTest, TheClassAnswersForItsOwnEventsOnly) {
    const std::pair<const char*, bool> rows[] = {
        {"Close", true},        {"CreateControls", true}, {"Layout", true},
        {"Open", false},        {"Activate", false},      {"Deactivate", false},
        {"CancelClose", false}, {"Resized", false},       {"DropObject", false},
    };
    script->Do([&] {
        Ref<Window1> w = Window1::Instance();
        for (const auto& [event, implemented] : rows)
            EXPECT_EQ(w->IsEventImplemented(event), implemented) << event;
    });
    Run();
}

// Records, at every change the runtime reports to the backend, the state of
// the window or control that changed.
class WatchingPlatform : public ScriptedPlatform {
  public:
    void WindowChanged(Window& w) override {
        if (w.Record().name == "Window1.Window1")
            log.push_back(std::string("window:") + (w.MenuBar() ? " menu bar" : " no menu bar") +
                          (w.Properties().All().empty() ? ", no values" : ", values"));
    }
    void ControlChanged(RectControl& c) override {
        std::string s =
            c.ControlName() + ":" + (c.Properties().All().empty() ? " no values" : " values");
        if (auto* b = dynamic_cast<BevelButton*>(&c))
            s += b->Icon() ? ", picture" : ", no picture";
        if (!c.AcceptedFileTypes().empty())
            s += ", takes drops";
        if (auto* l = dynamic_cast<Label*>(&c)) {
            char size[16];
            std::snprintf(size, sizeof size, "%g", l->TextSize());
            s += ", text " + std::to_string(l->Text().size()) + ", size " + size + ", font \"" +
                 l->TextFont() + "\"";
        }
        if (c.Owner() && c.Owner()->Record().name == "Window1.Window1")
            log.push_back(s);
    }
    std::vector<std::string> log;
};

class MainWindowSteps : public ProgramTest, public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // The fixture's backend, replaced before the run by one that also
        // watches; same folders.
        auto platform = std::make_unique<WatchingPlatform>();
        watch = platform.get();
        watch->SetDesktop((tmp / "Desktop").string()).SetResources(TAMZEL_RESOURCES_DIR);
        script = watch;
        RuntimeSelectBackend(std::move(platform));
        if (!GetParam())
            UseResources({});
    }
    WatchingPlatform* watch = nullptr;
};

// The window installs the menu bar, then applies its values; each control is
// finished before the next is made, the button's picture is set before its
// values; the Open events come after all three, and the caption gets text,
// size and font in that order. A second request changes nothing.
TEST_P(MainWindowSteps, EachStepInItsOrder) {
    const std::string picture = GetParam() ? ", picture" : ", no picture";
    std::vector<std::string> afterOpening;
    script->Do([&] {
        afterOpening = watch->log;
        EXPECT_EQ(Window1::Instance()->BevelButton1()->Icon() != nullptr, GetParam());
    });
    Run();
    EXPECT_EQ(afterOpening, (std::vector<std::string>{
                                "window: menu bar, no values",
                                "window: menu bar, values",
                                "BevelButton1: no values" + picture,
                                "BevelButton1: values" + picture,
                                "GroupBox1: values",
                                "Label1: values, text 0, size 0, font \"\"",
                                "BevelButton1: values" + picture + ", takes drops",
                                "Label1: values, text 66, size 0, font \"\"",
                                "Label1: values, text 66, size 15, font \"\"",
                                "Label1: values, text 66, size 15, font \"Helvetica\"",
                            }));
    EXPECT_EQ(watch->log, afterOpening);
}

INSTANTIATE_TEST_SUITE_P(Picture, MainWindowSteps, ::testing::Bool(),
                         [](const auto& row) { return row.param ? "Found" : "Missing"; });

TEST_F(ProgramTest, WithoutItsPictureTheButtonStillEncodes) {
    UseResources({"Mac_Chime.m4a"});
    script->AnswerFiles({"/a"}).AnswerFolder("/o");
    script->Do([] { EXPECT_FALSE(Window1::Instance()->BevelButton1()->Icon()); })
        .Click("Window1.Window1", "BevelButton1")
        .Drop("Window1.Window1", "BevelButton1", {"/b"});
    EXPECT_EQ(Run(), 0);
    auto commands = Commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].substr(commands[0].find(": ") + 2), "binhex encode '/a' -C '/o'");
    EXPECT_EQ(commands[1].substr(commands[1].find(": ") + 2), "binhex encode \"/b\"");
    EXPECT_EQ(Count("sound: "), 2u);
    EXPECT_EQ(Count("unhandled exception"), 0u);
}

// A picture that could not be loaded is looked for again on the next call;
// once one load has given a picture, the file is not read again.
TEST_F(ProgramTest, ThePictureIsLoadedUntilALoadSucceedsAndThenKept) {
    UseResources({});
    script->Do([this] {
        EXPECT_FALSE(x_Mac::Mac());
        const auto file = tmp / "resources" / "Mac.tiff";
        std::filesystem::copy_file(std::filesystem::path(TAMZEL_RESOURCES_DIR) / "Mac.tiff", file);
        Ref<Picture> loaded = x_Mac::Mac();
        ASSERT_TRUE(loaded);
        std::filesystem::remove(file);
        EXPECT_EQ(x_Mac::Mac(), loaded);
    });
    Run();
    EXPECT_EQ(Count("picture: "), 1u);
}

// A main window that records its handler calls instead of doing their work.
class Window1Spy : public Window1 {
  public:
    void BevelButton1_Action(::BevelButton* b) override { calls.push_back({"Action", b}); }
    void BevelButton1_DropObject(::BevelButton* b, DragItem* item, std::int64_t) override {
        calls.push_back({"DropObject", b});
        drops.push_back(item);
    }
    void Label1_Open(::Label* l) override { calls.push_back({"Label1_Open", l}); }
    std::vector<std::pair<std::string, RectControl*>> calls;
    std::vector<DragItem*> drops;
};

TEST_F(ProgramTest, HandlersAreTheWindowsOwnMethodsCalledWithTheControl) {
    script->Do([] {
        Ref<Window1Spy> w = RuntimeNewObject<Window1Spy>();
        w->CreateControls();
        Ref<BevelButton> button = w->BevelButton1();
        Ref<Label> label = w->Label1();
        Ref<DragItem> drag = RuntimeNewObject<DragItem>(std::vector<Ref<FolderItem>>{});
        button->Raise(ControlEvent::Action);
        button->Raise(ControlEvent::DropObject, drag.get(), 0);
        button->Raise(ControlEvent::Open);
        label->Raise(ControlEvent::Open);
        EXPECT_EQ(w->calls, (std::vector<std::pair<std::string, RectControl*>>{
                                {"Action", button.get()},
                                {"DropObject", button.get()},
                                {"Label1_Open", label.get()},
                            }));
        EXPECT_EQ(w->drops, std::vector<DragItem*>{drag.get()});
        // The button's Open handler is not replaced: the window's own ran.
        EXPECT_EQ(button->AcceptedFileTypes(), std::vector<std::string>{"ALLFILES"});
        EXPECT_FALSE(w->GroupBox1()->HasHandler(ControlEvent::Open));
    });
    Run();
    EXPECT_EQ(Count("open dialog: "), 0u);
    EXPECT_EQ(Count("unhandled exception"), 0u);
}

TEST_F(ProgramTest, OpenHandlersRefuseANilControl) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        EXPECT_THROW(w->BevelButton1_Open(nullptr), NilObjectException);
        EXPECT_THROW(w->Label1_Open(nullptr), NilObjectException);
    });
    Run();
}

using MenuAccessor = Ref<MenuItem> (*)(Window1&);
const std::pair<const char*, MenuAccessor> kMenuAccessors[] = {
    {"Help", [](Window1& x) { return x.Help(); }},
    {"AboutTamzel", [](Window1& x) { return Ref<MenuItem>(x.AboutTamzel()); }},
    {"Email", [](Window1& x) { return x.Email(); }},
    {"UntitledSeparator", [](Window1& x) { return x.UntitledSeparator(); }},
    {"EditMenu", [](Window1& x) { return x.EditMenu(); }},
    {"EditSelectAll", [](Window1& x) { return x.EditSelectAll(); }},
    {"EditSeparator2", [](Window1& x) { return x.EditSeparator2(); }},
    {"EditClear", [](Window1& x) { return x.EditClear(); }},
    {"EditPaste", [](Window1& x) { return x.EditPaste(); }},
    {"EditCopy", [](Window1& x) { return x.EditCopy(); }},
    {"EditCut", [](Window1& x) { return x.EditCut(); }},
    {"EditSeparator1", [](Window1& x) { return x.EditSeparator1(); }},
    {"EditUndo", [](Window1& x) { return x.EditUndo(); }},
    {"FileMenu", [](Window1& x) { return x.FileMenu(); }},
    {"FileEncode", [](Window1& x) { return x.FileEncode(); }},
    {"FileQuit", [](Window1& x) { return Ref<MenuItem>(x.FileQuit()); }},
};

TEST_F(ProgramTest, MenuAccessorsReturnTheSharedBarsOwnItems) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        Ref<MainMenuBar> bar = MainMenuBar::Instance();
        for (const auto& [name, accessor] : kMenuAccessors) {
            Ref<MenuItem> item = accessor(*w);
            ASSERT_TRUE(item) << name;
            EXPECT_EQ(item->Name(), name);
            EXPECT_EQ(item, bar->Lookup(name)) << name;
        }
        EXPECT_EQ(w->AboutTamzel()->Record().name, "AppleMenuItem");
        EXPECT_EQ(w->FileQuit()->Record().name, "QuitMenuItem");
        EXPECT_EQ(w->Help()->Record().name, "MenuItem");
        // The lookup of a control is the window's own: the About window has
        // a Label1 too.
        Ref<About> about = About::Instance();
        EXPECT_NE(Ref<Object>(w->Label1()), Ref<Object>(about->Label1()));
        EXPECT_EQ(Ref<Object>(w->Label1()), w->ControlByName("Label1"));
    });
    Run();
}

// The method table lists the class's operations in their order, each with
// its parameter and result classes; every accessor can be called by name.
TEST_F(ProgramTest, TheMethodTableListsEveryOperationInOrder) {
    const std::vector<std::string> ownMembers = {
        "Layout()",
        "CreateControls()",
        "_CreateControls0()",
        "BevelButton1() As BevelButton",
        "GroupBox1() As GroupBox",
        "Label1() As Label",
        "BevelButton1_Action(BevelButton)",
        "BevelButton1_Open(BevelButton)",
        "BevelButton1_DropObject(BevelButton, DragItem, Integer)",
        "Label1_Open(Label)",
        "Help() As MenuItem",
        "AboutTamzel() As AppleMenuItem",
        "Email() As MenuItem",
        "UntitledSeparator() As MenuItem",
        "EditMenu() As MenuItem",
        "EditSelectAll() As MenuItem",
        "EditSeparator2() As MenuItem",
        "EditClear() As MenuItem",
        "EditPaste() As MenuItem",
        "EditCopy() As MenuItem",
        "EditCut() As MenuItem",
        "EditSeparator1() As MenuItem",
        "EditUndo() As MenuItem",
        "FileMenu() As MenuItem",
        "FileEncode() As MenuItem",
        "FileQuit() As QuitMenuItem",
        "Event_Close()",
        "IsEventImplemented(String) As Boolean",
    };
    const ClassRecord& record = Window1::Lookup();
    EXPECT_EQ(record.name, "Window1.Window1");
    EXPECT_EQ(record.parent, &Window::ClassInfo());
    std::vector<std::string> listed;
    for (const MethodInfo& m : record.methods) {
        std::string s = m.name + "(";
        for (std::size_t i = 0; i < m.parameters.size(); ++i)
            s += (i ? ", " : "") + m.parameters[i];
        s += ")";
        if (!m.result.empty())
            s += " As " + m.result;
        listed.push_back(s);
    }
    EXPECT_EQ(listed, ownMembers);
    EXPECT_EQ(record.FindMethod("_CreateControls0")->attributes, "Hidden");

    script->Do([&record] {
        Ref<Window1> w = Window1::Instance();
        for (const char* member : {"BevelButton1", "GroupBox1", "Label1"}) {
            const MethodInfo* m = record.FindMethod(member);
            ASSERT_TRUE(m && m->invoke) << member;
            m->invoke(*w);
        }
        for (const auto& [name, accessor] : kMenuAccessors) {
            const MethodInfo* m = record.FindMethod(name);
            ASSERT_TRUE(m && m->invoke) << name;
            m->invoke(*w);
        }
    });
    Run();
    EXPECT_EQ(Count("unhandled exception"), 0u);
}

class Window1WithoutMenuBar : public Window1 {
  public:
    void Layout() override {}
};

TEST_F(ProgramTest, WithoutAMenuBarMenuAccessorsRaiseButControlsAreFound) {
    script->Do([] {
        Ref<Window1WithoutMenuBar> w = RuntimeNewObject<Window1WithoutMenuBar>();
        // Each call looks afresh: nothing before the controls exist, the
        // controls once they do.
        EXPECT_FALSE(w->BevelButton1());
        w->CreateControls();
        for (const auto& [name, accessor] : kMenuAccessors)
            EXPECT_THROW(accessor(*w), NilObjectException) << name;
        EXPECT_EQ(Ref<Object>(w->BevelButton1()), w->ControlByName("BevelButton1"));
        EXPECT_EQ(Ref<Object>(w->GroupBox1()), w->ControlByName("GroupBox1"));
        EXPECT_EQ(Ref<Object>(w->Label1()), w->ControlByName("Label1"));
    });
    Run();
    EXPECT_EQ(Count("unhandled exception"), 0u);
}

TEST_F(ProgramTest, MenuAccessorsRefuseOtherThreads) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        for (const auto& [name, accessor] : kMenuAccessors) {
            bool raised = false;
            std::thread([&, accessor = accessor] {
                try {
                    (void)accessor(*w);
                } catch (const ThreadAccessingUIException&) {
                    raised = true;
                }
            }).join();
            EXPECT_TRUE(raised) << name;
        }
    });
    Run();
}

// A bar whose "Help" is an About item and whose "FileQuit" is a plain item.
class OddMenuBar : public MenuBar {
  public:
    OddMenuBar() {
        Ref<MenuItem> help = RuntimeNewObject<AppleMenuItem>();
        help->Name("Help");
        AddMenu(help);
        Ref<MenuItem> quit = RuntimeNewObject<MenuItem>();
        quit->Name("FileQuit");
        AddMenu(quit);
    }
};

TEST_F(ProgramTest, CastChecksPassDerivedClassesAndRefuseOthers) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        Ref<MenuBar> odd = RuntimeNewObject<OddMenuBar>();
        w->MenuBar(odd);
        // A fresh lookup in the bar that is installed now.
        EXPECT_EQ(Ref<MenuItem>(w->Help()), odd->Lookup("Help"));
        EXPECT_THROW(w->FileQuit(), IllegalCastException);
        w->MenuBar(Ref<MenuBar>(MainMenuBar::Instance()));
        EXPECT_EQ(Ref<MenuItem>(w->Help()), MainMenuBar::Instance()->Lookup("Help"));
    });
    Run();
    EXPECT_EQ(Count("unhandled exception"), 0u);
}
} // namespace
