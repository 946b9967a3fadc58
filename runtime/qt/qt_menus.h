#pragma once
// A runtime menu tree as a Qt menu bar.

#include "runtime/menu.h"

#include <QKeySequence>
#include <string>

class QMenuBar;
class QWidget;

// Each top-level item becomes a menu and each item below it an action that
// carries the item's Name (objectName and data); choosing one hands the item
// to the runtime. The shortcuts of the application's menu bar act in every
// window of the program; those of another bar in its own window.
QMenuBar* BuildQtMenuBar(const MenuBar& bar, QWidget* parent);

// "Cmd+X" is the platform's command key: Ctrl here (Qt shows it as Cmd on
// macOS). A key without a modifier is a command-key shortcut too.
QKeySequence QtShortcut(const std::string& shortcut);
