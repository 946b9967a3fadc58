#pragma once
// Windows. The runtime holds every open window until it closes; a window
// holds its controls by name and, optionally, a menu bar of its own.

#include "control.h"
#include "menu.h"
#include "object.h"
#include "process.h"
#include "property.h"

#include <string>
#include <vector>

class Window : public Object {
  public:
    ~Window() override;

    // The runtime's default window construction: registers the window as
    // open, raises Layout and CreateControls once each, then the Open event
    // of each control in creation order, and shows the window when its
    // Visible value is True.
    virtual void Constructor();
    void Show();
    // Closes the window as its close button does: raises the Close event,
    // then the runtime lets the window go.
    void Close();
    bool IsOpen() const { return open_; }

    // A new object of class T owned by the window; no Constructor runs.
    template <class T> Ref<T> New() {
        RequireMainThread();
        Ref<T> object = RuntimeNewObject<T>();
        Adopt(object.get());
        return object;
    }
    virtual void AddControl(const std::string& name, Ref<RectControl> control);
    // The window's own control of that name, or nil.
    virtual Ref<Object> ControlByName(const std::string& name) const;
    const std::vector<Ref<RectControl>>& Controls() const { return controls_; }

    Ref<::MenuBar> MenuBar() const;
    void MenuBar(Ref<::MenuBar> bar);

    const PropertyStore& Properties() const { return properties_; }
    void ApplyProperties(const PropertyValues& values);

    // Events; the base class does nothing on any of them.
    virtual void Layout() {}
    virtual void CreateControls() {}
    virtual void Event_Close() {}

    TAMZEL_CLASS_RECORD()

  private:
    void Adopt(Object* owned);

    bool open_ = false;
    std::vector<Ref<RectControl>> controls_;
    std::vector<Ref<Object>> owned_;
    Ref<::MenuBar> menuBar_;
    PropertyStore properties_;
};

// Applies property values to a window or a control in one step.
void SetProperties(Window* window, const PropertyValues& values);
void SetProperties(RectControl* control, const PropertyValues& values);

// The open window of the class named `className`, or nil.
Ref<Window> GetImplicitWindow(const std::string& className);
// Every open window, oldest first.
std::vector<Ref<Window>> RuntimeOpenWindows();
