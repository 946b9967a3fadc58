// The main window, its controls and its accessors.

#include "program_test.h"

#include "app/about.h"
#include "app/main_menu_bar.h"
#include "encode/window1.h"

namespace {
template <class T> T Value(const PropertyStore& p, const std::string& name) {
    const PropertyValue* v = p.Find(name);
    EXPECT_TRUE(v) << name;
    EXPECT_TRUE(v && std::holds_alternative<T>(*v)) << name;
    return v && std::holds_alternative<T>(*v) ? std::get<T>(*v) : T{};
}

TEST_F(ProgramTest, TheWindowHoldsItsValuesAndIsMadeOnce) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        EXPECT_EQ(w, Window1::Instance());
        const auto& p = w->Properties();
        EXPECT_EQ(Value<std::int64_t>(p, "Width"), 600);
        EXPECT_EQ(Value<std::int64_t>(p, "Height"), 361);
        EXPECT_EQ(Value<std::string>(p, "Title"), "Tamzel");
        EXPECT_TRUE(Value<bool>(p, "HasCloseButton"));
        EXPECT_TRUE(Value<bool>(p, "HasMinimizeButton"));
        EXPECT_FALSE(Value<bool>(p, "HasMaximizeButton"));
        EXPECT_FALSE(Value<bool>(p, "HasFullScreenButton"));
        EXPECT_FALSE(Value<bool>(p, "Resizeable"));
        EXPECT_EQ(Value<std::int64_t>(p, "DefaultLocation"), 2);
        EXPECT_EQ(Value<Color>(p, "BackgroundColor"), (Color{255, 255, 255, 0}));

        const auto& b = w->BevelButton1()->Properties();
        EXPECT_EQ(Value<std::int64_t>(b, "Left"), 200);
        EXPECT_EQ(Value<std::int64_t>(b, "Top"), 83);
        EXPECT_EQ(Value<std::int64_t>(b, "Width"), 200);
        EXPECT_EQ(Value<std::int64_t>(b, "Height"), 234);
        EXPECT_EQ(Value<std::int64_t>(b, "BevelStyle"), 6);
        EXPECT_EQ(Value<std::int64_t>(b, "Index"), -2147483648LL);
        EXPECT_EQ(Value<Color>(b, "BackgroundColor"), (Color{153, 153, 153, 0}));
        EXPECT_FALSE(b.Has("Icon"));
        EXPECT_TRUE(w->BevelButton1()->Icon());
        EXPECT_EQ(w->BevelButton1()->AcceptedFileTypes(), std::vector<std::string>{"ALLFILES"});

        const auto& g = w->GroupBox1()->Properties();
        EXPECT_EQ(Value<std::int64_t>(g, "Left"), 69);
        EXPECT_EQ(Value<std::int64_t>(g, "Width"), 462);
        EXPECT_FALSE(g.Has("Value"));

        Ref<Label> label = w->Label1();
        EXPECT_EQ(Value<std::string>(label->Properties(), "Value"), "");
        EXPECT_EQ(Value<double>(label->Properties(), "FontSize"), 15.0);
        EXPECT_EQ(Value<std::int64_t>(label->Properties(), "TextAlignment"), 2);
        EXPECT_EQ(label->Text(),
                  "You can drag && drop files on the Classic Mac, or click to browse.");
        EXPECT_EQ(label->Text().size(), 66u);
        EXPECT_EQ(label->TextFont(), "Helvetica");
        EXPECT_EQ(label->TextSize(), 15.0);

        EXPECT_TRUE(w->IsEventImplemented("Close"));
        EXPECT_TRUE(w->IsEventImplemented("CreateControls"));
        EXPECT_TRUE(w->IsEventImplemented("Layout"));
        EXPECT_FALSE(w->IsEventImplemented("Open"));
        EXPECT_EQ(Window1::Lookup().FindMethod("_CreateControls0")->attributes, "Hidden");
    });
    Run();
    EXPECT_EQ(Count("window created: Window1.Window1"), 1u);
    EXPECT_EQ(script->Lines("control created: "),
              (std::vector<std::string>{"control created: Window1.Window1 BevelButton1",
                                        "control created: Window1.Window1 GroupBox1",
                                        "control created: Window1.Window1 Label1"}));
}

TEST_F(ProgramTest, WithoutItsPictureTheButtonStillEncodes) {
    UseResources({});
    script->AnswerFiles({"/a"}).AnswerFolder("/o");
    script->Do([] { EXPECT_FALSE(Window1::Instance()->BevelButton1()->Icon()); })
        .Click("Window1.Window1", "BevelButton1")
        .Drop("Window1.Window1", "BevelButton1", {"/b"});
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Commands().size(), 2u);
}

TEST_F(ProgramTest, MenuAccessorsReturnTheSharedBarsOwnItems) {
    script->Do([] {
        Ref<Window1> w = Window1::Instance();
        Ref<MainMenuBar> bar = MainMenuBar::Instance();
        const std::pair<const char*, Ref<MenuItem> (*)(Window1&)> rows[] = {
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
        for (const auto& [name, accessor] : rows) {
            Ref<MenuItem> item = accessor(*w);
            ASSERT_TRUE(item) << name;
            EXPECT_EQ(item->Name(), name);
            EXPECT_EQ(item, bar->Lookup(name)) << name;
        }
        // The lookup of a control is the window's own: the About window has
        // a Label1 too.
        Ref<About> about = About::Instance();
        EXPECT_NE(Ref<Object>(w->Label1()), Ref<Object>(about->Label1()));
        EXPECT_EQ(Ref<Object>(w->Label1()), w->ControlByName("Label1"));

        // Every accessor is in the method table and can be called by name.
        for (const char* member : {"BevelButton1", "GroupBox1", "Label1", "FileQuit", "Help"}) {
            const MethodInfo* m = Window1::Lookup().FindMethod(member);
            ASSERT_TRUE(m && m->invoke) << member;
            m->invoke(*w);
        }
    });
    Run();
}

class Window1WithoutMenuBar : public Window1 {
  public:
    void Layout() override {}
};

TEST_F(ProgramTest, WithoutAMenuBarMenuAccessorsRaiseButControlsAreFound) {
    script->Do([] {
        Ref<Window1WithoutMenuBar> w = RuntimeNewObject<Window1WithoutMenuBar>();
        w->CreateControls();
        EXPECT_THROW(w->Help(), NilObjectException);
        EXPECT_THROW(w->FileQuit(), NilObjectException);
        EXPECT_THROW(w->AboutTamzel(), NilObjectException);
        EXPECT_TRUE(w->BevelButton1());
        EXPECT_TRUE(w->GroupBox1());
        EXPECT_TRUE(w->Label1());
    });
    Run();
    EXPECT_EQ(Count("unhandled exception"), 0u);
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
        w->MenuBar(Ref<MenuBar>(RuntimeNewObject<OddMenuBar>()));
        EXPECT_TRUE(w->Help());
        EXPECT_THROW(w->FileQuit(), IllegalCastException);
        w->MenuBar(Ref<MenuBar>(MainMenuBar::Instance()));
    });
    Run();
}
} // namespace
