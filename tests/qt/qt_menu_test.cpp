// Menu bars built from the runtime's menu tree.

#include "qt_test_support.h"

#include "runtime/application.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace {
Ref<MenuBar> ProgramMenus() {
    Ref<MenuBar> bar = ProbeMenuItem<MenuBar>("MainMenuBar", "");
    Ref<MenuItem> file = ProbeMenuItem("FileMenu", "&File");
    file->AddMenu(ProbeMenuItem("FileEncode", "&Encode...", "Cmd+E"));
    file->AddMenu(ProbeMenuItem("FileSaveAs", "Save &As...", "Cmd+Shift+S"));
    file->AddMenu(ProbeMenuItem("FileSep", "-"));
    file->AddMenu(ProbeMenuItem("FilePlain", "Plain && Simple"));
    file->AddMenu(ProbeMenuItem<QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
    Ref<MenuItem> help = ProbeMenuItem("HelpMenu", "&Help");
    help->AddMenu(ProbeMenuItem<AppleMenuItem>("HelpAbout", "&About Tamzel", "A"));
    bar->AddMenu(file);
    bar->AddMenu(help);
    return bar;
}

QMainWindow* OpenMenuWindow() {
    OpenProbeWindow({"MenuProbe",
                     {{"Width", std::int64_t{300}},
                      {"Height", std::int64_t{200}},
                      {"Resizeable", false},
                      {"Visible", true}},
                     ProgramMenus(),
                     {},
                     {}});
    return qobject_cast<QMainWindow*>(WindowWidget("MenuProbe"));
}

using QtMenuTest = QtBackendTest;
} // namespace

TEST_F(QtMenuTest, TopLevelItemsBecomeMenusInOrder) {
    QMainWindow* window = OpenMenuWindow();
    ASSERT_NE(window, nullptr);
    auto* bar = qobject_cast<QMenuBar*>(window->menuWidget());
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[0]->menu()->objectName(), "FileMenu");
    EXPECT_EQ(menus[1]->text(), "&Help");

    const QList<QAction*> items = menus[0]->menu()->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->text(), "Plain && Simple") << "Qt shows a doubled & as one";
}

TEST_F(QtMenuTest, ActionsCarryNamesCaptionsShortcutsAndRoles) {
    QMainWindow* window = OpenMenuWindow();
    ASSERT_NE(window, nullptr);
    ExpectActions(*window, {
                               {"FileEncode", "&Encode...", "Ctrl+E", QAction::NoRole},
                               {"FileSaveAs", "Save &As...", "Ctrl+Shift+S", QAction::NoRole},
                               {"FilePlain", "Plain && Simple", "", QAction::NoRole},
                               {"FileQuit", "&Quit", "Ctrl+Q", QAction::QuitRole},
                               {"HelpAbout", "&About Tamzel", "Ctrl+A", QAction::AboutRole},
                           });
}

TEST_F(QtMenuTest, TriggeringAnItemRunsItsHandler) {
    Ref<Application> app = RuntimeNewObject<Application>();
    int encodes = 0;
    app->AddMenuHandler("FileEncode", [&](Object&) {
        ++encodes;
        return true;
    });
    RuntimeRegisterAppObject(app);
    QMainWindow* window = OpenMenuWindow();
    ASSERT_NE(window, nullptr);
    auto* action = window->findChild<QAction*>("FileEncode");
    ASSERT_NE(action, nullptr);
    action->trigger();
    EXPECT_EQ(encodes, 1);
}

TEST_F(QtMenuTest, ReplacingTheMenuBarRebuildsIt) {
    Ref<ProbeWindow> window = OpenProbeWindow(
        {"MenuProbe", {{"Width", std::int64_t{300}}, {"Height", std::int64_t{200}}}, {}, {}, {}});
    auto* widget = qobject_cast<QMainWindow*>(WindowWidget("MenuProbe"));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->menuWidget(), nullptr);
    window->MenuBar(ProgramMenus());
    window->Show();
    EXPECT_NE(widget->findChild<QAction*>("FileQuit"), nullptr);
}

TEST_F(QtMenuTest, AutoEnabledItemsAreEnabledWhenChoosingThemDoesSomething) {
    Ref<Application> app = RuntimeNewObject<Application>();
    app->AddMenuHandler("Bound", [](Object&) { return false; });
    RuntimeRegisterAppObject(app);
    Ref<MenuBar> bar = ProbeMenuItem<MenuBar>("MainMenuBar", "");
    Ref<MenuItem> menu = ProbeMenuItem("Menu", "&Menu");
    Ref<MenuItem> more = ProbeMenuItem("More", "More");
    more->AddMenu(ProbeMenuItem("Deep", "Deep"));
    for (Ref<MenuItem> item : {ProbeMenuItem("Bound", "Bound"), ProbeMenuItem("Unbound", "Unbound"),
                               ProbeMenuItem("Plain", "Plain"), more,
                               Ref<MenuItem>(ProbeMenuItem<QuitMenuItem>("Quit", "Quit"))}) {
        item->AutoEnabled(item->Name() != "Plain");
        menu->AddMenu(item);
    }
    bar->AddMenu(menu);
    OpenProbeWindow(
        {"MenuProbe", {{"Width", std::int64_t{300}}, {"Height", std::int64_t{200}}}, bar, {}, {}});
    QWidget* window = WindowWidget("MenuProbe");
    ASSERT_NE(window, nullptr);
    auto enabled = [&](const char* name) {
        auto* action = window->findChild<QAction*>(name);
        return action && action->isEnabled();
    };
    EXPECT_TRUE(enabled("Bound"));
    EXPECT_FALSE(enabled("Unbound")) << "nothing would happen";
    EXPECT_TRUE(enabled("Plain")) << "not AutoEnabled: always";
    EXPECT_TRUE(enabled("Quit"));
    auto* moreMenu = window->findChild<QMenu*>("More");
    ASSERT_NE(moreMenu, nullptr);
    EXPECT_TRUE(moreMenu->menuAction()->isEnabled());

    // A handler bound later counts once the menu opens again.
    app->AddMenuHandler("Unbound", [](Object&) { return false; });
    auto* qmenu = window->findChild<QMenu*>("Menu");
    ASSERT_NE(qmenu, nullptr);
    emit qmenu->aboutToShow();
    EXPECT_TRUE(enabled("Unbound"));
}
