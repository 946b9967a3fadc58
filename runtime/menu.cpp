#include "menu.h"

#include "application.h"
#include "process.h"

void MenuItem::Constructor() {
    RequireMainThread();
}

void MenuItem::Name(const std::string& name) {
    RequireMainThread();
    name_ = name;
}
void MenuItem::Value(const std::string& caption) {
    RequireMainThread();
    value_ = caption;
}
void MenuItem::Shortcut(const std::string& shortcut) {
    RequireMainThread();
    shortcut_ = shortcut;
    shortcutSet_ = true;
}
void MenuItem::AutoEnabled(bool on) {
    RequireMainThread();
    autoEnabled_ = on;
}
void MenuItem::Visible(bool on) {
    RequireMainThread();
    visible_ = on;
}

void MenuItem::AddMenu(Ref<MenuItem> item) {
    RequireMainThread();
    RequireObject(item, "menu item");
    children_.push_back(std::move(item));
}

Ref<MenuItem> MenuItem::Child(const std::string& name) const {
    RequireMainThread();
    for (const auto& c : children_)
        if (c->Name() == name)
            return c;
    return nullptr;
}

Ref<MenuItem> MenuItem::Lookup(const std::string& name) const {
    RequireMainThread();
    for (const auto& c : children_) {
        if (c->Name() == name)
            return c;
        if (Ref<MenuItem> found = c->Lookup(name))
            return found;
    }
    return nullptr;
}

void RuntimeMenuItemChosen(const Ref<MenuItem>& item) {
    if (!item)
        return;
    if (item->Record().IsA(QuitMenuItem::ClassInfo())) {
        RuntimeQuitFromMenu();
        return;
    }
    if (Ref<Application> app = GetAppObject())
        RuntimeCallProgram([&] { app->RunMenuHandler(item->Name()); });
}

bool RuntimeMenuItemEnabled(const MenuItem& item) {
    if (!item.AutoEnabled() || item.Count() != 0 || item.Record().IsA(QuitMenuItem::ClassInfo()))
        return true;
    Ref<Application> app = GetAppObject();
    return app && app->HasMenuHandler(item.Name());
}
