#include "qt_menus.h"

#include "qt_guard.h"

#include "runtime/application.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

QAction::MenuRole RoleOf(const MenuItem& item) {
    if (item.Record().IsA(QuitMenuItem::ClassInfo()))
        return QAction::QuitRole;
    if (item.Record().IsA(AppleMenuItem::ClassInfo()))
        return QAction::AboutRole;
    // No guessing from the caption: only the runtime's special kinds move.
    return QAction::NoRole;
}

void Fill(QMenu& menu, const MenuItem& parent, Qt::ShortcutContext context);

void AddItem(QMenu& menu, const Ref<MenuItem>& item, Qt::ShortcutContext context) {
    if (item->Value() == "-") {
        QAction* separator = menu.addSeparator();
        separator->setObjectName(Text(item->Name()));
        separator->setVisible(item->Visible());
        return;
    }
    if (item->Count() != 0) {
        QMenu* submenu = menu.addMenu(Text(item->Value()));
        submenu->setObjectName(Text(item->Name()));
        submenu->menuAction()->setVisible(item->Visible());
        Fill(*submenu, *item, context);
        return;
    }
    QAction* action = menu.addAction(Text(item->Value()));
    action->setObjectName(Text(item->Name()));
    action->setData(Text(item->Name()));
    action->setShortcut(QtShortcut(item->Shortcut()));
    action->setShortcutContext(context);
    action->setMenuRole(RoleOf(*item));
    action->setVisible(item->Visible());
    // Asked again each time the menu opens, as handlers may come later.
    action->setEnabled(RuntimeMenuItemEnabled(*item));
    QObject::connect(&menu, &QMenu::aboutToShow, action,
                     [action, item] { action->setEnabled(RuntimeMenuItemEnabled(*item)); });
    QObject::connect(action, &QAction::triggered, action,
                     [item] { CallRuntimeFromQt([&] { RuntimeMenuItemChosen(item); }); });
}

void Fill(QMenu& menu, const MenuItem& parent, Qt::ShortcutContext context) {
    for (const Ref<MenuItem>& child : parent.Children())
        AddItem(menu, child, context);
}
} // namespace

QMenuBar* BuildQtMenuBar(const MenuBar& bar, QWidget* parent) {
    // The application's menu bar serves every window, as a desktop's one
    // menu bar does: its shortcuts act whichever window of the program is
    // active, the About window's included. Qt still keeps them from a window
    // that a modal dialog blocks, so a dialog's own keys stay its own. A bar
    // of one window's own acts in that window.
    const Ref<Application> app = GetAppObject();
    const Qt::ShortcutContext context =
        app && app->MenuBar().get() == &bar ? Qt::ApplicationShortcut : Qt::WindowShortcut;
    auto* qbar = new QMenuBar(parent);
    for (const Ref<MenuItem>& top : bar.Children()) {
        QMenu* menu = qbar->addMenu(Text(top->Value()));
        menu->setObjectName(Text(top->Name()));
        menu->menuAction()->setVisible(top->Visible());
        Fill(*menu, *top, context);
    }
    return qbar;
}

QKeySequence QtShortcut(const std::string& shortcut) {
    if (shortcut.empty())
        return {};
    QStringList keys;
    bool modified = false;
    // The last part is the key itself, so "Cmd++" keeps its plus.
    QStringList parts = Text(shortcut).split('+');
    QString key = parts.takeLast();
    if (key.isEmpty() && !parts.isEmpty() && parts.last().isEmpty()) {
        parts.removeLast();
        key = "+";
    }
    for (const QString& part : parts) {
        const QString p = part.trimmed().toLower();
        if (p == "cmd" || p == "command" || p == "ctrl" || p == "control")
            keys << "Ctrl";
        else if (p == "option" || p == "alt")
            keys << "Alt";
        else if (p == "shift")
            keys << "Shift";
        else if (p == "meta")
            keys << "Meta";
        else
            continue;
        modified = true;
    }
    if (!modified)
        keys << "Ctrl";
    keys << key.trimmed();
    return QKeySequence(keys.join('+'), QKeySequence::PortableText);
}
