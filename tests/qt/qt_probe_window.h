#pragma once
// A small runtime window for exercising the Qt backend: its class name,
// property values, menu bar and controls are whatever the test gives it.

#include "runtime/window.h"

#include <functional>
#include <string>

class ProbeWindow : public Window {
  public:
    struct Setup {
        std::string className = "ProbeWindow";
        PropertyValues properties;
        Ref<::MenuBar> menuBar;
        std::function<void(ProbeWindow&)> createControls;
        std::function<void()> onClose;
    };
    explicit ProbeWindow(Setup setup);

    const ClassRecord& Record() const override { return *record_; }
    void Layout() override;
    void CreateControls() override;
    void Event_Close() override;

  private:
    Setup setup_;
    const ClassRecord* record_;
};

// Creates the window and runs the runtime's window construction on it.
Ref<ProbeWindow> OpenProbeWindow(ProbeWindow::Setup setup);

// A control of class T added to `window` under `name`, with `properties`.
template <class T>
Ref<T> AddProbeControl(Window& window, const std::string& name, const PropertyValues& properties) {
    Ref<T> control = window.New<T>();
    control->Constructor();
    window.AddControl(name, control);
    SetProperties(control.get(), properties);
    return control;
}

// A menu item of class T (MenuItem, QuitMenuItem, AppleMenuItem).
template <class T = MenuItem>
Ref<T> ProbeMenuItem(const std::string& name, const std::string& caption,
                     const std::string& shortcut = {}) {
    Ref<T> item = RuntimeNewObject<T>();
    item->Constructor();
    item->Name(name);
    item->Value(caption);
    if (!shortcut.empty())
        item->Shortcut(shortcut);
    return item;
}

// A menu bar with one File menu holding the Quit item, Cmd+Q.
Ref<MenuBar> ProbeQuitMenuBar();
