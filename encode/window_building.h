#pragma once
// What the program's windows share in how they are built: the implicit
// single instance, the control-creation steps, the property values every
// window and control carries, and the cached pictures.

#include "runtime/picture.h"
#include "runtime/window.h"

#include <string>

// The open window of class T, or a new one; never shows it.
template <class T> Ref<T> ImplicitWindow(const std::string& className) {
    Ref<Window> open = GetImplicitWindow(className);
    if (!open) {
        Ref<T> window = RuntimeNewObject<T>();
        window->Constructor();
        open = window;
    }
    return RuntimeCheckCast<T>(open);
}

// Each control is created through the window and registered under its
// name; every later step finds it afresh by that name and checks its class,
// so the window alone holds the control.
template <class C> void CreateNamedControl(Window& window, const std::string& name) {
    Ref<C> control = window.New<C>();
    control->Constructor();
    window.AddControl(name, control);
}

template <class C> Ref<C> NamedControl(const Window& window, const std::string& name) {
    Ref<C> control = RuntimeCheckCast<C>(window.ControlByName(name));
    return RequireObject(control, name.c_str());
}

inline const Color kWhite{255, 255, 255, 0};
inline const Color kBlack{0, 0, 0, 0};

// A window's values: `own` first, then those every window of the program has.
PropertyValues WindowValues(PropertyValues own);
// A control's values: those every control has, then `own`.
PropertyValues ControlValues(PropertyValues own);

// The picture `fileName` from the resources, loaded until one load succeeds
// and kept in `cache` from then on.
Ref<Picture> CachedAppPicture(Ref<Picture>& cache, const char* fileName);
