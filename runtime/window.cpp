#include "window.h"

#include "platform.h"

#include <algorithm>

namespace {
// The runtime holds every open window.
std::vector<Ref<Window>>& OpenWindows() {
    static auto* windows = new std::vector<Ref<Window>>;
    return *windows;
}
} // namespace

Window::~Window() = default;

void Window::Constructor() {
    RequireMainThread();
    open_ = true;
    OpenWindows().push_back(Ref<Window>(this));
    RuntimePlatform().WindowCreated(*this);
    Layout();
    CreateControls();
    // A copy: an Open handler may not change the list, but must not see a
    // half-grown one either.
    auto controls = controls_;
    for (const auto& c : controls)
        c->Raise(ControlEvent::Open);
    if (properties_.Get<bool>("Visible"))
        Show();
}

void Window::Show() {
    RequireMainThread();
    if (!open_)
        return;
    RuntimePlatform().WindowShown(*this);
}

void Window::Close() {
    RequireMainThread();
    if (!open_)
        return;
    Ref<Window> keep(this);
    Event_Close();
    open_ = false;
    auto& windows = OpenWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), keep), windows.end());
    RuntimePlatform().WindowClosed(*this);
    // The controls hold delegates over this window; letting them go here
    // breaks the window -> control -> delegate chain before the window dies.
    controls_.clear();
    owned_.clear();
}

void Window::Adopt(Object* owned) {
    owned_.push_back(Ref<Object>(owned));
}

void Window::AddControl(const std::string& name, Ref<RectControl> control) {
    RequireMainThread();
    RequireObject(control, "control");
    control->SetOwner(this);
    control->SetControlName(name);
    controls_.push_back(control);
    RuntimePlatform().ControlCreated(*this, *control);
}

Ref<Object> Window::ControlByName(const std::string& name) const {
    for (const auto& c : controls_)
        if (c->ControlName() == name)
            return Ref<Object>(c.get());
    return nullptr;
}

Ref<MenuBar> Window::MenuBar() const {
    RequireMainThread();
    return menuBar_;
}

void Window::MenuBar(Ref<::MenuBar> bar) {
    RequireMainThread();
    menuBar_ = std::move(bar);
    if (open_)
        RuntimePlatform().WindowChanged(*this);
}

void Window::ApplyProperties(const PropertyValues& values) {
    RequireMainThread();
    properties_.Apply(values);
    if (open_)
        RuntimePlatform().WindowChanged(*this);
}

void SetProperties(Window* window, const PropertyValues& values) {
    RequireObject(window, "window")->ApplyProperties(values);
}

void SetProperties(RectControl* control, const PropertyValues& values) {
    RequireObject(control, "control")->ApplyProperties(values);
}

Ref<Window> GetImplicitWindow(const std::string& className) {
    RequireMainThread();
    for (const auto& w : OpenWindows())
        if (w->Record().name == className)
            return w;
    return nullptr;
}

std::vector<Ref<Window>> RuntimeOpenWindows() {
    return OpenWindows();
}
