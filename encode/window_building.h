#pragma once
// How a window creates its controls: each one is created through the window,
// registered under its name, and every later step finds it afresh by that
// name and checks its class, so the window alone holds the control.

#include "runtime/window.h"

#include <string>

template <class C> void CreateNamedControl(Window& window, const std::string& name) {
    Ref<C> control = window.New<C>();
    control->Constructor();
    window.AddControl(name, control);
}

template <class C> Ref<C> NamedControl(const Window& window, const std::string& name) {
    Ref<C> control = RuntimeCheckCast<C>(window.ControlByName(name));
    return RequireObject(control, name.c_str());
}
