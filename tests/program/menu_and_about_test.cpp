// The menu bar and the About window.

#include "program_test.h"

#include "app/about.h"
#include "app/main_menu_bar.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <map>
#include <thread>
#include <utility>

namespace {
struct Node {
    const char* name;
    const char* menu;
    const ClassRecord& (*record)();
    const char* caption;
    const char* shortcut; // nullptr: never set
};

// The whole tree, menus and their items in build order.
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

// The bar holds exactly the tree above: three menus with 2, 8 and 3 items,
// in order, each node of its class with its caption and shortcut, and no
// other node anywhere.
void ExpectTheWholeTree(const MainMenuBar& bar) {
    std::vector<Ref<MenuItem>> flat;
    for (const auto& menu : bar.Children()) {
        flat.push_back(menu);
        for (const auto& item : menu->Children()) {
            flat.push_back(item);
            EXPECT_EQ(item->Count(), 0u) << item->Name();
        }
    }
    ASSERT_EQ(flat.size(), std::size(kTree));
    ASSERT_EQ(bar.Count(), 3u);
    EXPECT_EQ(bar.Children()[0]->Count(), 2u);
    EXPECT_EQ(bar.Children()[1]->Count(), 8u);
    EXPECT_EQ(bar.Children()[2]->Count(), 3u);
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
        EXPECT_TRUE(item->AutoEnabled()) << n.name;
        EXPECT_TRUE(item->Visible()) << n.name;
        EXPECT_EQ(std::count_if(flat.begin(), flat.end(),
                                [&](const Ref<MenuItem>& m) { return m->Name() == n.name; }),
                  1)
            << n.name;
        EXPECT_EQ(bar.Lookup(n.name), item);
        EXPECT_EQ(n.menu ? bar.Child(n.menu)->Child(n.name) : bar.Child(n.name), item) << n.name;
    }
}

TEST_F(ProgramTest, TheMenuTreeIsBuiltOnceAsTheTableSays) {
    script->Do([] {
        Ref<MainMenuBar> bar = MainMenuBar::Instance();
        ExpectTheWholeTree(*bar);
        // Later calls hand out the same bar and build nothing.
        const long live = Object::LiveObjects();
        EXPECT_EQ(MainMenuBar::Instance(), bar);
        EXPECT_EQ(MainMenuBar::Instance(), bar);
        EXPECT_EQ(Object::LiveObjects(), live);
        EXPECT_EQ(bar->Count(), 3u);
    });
    Run();
}

class FailingMenuBar : public MainMenuBar {
  public:
    void Untitled1() override { throw NilObjectException("no Edit menu today"); }
};

TEST_F(ProgramTest, AFailedBuildStopsAtOnceAndReleasesTheHalfBuiltBar) {
    script->Do([] {
        const long before = Object::LiveObjects();
        {
            Ref<FailingMenuBar> bar = RuntimeNewObject<FailingMenuBar>();
            EXPECT_THROW(bar->Constructor(), NilObjectException);
            // The File menu stood before the failure; the Help menu was
            // never built.
            ASSERT_EQ(bar->Count(), 1u);
            EXPECT_EQ(bar->Children()[0]->Count(), 2u);
        }
        EXPECT_EQ(Object::LiveObjects(), before);
    });
    Run();
}

TEST_F(ProgramTest, AFailedBuildLeavesNoBarAndTheNextCallBuildsAWholeOne) {
    script->Do([] {
        // Start-up's bar stays with the application; emptying the shared
        // variable makes the next call build again.
        Ref<MainMenuBar> kept = MainMenuBar::implicitInstance();
        MainMenuBar::implicitInstance() = nullptr;
        const long before = Object::LiveObjects();

        // Off the main thread the first menu operation refuses, which ends
        // the build half-way.
        std::exception_ptr failure;
        std::thread([&] {
            try {
                (void)MainMenuBar::Instance();
            } catch (...) {
                failure = std::current_exception();
            }
        }).join();
        ASSERT_TRUE(failure);
        EXPECT_THROW(std::rethrow_exception(failure), ThreadAccessingUIException);
        EXPECT_FALSE(MainMenuBar::implicitInstance());
        EXPECT_EQ(Object::LiveObjects(), before);

        Ref<MainMenuBar> fresh = MainMenuBar::Instance();
        EXPECT_NE(fresh, kept);
        ExpectTheWholeTree(*fresh);
        EXPECT_EQ(MainMenuBar::implicitInstance(), fresh);
        EXPECT_EQ(MainMenuBar::Instance(), fresh);
    });
    Run();
}

std::vector<Ref<Window>> OpenAboutWindows() {
    std::vector<Ref<Window>> about;
    for (const auto& w : RuntimeOpenWindows())
        if (w->Record().name == "About.About")
            about.push_back(w);
    return about;
}

