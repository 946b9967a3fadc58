#pragma once
// Menus: a tree of items, each with a Name by which it is found and by which
// the application binds its handlers.

#include "object.h"

#include <string>
#include <vector>

class MenuItem : public Object {
  public:
    // The default constructor; the runtime prepared the item on creation.
    virtual void Constructor();

    void Name(const std::string& name);
    const std::string& Name() const { return name_; }
    void Value(const std::string& caption);
    const std::string& Value() const { return value_; }
    void Shortcut(const std::string& shortcut);
    const std::string& Shortcut() const { return shortcut_; }
    bool ShortcutWasSet() const { return shortcutSet_; }
    void AutoEnabled(bool on);
    bool AutoEnabled() const { return autoEnabled_; }
    void Visible(bool on);
    bool Visible() const { return visible_; }

    // Appends `item` after the last child.
    void AddMenu(Ref<MenuItem> item);
    // The direct child of that Name, or nil.
    Ref<MenuItem> Child(const std::string& name) const;
    // The item of that Name at any depth below this one, or nil.
    virtual Ref<MenuItem> Lookup(const std::string& name) const;
    const std::vector<Ref<MenuItem>>& Children() const { return children_; }
    std::size_t Count() const { return children_.size(); }

    TAMZEL_CLASS_RECORD()

  private:
    std::string name_, value_, shortcut_;
    bool shortcutSet_ = false, autoEnabled_ = false, visible_ = true;
    std::vector<Ref<MenuItem>> children_;
};

// Quits the application when chosen.
class QuitMenuItem : public MenuItem {
  public:
    TAMZEL_CLASS_RECORD()
};

// The About item; the backend puts it where the desktop expects it.
class AppleMenuItem : public MenuItem {
  public:
    TAMZEL_CLASS_RECORD()
};

class MenuBar : public MenuItem {
  public:
    TAMZEL_CLASS_RECORD()
};

// Called by a backend when the user chooses `item`: a QuitMenuItem quits,
// an item whose Name has a bound handler runs it on the application object.
void RuntimeMenuItemChosen(const Ref<MenuItem>& item);

// Whether the user can choose `item` now. One that is not AutoEnabled always
// can; an AutoEnabled one can when choosing it does something: it quits, it
// opens a menu, or the application has a handler bound to its Name. So items
// that nothing handles, such as an Edit menu's in a window without text, are
// shown disabled rather than doing nothing.
bool RuntimeMenuItemEnabled(const MenuItem& item);
