#pragma once
// The main window: a caption, and inside a frame the picture button that
// takes dropped files and starts a batch when clicked. Closing it quits.

#include "runtime/control.h"
#include "runtime/file.h"
#include "runtime/menu.h"
#include "runtime/window.h"

#include <cstdint>

class Window1 : public Window {
  public:
    // The open main window, or a new one (which shows itself).
    static Ref<Window1> Instance();
    static void ctblinit();
    static const ClassRecord& Lookup();
    static const ClassRecord& ClassInfo() { return Lookup(); }
    const ClassRecord& Record() const override { return Lookup(); }

    void Layout() override;
    void CreateControls() override;
    virtual void CreateControls0();

    // The window's controls, found by name on every call.
    virtual Ref<::BevelButton> BevelButton1();
    virtual Ref<::GroupBox> GroupBox1();
    virtual Ref<::Label> Label1();

    virtual void BevelButton1_Action(::BevelButton* button);
    virtual void BevelButton1_Open(::BevelButton* button);
    virtual void BevelButton1_DropObject(::BevelButton* button, DragItem* obj, std::int64_t action);
    virtual void Label1_Open(::Label* label);

    // The menus and items of the window's menu bar, found by Name on every
    // call; NilObjectException when the window has no menu bar.
    virtual Ref<MenuItem> Help();
    virtual Ref<AppleMenuItem> AboutTamzel();
    virtual Ref<MenuItem> Email();
    virtual Ref<MenuItem> UntitledSeparator();
    virtual Ref<MenuItem> EditMenu();
    virtual Ref<MenuItem> EditSelectAll();
    virtual Ref<MenuItem> EditSeparator2();
    virtual Ref<MenuItem> EditClear();
    virtual Ref<MenuItem> EditPaste();
    virtual Ref<MenuItem> EditCopy();
    virtual Ref<MenuItem> EditCut();
    virtual Ref<MenuItem> EditSeparator1();
    virtual Ref<MenuItem> EditUndo();
    virtual Ref<MenuItem> FileMenu();
    virtual Ref<MenuItem> FileEncode();
    virtual Ref<QuitMenuItem> FileQuit();

    void Event_Close() override;

    bool IsEventImplemented(const std::string& eventName);

  private:
    template <class T> Ref<T> MenuItemNamed(const char* name);
};