TEST_F(ProgramTest, TheAboutWindowIsOneAtATimeAndKeepsItsPicture) {
    // Kept across the steps: the first window, its image well and picture.
    struct Seen {
        Ref<About> window;
        Ref<ImageWell> well;
        Ref<Picture> picture;
    };
    auto seen = std::make_shared<Seen>();
    script->ChooseMenuItem("AboutTamzel").Do([seen] {
        seen->window = About::Instance();
        seen->well = seen->window->ImageWell1();
        ASSERT_TRUE(seen->well);
        seen->picture = seen->well->Image();
        EXPECT_TRUE(seen->picture);
    });
    script->ChooseMenuItem("AboutTamzel").Do([this, seen] {
        // Asking for the open window does not show it again.
        const auto shown = Count("window shown: About.About");
        EXPECT_EQ(About::Instance(), seen->window);
        EXPECT_EQ(Count("window shown: About.About"), shown);
        EXPECT_EQ(OpenAboutWindows().size(), 1u);
        EXPECT_EQ(seen->window->Controls().size(), 4u);
    });
    script->CloseWindow("About.About").ChooseMenuItem("AboutTamzel").Do([seen] {
        Ref<About> second = About::Instance();
        EXPECT_NE(second, seen->window);
        EXPECT_EQ(OpenAboutWindows().size(), 1u);
        EXPECT_EQ(second->Controls().size(), 4u);
        EXPECT_NE(second->ImageWell1(), seen->well);
        EXPECT_EQ(second->ImageWell1()->Image(), seen->picture);
        // The closed window let its controls go.
        EXPECT_FALSE(seen->window->ImageWell1());
    });
    Run();
    EXPECT_EQ(Count("window created: About.About"), 2u);
    EXPECT_EQ(script->Lines("control created: About.About"),
              (std::vector<std::string>{
                  "control created: About.About ImageWell1", "control created: About.About Label1",
                  "control created: About.About Label2", "control created: About.About Label3",
                  "control created: About.About ImageWell1", "control created: About.About Label1",
                  "control created: About.About Label2", "control created: About.About Label3"}));
    EXPECT_EQ(Count(std::string("picture: ") + TAMZEL_RESOURCES_DIR "/Tamzel 2.tiff"), 1u);
    EXPECT_EQ(Count("window closed: About.About"), 1u);
    EXPECT_EQ(Count("window closed: Window1.Window1"), 0u);
}

