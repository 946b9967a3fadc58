#include "main_menu_bar.h"

#include <iterator>

namespace {
enum class NodeClass { Item, Quit, About };

struct Node {
    const char* menu; // the menu it goes in; nullptr for a menu on the bar
    const char* name;
    NodeClass kind;
    const char* caption;
    const char* shortcut; // nullptr: never set (the separators)
};

const Node kFileMenu[] = {
    {nullptr, "FileMenu", NodeClass::Item, "&File", ""},
    {"FileMenu", "FileQuit", NodeClass::Quit, "&Quit", "Cmd+Q"},
    {"FileMenu", "FileEncode", NodeClass::Item, "Encode", "Cmd+E"},
};
const Node kEditMenu[] = {
    {nullptr, "EditMenu", NodeClass::Item, "&Edit", ""},
    {"EditMenu", "EditUndo", NodeClass::Item, "&Undo", "Cmd+Z"},
    {"EditMenu", "EditSeparator1", NodeClass::Item, "-", nullptr},
    {"EditMenu", "EditCut", NodeClass::Item, "Cu&t", "Cmd+X"},
    {"EditMenu", "EditCopy", NodeClass::Item, "&Copy", "Cmd+C"},
    {"EditMenu", "EditPaste", NodeClass::Item, "&Paste", "Cmd+V"},
    {"EditMenu", "EditClear", NodeClass::Item, "&Delete", ""},
    {"EditMenu", "EditSeparator2", NodeClass::Item, "-", nullptr},
    {"EditMenu", "EditSelectAll", NodeClass::Item, "Select &All", "Cmd+A"},
};
const Node kHelpMenu[] = {
    {nullptr, "Help", NodeClass::Item, "Help", ""},
    {"Help", "UntitledSeparator", NodeClass::Item, "-", nullptr},
    {"Help", "Email", NodeClass::Item, "Contact Developer", ""},
    {"Help", "AboutTamzel", NodeClass::About, "About Tamzel", ""},
};

Ref<MenuItem> NewNode(NodeClass kind) {
    switch (kind) {
    case NodeClass::Quit:
        return RuntimeNewObject<QuitMenuItem>();
    case NodeClass::About:
        return RuntimeNewObject<AppleMenuItem>();
    case NodeClass::Item:
        break;
    }
    return RuntimeNewObject<MenuItem>();
}

// Each node is complete and in the tree before the next one is made.
template <std::size_t N> void BuildMenu(MenuBar& bar, const Node (&nodes)[N]) {
    for (const Node& n : nodes) {
        Ref<MenuItem> node = NewNode(n.kind);
        node->Constructor();
        RequireObject(node, n.name)->Name(n.name);
        RequireObject(node, n.name)->AutoEnabled(true);
        RequireObject(node, n.name)->Value(n.caption);
        RequireObject(node, n.name)->Visible(true);
        if (n.shortcut)
            RequireObject(node, n.name)->Shortcut(n.shortcut);
        if (!n.menu) {
            bar.AddMenu(node);
        } else {
            Ref<MenuItem> menu = bar.Child(n.menu);
            RequireObject(menu, n.menu)->AddMenu(node);
        }
    }
}
} // namespace

Ref<MainMenuBar>& MainMenuBar::implicitInstance() {
    // Never released: the bar lives as long as the program.
    static auto* instance = new Ref<MainMenuBar>;
    return *instance;
}

void MainMenuBar::implicitInstance_Init() {}

namespace {
ClassRecord MakeRecord() {
    ClassRecord r{"MainMenuBar.MainMenuBar", &MenuBar::ClassInfo(), {}, {}};
    auto call = [](void (MainMenuBar::*m)()) {
        return [m](Object& o) { (dynamic_cast<MainMenuBar&>(o).*m)(); };
    };
    r.methods = {{"Constructor", {}, "", "", call(&MainMenuBar::Constructor)},
                 {"Untitled0", {}, "", "", call(&MainMenuBar::Untitled0)},
                 {"Untitled1", {}, "", "", call(&MainMenuBar::Untitled1)},
                 {"Untitled2", {}, "", "", call(&MainMenuBar::Untitled2)}};
    return r;
}
} // namespace

const ClassRecord& MainMenuBar::ClassInfo() {
    static const ClassRecord& record = RuntimeKeepClass(MakeRecord());
    return record;
}

void MainMenuBar::ctblinit() {
    (void)ClassInfo();
}

Ref<MainMenuBar> MainMenuBar::Instance() {
    if (implicitInstance())
        return implicitInstance();
    Ref<MainMenuBar> bar = RuntimeNewObject<MainMenuBar>();
    bar->Constructor();
    implicitInstance() = bar;
    return implicitInstance();
}

void MainMenuBar::Constructor() {
    Untitled0();
    Untitled1();
    Untitled2();
}

void MainMenuBar::Untitled0() {
    BuildMenu(*this, kFileMenu);
}
void MainMenuBar::Untitled1() {
    BuildMenu(*this, kEditMenu);
}
void MainMenuBar::Untitled2() {
    BuildMenu(*this, kHelpMenu);
}
