// The menu bar and the About window.

#include "program_test.h"

#include "app/about.h"
#include "app/main_menu_bar.h"

namespace {
struct Node {
    const char* name;
    const char* menu;
    const ClassRecord& (*record)();
    const char* caption;
    const char* shortcut; // nullptr: never set
};

const Node kTree[] = {
    {"FileMenu", nullptr, &MenuItem::ClassInfo, "&File", ""},
    {"FileQuit", "FileMenu", &QuitMenuItem::ClassInfo, "&Quit", "Cmd+Q"},
    {"FileEncode", "FileMenu", &MenuItem::ClassInfo, "Encode", "Cmd+E"},
    {"EditMenu", nullptr, &MenuItem::ClassInfo, "&Edit", ""},
    {"EditUndo", "EditMenu", &MenuItem::ClassInfo, "&Undo", "Cmd+Z"},
    {"EditSeparator1", "EditMenu", &MenuItem::ClassInfo, "-", nullptr},
    {"EditCut", "EditMenu", &MenuItem::ClassInfo, "Cu&t", "Cmd+X"},
    {"EditCopy", "EditMenu", &MenuItem::ClassInfo, "&Copy", "Cmd+C"},
    {"EditPaste", "EditMenu", &MenuItem::ClassInfo, "&Paste", "Cmd+V"},
    {"EditClear", "EditMenu", &MenuItem::ClassInfo, "&Delete", ""},
    {"EditSeparator2", "EditMenu", &MenuItem::ClassInfo, "-", nullptr},
    {"EditSelectAll", "EditMenu", &MenuItem::ClassInfo, "Select &All", "Cmd+A"},
    {"Help", nullptr, &MenuItem::ClassInfo, "Help", ""},
    {"UntitledSeparator", "Help", &MenuItem::ClassInfo, "-", nullptr},
    {"Email", "Help", &MenuItem::ClassInfo, "Contact Developer", ""},
    {"AboutTamzel", "Help", &AppleMenuItem::ClassInfo, "About Tamzel", ""},
};

TEST_F(ProgramTest, TheMenuTreeIsBuiltOnceAsTheTableSays) {
    script->Do([] {
        Ref<MainMenuBar> bar = MainMenuBar::Instance();
        EXPECT_EQ(bar, MainMenuBar::Instance());
        // Menus and items in build order, flattened.
        std::vector<Ref<MenuItem>> flat;
        for (const auto& menu : bar->Children()) {
            flat.push_back(menu);
            for (const auto& item : menu->Children())
                flat.push_back(item);
        }
        ASSERT_EQ(flat.size(), std::size(kTree));
        EXPECT_EQ(bar->Count(), 3u);
        EXPECT_EQ(bar->Child("FileMenu")->Count(), 2u);
        EXPECT_EQ(bar->Child("EditMenu")->Count(), 8u);
        EXPECT_EQ(bar->Child("Help")->Count(), 3u);
        for (std::size_t i = 0; i < flat.size(); ++i) {
            const Node& n = kTree[i];
            const Ref<MenuItem>& item = flat[i];
            EXPECT_EQ(item->Name(), n.name);
            EXPECT_EQ(item->Record().name, n.record().name) << n.name;
            EXPECT_EQ(item->Value(), n.caption) << n.name;
            EXPECT_EQ(item->ShortcutWasSet(), n.shortcut != nullptr) << n.name;
            if (n.shortcut) {
                EXPECT_EQ(item->Shortcut(), n.shortcut) << n.name;
            }
            EXPECT_TRUE(item->AutoEnabled() && item->Visible()) << n.name;
            EXPECT_EQ(bar->Lookup(n.name), item);
            if (n.menu) {
                EXPECT_EQ(bar->Child(n.menu)->Child(n.name), item);
            }
        }
    });
    Run();
}

class FailingMenuBar : public MainMenuBar {
  public:
    void Untitled1() override { throw NilObjectException("no Edit menu today"); }
};

TEST_F(ProgramTest, AFailedBuildLeavesNoBarAndTheNextCallBuildsAWholeOne) {
    script->Do([] {
        Ref<MainMenuBar> kept = MainMenuBar::implicitInstance();
        MainMenuBar::implicitInstance() = nullptr;
        long before = Object::LiveObjects();
        {
            Ref<FailingMenuBar> bar = RuntimeNewObject<FailingMenuBar>();
            EXPECT_THROW(bar->Constructor(), NilObjectException);
            EXPECT_EQ(bar->Count(), 1u); // the File menu stood before the failure
        }
        EXPECT_EQ(Object::LiveObjects(), before);
        EXPECT_FALSE(MainMenuBar::implicitInstance());
        Ref<MainMenuBar> fresh = MainMenuBar::Instance();
        EXPECT_EQ(fresh->Count(), 3u);
        EXPECT_NE(fresh, kept);
    });
    Run();
}

TEST_F(ProgramTest, TheAboutWindowIsOneAtATimeAndKeepsItsPicture) {
    script->Do([] {
        Ref<About> first = About::Instance();
        Ref<Picture> picture = first->ImageWell1()->Image();
        EXPECT_TRUE(picture);
        EXPECT_EQ(first->Label1()->Properties().Get<std::string>("Value"), "Tamzel");
        std::string notice = first->Label3()->Properties().Get<std::string>("Value");
        EXPECT_EQ(std::count(notice.begin(), notice.end(), '\r'), 1);
        EXPECT_EQ(first->Label1()->Properties().Get<std::int64_t>("Top") +
                      first->Label1()->Properties().Get<std::int64_t>("Height"),
                  282);
        EXPECT_TRUE(first->IsEventImplemented("Layout"));
        EXPECT_TRUE(first->IsEventImplemented("CreateControls"));
        EXPECT_FALSE(first->IsEventImplemented("Close"));
        EXPECT_FALSE(first->IsEventImplemented("Open"));
        EXPECT_FALSE(first->MenuBar());
        EXPECT_EQ(first->Properties().Get<std::string>("Title", "unset"), "");
        EXPECT_EQ(first->Properties().Get<std::int64_t>("Width"), 283);
        EXPECT_EQ(first->Properties().Get<std::int64_t>("Height"), 350);
    });
    script->ChooseMenuItem("AboutTamzel").ChooseMenuItem("AboutTamzel");
    script->CloseWindow("About.About").ChooseMenuItem("AboutTamzel");
    script->Do([] { EXPECT_TRUE(About::Instance()->ImageWell1()->Image()); });
    Run();
    EXPECT_EQ(Count("window created: About.About"), 2u);
    EXPECT_EQ(Count("control created: About.About"), 8u);
    EXPECT_EQ(Count("picture: "), 2u); // Mac.tiff and Tamzel 2.tiff, each once
    EXPECT_EQ(Count("window closed: About.About"), 1u);
    EXPECT_EQ(Count("window closed: Window1.Window1"), 0u);
}

TEST_F(ProgramTest, WithoutItsPictureEachAboutWindowTriesAgain) {
    UseResources({"Mac.tiff"});
    script->ChooseMenuItem("AboutTamzel").CloseWindow("About.About").ChooseMenuItem("AboutTamzel");
    script->Do([] {
        EXPECT_FALSE(About::Instance()->ImageWell1()->Image());
        EXPECT_TRUE(About::Instance()->Label3());
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Count("window created: About.About"), 2u);
}
} // namespace