TEST_F(ProgramTest, WithoutItsPictureEachAboutWindowTriesAgain) {
    UseResources({"Mac.tiff"});
    script->ChooseMenuItem("AboutTamzel").Do([] {
        Ref<About> about = About::Instance();
        EXPECT_FALSE(about->ImageWell1()->Image());
        EXPECT_TRUE(about->Label1() && about->Label2() && about->Label3());
    });
    // The picture arrives; the next window loads it.
    script->CloseWindow("About.About").Do([this] {
        std::filesystem::copy_file(std::filesystem::path(TAMZEL_RESOURCES_DIR) / "Tamzel 2.tiff",
                                   tmp / "resources" / "Tamzel 2.tiff");
    });
    script->ChooseMenuItem("AboutTamzel").Do([] {
        EXPECT_TRUE(About::Instance()->ImageWell1()->Image());
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Count("window created: About.About"), 2u);
    EXPECT_EQ(Count("control created: About.About"), 8u);
}

// Sees each change of an image well: whether it had its picture and
// whether it had its values yet.
class ImageWellWatch : public ScriptedPlatform {
  public:
    void ControlChanged(RectControl& control) override {
        if (auto* well = dynamic_cast<ImageWell*>(&control))
            seen.emplace_back(static_cast<bool>(well->Image()), well->Properties().Has("Name"));
    }
    std::vector<std::pair<bool, bool>> seen;
};

TEST_F(ProgramTest, TheImageWellGetsItsPictureBeforeItsValues) {
    auto watch = std::make_unique<ImageWellWatch>();
    ImageWellWatch* well = watch.get();
    watch->SetDesktop((tmp / "Desktop").string()).SetResources(TAMZEL_RESOURCES_DIR);
    script = watch.get();
    RuntimeSelectBackend(std::move(watch));
    script->ChooseMenuItem("AboutTamzel");
    Run();
    EXPECT_EQ(well->seen, (std::vector<std::pair<bool, bool>>{{true, false}, {true, true}}));
}

using Values = std::map<std::string, PropertyValue>;

PropertyValue Int(std::int64_t v) {
    return v;
}
PropertyValue Text(const char* v) {
    return std::string(v);
}

const Color kWhiteRGB{255, 255, 255, 0};
const Color kBlackRGB{0, 0, 0, 0};

// `store` holds exactly `want`. What a colour's fourth component means is the
// backend's, so colours compare by red, green and blue.
void ExpectExactly(const PropertyStore& store, const Values& want, const std::string& who) {
    for (const auto& [name, value] : store.All())
        EXPECT_TRUE(want.count(name)) << who << " has a value it should not: " << name;
    for (const auto& [name, value] : want) {
        const PropertyValue* got = store.Find(name);
        if (!got) {
            ADD_FAILURE() << who << " lacks " << name;
            continue;
        }
        const Color* a = std::get_if<Color>(got);
        const Color* b = std::get_if<Color>(&value);
        if (a && b)
            EXPECT_TRUE(a->red == b->red && a->green == b->green && a->blue == b->blue)
                << who << "." << name;
        else
            EXPECT_TRUE(*got == value) << who << "." << name;
    }
}

Values Merge(std::initializer_list<Values> parts) {
    Values all;
    for (const Values& p : parts)
        all.insert(p.begin(), p.end());
    return all;
}

TEST_F(ProgramTest, TheAboutWindowCarriesExactlyItsValues) {
    script->ChooseMenuItem("AboutTamzel").Do([] {
        Ref<About> about = About::Instance();
        ExpectExactly(about->Properties(),
                      {{"Width", Int(283)},
                       {"Height", Int(350)},
                       {"MinimumWidth", Int(64)},
                       {"MinimumHeight", Int(64)},
                       {"MaximumWidth", Int(32000)},
                       {"MaximumHeight", Int(32000)},
                       {"Type", Int(0)},
                       {"Title", Text("")},
                       {"HasCloseButton", true},
                       {"HasMaximizeButton", false},
                       {"HasMinimizeButton", false},
                       {"HasFullScreenButton", false},
                       {"Resizeable", false},
                       {"Composite", false},
                       {"MacProcID", Int(0)},
                       {"FullScreen", false},
                       {"DefaultLocation", Int(1)},
                       {"Visible", true},
                       {"HasBackgroundColor", false},
                       {"BackgroundColor", kWhiteRGB},
                       {"MenuBarVisible", true},
                       {"LiveResize", true}},
                      "About");
        EXPECT_FALSE(about->MenuBar());

        const Values everyControl = {{"Enabled", true},
                                     {"Visible", true},
                                     {"TabStop", true},
                                     {"TabPanelIndex", Int(0)},
                                     {"LockLeft", true},
                                     {"LockTop", true},
                                     {"LockRight", false},
                                     {"LockBottom", false},
                                     {"InitialParent", Text("")},
                                     {"Tooltip", Text("")},
                                     {"AllowAutoDeactivate", true},
                                     {"Index", Int(-2147483648LL)}};
        const Values everyLabel = {
            {"TextAlignment", Int(2)}, {"FontUnit", Int(0)},     {"Italic", false},
            {"Underline", false},      {"TextColor", kBlackRGB}, {"Selectable", false},
            {"DataField", Text("")},   {"DataSource", Text("")}, {"FontName", Text("System")}};
        auto label = [&](const char* name, std::int64_t top, std::int64_t height, std::int64_t tab,
                         const std::string& text, double size, bool bold, bool multiline) {
            return Merge({everyControl,
                          everyLabel,
                          {{"Left", Int(12)},
                           {"Top", Int(top)},
                           {"Width", Int(260)},
                           {"Height", Int(height)},
                           {"Name", Text(name)},
                           {"TabIndex", Int(tab)},
                           {"Transparent", false},
                           {"Value", text},
                           {"FontSize", size},
                           {"Bold", bold},
                           {"Multiline", multiline}}});
        };
        const std::string notice = about->Label3()->Properties().Get<std::string>("Value");
        const std::pair<Ref<RectControl>, Values> controls[] = {
            {about->ImageWell1(), Merge({everyControl,
                                         {{"Left", Int(29)},
                                          {"Top", Int(12)},
                                          {"Width", Int(225)},
                                          {"Height", Int(225)},
                                          {"Name", Text("ImageWell1")},
                                          {"TabIndex", Int(0)},
                                          {"Transparent", true}}})},
            {about->Label1(), label("Label1", 249, 33, 1, "Tamzel", 14, true, false)},
            {about->Label2(), label("Label2", 280, 17, 2, "Version 3.0", 10, false, false)},
            {about->Label3(), label("Label3", 302, 28, 3, notice, 10, false, true)},
        };
        ASSERT_EQ(about->Controls().size(), std::size(controls));
        for (std::size_t i = 0; i < std::size(controls); ++i) {
            const auto& [control, values] = controls[i];
            ASSERT_TRUE(control);
            EXPECT_EQ(about->Controls()[i], control); // creation order
            ExpectExactly(control->Properties(), values, control->ControlName());
        }

        // The maker's notice is ours: two lines split by one carriage return.
        const auto cr = notice.find('\r');
        ASSERT_NE(cr, std::string::npos);
        EXPECT_GT(cr, 0u);
        EXPECT_LT(cr + 1, notice.size());
        EXPECT_EQ(std::count(notice.begin(), notice.end(), '\r'), 1);
        EXPECT_EQ(notice.find('\n'), std::string::npos);

        EXPECT_TRUE(about->IsEventImplemented("Layout"));
        EXPECT_TRUE(about->IsEventImplemented("CreateControls"));
        for (const char* event : {"Open", "Close", "CancelClose", "Activate"})
            EXPECT_FALSE(about->IsEventImplemented(event)) << event;
    });
    Run();
}
} // namespace
